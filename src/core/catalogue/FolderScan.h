#pragma once

#include "platform/AtomicFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QSize>
#include "core/session/LanguageKeys.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace zelvarion {

class CatalogueDb;
class Feedback;
class LanguagePack;
enum class Message : int;
struct ScannedFile;

// What the scan learns of an image beyond its IPTC: the pixel size (empty when the file cannot
// be decoded) and the thumbnail it stored, as JPEG bytes for the preview (empty when none).
struct ImageFacts
{
    QSize pixelSize;
    QByteArray thumbnail;
};

enum class ThumbnailPolicy {
    None,          // CreateThumbnails off
    KeepExisting,  // a file that already has a thumbnail is left alone
    Recreate,      // every thumbnail is rewritten
};

// Measures images and stores their thumbnails; the windows and the command line implement it with
// the thumbnail maker and the thumbnail store. Called from several worker threads at once.
class ImageExaminer
{
public:
    virtual ~ImageExaminer() = default;
    virtual ImageFacts examine(const QString &path, ThumbnailPolicy policy) const = 0;
};

// One checked row of the folder list: the folder scanned and the registered folder whose Files
// and LastScan are recounted (the parent row for a subfolder row).
struct ScanTarget
{
    QString folder;
    QString countedFolder;
};

struct ScanOptions
{
    QString customizedLabel;
    ThumbnailPolicy thumbnails = ThumbnailPolicy::None;
    int workerThreads = 0; // 0: one per processor
    QLocale locale = QLocale::system(); // the short date of LastScan
    const LanguagePack *language = nullptr; // the texts of its messages; the built-in English when none
    // Temporary files of killed runs older than this are removed from every folder scanned.
    std::chrono::seconds staleTemporaryAge = atomicfile::kStaleTemporaryAge;
};

// What the windows show while the scan runs; every call comes on the calling thread.
struct ScanObserver
{
    std::function<void(int target)> targetStarted;
    std::function<void(int target)> targetFinished;
    // When set, the files the scan will come to are counted first, by its own rules, and told
    // before the first is read, so a window can show "n of N".
    std::function<void(long long total)> filesToScan;
    std::function<void(long long visited)> fileWritten;
    std::function<void(const QString &path, const QByteArray &thumbnail)> thumbnailMade;
};

struct ScanSummary
{
    long long visited = 0;
    long long unreadable = 0; // files that could not be read: reported, no row
    bool stopped = false;
    bool failed = false; // a statement failed: the catalogue was rolled back to before the scan
};

// What the user gave an image that a rescan must not take away: its check mark and the date and
// time of its last revision.
struct KeptUserState
{
    QString checkMark;
    QString revisionDate;
    QString revisionTime;
};

// Fills the catalogue from the folders of the targets: one Images row per file, rebuilt from
// the file under each folder (a file still there keeps its check mark and revision), inside the
// open catalogue and one SCAN transaction. The first statement that fails ends the scan and rolls
// the transaction back, so the catalogue holds the rows it had before, never a mix. Files are
// decoded on worker threads while their rows are inserted here in listing order; progress lines
// ("path -> n"), the stop flag and pending events go through the feedback.
class FolderScanner
{
public:
    FolderScanner(CatalogueDb &db, Feedback &feedback, const ImageExaminer &examiner, ScanOptions options);
    ~FolderScanner();
    FolderScanner(const FolderScanner &) = delete;
    FolderScanner &operator=(const FolderScanner &) = delete;

    ScanObserver observer;

    // The catalogue must be open. Stops at the next entry, subfolder or target once the
    // feedback asks to stop; everything written by then stays, and the files not reached keep
    // their old rows. Unreadable files are reported and counted, and get no row.
    ScanSummary run(const std::vector<ScanTarget> &targets);

private:
    struct Pipeline;
    void scanTarget(const ScanTarget &target);
    void scanFolder(const QString &folder);
    // The entries scanFolder would come to: files, and folders it would enter.
    struct Listing
    {
        QStringList files;
        QStringList subfolders;
    };
    static Listing listForScan(const QString &folder);
    void countFiles(const QString &folder, long long &total);
    void enqueue(const QString &folder, const QString &name);
    // Writes the oldest files until at most `keep` are waiting.
    void writePending(std::size_t keep);
    void writeRow(const QString &folder, const QString &name, const ScannedFile &file);
    bool recount(const ScanTarget &target);
    bool keepUserState(const QString &folder);
    // Runs one statement of the transaction; a failure is reported and ends the scan.
    bool execute(const QString &statement, Message what);
    void rollBack();
    QString message(Message key) const;
    bool stopping();

    CatalogueDb &m_db;
    Feedback &m_feedback;
    const ImageExaminer &m_examiner;
    ScanOptions m_options;
    std::unique_ptr<Pipeline> m_pipeline;
    long long m_visited = 0;
    long long m_folderCount = 0;
    long long m_unreadable = 0;
    QHash<QString, KeptUserState> m_kept; // by path, the files of the target that have any
    bool m_stopped = false;
    bool m_failed = false;
};

// Date and time texts of the Images columns: "2004/07/15" and "09:05:00", in local time.
QString catalogueDate(const QDateTime &instant);
QString catalogueTime(const QDateTime &instant);

// LastScan of the Folders table: the locale's short date, a space, the time of day.
QString lastScanText(const QDateTime &instant, const QLocale &locale);

// " " + elapsedLabel + " H h M min S s": minutes run on past 59 only below an hour.
QString elapsedTimeText(const QString &elapsedLabel, long long seconds);

} // namespace zelvarion
