#pragma once

// A whole process as the user runs it: its wall time and its peak resident memory.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace zelvarion::bench {

struct ProcessRun
{
    double seconds = 0;
    long peakKilobytes = 0; // the child's own peak resident set
    int exitCode = -1;
};

// Runs program with arguments, its output to nothing, and waits for it.
inline ProcessRun runProcess(const QString &program, const QStringList &arguments)
{
    std::vector<QByteArray> owned{program.toLocal8Bit()};
    for (const QString &argument : arguments)
        owned.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &item : owned)
        argv.push_back(item.data());
    argv.push_back(nullptr);
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t child = fork();
    if (child == 0) {
        const int nothing = open("/dev/null", O_WRONLY);
        dup2(nothing, STDOUT_FILENO);
        dup2(nothing, STDERR_FILENO);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    timespec end{};
    clock_gettime(CLOCK_MONOTONIC, &end);
    return {double(end.tv_sec - start.tv_sec) + double(end.tv_nsec - start.tv_nsec) / 1e9, usage.ru_maxrss,
            WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// The best time of several runs, with the highest peak memory among them.
inline ProcessRun bestRun(int rounds, const QString &program, const QStringList &arguments)
{
    ProcessRun best{1e300, 0, -1};
    for (int round = 0; round < rounds; ++round) {
        const ProcessRun run = runProcess(program, arguments);
        best.seconds = std::min(best.seconds, run.seconds);
        best.peakKilobytes = std::max(best.peakKilobytes, run.peakKilobytes);
        best.exitCode = run.exitCode;
    }
    return best;
}

} // namespace zelvarion::bench
