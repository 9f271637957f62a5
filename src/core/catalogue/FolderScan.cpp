#include "core/catalogue/FolderScan.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/CatalogueTables.h"
#include "core/catalogue/FolderRegistry.h"
#include "core/catalogue/ImagesTable.h"
#include "core/iptc/IptcReader.h"
#include "core/session/AppSettings.h"
#include "core/session/Feedback.h"
#include "core/session/Result.h"
#include "core/session/LanguagePack.h"
#include "platform/AtomicFile.h"
#include "platform/FileNames.h"

#include <QFile>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <chrono>
#include <deque>
#include <future>
#include <tuple>

namespace zelvarion {

// Everything a worker learns of one file; the calling thread turns it into a row.
struct ScannedFile
{
    QString path;
    QString unreadable; // why the file could not be read; empty when it was read
    QDateTime created;
    QDateTime lastWrite;
    qint64 size = 0; // 64-bit: files of 2 GiB and more keep their true size
    IptcReadResult iptc;
    ImageFacts image;
};

namespace {

const QString kScanTransaction = QStringLiteral("SCAN");

void examineFile(ScannedFile &file, const QString &customizedLabel, const ImageExaminer &examiner,
                 ThumbnailPolicy policy)
{
    const filenames::FileFacts facts = filenames::fileFacts(file.path);
    file.lastWrite = facts.lastWrite;
    file.created = facts.created;
    file.size = facts.size;
    // A file without read permission would otherwise pass for one without IPTC.
    QFile probe;
    if (!filenames::openForReading(probe, file.path, &file.unreadable))
        return;
    probe.close();
    // Messages cannot be shown from a worker: a short read is reported when the row is written.
    file.iptc = readImageIptc(file.path, customizedLabel, nullptr);
    file.image = examiner.examine(file.path, policy);
}

// Width and height as text, both "?" unless both are greater than 1.
std::pair<QString, QString> pixelSizeTexts(QSize size)
{
    if (size.width() <= 1 || size.height() <= 1)
        return {QStringLiteral("?"), QStringLiteral("?")};
    return {QString::number(size.width()), QString::number(size.height())};
}

// "insert into Images values(...);" with the 48 values of one file; LastRevisionDate,
// LastRevisionTime and CheckMark are what the user gave the file before the rescan.
QString imageRowStatement(const QString &folder, const QString &name, const ScannedFile &file,
                          const KeptUserState &kept)
{
    ImagesRow row;
    row[ImagesColumn::CheckMark] = kept.checkMark;
    row[ImagesColumn::LastRevisionDate] = kept.revisionDate;
    row[ImagesColumn::LastRevisionTime] = kept.revisionTime;
    row[ImagesColumn::Folder] = folder;
    row[ImagesColumn::File] = name;
    for (int i = 0; i < kIptcFieldCount; ++i)
        row[imagesColumnOfField(i)] = file.iptc.fields.values[std::size_t(i)];
    row[ImagesColumn::FileCreationDate] = catalogueDate(file.created);
    row[ImagesColumn::FileCreationTime] = catalogueTime(file.created);
    row[ImagesColumn::FileLastWriteDate] = catalogueDate(file.lastWrite);
    row[ImagesColumn::FileLastWriteTime] = catalogueTime(file.lastWrite);
    row[ImagesColumn::FileSize] = QString::number(file.size);
    row[ImagesColumn::SupportIPTC] = supportIptcCode(file.iptc.fileKind);
    std::tie(row[ImagesColumn::Width], row[ImagesColumn::Height]) = pixelSizeTexts(file.image.pixelSize);
    return insertImagesRowStatement(row);
}

} // namespace

// Files decode on the worker threads in listing order; at most `window` wait to be written, so
// memory stays flat however large the folder.
struct FolderScanner::Pipeline
{
    struct Pending
    {
        QString folder;
        QString name;
        std::shared_ptr<ScannedFile> file;
        std::future<void> done;
    };

    QThreadPool pool;
    std::deque<Pending> queue;
    std::size_t window = 8;
};

FolderScanner::FolderScanner(CatalogueDb &db, Feedback &feedback, const ImageExaminer &examiner, ScanOptions options)
    : m_db(db), m_feedback(feedback), m_examiner(examiner), m_options(std::move(options)),
      m_pipeline(std::make_unique<Pipeline>())
{
    const int threads = m_options.workerThreads > 0 ? m_options.workerThreads : std::max(1, QThread::idealThreadCount());
    m_pipeline->pool.setMaxThreadCount(threads);
    m_pipeline->window = std::size_t(threads) * 4;
}

FolderScanner::~FolderScanner()
{
    m_pipeline->pool.waitForDone();
}

ScanSummary FolderScanner::run(const std::vector<ScanTarget> &targets)
{
    if (observer.filesToScan) {
        long long total = 0;
        for (const ScanTarget &target : targets)
            countFiles(target.folder, total);
        if (stopping())
            return {0, 0, true, false};
        observer.filesToScan(total);
    }
    if (!beginTransaction(m_db, m_feedback, kScanTransaction))
        return {0, 0, false, true};
    if (m_db.isServer() && !execute(imagesTable::keepOtherWritersOutStatement(), Message::CannotSetData)) {
        rollBack();
        return {0, 0, false, true};
    }
    for (int i = 0; i < int(targets.size()); ++i) {
        if (observer.targetStarted)
            observer.targetStarted(i);
        scanTarget(targets[std::size_t(i)]);
        m_feedback.processEvents();
        if (observer.targetFinished)
            observer.targetFinished(i);
        if (stopping())
            break;
    }
    if (!m_failed && !endTransaction(m_db, m_feedback, kScanTransaction))
        m_failed = true;
    if (m_failed)
        rollBack();
    else if (m_unreadable > 0)
        m_feedback.showMessage(message(Message::UnreadableFilesLeftOut) + u' ' + QString::number(m_unreadable),
                               MessageIcon::Warning);
    return {m_visited, m_unreadable, m_stopped && !m_failed, m_failed};
}

QString FolderScanner::message(Message key) const
{
    if (m_options.language)
        return m_options.language->message(key);
    LanguagePack english;
    english.loadShippedEnglish();
    return english.message(key);
}

bool FolderScanner::execute(const QString &statement, Message what)
{
    if (m_db.executeOrReport(m_feedback, statement, what))
        return true;
    m_failed = true;
    return false;
}

// After a failed statement the engine may already have ended the transaction on its own (a full
// disk does), and every later insert would then stand alone: nothing more is run, and what the
// transaction wrote is undone. A rollback that finds no transaction left has nothing to undo.
void FolderScanner::rollBack()
{
    m_db.execute(QStringLiteral("rollback transaction ") + kScanTransaction + u';');
    m_feedback.showMessage(message(Message::ScanRolledBack) + u'\n' + m_db.path, MessageIcon::Critical);
}

// The old rows stay until the new ones are written: new rows get higher row ids than every old
// one, so the old ones are told apart at the end. After Stop, the files not reached keep their
// old rows, marks and revisions instead of vanishing from the catalogue.
void FolderScanner::scanTarget(const ScanTarget &target)
{
    if (!keepUserState(target.folder)
        || !execute(imagesTable::lastRowStatement(), Message::CannotGetData))
        return;
    const QString lastOldRow = m_db.cell(0, 1);
    m_folderCount = 0;
    scanFolder(target.folder);
    writePending(0);
    m_kept.clear();
    const QString oldRows = imagesTable::removeOldRowsStatement(target.folder, lastOldRow, m_stopped);
    if (!m_failed && execute(oldRows, Message::CannotRemoveData))
        recount(target);
}

// The marks and revisions of the rows about to be rebuilt, by path; rows without any are left out.
bool FolderScanner::keepUserState(const QString &folder)
{
    m_kept.clear();
    if (!execute(imagesTable::userStateStatement(folder), Message::CannotGetData))
        return false;
    for (int r = 1; r <= m_db.rowCount(); ++r)
        m_kept.insert(m_db.cell(0, r) + m_db.cell(1, r), {m_db.cell(2, r), m_db.cell(3, r), m_db.cell(4, r)});
    return true;
}

FolderScanner::Listing FolderScanner::listForScan(const QString &folder)
{
    std::vector<filenames::FolderEntry> entries = filenames::listFolder(folder).value_or(std::vector<filenames::FolderEntry>());
    // Sorted by name: the file system's own order differs between runs and machines.
    std::sort(entries.begin(), entries.end(), [](const auto &a, const auto &b) { return a.name < b.name; });
    Listing listing;
    for (const filenames::FolderEntry &entry : entries) {
        // A leading dot marks hidden entries here: such folders are never entered, such files
        // never read.
        if (entry.name.startsWith(u'.'))
            continue;
        // A linked folder could lead back to its own parent and never end.
        if (entry.kind == filenames::FolderEntry::Kind::Folder && !entry.symLink)
            listing.subfolders << entry.name;
        // Devices and pipes are no files to read: a pipe would wait for a writer for ever.
        if (entry.kind == filenames::FolderEntry::Kind::File)
            listing.files << entry.name;
    }
    return listing;
}

void FolderScanner::scanFolder(const QString &folder)
{
    // What a killed run left in this folder goes before the listing, so it is never catalogued.
    atomicfile::removeStaleTemporaryFiles({folder}, m_options.staleTemporaryAge);
    const Listing listing = listForScan(folder);
    for (const QString &name : listing.files) {
        if (stopping())
            return;
        enqueue(folder, name);
    }
    for (const QString &name : listing.subfolders) {
        if (stopping())
            return;
        scanFolder(folder + name + u'/');
    }
}

void FolderScanner::countFiles(const QString &folder, long long &total)
{
    const Listing listing = listForScan(folder);
    total += listing.files.size();
    m_feedback.processEvents();
    for (const QString &name : listing.subfolders) {
        if (stopping())
            return;
        countFiles(folder + name + u'/', total);
    }
}

void FolderScanner::enqueue(const QString &folder, const QString &name)
{
    auto file = std::make_shared<ScannedFile>();
    file->path = folder + name;
    auto task = std::make_shared<std::packaged_task<void()>>(
        [file, label = m_options.customizedLabel, &examiner = m_examiner, policy = m_options.thumbnails] {
            examineFile(*file, label, examiner, policy);
        });
    Pipeline::Pending pending{folder, name, file, task->get_future()};
    m_pipeline->pool.start([task] { (*task)(); });
    m_pipeline->queue.push_back(std::move(pending));
    writePending(m_pipeline->window);
}

void FolderScanner::writePending(std::size_t keep)
{
    auto &queue = m_pipeline->queue;
    while (queue.size() > keep) {
        Pipeline::Pending &front = queue.front();
        // The window keeps repainting while the oldest file is still being decoded.
        while (front.done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
            m_feedback.processEvents();
        // After Stop, files decoded ahead of the entry where the scan stopped are not written.
        if (!stopping())
            writeRow(front.folder, front.name, *front.file);
        queue.pop_front();
    }
}

void FolderScanner::writeRow(const QString &folder, const QString &name, const ScannedFile &file)
{
    ++m_visited;
    m_feedback.progress(file.path + QStringLiteral(" -> ") + QString::number(m_visited));
    if (observer.fileWritten)
        observer.fileWritten(m_visited);
    if (!file.unreadable.isEmpty()) {
        // Stored, it would read as a file without IPTC and hide the fault. One line in the log
        // each, one message at the end: a folder of such files must not open a box per file.
        ++m_unreadable;
        m_feedback.progress(message(Message::FileUnreadable) + u' ' + file.path + QStringLiteral(" (") + file.unreadable + u')');
        return;
    }
    ++m_folderCount;
    if (file.iptc.shortRead)
        m_feedback.showMessage(fillPlaceholders(message(Message::ErrorReadingFile), {file.path}), MessageIcon::Critical);
    if (!file.image.thumbnail.isEmpty() && observer.thumbnailMade)
        observer.thumbnailMade(file.path, file.image.thumbnail);
    execute(imageRowStatement(folder, name, file, m_kept.value(file.path)), Message::CannotAddData);
    m_feedback.processEvents();
}

bool FolderScanner::recount(const ScanTarget &target)
{
    if (!execute(imagesTable::countUnderFolderStatement(target.countedFolder), Message::CannotCountData))
        return false;
    const long long count = settingValue::wholeNumber(m_db.cell(0, 1));
    const QString update = scannedFolderStatement(target.countedFolder, QString::number(count),
                                                  lastScanText(QDateTime::currentDateTime(), m_options.locale));
    return execute(update, Message::CannotUpdateData);
}

bool FolderScanner::stopping()
{
    m_stopped = m_stopped || m_feedback.stopRequested();
    return m_stopped || m_failed;
}

QString catalogueDate(const QDateTime &instant)
{
    return instant.toLocalTime().toString(QStringLiteral("yyyy/MM/dd"));
}

QString catalogueTime(const QDateTime &instant)
{
    return instant.toLocalTime().toString(QStringLiteral("HH:mm:ss"));
}

QString lastScanText(const QDateTime &instant, const QLocale &locale)
{
    const QDateTime local = instant.toLocalTime();
    return locale.toString(local.date(), QLocale::ShortFormat) + u' ' + local.time().toString(QStringLiteral("HH:mm:ss"));
}

QString elapsedTimeText(const QString &elapsedLabel, long long seconds)
{
    seconds = std::max(0LL, seconds);
    return QStringLiteral(" %1 %2 h %3 min %4 s")
        .arg(elapsedLabel, QString::number(seconds / 3600), QString::number((seconds / 60) % 60),
             QString::number(seconds % 60));
}

} // namespace zelvarion
