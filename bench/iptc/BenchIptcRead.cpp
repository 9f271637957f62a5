// Reads the IPTC of a folder of JPEG files with this reader (in process and through
// zelvarion-cli read) and with `exiftool -fast2 -IPTC:all` and `exiv2 -pi` on the same files,
// and prints files per second and the ratios.
//
//   bench_iptc_read [--copies N] [--rounds R] [SAMPLE_FOLDER]
#include "BenchSupport.h"
#include "core/iptc/IptcReader.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

using namespace zelvarion;

using namespace zelvarion::bench;

namespace {

QStringList copyJpegs(const QString &samples, const QString &folder, int copies)
{
    QStringList files;
    QDirIterator it(samples, QDir::Files, QDirIterator::Subdirectories);
    int index = 0;
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = file.readAll();
        if (!bytes.startsWith(QByteArrayView("\xFF\xD8", 2)))
            continue;
        ++index;
        for (int copy = 0; copy < copies; ++copy) {
            QFile out(QStringLiteral("%1/%2-%3.jpg").arg(folder).arg(index).arg(copy));
            if (out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size())
                files << out.fileName();
        }
    }
    return files;
}

bool runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QStringList arguments = app.arguments().mid(1);
    int copies = 20;
    int rounds = 3;
    for (qsizetype i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == u"--copies")
            copies = std::max(1, arguments.takeAt(i + 1).toInt()), arguments.removeAt(i--);
        else if (arguments[i] == u"--rounds")
            rounds = std::max(1, arguments.takeAt(i + 1).toInt()), arguments.removeAt(i--);
    }
    const QString samples = arguments.value(0, QStringLiteral(ZELVARION_BENCH_SAMPLES));
    QTemporaryDir folder;
    const QStringList files = copyJpegs(samples, folder.path(), copies);
    if (files.isEmpty()) {
        out << "no JPEG files under " << samples << '\n';
        return 1;
    }
    qint64 totalBytes = 0;
    for (const QString &file : files)
        totalBytes += QFileInfo(file).size();
    out << files.size() << " JPEG files (" << totalBytes / 1024 / 1024 << " MiB) in " << folder.path()
        << ", best of " << rounds << " rounds\n";

    const auto rate = [&](double seconds) { return double(files.size()) / seconds; };
    const double reader = rate(bestSeconds(rounds, [&] {
        for (const QString &file : files)
            (void)readImageIptc(file, defaultCustomizedLabel());
    }));
    out << QStringLiteral("%1 %2 files/s\n").arg(QStringLiteral("reader (in process)"), -28).arg(reader, 10, 'f', 0);
    const double cli = rate(bestSeconds(rounds, [&] {
        runTool(QStringLiteral(ZELVARION_CLI_PATH), QStringList{QStringLiteral("read")} + files);
    }));
    out << QStringLiteral("%1 %2 files/s\n").arg(QStringLiteral("zelvarion-cli read"), -28).arg(cli, 10, 'f', 0);

    struct Peer { QString name; QString program; QStringList arguments; };
    const QList<Peer> peers = {
        {QStringLiteral("exiftool -fast2 -IPTC:all"), QStringLiteral("exiftool"),
         QStringList{QStringLiteral("-fast2"), QStringLiteral("-IPTC:all"), folder.path()}},
        {QStringLiteral("exiv2 -pi"), QStringLiteral("exiv2"), QStringList{QStringLiteral("-pi")} + files},
    };
    for (const Peer &peer : peers) {
        const QString program = QStandardPaths::findExecutable(peer.program);
        if (program.isEmpty()) {
            out << peer.name << ": not installed, skipped\n";
            continue;
        }
        const double peerRate = rate(bestSeconds(rounds, [&] { runTool(program, peer.arguments); }));
        out << QStringLiteral("%1 %2 files/s   reader/peer %3x   cli/peer %4x\n")
                   .arg(peer.name, -28).arg(peerRate, 10, 'f', 0)
                   .arg(reader / peerRate, 0, 'f', 2).arg(cli / peerRate, 0, 'f', 2);
    }
    return 0;
}
