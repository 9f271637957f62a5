#pragma once

// Small pieces the benchmarks share.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <functional>

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

} // namespace zelvarion::bench
