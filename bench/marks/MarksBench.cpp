// "Select all images in result" over a result of every image and "Search double filenames", each
// run through the program's core and, on a copy of the same catalogue file, by the sqlite3 shell
// running the very same statements. Prints the best time of each and the ratio; the goal is at
// most 1.3 times the shell.
//
//   bench_marks [--rows N] [--rounds R]
//
// The catalogue is the search benchmark's, with the file names wrapped at 10 000 as a camera's
// counter does, so that names repeat across folders (about ten images a name).
#include "BenchSupport.h"
#include "search/CatalogueGenerator.h"

#include "core/catalogue/CatalogueCommand.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/filecommands/DoubleFileNames.h"
#include "core/search/CheckMarks.h"
#include "core/search/RunSearch.h"
#include "StderrFeedback.h"
#include "core/shell/Feedback.h"
#include "core/shell/LanguagePack.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

using namespace zelvarion;
using namespace zelvarion::bench;

namespace {

bool wrapFileNames(const QString &catalogue)
{
    CatalogueDb db;
    db.path = catalogue;
    const bool ok = db.open()
                    && db.execute(QStringLiteral("update Images set File = 'IMG_' || substr('0000' || (rowid % 10000), -4)"
                                                 " || '.JPG';")) == 0;
    db.close();
    return ok;
}

// The shell reads the statements from standard input, as a script file would be read.
QByteArray runShell(const QString &shell, const QString &catalogue, const QByteArray &script, bool keepOutput)
{
    QProcess process;
    if (!keepOutput)
        process.setStandardOutputFile(QProcess::nullDevice());
    process.start(shell, {catalogue});
    process.write(script);
    process.closeWriteChannel();
    process.waitForFinished(-1);
    return keepOutput ? process.readAllStandardOutput() : QByteArray();
}

// The statements "Select all images in result" runs, in its transaction, for the result.
QByteArray markScript(const ResultList &results, const QString &mark)
{
    QByteArray script = "begin transaction CHECKSELECTION;\n";
    for (const ResultRow &row : results.rows())
        script += (QStringLiteral("update Images set CheckMark=") + sqlText(mark) + QStringLiteral(" where ((Folder=")
                   + sqlText(row.folder) + QStringLiteral(") and (File=") + sqlText(row.file) + QStringLiteral("));\n"))
                      .toUtf8();
    return script + "end transaction CHECKSELECTION;\n";
}

void printLine(QTextStream &out, const QString &name, const QString &rows, double ours, double theirs)
{
    out << QStringLiteral("%1 %2 %3 %4 %5\n").arg(name, -30).arg(rows, 8)
               .arg(QStringLiteral("%1 ms").arg(ours * 1000, 0, 'f', 1), 11)
               .arg(QStringLiteral("%1 ms").arg(theirs * 1000, 0, 'f', 1), 11)
               .arg(theirs > 0 ? QStringLiteral("%1x").arg(ours / theirs, 0, 'f', 2) : QStringLiteral("-"), 7);
    out.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QStringList arguments = app.arguments().mid(1);
    const int rows = takeNumber(arguments, QStringLiteral("--rows"), 100000);
    const int rounds = takeNumber(arguments, QStringLiteral("--rounds"), 5);
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty()) {
        out << "the sqlite3 shell is not installed\n";
        return 1;
    }
    QTemporaryDir temporary;
    const QString ours = temporary.filePath(QStringLiteral("Images.db"));
    const QString theirs = temporary.filePath(QStringLiteral("Copy.db"));
    if (!generateCatalogue(ours, rows) || !wrapFileNames(ours) || !QFile::copy(ours, theirs))
        return 1;
    out << "best of " << rounds << " rounds on " << rows << " images; " << CatalogueDb::engineVersion() << "; shell "
        << shell << "\n\n"
        << QStringLiteral("%1 %2 %3 %4 %5\n").arg(QStringLiteral("command"), -30).arg(QStringLiteral("rows"), 8)
               .arg(QStringLiteral("Zelvarion"), 11).arg(QStringLiteral("sqlite3"), 11).arg(QStringLiteral("ratio"), 7);

    CatalogueDb db;
    db.path = ours;
    StderrFeedback feedback(true);
    LanguagePack language;
    const CatalogueCommand command{db, feedback, language};
    SearchRequest everything;
    everything.withIptc = everything.withoutIptc = true;
    SearchState state;
    SearchEnvironment environment{db, feedback, {}};
    runSearch(everything, state, environment);
    const QString mark = todaysMarkText();
    const double markOurs = bestSeconds(rounds, [&] { markResult(command, state.results, mark); });
    const QByteArray script = markScript(state.results, mark);
    const double markTheirs = bestSeconds(rounds, [&] { runShell(shell, theirs, script, false); });
    printLine(out, QStringLiteral("Select all images in result"), QString::number(state.results.count()), markOurs,
              markTheirs);

    std::vector<ResultRow> doubles;
    const double doublesOurs = bestSeconds(rounds, [&] { doubles = findDoubleFileNames(db, feedback).value_or(doubles); });
    const QByteArray select = QByteArray(kDoubleFileNamesStatement) + '\n';
    const double doublesTheirs = bestSeconds(rounds, [&] { runShell(shell, theirs, select, false); });
    printLine(out, QStringLiteral("Search double filenames"), QString::number(doubles.size()), doublesOurs, doublesTheirs);

    const qsizetype shellRows = runShell(shell, theirs, select, true).count('\n');
    out << "\nThe shell printed " << shellRows << " rows of the ordered select; the program kept the "
        << doubles.size() << " whose names repeat.\n";
    return 0;
}
