#include "core/export/XmlExport.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueTables.h"
#include "core/export/CatalogueRows.h"
#include "core/export/XmlExportDocument.h"
#include "core/search/ResultList.h"
#include "core/search/RunSearch.h"
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

#include <optional>

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

// One export document in the making: the folder checked and "thumbs" emptied when it starts,
// then a File block per image, the document going to its file a megabyte at a time so a large
// export never holds it whole, and the file replaced when it ends.
class ExportWriter
{
public:
    ExportWriter(const XmlExportRequest &request, Feedback &feedback, const ThumbnailStore &thumbnails)
        : m_request(request), m_feedback(feedback), m_thumbnails(thumbnails)
    {
    }

    // False, with the reason reported, when the document would land outside the export folder:
    // then nothing is written.
    bool start()
    {
        const ExportFolder &folder = m_request.folder;
        folder.create();
        if (!liesInsideFolder(folder.documentPath(), folder.path)) {
            m_feedback.showMessage(messageText(m_request, Message::OutputOutsideExportFolder) + u'\n'
                                       + folder.documentPath(),
                                   MessageIcon::Critical);
            return false;
        }
        // A "thumbs" that is a link to a folder of photos must never be emptied.
        const bool thumbnailsInside = liesInsideFolder(folder.thumbnailsPath(), folder.path);
        if (thumbnailsInside) {
            emptyFolder(folder.thumbnailsPath());
        } else {
            m_feedback.showMessage(messageText(m_request, Message::ThumbnailsFolderOutside) + u'\n'
                                       + folder.thumbnailsPath(),
                                   MessageIcon::Critical);
        }
        m_copyThumbnails = m_request.copyThumbnails && thumbnailsInside;
        // A cache cleared or another user's store: without a word the document would simply
        // lack every picture.
        if (m_copyThumbnails && !QFileInfo(m_thumbnails.root()).isDir()) {
            m_outcome.thumbnailStoreMissing = true;
            m_feedback.showMessage(QString(messageText(m_request, Message::ThumbnailStoreMissing))
                                       .replace(u'#', m_thumbnails.root()),
                                   MessageIcon::Warning);
        }
        m_file.emplace(folder.documentPath());
        m_document = xmlExport::documentStart(m_request.generatedAt, m_request.locale, trimBlanks(m_request.title));
        m_document.reserve(kPieceSize + (64 << 10));
        return true;
    }

    // The image's thumbnail copied into "thumbs", when asked for: its path, empty when none was
    // made. Every image of a result gets its turn, also one without a row.
    QString copyThumbnailOf(int rank, const QString &folder, const QString &file)
    {
        if (!m_copyThumbnails)
            return {};
        const QString target = m_request.folder.thumbnailsPath() + u'/' + m_names.claim(file, rank);
        const QString copied = copyThumbnail(m_thumbnails, folder + file, target);
        (copied.isEmpty() ? m_outcome.withoutThumbnail : m_outcome.thumbnails) += 1;
        return copied;
    }

    void addBlock(const xmlExport::FileBlock &block)
    {
        xmlExport::appendFileBlock(m_document, block);
        ++m_outcome.exported;
        if (m_document.size() >= kPieceSize) {
            m_file->append(m_document);
            m_document.truncate(0);
        }
    }

    // The document's end written and the file replaced; failures reported.
    XmlExportOutcome finish()
    {
        m_document.append(xmlExport::documentEnd());
        m_file->append(m_document);
        const atomicfile::Result written = m_file->commit();
        if (!written.ok)
            m_feedback.reportFailure(fileFailure(written));
        m_outcome.written = written.ok;
        if (written.ok && m_outcome.withoutThumbnail > 0 && !m_outcome.thumbnailStoreMissing)
            m_feedback.showMessage(QString(messageText(m_request, Message::ImagesWithoutThumbnail))
                                       .replace(u'#', QString::number(m_outcome.withoutThumbnail)),
                                   MessageIcon::Warning);
        return m_outcome;
    }

    const XmlExportOutcome &outcome() const { return m_outcome; }

private:
    static constexpr qsizetype kPieceSize = 1 << 20;

    const XmlExportRequest &m_request;
    Feedback &m_feedback;
    const ThumbnailStore &m_thumbnails;
    std::optional<atomicfile::StreamingReplacement> m_file; // made by start()
    QByteArray m_document;
    bool m_copyThumbnails = false;
    xmlExport::ThumbnailNames m_names;
    XmlExportOutcome m_outcome;
};

void exportResultRows(const XmlExportRequest &request, const ResultList &results, CatalogueDb &db, Feedback &feedback,
                      ExportWriter &writer)
{
    db.readThroughSmallCache(CatalogueDb::kRowsByNameKilobytes);
    ResultRowReader reader(db, feedback, results, writtenColumns());
    for (int rank = 1; rank <= results.count(); ++rank) {
        if (request.beforeImage)
            request.beforeImage(rank);
        const ResultRow &image = results.row(rank);
        const QString thumbnail = writer.copyThumbnailOf(rank, image.folder, image.file);
        const std::vector<CatalogueRow> &rows = reader.rowsOf(rank);
        if (!rows.empty())
            writer.addBlock({rank, image.folder.toUtf8(), image.file.toUtf8(), thumbnail, rows.front()});
    }
}

} // namespace

XmlExportOutcome exportXml(const XmlExportRequest &request, const ResultList &results, CatalogueDb &db,
                           Feedback &feedback, const ThumbnailStore &thumbnails)
{
    ExportWriter writer(request, feedback, thumbnails);
    if (!writer.start())
        return {};
    if (db.open()) {
        exportResultRows(request, results, db, feedback, writer);
        db.close();
    } else {
        db.reportOpenFailure(feedback);
    }
    return writer.finish();
}

XmlExportOutcome exportSearch(const XmlExportRequest &request, const SearchRequest &search, SearchEnvironment &environment,
                              const ThumbnailStore &thumbnails, SearchOutcome &searchOutcome)
{
    ExportWriter writer(request, environment.feedback, thumbnails);
    bool refused = false;
    int rank = 0;
    std::optional<ColumnPositions> positions;
    // A folder's rows follow each other: its name is made a text once for them all.
    QByteArray folderBytes;
    QString folder;
    SearchState state;
    searchOutcome = streamSearch(search, state, environment, writtenColumns(), [&](const sqliteEngine::RowView &row) {
        if (!positions) {
            positions = columnPositionsOf(row);
            refused = !writer.start();
            if (refused)
                return sqliteEngine::RowAnswer::Stop;
        }
        ++rank;
        if (request.beforeImage)
            request.beforeImage(rank);
        const QByteArrayView folderUtf8 = row.utf8(resultListColumn::Folder);
        const QByteArrayView fileUtf8 = row.utf8(resultListColumn::File);
        QString thumbnail;
        if (request.copyThumbnails) {
            if (rank == 1 || folderUtf8 != QByteArrayView(folderBytes)) {
                folderBytes = folderUtf8.toByteArray();
                folder = QString::fromUtf8(folderUtf8);
            }
            thumbnail = writer.copyThumbnailOf(rank, folder, QString::fromUtf8(fileUtf8));
        }
        writer.addBlock({rank, folderUtf8, fileUtf8, thumbnail, CatalogueRow(row, *positions)});
        return sqliteEngine::RowAnswer::Next;
    });
    // Nothing found, a refusal or a select that failed part-way: the document on disk stays
    // as it was (the one being written is thrown away).
    if (rank == 0 || refused || searchOutcome.failed)
        return writer.outcome();
    return writer.finish();
}

} // namespace zelvarion
