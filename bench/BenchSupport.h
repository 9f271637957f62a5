#pragma once

// Small pieces the benchmarks share.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zelvarion::bench {

// The number after option `name` (at least 1), taken out of the arguments; fallback when absent.
inline int takeNumber(QStringList &arguments, const QString &name, int fallback)
{
    const qsizetype at = arguments.indexOf(name);
    if (at < 0 || at + 1 >= arguments.size())
        return fallback;
    const int value = arguments.at(at + 1).toInt();
    arguments.remove(at, 2);
    return std::max(1, value);
}

// The best of several rounds, in seconds: the page cache is warm after the first.
inline double bestSeconds(int rounds, const std::function<void()> &work)
{
    double best = 1e300;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

// `count` copies of the sources, taken in turn, as img00000.jpg... in folder.
inline QStringList layOut(const QStringList &sources, int count, const QString &folder)
{
    QDir().mkpath(folder);
    QStringList files;
    for (int i = 0; i < count && !sources.isEmpty(); ++i) {
        const QString target = folder + QStringLiteral("/img%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
        if (QFile::copy(sources[i % sources.size()], target))
            files << target;
    }
    return files;
}

// Resident memory in kilobytes, to show it stays flat along a long run.
inline long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4 : 0;
}

// What one process cost: its wall time and its peak resident memory.
struct ProcessCost
{
    double seconds = 0;
    long peakKilobytes = 0; // ru_maxrss of the process (and of children it waited for)
    int exitCode = -1;
};

// Runs program as a user starts it, standard input from inputFile and standard output into
// outputFile (discarded when empty), standard error discarded; waited for with wait4, whose
// resource usage is that of this one process, not of the benchmark's earlier children.
inline ProcessCost runMeasured(const QString &program, const QStringList &arguments, const QString &outputFile = {},
                               const QString &inputFile = {})
{
    std::vector<QByteArray> owned{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        owned.push_back(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &argument : owned)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const QByteArray output = QFile::encodeName(outputFile.isEmpty() ? QStringLiteral("/dev/null") : outputFile);
    const QByteArray input = QFile::encodeName(inputFile.isEmpty() ? QStringLiteral("/dev/null") : inputFile);
    QElapsedTimer timer;
    timer.start();
    const pid_t child = fork();
    if (child == 0) {
        const int in = ::open(input.constData(), O_RDONLY);
        const int out = ::open(output.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open("/dev/null", O_WRONLY);
        if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0)
            _exit(127);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    ProcessCost cost;
    int status = 0;
    rusage usage{};
    if (child > 0 && wait4(child, &status, 0, &usage) == child) {
        cost.seconds = double(timer.nsecsElapsed()) / 1e9;
        cost.peakKilobytes = usage.ru_maxrss;
        cost.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return cost;
}

// The best time of several runs and the highest peak among them.
inline ProcessCost bestRun(int rounds, const std::function<ProcessCost()> &run)
{
    ProcessCost best{1e300, 0, 0};
    for (int round = 0; round < rounds; ++round) {
        const ProcessCost cost = run();
        best.seconds = std::min(best.seconds, cost.seconds);
        best.peakKilobytes = std::max(best.peakKilobytes, cost.peakKilobytes);
        best.exitCode = std::max(best.exitCode, cost.exitCode);
    }
    return best;
}

} // namespace zelvarion::bench
