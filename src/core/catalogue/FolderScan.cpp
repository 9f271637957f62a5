#include "core/catalogue/FolderScan.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/CatalogueTables.h"
#include "core/catalogue/FolderRegistry.h"
#include "core/iptc/IptcReader.h"
#include "core/shell/AppSettings.h"
#include "core/shell/Feedback.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>

#include <chrono>
#include <deque>
#include <future>
#include <tuple>

namespace zelvarion {

// Everything a worker learns of one file; the calling thread turns it into a row.
struct ScannedFile
{
    QString path;
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
    const QFileInfo info(file.path);
    file.lastWrite = info.lastModified();
    // File systems that keep no creation time give the last-write time instead.
    file.created = info.birthTime().isValid() ? info.birthTime() : file.lastWrite;
    file.size = info.size();
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
// LastRevisionTime and CheckMark stay empty.
QString imageRowStatement(const QString &folder, const QString &name, const ScannedFile &file)
{
    ImagesRow row;
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

bool FolderScanner::stopping()
{
    m_stopped = m_stopped || m_feedback.stopRequested();
    return m_stopped;
}

ScanSummary FolderScanner::run(const std::vector<ScanTarget> &targets)
{
    if (!beginTransaction(m_db, m_feedback, kScanTransaction))
        return {};
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
    endTransaction(m_db, m_feedback, kScanTransaction);
    return {m_visited, m_stopped};
}

void FolderScanner::scanTarget(const ScanTarget &target)
{
    if (!m_db.executeOrReport(m_feedback, QStringLiteral("delete from Images where (%1);").arg(rowsUnderFolder(target.folder)),
                              QStringLiteral("Cannot remove data")))
        return;
    m_folderCount = 0;
    scanFolder(target.folder);
    writePending(0);
    recount(target);
}

void FolderScanner::scanFolder(const QString &folder)
{
    // Sorted by name: the file system's own order differs between runs and machines.
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    QStringList subfolders;
    for (const QFileInfo &entry : entries) {
        if (stopping())
            return;
        const QString name = entry.fileName();
        // A leading dot marks hidden entries here: such folders are never entered, such files
        // never read.
        if (name.startsWith(u'.'))
            continue;
        if (entry.isDir()) {
            // A linked folder could lead back to its own parent and never end.
            if (!entry.isSymLink())
                subfolders << name;
            continue;
        }
        enqueue(folder, name);
    }
    for (const QString &name : std::as_const(subfolders)) {
        if (stopping())
            return;
        scanFolder(folder + name + u'/');
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
    ++m_folderCount;
    m_feedback.progress(file.path + QStringLiteral(" -> ") + QString::number(m_visited));
    if (observer.fileWritten)
        observer.fileWritten(m_visited);
    if (file.iptc.shortRead)
        m_feedback.showMessage(QStringLiteral("Error reading file ") + file.path, MessageIcon::Critical);
    if (!file.image.thumbnail.isEmpty() && observer.thumbnailMade)
        observer.thumbnailMade(file.path, file.image.thumbnail);
    m_db.executeOrReport(m_feedback, imageRowStatement(folder, name, file), QStringLiteral("Cannot add data"));
    m_feedback.processEvents();
}

void FolderScanner::recount(const ScanTarget &target)
{
    long long count = m_folderCount;
    if (m_db.executeOrReport(m_feedback,
                             QStringLiteral("select count(*) from Images where(%1);").arg(rowsUnderFolder(target.countedFolder)),
                             QStringLiteral("Cannot count data")))
        count = settingValue::wholeNumber(m_db.cell(0, 1));
    const QString update = QStringLiteral("update Folders set Files=%1, LastScan=%2 where (Folder=%3);")
                               .arg(sqlText(QString::number(count)),
                                    sqlText(lastScanText(QDateTime::currentDateTime(), m_options.locale)),
                                    sqlText(target.countedFolder));
    m_db.executeOrReport(m_feedback, update, QStringLiteral("Cannot update data"));
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
