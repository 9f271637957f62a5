// Word searches at the size of real archives, as whole processes: `zelvarion-cli search` against
// the sqlite3 shell running the very statement `zelvarion-cli search --sql` prints (the shell has
// no substring index; zelvarion-cli reaches the same rows through its own). For each catalogue
// size it prints the time the first search takes to index the catalogue, then per search the
// rows found by each, the best times, the ratio and both peak memories.
// Then a scan of 2 000 new small JPEG files into the catalogue (a copy of it), whose time and
// memory must not grow with the rows the catalogue already holds.
// Goals: a selective word at most 1/10 of the shell's time, a word found in about a tenth of the
// rows no slower than the shell, memory at most 100 MB above the result.
//
//   bench_archive_search [--rows N[,N...]] [--rounds R] [--dir DIR]
//   (default 100000,1000000; catalogues are generated in DIR, or a temporary folder, and a
//   catalogue already there is reused)
#include "BenchSupport.h"
#include "search/CatalogueGenerator.h"

#include <QCoreApplication>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

using namespace zelvarion::bench;

namespace {

const QString kCli = QStringLiteral(ZELVARION_CLI_PATH);

struct SearchCase
{
    QString name;
    QStringList arguments; // of zelvarion-cli search, after the catalogue
};

QList<SearchCase> searchCases()
{
    return {{QStringLiteral("selective: 1 file"), {QStringLiteral("IMG_012345")}},
            {QStringLiteral("selective: 1000 files"), {QStringLiteral("IMG_012")}},
            {QStringLiteral("~12% of rows: \"dupont\""), {QStringLiteral("dupont")}},
            {QStringLiteral("general \"paris\""), {QStringLiteral("paris")}},
            {QStringLiteral("whole word \"paris\""), {QStringLiteral("--whole-word"), QStringLiteral("paris")}},
            {QStringLiteral("and \"église sunset\""), {QStringLiteral("--operator"), QStringLiteral("and"),
                                                        QStringLiteral("église sunset")}}};
}

QStringList cliArguments(const QString &programFolder, const QString &catalogue, const QStringList &more)
{
    return QStringList{QStringLiteral("--program-folder"), programFolder, QStringLiteral("search"),
                       QStringLiteral("--catalogue"), catalogue} + more;
}

QByteArray outputOf(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(-1);
    return process.readAllStandardOutput();
}

// Files for the scan: one small JPEG, copied.
QString scanFolder(const QString &dir)
{
    const QString folder = dir + QStringLiteral("/scan-photos");
    if (QDir(folder).exists())
        return folder;
    QDir().mkpath(folder);
    QImage picture(320, 240, QImage::Format_RGB888);
    picture.fill(QColor(90, 140, 200));
    const QString first = folder + QStringLiteral("/photo00000.jpg");
    picture.save(first, "JPEG", 85);
    for (int i = 1; i < 2000; ++i)
        QFile::copy(first, folder + QStringLiteral("/photo%1.jpg").arg(i, 5, 10, QLatin1Char('0')));
    return folder;
}

QString megabytes(long kilobytes) { return QStringLiteral("%1 MB").arg(double(kilobytes) / 1024, 0, 'f', 0); }

void benchSize(int rows, int rounds, const QString &dir, const QString &shell, QTextStream &out)
{
    const QString catalogue = dir + QStringLiteral("/archive-%1.db").arg(rows);
    const QString programFolder = dir + QStringLiteral("/program-folder");
    QDir().mkpath(programFolder);
    if (!QFileInfo::exists(catalogue)) {
        QElapsedTimer timer;
        timer.start();
        if (!generateCatalogue(catalogue, rows))
            return;
        out << "generated " << rows << " rows in " << timer.elapsed() / 1000.0 << " s\n";
    }
    const ProcessCost indexing = runMeasured(kCli, cliArguments(programFolder, catalogue, {QStringLiteral("zzzz")}));
    out << "\n" << rows << " rows (" << QFileInfo(catalogue).size() / (1 << 20) << " MB with its index); first search "
        << "indexing what was not yet indexed: " << QString::number(indexing.seconds, 'f', 2) << " s, "
        << megabytes(indexing.peakKilobytes) << "\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n").arg(QStringLiteral("search"), -28).arg(QStringLiteral("found"), 7)
               .arg(QStringLiteral("shell"), 7).arg(QStringLiteral("ours"), 9).arg(QStringLiteral("sqlite3"), 9)
               .arg(QStringLiteral("ratio"), 7).arg(QStringLiteral("our peak"), 9).arg(QStringLiteral("shell peak"), 10);
    for (const SearchCase &search : searchCases()) {
        const QStringList arguments = cliArguments(programFolder, catalogue, search.arguments);
        const QString statement = QString::fromUtf8(outputOf(kCli, arguments + QStringList{QStringLiteral("--sql")})).trimmed();
        const qsizetype found = outputOf(kCli, arguments).count('\n');
        const qsizetype shellFound = outputOf(shell, {catalogue, statement}).count('\n');
        const ProcessCost ours = bestRun(rounds, [&] { return runMeasured(kCli, arguments); });
        const ProcessCost theirs = bestRun(rounds, [&] { return runMeasured(shell, {catalogue, statement}); });
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n").arg(search.name, -28).arg(found, 7).arg(shellFound, 7)
                   .arg(QStringLiteral("%1 s").arg(ours.seconds, 0, 'f', 3), 9)
                   .arg(QStringLiteral("%1 s").arg(theirs.seconds, 0, 'f', 3), 9)
                   .arg(QStringLiteral("%1x").arg(ours.seconds / theirs.seconds, 0, 'f', 3), 7)
                   .arg(megabytes(ours.peakKilobytes), 9).arg(megabytes(theirs.peakKilobytes), 10);
        out.flush();
    }
    const QString copy = dir + QStringLiteral("/scan-copy.db");
    QFile::remove(copy);
    QFile::copy(catalogue, copy);
    const ProcessCost scan = runMeasured(kCli, {QStringLiteral("--program-folder"), programFolder, QStringLiteral("scan"),
                                              QStringLiteral("--catalogue"), copy, scanFolder(dir)});
    out << "scan of 2000 new files into it (its search index kept up to date): "
        << QString::number(scan.seconds, 'f', 2) << " s, " << megabytes(scan.peakKilobytes) << " peak, exit "
        << scan.exitCode << "\n";
    QFile::remove(copy);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QStringList arguments = app.arguments().mid(1);
    const int rounds = takeNumber(arguments, QStringLiteral("--rounds"), 3);
    QList<int> sizes{100000, 1000000};
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--rows")); at >= 0 && at + 1 < arguments.size()) {
        sizes.clear();
        for (const QString &size : arguments.at(at + 1).split(u','))
            sizes << std::max(1, size.toInt());
    }
    QTemporaryDir temporary;
    QString dir = temporary.path();
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--dir")); at >= 0 && at + 1 < arguments.size())
        dir = arguments.at(at + 1);
    QDir().mkpath(dir);
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty()) {
        out << "the sqlite3 shell is not installed\n";
        return 1;
    }
    out << "whole processes, best of " << rounds << " runs; the shell's like folds ASCII letters only, so its "
        << "counts may differ where an accented capital is involved\n";
    for (const int rows : sizes)
        benchSize(rows, rounds, dir, shell, out);
    return 0;
}
