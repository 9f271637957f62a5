// Time from process start to the enabled main window, against a bare Qt window's start.
// Both run with the offscreen platform; the program runs in a fresh program folder of its own
// (a copy of the executable with the language packs) and is told to leave once its window is
// enabled. The first run of the program creates the catalogue; the timed runs open it. With
// --catalogue PATH (a large catalogue, such as one bench_archive_search made), the start with that
// catalogue is timed too, against the start with the empty one; the catalogue is indexed for
// searches first, as its first search would.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

constexpr int kRuns = 15;

double runOnce(const QString &program)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ZELVARION_EXIT_WHEN_READY"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    process.start(program, {});
    process.waitForFinished(60000);
    return double(timer.nsecsElapsed()) / 1e6;
}

double medianMs(const QString &program)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i)
        times.push_back(runOnce(program));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QString prepareProgramFolder(const QTemporaryDir &dir)
{
    const QString exe = dir.filePath(QStringLiteral("zelvarion"));
    QFile::copy(QStringLiteral(ZELVARION_GUI_EXE), exe);
    QFile::setPermissions(exe, QFile::permissions(QStringLiteral(ZELVARION_GUI_EXE)));
    // The general image decoder is a module beside the program.
    QFile::copy(QStringLiteral(ZELVARION_VIPS_MODULE_PATH), dir.filePath(QFileInfo(QStringLiteral(ZELVARION_VIPS_MODULE_PATH)).fileName()));
    const QDir packs(QStringLiteral(ZELVARION_SOURCE_DIR "/data/Zelvarion-Language"));
    QDir().mkpath(dir.filePath(QStringLiteral("Zelvarion-Language")));
    for (const QString &name : packs.entryList(QDir::Files))
        QFile::copy(packs.filePath(name), dir.filePath(QStringLiteral("Zelvarion-Language/") + name));
    runOnce(exe); // first start: creates the catalogue and the configuration file
    return exe;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString exe = prepareProgramFolder(dir);
    const double zelvarion = medianMs(exe);
    const double bare = medianMs(QStringLiteral(BARE_WINDOW_EXE));
    out << "start-up to enabled window, median of " << kRuns << " runs\n"
        << "  zelvarion:       " << QString::number(zelvarion, 'f', 1) << " ms\n"
        << "  bare Qt window:  " << QString::number(bare, 'f', 1) << " ms\n"
        << "  ratio:           " << QString::number(zelvarion / bare, 'f', 2) << "x (goal: at most 2x)\n";
    const QStringList arguments = app.arguments();
    const qsizetype at = arguments.indexOf(QStringLiteral("--catalogue"));
    if (at < 0 || at + 1 >= arguments.size())
        return 0;
    const QString large = QFileInfo(arguments.at(at + 1)).absoluteFilePath();
    QProcess::execute(QStringLiteral(ZELVARION_CLI_PATH), {QStringLiteral("--program-folder"), dir.path(),
                                                           QStringLiteral("search"), QStringLiteral("--catalogue"), large,
                                                           QStringLiteral("zzzz")});
    const QString catalogue = dir.filePath(QStringLiteral("Images.db"));
    QFile::remove(catalogue);
    QFile::link(large, catalogue);
    const double withLarge = medianMs(exe);
    out << "  with " << large << ": " << QString::number(withLarge, 'f', 1) << " ms, "
        << QString::number(withLarge / zelvarion, 'f', 2) << "x the start with the empty catalogue (goal: at most 2x)\n";
    return 0;
}
