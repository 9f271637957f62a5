// A page of ten result cells from stored thumbnails, against reading the ten image files whole
// (the least any cell could cost without stored thumbnails), and against making the ten
// thumbnails from the image files. Then the result grid itself turning the pages of a result of
// 100 000 images (the ten files over and over): any page must show in under 50 ms.
#include "platform/ThumbnailMaker.h"
#include "platform/ThumbnailStore.h"
#include "core/session/AppSettings.h"
#include "ui/ResultGrid.h"
#include "ui/ResultThumbnails.h"

#include <QApplication>
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

// The slowest page turn of the grid over a large result, in milliseconds.
double slowestPageMs(const QStringList &images, int resultSize, QTextStream &out)
{
    std::vector<zelvarion::ResultRow> rows;
    rows.reserve(std::size_t(resultSize));
    for (int rank = 0; rank < resultSize; ++rank) {
        const QFileInfo image(images.at(rank % images.size()));
        rows.push_back({image.absolutePath() + u'/', image.fileName(), {}});
    }
    zelvarion::ResultList result;
    result.assign(std::move(rows));
    zelvarion::AppSettings settings;
    settings.useThumbnails = true;
    zelvarion::ResultGrid grid(settings, nullptr);
    grid.resize(1000, 700);
    grid.show();
    QElapsedTimer timer;
    timer.start();
    grid.showResult(std::move(result));
    double slowest = timer.nsecsElapsed() / 1e6;
    using Step = zelvarion::ResultGrid::PageStep;
    for (const Step step : {Step::Forward, Step::Last, Step::Back, Step::First, Step::Forward, Step::Last}) {
        timer.restart();
        grid.turnPage(step);
        QCoreApplication::processEvents(); // the cells painted
        slowest = std::max(slowest, timer.nsecsElapsed() / 1e6);
    }
    out << "a result of " << resultSize << " images, first, next, last and previous pages: slowest "
        << QString::number(slowest, 'f', 2) << " ms (goal: under 50 ms)\n";
    return slowest;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir root;
    // The grid reads the user's thumbnail store: here a store of the benchmark's own.
    qputenv("XDG_CACHE_HOME", root.path().toLocal8Bit());
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList images = largestJpegs();
    const zelvarion::ThumbnailStore store;
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
    slowestPageMs(images, 100000, out);
    return 0;
}
