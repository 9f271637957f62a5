// Applies a five-field template (mode 1, add keywords) to 200 JPEG files of 6 megapixels and has
// exiftool write the same five fields to copies of the same files in one process; prints files
// per second and the ratio. Then the run over 2 000 small JPEG files with thumbnails and
// catalogue updates, to show the per-image overhead and that memory stays flat.
// Usage: bench_apply_template [large file count] [small file count]
#include "BenchSupport.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/FolderRegistry.h"
#include "core/catalogue/FolderScan.h"
#include "core/shell/Feedback.h"
#include "core/templates/ApplyTemplateRun.h"
#include "core/templates/TemplateStore.h"
#include "core/templates/TemplateThumbnails.h"
#include "platform/ThumbnailStore.h"
#include "support/GeneratedJpeg.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace zelvarion;
using namespace zelvarion::bench;

namespace {

class QuietFeedback : public Feedback
{
public:
    void showMessage(const QString &text, MessageIcon, const QString &) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    bool askYesNo(const QString &, MessageIcon) override { return false; }
};

// The scan's rows without pictures: the bench measures the template run, not the scan.
class NoPictures : public ImageExaminer
{
public:
    ImageFacts examine(const QString &, ThumbnailPolicy) const override { return {}; }
};

// Four distinct pictures with IPTC, Exif, XMP, ICC and a resolution resource, written once.
QStringList sources(const QString &folder, QSize size)
{
    QDir().mkpath(folder);
    QStringList files;
    for (int seed = 0; seed < 4; ++seed) {
        const QByteArray iim = test::generated::iimDataset(90, "Lyon") + test::generated::iimDataset(25, "archive")
                               + test::generated::iimDataset(120, "A caption written by the photographer");
        const QString path = folder + QStringLiteral("/source%1.jpg").arg(seed);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(test::generated::generatedJpeg(size, seed + 1, iim)) > 0)
            files << path;
    }
    return files;
}

// A catalogue of the folder with the five-field template in use.
void prepareCatalogue(CatalogueDb &db, const QString &folder, Feedback &feedback)
{
    QFile::remove(db.path);
    createCatalogueSchema(db, feedback, {});
    const NoPictures examiner;
    db.open();
    registerFolder(db, feedback, folder);
    FolderScanner scanner(db, feedback, examiner, ScanOptions{});
    scanner.run({{folder, folder}});
    db.close();
    TemplateStore store(db, feedback);
    store.add(QStringLiteral("bench"), {});
    TemplateValues values;
    values.fields[25] = QStringLiteral("Markets rally at the close");
    values.fields[20] = QStringLiteral("Paris");
    values.fields[23] = QStringLiteral("France");
    values.fields[26] = QStringLiteral("Picture desk");
    values.fields[kKeywordsIndex] = QStringLiteral("desk; wire");
    store.save(QStringLiteral("bench"), values, {});
    store.markInUse(QStringLiteral("bench"), true);
}

std::vector<ResultRow> rowsOf(const QStringList &files)
{
    std::vector<ResultRow> rows;
    for (const QString &path : files) {
        const QFileInfo info(path);
        rows.push_back({info.absolutePath() + u'/', info.fileName(), {}});
    }
    return rows;
}

// One run of our own over the files; files per second. Resident memory every `every` images.
double runOurs(const QString &work, const QString &folder, const QStringList &files, bool thumbnails,
               int every = 0, std::vector<long> *resident = nullptr)
{
    QuietFeedback feedback;
    CatalogueDb db;
    db.path = work + QStringLiteral("/bench.db");
    prepareCatalogue(db, folder, feedback);
    const ThumbnailStore store(work + QStringLiteral("/thumbs"));
    const StoredThumbnailRenewer renewer(store);
    ApplyOptions options;
    options.mode = MergeMode::OverwriteNonEmpty;
    options.keywords = KeywordOption::Add;
    ApplyObserver observer;
    int done = 0;
    observer.imageDone = [&](const QString &, const ProcessResult &) {
        if (resident && every > 0 && ++done % every == 0)
            resident->push_back(residentKilobytes());
    };
    const std::vector<ResultRow> rows = rowsOf(files);
    QElapsedTimer timer;
    timer.start();
    const ApplySummary summary = runApplyTemplate(db, feedback, rows, options, thumbnails ? &renewer : nullptr, observer);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (summary.processed != int(files.size()))
        std::fprintf(stderr, "only %d of %lld files written\n", summary.processed, qlonglong(files.size()));
    return summary.processed / seconds;
}

double runExiftool(const QString &folder, int count)
{
    const QStringList arguments = {QStringLiteral("-q"), QStringLiteral("-overwrite_original"),
                                   QStringLiteral("-Headline=Markets rally at the close"), QStringLiteral("-City=Paris"),
                                   QStringLiteral("-Country-PrimaryLocationName=France"),
                                   QStringLiteral("-Credit=Picture desk"), QStringLiteral("-Keywords+=desk"),
                                   QStringLiteral("-Keywords+=wire"), folder};
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral("exiftool"), arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return 0;
    return count / (timer.nsecsElapsed() / 1e9);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int largeCount = argc > 1 ? QByteArray(argv[1]).toInt() : 200;
    const int smallCount = argc > 2 ? QByteArray(argv[2]).toInt() : 2000;
    QTemporaryDir work;
    const QStringList large = sources(work.path() + QStringLiteral("/sources-large"), QSize(3000, 2000));
    const auto ratio = [](double ours, double peer) { return peer > 0 ? ours / peer : 0.0; };
    std::printf("%d JPEG files of 3000 x 2000 pixels (%lld kB each), template of 5 fields, mode 1, add keywords\n",
                largeCount, qlonglong(QFileInfo(large.value(0)).size() / 1024));
    double best = 0, bestThumbs = 0, bestPeer = 0;
    for (int round = 0; round < 2; ++round) {
        const QString ours = work.path() + QStringLiteral("/ours%1").arg(round);
        const QString peer = work.path() + QStringLiteral("/peer%1").arg(round);
        const QString thumbs = work.path() + QStringLiteral("/thumbs%1").arg(round);
        best = std::max(best, runOurs(work.path(), ours, layOut(large, largeCount, ours), false));
        bestPeer = std::max(bestPeer, runExiftool(peer, int(layOut(large, largeCount, peer).size())));
        bestThumbs = std::max(bestThumbs, runOurs(work.path(), thumbs, layOut(large, largeCount, thumbs), true));
        QDir(ours).removeRecursively();
        QDir(peer).removeRecursively();
        QDir(thumbs).removeRecursively();
    }
    std::printf("apply template:                    %7.1f files/s\n", best);
    std::printf("  exiftool -overwrite_original, 1 process: %7.1f files/s   ratio %.2f\n", bestPeer, ratio(best, bestPeer));
    std::printf("apply template, thumbnails renewed: %7.1f files/s   ratio %.2f\n", bestThumbs, ratio(bestThumbs, bestPeer));

    if (smallCount > 0) {
        const QStringList small = sources(work.path() + QStringLiteral("/sources-small"), QSize(640, 427));
        const QString many = work.path() + QStringLiteral("/many");
        const QStringList files = layOut(small, smallCount, many);
        const QString peer = work.path() + QStringLiteral("/many-peer");
        const double peerRate = runExiftool(peer, int(layOut(small, smallCount, peer).size()));
        std::vector<long> resident;
        const int every = std::max(1, smallCount / 10);
        const double rate = runOurs(work.path(), many, files, true, every, &resident);
        std::printf("%d small JPEG files, thumbnails renewed and rows updated: %.1f files/s"
                    " (exiftool without thumbnails or catalogue: %.1f files/s, ratio %.2f)\n",
                    smallCount, rate, peerRate, ratio(rate, peerRate));
        std::printf("  resident kB every %d files:", every);
        for (long kb : resident)
            std::printf(" %ld", kb);
        std::printf("\n");
    }
    return 0;
}
