#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace zelvarion {

class CatalogueDb;
class Feedback;
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
};

// What the windows show while the scan runs; every call comes on the calling thread.
struct ScanObserver
{
    std::function<void(int target)> targetStarted;
    std::function<void(int target)> targetFinished;
    std::function<void(long long visited)> fileWritten;
    std::function<void(const QString &path, const QByteArray &thumbnail)> thumbnailMade;
};

struct ScanSummary
{
    long long visited = 0;
    bool stopped = false;
};

// Fills the catalogue from the folders of the targets: one Images row per file, rebuilt from
// scratch under each folder, inside the open catalogue and one SCAN transaction. Files are
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
    // feedback asks to stop; everything written by then stays.
    ScanSummary run(const std::vector<ScanTarget> &targets);

private:
    struct Pipeline;
    void scanTarget(const ScanTarget &target);
    void scanFolder(const QString &folder);
    void enqueue(const QString &folder, const QString &name);
    // Writes the oldest files until at most `keep` are waiting.
    void writePending(std::size_t keep);
    void writeRow(const QString &folder, const QString &name, const ScannedFile &file);
    void recount(const ScanTarget &target);
    bool stopping();

    CatalogueDb &m_db;
    Feedback &m_feedback;
    const ImageExaminer &m_examiner;
    ScanOptions m_options;
    std::unique_ptr<Pipeline> m_pipeline;
    long long m_visited = 0;
    long long m_folderCount = 0;
    bool m_stopped = false;
};

// Date and time texts of the Images columns: "2004/07/15" and "09:05:00", in local time.
QString catalogueDate(const QDateTime &instant);
QString catalogueTime(const QDateTime &instant);

// LastScan of the Folders table: the locale's short date, a space, the time of day.
QString lastScanText(const QDateTime &instant, const QLocale &locale);

// " " + elapsedLabel + " H h M min S s": minutes run on past 59 only below an hour.
QString elapsedTimeText(const QString &elapsedLabel, long long seconds);

} // namespace zelvarion
