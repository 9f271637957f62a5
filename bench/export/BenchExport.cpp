// The export and analysis commands over a generated catalogue, each against a peer tool run on
// the same files:
//   export     exportXml of the whole result without thumbnails    vs  sqlite3 -json "select * from Images;"
//   render     the export through the shipped contact sheet        vs  xsltproc on the same two files
//   statistics analyseWords over all IPTC fields                   vs  tr -cs | sort | uniq -c over the same texts
// Prints the best time of each and the ratio (goals: at most 2x, at most 1.2x, at most 1x).
//
//   bench_export [--rows N] [--rounds R] [--catalogue PATH]
#include "BenchSupport.h"
#include "search/CatalogueGenerator.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/export/WordAnalysis.h"
#include "core/export/XmlExport.h"
#include "core/export/XslRendering.h"
#include "core/iptc/IptcField.h"
#include "core/search/ResultList.h"
#include "StderrFeedback.h"
#include "core/shell/Feedback.h"
#include "core/shell/LanguagePack.h"
#include "platform/ThumbnailStore.h"
#include "platform/XsltEngine.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

using namespace zelvarion;
using namespace zelvarion::bench;

namespace {

void runShell(const QString &command)
{
    QProcess process;
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    process.waitForFinished(-1);
    if (process.exitCode() != 0)
        QTextStream(stderr) << "peer failed: " << command << '\n' << process.readAllStandardError() << '\n';
}

QString quoted(const QString &path) { return u'\'' + QString(path).replace(u'\'', QStringLiteral("'\\''")) + u'\''; }

ResultList wholeCatalogue(CatalogueDb &db)
{
    ResultList results;
    std::vector<ResultRow> rows;
    if (db.open() && db.execute(QStringLiteral("select Folder, File, CheckMark from Images;")) == 0)
        for (int r = 1; r <= db.rowCount(); ++r)
            rows.push_back({db.cell(0, r), db.cell(1, r), db.cell(2, r)});
    db.close();
    results.assign(std::move(rows));
    return results;
}

void printRow(QTextStream &out, const QString &name, double ours, double theirs, const QString &goal)
{
    out << QStringLiteral("%1 %2 %3 %4   goal %5\n").arg(name, -11)
               .arg(QStringLiteral("%1 ms").arg(ours * 1000, 0, 'f', 0), 10)
               .arg(QStringLiteral("%1 ms").arg(theirs * 1000, 0, 'f', 0), 10)
               .arg(QStringLiteral("%1x").arg(ours / theirs, 0, 'f', 2), 7)
               .arg(goal);
    out.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QStringList arguments = app.arguments().mid(1);
    const int rows = takeNumber(arguments, QStringLiteral("--rows"), 100000);
    const int rounds = takeNumber(arguments, QStringLiteral("--rounds"), 3);
    QTemporaryDir temporary;
    QString catalogue = temporary.filePath(QStringLiteral("Images.db"));
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--catalogue")); at >= 0 && at + 1 < arguments.size())
        catalogue = arguments.at(at + 1);
    if (!QFileInfo::exists(catalogue) && !generateCatalogue(catalogue, rows))
        return 1;

    StderrFeedback feedback;
    CatalogueDb db;
    db.path = catalogue;
    const ResultList results = wholeCatalogue(db);
    const ExportFolder folder{temporary.filePath(QStringLiteral("XML"))};
    folder.create();
    QFile::copy(QStringLiteral(ZELVARION_SOURCE_DIR "/data/XML/contact-sheet.xsl"), folder.path + QStringLiteral("/contact-sheet.xsl"));
    out << results.count() << " images; best of " << rounds << " rounds\n\n"
        << QStringLiteral("%1 %2 %3 %4\n").arg(QString(), -11).arg(QStringLiteral("Zelvarion"), 10)
               .arg(QStringLiteral("peer"), 10).arg(QStringLiteral("ratio"), 7);

    const ThumbnailStore noThumbnails(temporary.filePath(QStringLiteral("store")));
    XmlExportRequest request;
    request.folder = folder;
    request.copyThumbnails = false;
    const double exportOurs = bestSeconds(rounds, [&] { exportXml(request, results, db, feedback, noThumbnails); });
    const QString json = temporary.filePath(QStringLiteral("images.json"));
    const double exportPeer = bestSeconds(rounds, [&] {
        runShell(QStringLiteral("sqlite3 -json %1 'select * from Images;' > %2").arg(quoted(catalogue), quoted(json)));
    });
    printRow(out, QStringLiteral("export"), exportOurs, exportPeer, QStringLiteral("<= 2x sqlite3 -json"));

    LanguagePack pack;
    pack.setBuiltInDefaults();
    DisplayEnvironment environment{feedback, pack};
    environment.makeProcessor = [&] { return makeXsltProcessor(folder.path); };
    environment.openWithDefaultProgram = [](const QString &) {};
    environment.showStatus = [](const QString &) {};
    environment.rememberStylesheet = [](const QString &) {};
    const double renderOurs = bestSeconds(rounds, [&] { displayXml(folder, QStringLiteral("contact-sheet.xsl"), environment); });
    const double renderPeer = bestSeconds(rounds, [&] {
        runShell(QStringLiteral("xsltproc %1 %2 > %3").arg(quoted(folder.path + QStringLiteral("/contact-sheet.xsl")),
                                                        quoted(folder.documentPath()), quoted(temporary.filePath(QStringLiteral("peer.html")))));
    });
    printRow(out, QStringLiteral("render"), renderOurs, renderPeer, QStringLiteral("<= 1.2x xsltproc"));

    // The peer gets the same texts, one value a line, written before its timing starts.
    const QString texts = temporary.filePath(QStringLiteral("texts.txt"));
    runShell(QStringLiteral("sqlite3 %1 'select %2 from Images;' > %3")
                 .arg(quoted(catalogue), iptcColumnNames().join(QStringLiteral(", ")), quoted(texts)));
    WordAnalysisRequest analysis;
    analysis.allFields = true;
    int words = 0;
    const double statisticsOurs = bestSeconds(rounds, [&] {
        words = int(analyseWords(analysis, results, db, feedback, pack).words.size());
    });
    const double statisticsPeer = bestSeconds(rounds, [&] {
        runShell(QStringLiteral("LC_ALL=C tr -cs '[:alnum:]&-' '\\n' < %1 | LC_ALL=C sort | uniq -c > /dev/null").arg(quoted(texts)));
    });
    printRow(out, QStringLiteral("statistics"), statisticsOurs, statisticsPeer, QStringLiteral("<= 1x tr | sort | uniq -c"));
    out << '\n' << words << " distinct words\n";
    return 0;
}
