// Runs searches on a generated catalogue with RunSearch (open, per-search pragmas, the statement
// through the Unicode-aware like/lower, the rows into the result list) and runs the very same
// statement with the sqlite3 shell, whose like and lower fold ASCII only. Prints the best time
// of each and the ratio; the goal is RunSearch within 1.3 times the shell.
//
//   bench_search [--rows N] [--rounds R] [--catalogue PATH] [--only TEXT] [--no-shell]
//   (an existing PATH is reused as it is; otherwise a catalogue of N rows is generated there;
//   --only runs the searches whose name contains TEXT)
#include "BenchSupport.h"
#include "CatalogueGenerator.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/search/RunSearch.h"
#include "StderrFeedback.h"
#include "core/session/Feedback.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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

// The shell's output for one statement; with discard, the output goes nowhere (timing runs).
QByteArray runShell(const QString &shell, const QString &catalogue, const QString &statement, bool discard)
{
    QProcess process;
    if (discard)
        process.setStandardOutputFile(QProcess::nullDevice());
    process.start(shell, {catalogue, statement});
    process.waitForFinished(-1);
    return discard ? QByteArray() : process.readAllStandardOutput();
}

struct BenchCase
{
    QString name;
    SearchRequest request;
};

QList<BenchCase> benchCases()
{
    SearchRequest general;
    general.text = QStringLiteral("paris");
    SearchRequest wholeWord = general;
    wholeWord.wholeWord = true;
    SearchRequest field;
    field.text = QStringLiteral("sunset");
    field.fieldSearch = true;
    field.fieldIndex = 30; // Caption
    SearchRequest accented;
    accented.text = QStringLiteral("église");
    return {{QStringLiteral("general \"paris\""), general},
            {QStringLiteral("whole word \"paris\""), wholeWord},
            {QStringLiteral("field Caption \"sunset\""), field},
            {QStringLiteral("general \"église\""), accented}};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QStringList arguments = app.arguments().mid(1);
    const int rows = takeNumber(arguments, QStringLiteral("--rows"), 100000);
    const int rounds = takeNumber(arguments, QStringLiteral("--rounds"), 5);
    QTemporaryDir temporary;
    QString catalogue = temporary.filePath(QStringLiteral("Images.db"));
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--catalogue")); at >= 0 && at + 1 < arguments.size())
        catalogue = arguments.at(at + 1);
    QString only;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--only")); at >= 0 && at + 1 < arguments.size())
        only = arguments.at(at + 1);

    if (!QFileInfo::exists(catalogue)) {
        QElapsedTimer timer;
        timer.start();
        if (!zelvarion::bench::generateCatalogue(catalogue, rows))
            return 1;
        out << "generated " << rows << " rows in " << timer.elapsed() / 1000.0 << " s: " << catalogue << '\n';
    }
    const QString shell = arguments.contains(QStringLiteral("--no-shell"))
                              ? QString() : QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    out << "best of " << rounds << " rounds; " << CatalogueDb::engineVersion()
        << (shell.isEmpty() ? QStringLiteral("; sqlite3 shell not installed") : QStringLiteral("; shell ") + shell)
        << "\n\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6\n").arg(QStringLiteral("search"), -26).arg(QStringLiteral("found"), 7)
               .arg(QStringLiteral("shell"), 7).arg(QStringLiteral("RunSearch"), 11).arg(QStringLiteral("sqlite3"), 11)
               .arg(QStringLiteral("ratio"), 7);

    StderrFeedback feedback;
    for (const BenchCase &benchCase : benchCases()) {
        if (!benchCase.name.contains(only))
            continue;
        CatalogueDb db;
        db.path = catalogue;
        SearchEnvironment environment{db, feedback, {}};
        SearchState state;
        SearchOutcome outcome;
        const double ours = bestSeconds(rounds, [&] { outcome = runSearch(benchCase.request, state, environment); });
        QString shellFound = QStringLiteral("-");
        double theirs = 0;
        if (!shell.isEmpty()) {
            shellFound = QString::number(runShell(shell, catalogue, outcome.statement, false).count('\n'));
            theirs = bestSeconds(rounds, [&] { runShell(shell, catalogue, outcome.statement, true); });
        }
        out << QStringLiteral("%1 %2 %3 %4 %5 %6\n").arg(benchCase.name, -26).arg(outcome.found.value_or(-1), 7)
                   .arg(shellFound, 7).arg(QStringLiteral("%1 ms").arg(ours * 1000, 0, 'f', 1), 11)
                   .arg(QStringLiteral("%1 ms").arg(theirs * 1000, 0, 'f', 1), 11)
                   .arg(theirs > 0 ? QStringLiteral("%1x").arg(ours / theirs, 0, 'f', 2) : QStringLiteral("-"), 7);
        out.flush();
    }
    out << "\nThe shell's counts differ where a value holds an accented capital: its like and lower fold\n"
           "ASCII letters only.\n";
    return 0;
}
