// Scans a folder of JPEG files into a fresh catalogue, without thumbnails and with them, and runs
// the peers on the same files with the same two cores: `exiftool -fast2 -IPTC:all` for the
// catalogue facts and `vipsthumbnail --size 210x140` for the thumbnails. Prints files per second,
// the ratios, and the resident memory along a long scan.
// Usage: bench_scan [source folder] [file count] [memory-run file count]
#include "BenchSupport.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/FolderRegistry.h"
#include "core/catalogue/FolderScan.h"
#include "core/catalogue/ScanThumbnails.h"
#include "core/session/Feedback.h"
#include "platform/ThumbnailMaker.h"
#include "platform/ThumbnailStore.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

using namespace zelvarion;

using namespace zelvarion::bench;

namespace {

constexpr int kProcesses = 2;

class QuietFeedback : public Feedback
{
public:
    void showMessage(const QString &text, MessageIcon, const QString &) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    bool askYesNo(const QString &, MessageIcon) override { return false; }
};

QStringList readableJpegs(const QString &folder)
{
    QStringList found;
    const ThumbnailMaker maker;
    QDirIterator it(folder, {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.JPG")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!maker.loadThumbnail(path, 210, 140).isNull())
            found << path;
    }
    return found;
}

// One scan of `folder` into a new catalogue; files per second. `sample` gets the resident memory
// every `every` files.
double runScan(const QString &work, const QString &folder, ThumbnailPolicy policy, long long &files,
               int every = 0, std::vector<long> *sample = nullptr)
{
    QuietFeedback feedback;
    CatalogueDb db;
    db.path = work + QStringLiteral("/bench-%1.db").arg(int(policy));
    QFile::remove(db.path);
    createCatalogueSchema(db, feedback, {});
    const ThumbnailStore store(work + QStringLiteral("/thumbs"));
    const StoredThumbnailExaminer examiner(store);
    QElapsedTimer timer;
    timer.start();
    db.open();
    registerFolder(db, feedback, folder);
    ScanOptions options;
    options.thumbnails = policy;
    FolderScanner scanner(db, feedback, examiner, options);
    if (sample && every > 0)
        scanner.observer.fileWritten = [&](long long visited) {
            if (visited % every == 0)
                sample->push_back(residentKilobytes());
        };
    files = scanner.run({{folder, folder}}).visited;
    db.close();
    return files / (timer.nsecsElapsed() / 1e9);
}

// The peer tool over the files, split between `count` processes; files per second, 0 when it
// failed.
double runPeer(const QString &program, const QStringList &leading, const QStringList &files, int count)
{
    QElapsedTimer timer;
    timer.start();
    std::vector<std::unique_ptr<QProcess>> processes;
    const qsizetype share = (files.size() + count - 1) / count;
    for (int t = 0; t < count; ++t) {
        auto process = std::make_unique<QProcess>();
        process->setStandardOutputFile(QProcess::nullDevice());
        process->start(program, leading + files.mid(t * share, share));
        processes.push_back(std::move(process));
    }
    for (auto &process : processes)
        if (!process->waitForFinished(-1) || process->exitStatus() != QProcess::NormalExit)
            return 0;
    return files.size() / (timer.nsecsElapsed() / 1e9);
}

} // namespace

int main(int argc, char **argv)
{
    const QString source = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(ZELVARION_TESTDATA_DIR);
    const int count = argc > 2 ? QByteArray(argv[2]).toInt() : 1000;
    const int memoryCount = argc > 3 ? QByteArray(argv[3]).toInt() : 10000;
    QTemporaryDir work;
    const QString in = work.path() + QStringLiteral("/in/");
    const QStringList sources = readableJpegs(source);
    const QStringList files = layOut(sources, count, in);
    if (files.isEmpty()) {
        std::fprintf(stderr, "no readable JPEG files under %s\n", qPrintable(source));
        return 1;
    }
    std::printf("%lld JPEG files (from %lld samples), %d worker threads / peer processes\n", qlonglong(files.size()),
                qlonglong(sources.size()), kProcesses);

    long long scanned = 0;
    runScan(work.path(), in, ThumbnailPolicy::None, scanned); // warm the disk cache and the library
    const double plain = runScan(work.path(), in, ThumbnailPolicy::None, scanned);
    const QStringList exiftoolArguments = {QStringLiteral("-fast2"), QStringLiteral("-IPTC:all")};
    const double exiftool1 = runPeer(QStringLiteral("exiftool"), exiftoolArguments, files, 1);
    const double exiftool2 = runPeer(QStringLiteral("exiftool"), exiftoolArguments, files, kProcesses);
    const double thumbs = runScan(work.path(), in, ThumbnailPolicy::Recreate, scanned);
    const QString peerOut = work.path() + QStringLiteral("/peer");
    QDir().mkpath(peerOut);
    const QStringList vipsArguments = {QStringLiteral("--size"), QStringLiteral("210x140"), QStringLiteral("-o"),
                                       peerOut + QStringLiteral("/tn_%s.jpg")};
    const double vips1 = runPeer(QStringLiteral("vipsthumbnail"), vipsArguments, files, 1);
    const double vips2 = runPeer(QStringLiteral("vipsthumbnail"), vipsArguments, files, kProcesses);

    const auto ratio = [](double ours, double peer) { return peer > 0 ? ours / peer : 0.0; };
    std::printf("scan without thumbnails: %7.1f files/s\n", plain);
    std::printf("  exiftool -fast2 -IPTC:all, 1 process:   %7.1f files/s   ratio %.2f\n", exiftool1, ratio(plain, exiftool1));
    std::printf("  exiftool -fast2 -IPTC:all, 2 processes: %7.1f files/s   ratio %.2f\n", exiftool2, ratio(plain, exiftool2));
    std::printf("scan with thumbnails:    %7.1f files/s\n", thumbs);
    std::printf("  vipsthumbnail --size 210x140, 1 process:   %7.1f files/s   ratio %.2f\n", vips1, ratio(thumbs, vips1));
    std::printf("  vipsthumbnail --size 210x140, 2 processes: %7.1f files/s   ratio %.2f\n", vips2, ratio(thumbs, vips2));

    if (memoryCount > 0) {
        const QString many = work.path() + QStringLiteral("/many/");
        const QStringList manyFiles = layOut(sources, memoryCount, many);
        std::vector<long> resident;
        const double rate = runScan(work.path(), many, ThumbnailPolicy::Recreate, scanned, std::max(1, memoryCount / 10),
                                    &resident);
        std::printf("%lld files with thumbnails: %.1f files/s; resident kB every %d files:", scanned, rate,
                    std::max(1, memoryCount / 10));
        for (long kb : resident)
            std::printf(" %ld", kb);
        std::printf("\n");
    }
    return 0;
}
