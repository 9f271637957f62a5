// Applies a five-field template (mode 1, add keywords) to 200 JPEG files of 6 megapixels and has
// exiftool write the same five fields to copies of the same files in one process. First as a user
// meets it: `zelvarion-cli apply --yes` as a whole process (undo journal on, as always; once more
// with thumbnails renewed) against exiftool, fresh copies of the files every round; prints the
// best times, the ratio and the peak memory of both. Then the run inside this process, and the
// run over 2 000 small JPEG files with thumbnails and catalogue updates, to show the per-image
// overhead and that memory stays flat.
// Usage: bench_apply_template [large file count] [small file count] [whole-process rounds]
#include "BenchSupport.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/FolderRegistry.h"
#include "core/catalogue/FolderScan.h"
#include "core/session/Feedback.h"
#include "core/captioning/ApplyTemplateRun.h"
#include "core/captioning/TemplateStore.h"
#include "core/captioning/TemplateThumbnails.h"
#include "platform/ThumbnailStore.h"
#include "support/GeneratedJpeg.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zelvarion;
using namespace zelvarion::bench;

namespace {

// The five fields of the template, as exiftool writes them.
const QStringList kExiftoolFields = {QStringLiteral("-Headline=Markets rally at the close"), QStringLiteral("-City=Paris"),
                                     QStringLiteral("-Country-PrimaryLocationName=France"),
                                     QStringLiteral("-Credit=Picture desk"), QStringLiteral("-Keywords+=desk"),
                                     QStringLiteral("-Keywords+=wire")};

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
    ImageFacts examine(const QString &, ThumbnailPolicy) const override { return {QSize(3000, 2000), {}}; }
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
    const QString listed = folder + u'/'; // folders are kept with their slash: the scan joins names to them
    db.open();
    registerFolder(db, feedback, listed);
    FolderScanner scanner(db, feedback, examiner, ScanOptions{});
    scanner.run({{listed, listed}});
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
    const QStringList arguments =
        QStringList{QStringLiteral("-q"), QStringLiteral("-overwrite_original")} + kExiftoolFields + QStringList{folder};
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral("exiftool"), arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return 0;
    return count / (timer.nsecsElapsed() / 1e9);
}

struct ProcessCost
{
    double seconds = 0;
    long peakKilobytes = 0;
    bool ok = false;
};

// One process run to its end with its output dropped: its time and its peak resident memory.
// The variables of `environment` ("NAME=value") are added to the child's.
ProcessCost runProcess(const QString &program, const QStringList &arguments, const QByteArrayList &environment = {})
{
    QByteArrayList encoded{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        encoded << QFile::encodeName(argument);
    std::vector<char *> argv;
    for (QByteArray &argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    QElapsedTimer timer;
    timer.start();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        for (const QByteArray &variable : environment)
            putenv(const_cast<char *>(variable.constData()));
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child)
        return {};
    return {timer.nsecsElapsed() / 1e9, usage.ru_maxrss, WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

struct WholeRun
{
    ProcessCost best{1e300, 0, true};
    void take(const ProcessCost &cost)
    {
        best.seconds = std::min(best.seconds, cost.seconds);
        best.peakKilobytes = std::max(best.peakKilobytes, cost.peakKilobytes);
        best.ok = best.ok && cost.ok;
    }
};

// A program folder whose catalogue holds `folder` (scanned with thumbnails when they are on, as a
// user who keeps them has it) and whose template in use has the five fields.
bool prepareProgramFolder(const QString &cli, const QString &program, const QString &folder, bool thumbnails,
                          const QByteArrayList &environment)
{
    QDir().mkpath(program);
    QFile ini(program + QStringLiteral("/Zelvarion.ini"));
    if (!ini.open(QIODevice::WriteOnly)
        || ini.write(thumbnails ? "[Configuration]\r\nCreateThumbnails=1\r\n" : "[Configuration]\r\n") < 0)
        return false;
    ini.close();
    const QStringList steps[] = {
        thumbnails ? QStringList{QStringLiteral("scan"), QStringLiteral("--thumbnails"), folder}
                   : QStringList{QStringLiteral("scan"), folder},
        {QStringLiteral("template"), QStringLiteral("add"), QStringLiteral("bench")},
        {QStringLiteral("template"), QStringLiteral("set"), QStringLiteral("bench"),
         QStringLiteral("Headline=Markets rally at the close"), QStringLiteral("City=Paris"), QStringLiteral("Country=France"),
         QStringLiteral("Credit=Picture desk"), QStringLiteral("Keywords=desk; wire")},
        {QStringLiteral("template"), QStringLiteral("use"), QStringLiteral("bench")},
    };
    for (const QStringList &step : steps)
        if (!runProcess(cli, QStringList{QStringLiteral("--program-folder"), program} + step, environment).ok)
            return false;
    return true;
}

// zelvarion-cli apply against exiftool, side by side on fresh copies of the same files each round.
void compareWholeProcesses(const QString &work, const QStringList &sources, int count, int rounds)
{
    const QString cli = QStringLiteral(ZELVARION_CLI_PATH);
    const QString exiftool = QStandardPaths::findExecutable(QStringLiteral("exiftool"));
    if (exiftool.isEmpty()) {
        std::printf("whole processes: exiftool not found\n");
        return;
    }
    const QByteArrayList environment{QFile::encodeName(QStringLiteral("XDG_CACHE_HOME=") + work + QStringLiteral("/cache"))};
    WholeRun ours, oursWithThumbnails, peer;
    for (int round = 0; round < rounds; ++round) {
        for (const bool thumbnails : {false, true}) {
            const QString folder = work + QStringLiteral("/cli-photos");
            const QString program = work + QStringLiteral("/cli-program");
            layOut(sources, count, folder);
            if (!prepareProgramFolder(cli, program, folder, thumbnails, environment)) {
                std::printf("whole processes: the program folder could not be prepared\n");
                return;
            }
            WholeRun &run = thumbnails ? oursWithThumbnails : ours;
            ::sync(); // the copies' writeback would otherwise land on whichever program runs next
            run.take(runProcess(cli, {QStringLiteral("--program-folder"), program, QStringLiteral("apply"), QStringLiteral("--yes"),
                                       QStringLiteral("--mode"), QStringLiteral("1"), QStringLiteral("--add-keywords"),
                                      QStringLiteral("--with-iptc")},
                                environment));
            if (!QFileInfo::exists(program + QStringLiteral("/Images.undo.db")))
                run.best.ok = false;
            QDir(folder).removeRecursively();
            QDir(program).removeRecursively();
            QDir(work + QStringLiteral("/cache")).removeRecursively();
        }
        const QString folder = work + QStringLiteral("/cli-peer");
        layOut(sources, count, folder);
        ::sync();
        peer.take(runProcess(exiftool, QStringList{QStringLiteral("-q"), QStringLiteral("-overwrite_original")} + kExiftoolFields
                                           + QStringList{folder}));
        QDir(folder).removeRecursively();
    }
    const auto line = [&](const char *name, const WholeRun &run) {
        std::printf("  %-46s %8.3f s  peak %7ld kB   %.2fx as fast as exiftool%s\n", name, run.best.seconds,
                    run.best.peakKilobytes, peer.best.seconds / run.best.seconds, run.best.ok ? "" : "  (A RUN FAILED)");
    };
    std::printf("whole processes, best of %d rounds, fresh copies every round (goal >= 3x):\n", rounds);
    line("zelvarion-cli apply --yes, undo journal on", ours);
    line("  the same with thumbnails renewed", oursWithThumbnails);
    std::printf("  %-46s %8.3f s  peak %7ld kB%s\n", "exiftool -overwrite_original", peer.best.seconds,
                peer.best.peakKilobytes, peer.best.ok ? "" : "  (A RUN FAILED)");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int largeCount = argc > 1 ? QByteArray(argv[1]).toInt() : 200;
    const int smallCount = argc > 2 ? QByteArray(argv[2]).toInt() : 2000;
    const int wholeRounds = argc > 3 ? QByteArray(argv[3]).toInt() : 3;
    QTemporaryDir work;
    const QStringList large = sources(work.path() + QStringLiteral("/sources-large"), QSize(3000, 2000));
    const auto ratio = [](double ours, double peer) { return peer > 0 ? ours / peer : 0.0; };
    std::printf("%d JPEG files of 3000 x 2000 pixels (%lld kB each), template of 5 fields, mode 1, add keywords\n",
                largeCount, qlonglong(QFileInfo(large.value(0)).size() / 1024));
    compareWholeProcesses(work.path(), large, largeCount, wholeRounds);
    std::printf("inside this process:\n");
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
