#include "core/export/XmlExport.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/export/CatalogueRows.h"
#include "core/export/XmlExportDocument.h"
#include "core/search/ResultList.h"
#include "core/session/Feedback.h"
#include "core/session/FileFailure.h"
#include "core/session/LanguagePack.h"
#include "core/session/TextRules.h"
#include "platform/AtomicFile.h"
#include "platform/ProgramFolder.h"
#include "platform/ThumbnailStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

namespace zelvarion {

ExportFolder ExportFolder::inProgramFolder() { return {programFolder::path() + QStringLiteral("/XML")}; }

QString ExportFolder::documentPath() const { return path + u'/' + xmlExport::documentFileName(); }

QString ExportFolder::thumbnailsPath() const { return path + QStringLiteral("/thumbs"); }

bool ExportFolder::create() const
{
    QDir().mkpath(thumbnailsPath());
    return QFileInfo(path).isDir() && QFileInfo(thumbnailsPath()).isDir();
}

ExportFolderLock::ExportFolderLock(const ExportFolder &folder)
    : m_lock(std::make_unique<QLockFile>(folder.path + QStringLiteral("/.zelvarion-export.lock")))
{
    m_lock->setStaleLockTime(0); // a formatter may run for minutes: only a dead holder frees it
}

ExportFolderLock::~ExportFolderLock() = default;

bool ExportFolderLock::tryAcquire()
{
    QDir().mkpath(QFileInfo(m_lock->fileName()).absolutePath());
    if (m_lock->isLocked() || m_lock->tryLock(0))
        return true;
    m_cannotLock = m_lock->error() != QLockFile::LockFailedError;
    return m_cannotLock;
}

void ExportFolderLock::acquire(const std::function<void()> &betweenTries)
{
    while (!tryAcquire()) {
        QThread::msleep(100);
        if (betweenTries)
            betweenTries();
    }
}

namespace {

// Where a write to path would land: links followed, ".." and "." gone; empty when that cannot be
// told (a chain of links too long, a folder that does not exist).
QString landingPlace(const QString &path, int linksLeft = 16)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    if (info.isSymLink()) // dangling: a write through it creates its target
        return linksLeft > 0 ? landingPlace(info.symLinkTarget(), linksLeft - 1) : QString();
    const QString parent = QFileInfo(info.absolutePath()).canonicalFilePath();
    return parent.isEmpty() ? QString() : parent + u'/' + info.fileName();
}

} // namespace

bool liesInsideFolder(const QString &path, const QString &folder)
{
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QString place = landingPlace(path);
    return !root.isEmpty() && !place.isEmpty() && place.startsWith(root + u'/');
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

QString messageText(const XmlExportRequest &request, Message key)
{
    if (request.language)
        return request.language->message(key);
    LanguagePack english;
    english.loadShippedEnglish();
    return english.message(key);
}

// The columns a File block is written from; the rest of a row (SupportIPTC, CheckMark) is never
// read from the engine.
QStringList writtenColumns()
{
    QStringList columns = iptcColumnNames();
    for (const char *column : kExportFileColumns)
        columns << QLatin1String(column);
    return columns;
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
        db.readThroughSmallCache(CatalogueDb::kRowsByNameKilobytes);
        ResultRowReader reader(db, feedback, results, writtenColumns());
        xmlExport::ThumbnailNames names;
        for (int rank = 1; rank <= results.count(); ++rank) {
            if (request.beforeImage)
                request.beforeImage(rank);
            const ResultRow &image = results.row(rank);
            QString thumbnail;
            if (request.copyThumbnails) {
                const QString target = request.folder.thumbnailsPath() + u'/' + names.claim(image.file, rank);
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
    if (!liesInsideFolder(request.folder.documentPath(), request.folder.path)) {
        feedback.showMessage(messageText(request, Message::OutputOutsideExportFolder) + u'\n'
                                 + request.folder.documentPath(),
                             MessageIcon::Critical);
        return {};
    }
    // A "thumbs" that is a link to a folder of photos must never be emptied.
    const bool thumbnailsInside = liesInsideFolder(request.folder.thumbnailsPath(), request.folder.path);
    if (thumbnailsInside) {
        emptyFolder(request.folder.thumbnailsPath());
    } else {
        feedback.showMessage(messageText(request, Message::ThumbnailsFolderOutside) + u'\n'
                                 + request.folder.thumbnailsPath(),
                             MessageIcon::Critical);
    }
    atomicfile::StreamingReplacement file(request.folder.documentPath());
    QByteArray document = xmlExport::documentStart(request.generatedAt, request.locale, trimBlanks(request.title));
    document.reserve(ExportRun::kPieceSize + (64 << 10));
    XmlExportRequest runRequest = request;
    runRequest.copyThumbnails = request.copyThumbnails && thumbnailsInside;
    ExportRun run{runRequest, results, feedback, thumbnails, {}};
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
        feedback.reportFailure(fileFailure(written));
    run.outcome.written = written.ok;
    return run.outcome;
}

} // namespace zelvarion
