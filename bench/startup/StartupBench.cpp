// Time from process start to the enabled main window, against a bare Qt window's start.
// Both run with the offscreen platform; the program runs in a fresh program folder of its own
// (a copy of the executable with the language packs) and is told to leave once its window is
// enabled. The first run of the program creates the catalogue; the timed runs open it.
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
    return 0;
}
