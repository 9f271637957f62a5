// A page of ten result cells from stored thumbnails, against reading the ten image files whole
// (the least any cell could cost without stored thumbnails), and against making the ten
// thumbnails from the image files.
#include "platform/ThumbnailMaker.h"
#include "platform/ThumbnailStore.h"
#include "ui/ResultThumbnails.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr int kCells = 10;
constexpr int kRounds = 30;

// The ten largest sample JPEGs: the case where stored thumbnails matter.
QStringList largestJpegs()
{
    std::vector<std::pair<qint64, QString>> files;
    QDirIterator it(QStringLiteral(ZELVARION_TESTDATA_DIR "/iptc"), {QStringLiteral("*.jpg")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.emplace_back(QFileInfo(path).size(), path);
    }
    std::sort(files.rbegin(), files.rend());
    QStringList chosen;
    for (const auto &file : files) {
        if (!zelvarion::ThumbnailMaker().loadThumbnail(file.second, 210, 140).isNull())
            chosen << file.second;
        if (chosen.size() == kCells)
            break;
    }
    return chosen;
}

double bestMs(const std::function<void()> &page)
{
    double best = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        page();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList images = largestJpegs();
    QTemporaryDir root;
    const zelvarion::ThumbnailStore store(root.path());
    const zelvarion::ThumbnailMaker maker;
    for (const QString &image : images)
        store.store(image, maker.encodeJpeg(maker.loadThumbnail(image, 180, 120)));

    const double stored = bestMs([&] {
        for (const QString &image : images)
            zelvarion::resultThumbnail(image, true, store);
    });
    const double read = bestMs([&] {
        for (const QString &image : images) {
            QFile file(image);
            if (file.open(QIODevice::ReadOnly))
                file.readAll();
        }
    });
    const double made = bestMs([&] {
        for (const QString &image : images)
            zelvarion::resultThumbnail(image, false, store);
    });
    out << "a page of " << images.size() << " cells, best of " << kRounds << " rounds\n"
        << "  from stored thumbnails:       " << QString::number(stored, 'f', 2) << " ms\n"
        << "  reading the image files only: " << QString::number(read, 'f', 2) << " ms\n"
        << "  made from the image files:    " << QString::number(made, 'f', 2) << " ms\n"
        << "  ratio stored / reading files: " << QString::number(stored / read, 'f', 2)
        << "x (goal: at most 2x)\n";
    return 0;
}
