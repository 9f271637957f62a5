// The export and analysis commands as a user runs them, each a process of its own, against a
// peer tool run on the same catalogue and files:
//   export     zelvarion-cli export (every image, no thumbnails)   vs  sqlite3 -json "select * from Images;"
//   render     zelvarion-cli export --xsl contact-sheet.xsl         vs  xsltproc on the same two files
//              (and the rendering's own share: that run less the export's, vs xsltproc)
//   statistics zelvarion-cli stats (every image, every field)       vs  tr -cs | sort | uniq -c over the same texts
// Prints the best time of each, the ratio and the peak memory of both (goals: at most 2x, at
// most 1.2x, at most 1x). The program folder is a new one, as a new user's: the shipped
// stylesheets come with it.
//
//   bench_export [--rows N] [--rounds R] [--catalogue PATH] [--no-render]
//   (--catalogue: the catalogue of N rows is made at PATH when missing and reused when there;
//   --no-render: leaves out the rendering, whose stylesheet processors, ours and the peer's
//   alike, hold the whole document in memory: about 14 GB each at 1 000 000 rows)
#include "BenchSupport.h"
#include "search/CatalogueGenerator.h"

#include "core/iptc/IptcField.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

using namespace zelvarion;
using namespace zelvarion::bench;

namespace {

void printHeader(QTextStream &out)
{
    out << QStringLiteral("%1 %2 %3 %4 %5 %6   goal\n").arg(QString(), -22).arg(QStringLiteral("Zelvarion"), 10)
               .arg(QStringLiteral("peer"), 10).arg(QStringLiteral("ratio"), 7).arg(QStringLiteral("peak ours"), 10)
               .arg(QStringLiteral("peak peer"), 10);
}

void printRow(QTextStream &out, const QString &name, const ProcessCost &ours, const ProcessCost &peer, const QString &goal)
{
    auto megabytes = [](long kilobytes) { return QStringLiteral("%1 MB").arg(double(kilobytes) / 1024, 0, 'f', 1); };
    out << QStringLiteral("%1 %2 %3 %4 %5 %6   %7%8\n").arg(name, -22)
               .arg(QStringLiteral("%1 ms").arg(ours.seconds * 1000, 0, 'f', 0), 10)
               .arg(QStringLiteral("%1 ms").arg(peer.seconds * 1000, 0, 'f', 0), 10)
               .arg(QStringLiteral("%1x").arg(ours.seconds / peer.seconds, 0, 'f', 2), 7)
               .arg(ours.peakKilobytes ? megabytes(ours.peakKilobytes) : QStringLiteral("-"), 10)
               .arg(peer.peakKilobytes ? megabytes(peer.peakKilobytes) : QStringLiteral("-"), 10)
               .arg(goal, ours.exitCode == 0 && peer.exitCode == 0 ? QString() : QStringLiteral("  (a run failed)"));
    out.flush();
}

QString quoted(const QString &path) { return u'\'' + QString(path).replace(u'\'', QStringLiteral("'\\''")) + u'\''; }

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QStringList arguments = app.arguments().mid(1);
    const int rows = takeNumber(arguments, QStringLiteral("--rows"), 100000);
    const int rounds = takeNumber(arguments, QStringLiteral("--rounds"), 3);
    const QString cli = QStringLiteral(ZELVARION_CLI_PATH);
    const QString sqlite = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    const QString xsltproc = QStandardPaths::findExecutable(QStringLiteral("xsltproc"));
    if (sqlite.isEmpty() || xsltproc.isEmpty()) {
        out << "needs the sqlite3 shell and xsltproc\n";
        return 1;
    }
    QTemporaryDir temporary;
    QString catalogue = temporary.filePath(QStringLiteral("Images.db"));
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--catalogue")); at >= 0 && at + 1 < arguments.size())
        catalogue = QFileInfo(arguments.at(at + 1)).absoluteFilePath();
    if (!QFileInfo::exists(catalogue) && !generateCatalogue(catalogue, rows))
        return 1;
    const QString program = temporary.filePath(QStringLiteral("program"));
    QDir().mkpath(program);
    const QString xmlFolder = program + QStringLiteral("/XML");
    const QStringList everyImage = {QStringLiteral("--catalogue"), catalogue, QStringLiteral("--with-iptc"),
                                    QStringLiteral("--without-iptc")};
    const QStringList exportCommand = QStringList{QStringLiteral("--program-folder"), program, QStringLiteral("export"),
                                                  QStringLiteral("--no-thumbnails")} + everyImage;
    out << catalogue << "; best of " << rounds << " rounds, every run a new process\n\n";
    printHeader(out);

    const ProcessCost exportOurs = bestRun(rounds, [&] { return runMeasured(cli, exportCommand); });
    const ProcessCost exportPeer = bestRun(rounds, [&] {
        return runMeasured(sqlite, {QStringLiteral("-json"), catalogue, QStringLiteral("select * from Images;")},
                           temporary.filePath(QStringLiteral("images.json")));
    });
    printRow(out, QStringLiteral("export"), exportOurs, exportPeer, QStringLiteral("<= 2x sqlite3 -json"));

    const bool render = !arguments.contains(QStringLiteral("--no-render"));
    const QStringList renderCommand = exportCommand + QStringList{QStringLiteral("--xsl"), QStringLiteral("contact-sheet.xsl")};
    if (render) {
        const ProcessCost renderOurs = bestRun(rounds, [&] { return runMeasured(cli, renderCommand); });
        const ProcessCost renderPeer = bestRun(rounds, [&] {
            return runMeasured(xsltproc, {xmlFolder + QStringLiteral("/contact-sheet.xsl"), xmlFolder + QStringLiteral("/Zelvarion.xml")},
                               temporary.filePath(QStringLiteral("peer.html")));
        });
        printRow(out, QStringLiteral("export --xsl (whole)"), renderOurs, renderPeer, QStringLiteral("the export and its rendering"));
        ProcessCost renderShare = renderOurs;
        renderShare.seconds = std::max(0.0, renderOurs.seconds - exportOurs.seconds);
        renderShare.peakKilobytes = 0;
        printRow(out, QStringLiteral("  rendering's share"), renderShare, renderPeer, QStringLiteral("<= 1.2x xsltproc"));
    }

    // The peer gets the same texts, one value a line, written before its timing starts.
    const QString texts = temporary.filePath(QStringLiteral("texts.txt"));
    runMeasured(sqlite, {catalogue, QStringLiteral("select %1 from Images;").arg(iptcColumnNames().join(QStringLiteral(", ")))}, texts);
    const ProcessCost statisticsOurs = bestRun(rounds, [&] {
        return runMeasured(cli, QStringList{QStringLiteral("--program-folder"), program, QStringLiteral("stats")} + everyImage);
    });
    const ProcessCost statisticsPeer = bestRun(rounds, [&] {
        return runMeasured(QStringLiteral("/bin/sh"),
                           {QStringLiteral("-c"), QStringLiteral("LC_ALL=C tr -cs '[:alnum:]&-' '\\n' < %1 | LC_ALL=C sort | uniq -c")
                                                      .arg(quoted(texts))});
    });
    printRow(out, QStringLiteral("statistics"), statisticsOurs, statisticsPeer, QStringLiteral("<= 1x tr | sort | uniq -c"));
    return 0;
}
