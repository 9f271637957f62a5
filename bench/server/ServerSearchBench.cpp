// Word searches on a catalogue held by a database server, as whole processes: `zelvarion-cli
// search --catalogue postgresql://...` against the same search on the catalogue file of the same
// rows (through its substring index). It starts a throwaway server with scripts/pg-test-cluster.sh,
// copies the generated rows into it (the sqlite3 shell's CSV into psql's \copy, in rowid order, so
// both catalogues hold the rows in the same order), then times the first open that makes the
// server's word indexes, and per search the rows each found, whether both printed the very same
// lines, the best times, the ratio (server over file) and the peak memory of the zelvarion-cli
// process (the server's own memory is not counted).
// Goal: a selective word and a word in about a tenth of the rows no slower on the server.
//
//   bench_server_search [--rows N] [--rounds R] [--dir DIR]
//   (default 1000000 rows; the catalogue file is generated in DIR, or a temporary folder, and one
//   already there is reused; the server is always new and stopped at the end)
#include "BenchSupport.h"
#include "search/CatalogueGenerator.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/CatalogueTables.h"
#include "StderrFeedback.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

using namespace zelvarion;
using namespace zelvarion::bench;

namespace {

const QString kCli = QStringLiteral(ZELVARION_CLI_PATH);
const QString kClusterScript = QStringLiteral(ZELVARION_CLUSTER_SCRIPT);

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
            {QStringLiteral("and \"église sunset\""), {QStringLiteral("--operator"), QStringLiteral("and"),
                                                        QStringLiteral("église sunset")}},
            {QStringLiteral("whole word \"paris\""), {QStringLiteral("--whole-word"), QStringLiteral("paris")}}};
}

QStringList cliArguments(const QString &programFolder, const QString &catalogue, const QStringList &more)
{
    return QStringList{QStringLiteral("--program-folder"), programFolder, QStringLiteral("search"),
                       QStringLiteral("--catalogue"), catalogue} + more;
}

QString megabytes(long kilobytes) { return QStringLiteral("%1 MB").arg(double(kilobytes) / 1024, 0, 'f', 0); }

// The throwaway server: its address, and the folder the stop needs.
struct Cluster
{
    QString address;
    QString folder;
};

std::optional<Cluster> startCluster(QTextStream &out)
{
    QProcess script;
    script.start(QStringLiteral("bash"), {kClusterScript, QStringLiteral("start")});
    script.waitForFinished(-1);
    Cluster cluster;
    for (const QString &line : QString::fromUtf8(script.readAllStandardOutput()).split(u'\n')) {
        if (line.startsWith(QStringLiteral("export ZELVARION_TEST_PG=")))
            cluster.address = line.section(u'=', 1);
        else if (line.startsWith(QStringLiteral("export ZELVARION_TEST_PG_DIR=")))
            cluster.folder = line.section(u'=', 1);
    }
    if (script.exitCode() != 0 || cluster.address.isEmpty()) {
        out << "the database server did not start: " << script.readAllStandardError() << "\n";
        return std::nullopt;
    }
    return cluster;
}

void stopCluster(const Cluster &cluster)
{
    QProcess::execute(QStringLiteral("bash"), {kClusterScript, QStringLiteral("stop"), cluster.folder});
}

// The server catalogue's tables, made as the program makes them, then the rows of the file
// copied in without the word indexes (a loaded catalogue made before they existed): the first
// open adds them, which is timed apart.
bool loadServer(const QString &catalogue, const QString &address, const QString &psql, const QString &shell,
                QTextStream &out)
{
    StderrFeedback feedback;
    CatalogueDb db;
    db.path = address;
    if (!createCatalogueSchema(db, feedback, {}) || !db.openOrReport(feedback)
        || !db.executeOrReport(feedback, QStringLiteral("drop extension if exists pg_trgm cascade;"),
                               Message::CannotAddData))
        return false;
    db.close();
    QStringList quoted;
    for (const QString &column : imagesColumnNames())
        quoted << u'"' + column + u'"';
    const QString columns = quoted.join(u',');
    const QString copy = QStringLiteral("\\copy \"Images\"(%1) from stdin with (format csv, force_not_null (%1))")
                             .arg(columns);
    const QString select = QStringLiteral("select * from Images order by rowid;");
    QProcess pipeline;
    pipeline.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    pipeline.start(QStringLiteral("bash"),
                   {QStringLiteral("-c"), QStringLiteral("set -o pipefail; \"$1\" -csv -noheader \"$2\" \"$3\" | "
                                                         "\"$4\" -X -q -v ON_ERROR_STOP=1 \"$5\" -c \"$6\""),
                    QStringLiteral("copy"), shell, catalogue, select, psql, address, copy});
    pipeline.waitForFinished(-1);
    if (pipeline.exitCode() != 0) {
        out << "copying the rows to the server failed\n";
        return false;
    }
    return true;
}

QByteArray outputOf(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(-1);
    return process.readAllStandardOutput();
}

void compare(int rounds, const QString &programFolder, const QString &file, const QString &server, QTextStream &out)
{
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n").arg(QStringLiteral("search"), -28).arg(QStringLiteral("found"), 7)
               .arg(QStringLiteral("same"), 5).arg(QStringLiteral("server"), 9).arg(QStringLiteral("file"), 9)
               .arg(QStringLiteral("ratio"), 8).arg(QStringLiteral("srv peak"), 9).arg(QStringLiteral("file peak"), 10);
    for (const SearchCase &search : searchCases()) {
        const QStringList onServer = cliArguments(programFolder, server, search.arguments);
        const QStringList onFile = cliArguments(programFolder, file, search.arguments);
        const QByteArray serverLines = outputOf(kCli, onServer);
        const bool same = serverLines == outputOf(kCli, onFile);
        const ProcessCost ours = bestRun(rounds, [&] { return runMeasured(kCli, onServer); });
        const ProcessCost theirs = bestRun(rounds, [&] { return runMeasured(kCli, onFile); });
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n").arg(search.name, -28).arg(serverLines.count('\n'), 7)
                   .arg(same ? QStringLiteral("yes") : QStringLiteral("NO"), 5)
                   .arg(QStringLiteral("%1 s").arg(ours.seconds, 0, 'f', 3), 9)
                   .arg(QStringLiteral("%1 s").arg(theirs.seconds, 0, 'f', 3), 9)
                   .arg(QStringLiteral("%1x").arg(ours.seconds / theirs.seconds, 0, 'f', 3), 8)
                   .arg(megabytes(ours.peakKilobytes), 9).arg(megabytes(theirs.peakKilobytes), 10);
        out.flush();
    }
}

int run(int rows, int rounds, const QString &dir, QTextStream &out)
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    const QString psql = QStandardPaths::findExecutable(QStringLiteral("psql"));
    if (shell.isEmpty() || psql.isEmpty()) {
        out << "the sqlite3 shell and psql are needed\n";
        return 1;
    }
    const QString catalogue = dir + QStringLiteral("/archive-%1.db").arg(rows);
    const QString programFolder = dir + QStringLiteral("/program-folder");
    QDir().mkpath(programFolder);
    QElapsedTimer timer;
    if (!QFileInfo::exists(catalogue)) {
        timer.start();
        if (!generateCatalogue(catalogue, rows))
            return 1;
        out << "generated " << rows << " rows in " << timer.elapsed() / 1000.0 << " s\n";
    }
    const ProcessCost indexing = runMeasured(kCli, cliArguments(programFolder, catalogue, {QStringLiteral("zzzz")}));
    out << "file: first search indexing what was not yet indexed " << QString::number(indexing.seconds, 'f', 2)
        << " s\n";
    const std::optional<Cluster> cluster = startCluster(out);
    if (!cluster)
        return 1;
    int status = 1;
    timer.start();
    if (loadServer(catalogue, cluster->address, psql, shell, out)) {
        out << "server: " << rows << " rows copied in " << timer.elapsed() / 1000.0 << " s\n";
        const ProcessCost first =
            runMeasured(kCli, cliArguments(programFolder, cluster->address, {QStringLiteral("zzzz")}));
        out << "server: first open making the word indexes " << QString::number(first.seconds, 'f', 2) << " s"
            << (first.exitCode > 1 ? QStringLiteral(" (FAILED, exit %1)").arg(first.exitCode) : QString()) << ", "
            << outputOf(psql, {QStringLiteral("-XAtc"),
                               QStringLiteral("select count(*) from pg_indexes where indexname like 'IndexWords%'"),
                               cluster->address}).trimmed()
            << " word indexes; database " << outputOf(psql, {QStringLiteral("-XAtc"),
                                                                   QStringLiteral("select pg_size_pretty(pg_database_size(current_database()))"),
                                                                   cluster->address}).trimmed()
            << "\n";
        out << "whole processes, best of " << rounds << " runs\n";
        compare(rounds, programFolder, catalogue, cluster->address, out);
        status = 0;
    }
    stopCluster(*cluster);
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QStringList arguments = app.arguments().mid(1);
    const int rounds = takeNumber(arguments, QStringLiteral("--rounds"), 3);
    const int rows = takeNumber(arguments, QStringLiteral("--rows"), 1000000);
    QTemporaryDir temporary;
    QString dir = temporary.path();
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--dir")); at >= 0 && at + 1 < arguments.size())
        dir = arguments.at(at + 1);
    QDir().mkpath(dir);
    return run(rows, rounds, dir, out);
}
