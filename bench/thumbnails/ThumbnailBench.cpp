// Makes 210 by 140 thumbnails of a folder of JPEG files with the thumbnail maker on two threads,
// then with two vipsthumbnail processes over the same files, and prints files per second for both.
// Usage: bench_thumbnails [source folder] [file count]
#include "BenchSupport.h"
#include "platform/ThumbnailMaker.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

using zelvarion::ThumbnailMaker;

using namespace zelvarion::bench;

namespace {

constexpr int kThreads = 2;

// JPEG files of the source folder that decode, so both tools work on sound files only.
QStringList readableJpegs(const QString &folder)
{
    QStringList found;
    const ThumbnailMaker maker;
    QDirIterator it(folder, {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.JPG")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!maker.loadThumbnail(path, 210, 140).isNull())
            found << path;
    }
    return found;
}

double runMaker(const QStringList &files, const QString &outFolder, int &failures)
{
    std::atomic<int> next{0};
    std::atomic<int> failed{0};
    QElapsedTimer timer;
    timer.start();
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            const ThumbnailMaker maker;
            for (int i = next++; i < files.size(); i = next++) {
                const QImage thumb = maker.loadThumbnail(files[i], 210, 140);
                const QString target = outFolder + QStringLiteral("/tn_%1.jpg").arg(i);
                if (thumb.isNull() || !maker.saveJpeg(thumb, target))
                    ++failed;
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    failures = failed;
    return files.size() / (timer.nsecsElapsed() / 1e9);
}

double runVipsThumbnail(const QStringList &files, const QString &outFolder)
{
    QElapsedTimer timer;
    timer.start();
    std::vector<std::unique_ptr<QProcess>> processes;
    const qsizetype share = (files.size() + kThreads - 1) / kThreads;
    for (int t = 0; t < kThreads; ++t) {
        auto process = std::make_unique<QProcess>();
        QStringList arguments = {QStringLiteral("--size"), QStringLiteral("210x140"), QStringLiteral("-o"),
                                 outFolder + QStringLiteral("/tn_%s.jpg")};
        arguments << files.mid(t * share, share);
        process->start(QStringLiteral("vipsthumbnail"), arguments);
        processes.push_back(std::move(process));
    }
    for (auto &process : processes) {
        if (!process->waitForFinished(-1) || process->exitCode() != 0)
            return 0;
    }
    return files.size() / (timer.nsecsElapsed() / 1e9);
}

} // namespace

int main(int argc, char **argv)
{
    const QString source = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(ZELVARION_TESTDATA_DIR);
    const int count = argc > 2 ? QByteArray(argv[2]).toInt() : 200;
    QTemporaryDir work;
    const QString inFolder = work.path() + QStringLiteral("/in");
    const QString ourFolder = work.path() + QStringLiteral("/ours");
    const QString peerFolder = work.path() + QStringLiteral("/peer");
    QDir().mkpath(inFolder);
    QDir().mkpath(ourFolder);
    QDir().mkpath(peerFolder);

    const QStringList files = layOut(readableJpegs(source), count, inFolder);
    if (files.isEmpty()) {
        std::fprintf(stderr, "no readable JPEG files under %s\n", qPrintable(source));
        return 1;
    }
    std::printf("%lld JPEG files, %d threads, box 210x140\n", qlonglong(files.size()), kThreads);

    int failures = 0;
    runMaker(files, ourFolder, failures); // warm the disk cache and the library
    const long residentBefore = residentKilobytes();
    const double ours = runMaker(files, ourFolder, failures);
    const long residentAfter = residentKilobytes();
    const double peer = runVipsThumbnail(files, peerFolder);

    std::printf("thumbnail maker: %.1f files/s (%d failed), resident %ld kB -> %ld kB\n", ours, failures,
                residentBefore, residentAfter);
    if (peer <= 0) {
        std::printf("vipsthumbnail: did not run\n");
        return 1;
    }
    std::printf("vipsthumbnail:   %.1f files/s\n", peer);
    std::printf("ratio (maker / vipsthumbnail): %.2f\n", ours / peer);
    return 0;
}
