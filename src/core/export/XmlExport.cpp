#include "core/export/XmlExport.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/export/CatalogueRows.h"
#include "core/export/XmlExportDocument.h"
#include "core/search/ResultList.h"
#include "core/shell/Feedback.h"
#include "core/shell/TextRules.h"
#include "platform/AtomicFile.h"
#include "platform/ProgramFolder.h"
#include "platform/ThumbnailStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zelvarion {

ExportFolder ExportFolder::inProgramFolder() { return {programFolder::path() + QStringLiteral("/XML")}; }

QString ExportFolder::documentPath() const { return path + u'/' + xmlExport::documentFileName(); }

QString ExportFolder::thumbnailsPath() const { return path + QStringLiteral("/thumbs"); }

bool ExportFolder::create() const
{
    QDir().mkpath(thumbnailsPath());
    return QFileInfo(path).isDir() && QFileInfo(thumbnailsPath()).isDir();
}

namespace {

void emptyFolder(const QString &folder)
{
    QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        dir.remove(name); // a file that cannot be removed stays; a later copy of its name replaces it
}

// The stored thumbnail is a JPEG already: its copy is the thumbnail file. Anything else in the
// store is no picture and makes no file.
QString copyThumbnail(const ThumbnailStore &store, const QString &imagePath, const QString &target)
{
    const QByteArray jpeg = store.load(imagePath);
    if (jpeg.size() < 4 || uchar(jpeg[0]) != 0xFF || uchar(jpeg[1]) != 0xD8)
        return {};
    const auto written = atomicfile::replaceFileContent(target, jpeg, atomicfile::Durability::RenameOnly);
    return written.ok ? target : QString();
}

struct ExportRun
{
    const XmlExportRequest &request;
    const ResultList &results;
    Feedback &feedback;
    const ThumbnailStore &thumbnails;
    XmlExportOutcome outcome;

    // The document goes to the file a megabyte at a time, so a large export never holds it whole.
    static constexpr qsizetype kPieceSize = 1 << 20;

    void exportImages(CatalogueDb &db, QByteArray &document, atomicfile::StreamingReplacement &file)
    {
        ResultRowReader reader(db, feedback, results);
        for (int rank = 1; rank <= results.count(); ++rank) {
            if (request.beforeImage)
                request.beforeImage(rank);
            const ResultRow &image = results.row(rank);
            QString thumbnail;
            if (request.copyThumbnails) {
                const QString target = request.folder.thumbnailsPath() + u'/' + xmlExport::thumbnailFileName(image.file);
                thumbnail = copyThumbnail(thumbnails, image.folder + image.file, target);
                outcome.thumbnails += thumbnail.isEmpty() ? 0 : 1;
            }
            const std::vector<CatalogueRow> &rows = reader.rowsOf(rank);
            if (rows.empty())
                continue;
            xmlExport::appendFileBlock(document, {rank, image.folder, image.file, thumbnail, rows.front()});
            ++outcome.exported;
            if (document.size() >= kPieceSize) {
                file.append(document);
                document.truncate(0);
            }
        }
    }
};

} // namespace

XmlExportOutcome exportXml(const XmlExportRequest &request, const ResultList &results, CatalogueDb &db,
                           Feedback &feedback, const ThumbnailStore &thumbnails)
{
    request.folder.create();
    emptyFolder(request.folder.thumbnailsPath());
    atomicfile::StreamingReplacement file(request.folder.documentPath());
    QByteArray document = xmlExport::documentStart(request.generatedAt, request.locale, trimBlanks(request.title));
    document.reserve(ExportRun::kPieceSize + (64 << 10));
    ExportRun run{request, results, feedback, thumbnails, {}};
    if (db.open()) {
        run.exportImages(db, document, file);
        db.close();
    } else {
        db.reportOpenFailure(feedback);
    }
    document.append(xmlExport::documentEnd());
    file.append(document);
    const atomicfile::Result written = file.commit();
    if (!written.ok)
        feedback.showMessage(written.error, MessageIcon::Critical);
    run.outcome.written = written.ok;
    return run.outcome;
}

} // namespace zelvarion
