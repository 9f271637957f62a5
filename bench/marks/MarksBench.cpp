// "Select all images in result" over a result of every image, "Search double filenames" and the
// SQL console, each as a user runs it (a zelvarion-cli process) and by the sqlite3 shell running
// the very same statements on a copy of the same catalogue. Prints the best time of each, the
// ratio and the peak memory of both; the goal is at most 1.3 times the shell.
//
//   bench_marks [--rows N] [--rounds R] [--catalogue PATH]
//   (--catalogue: the catalogue of N rows is made at PATH when missing and reused when there;
//   the benchmark works on copies of it)
//
// The catalogue is the search benchmark's, with the file names wrapped at 10 000 as a camera's
// counter does, so that names repeat across folders.
#include "BenchSupport.h"
#include "search/CatalogueGenerator.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/ImagesTable.h"
#include "core/catalogue/SqlText.h"
#include "core/filecommands/DoubleFileNames.h"
#include "core/search/CheckMarks.h"
#include "core/search/SqlConsole.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
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

// The statements "Select all images in result" runs, in its transaction, for every image, written
// to a script file the shell reads as its standard input.
bool writeMarkScript(const QString &catalogue, const QString &mark, const QString &scriptPath)
{
    QFile script(scriptPath);
    CatalogueDb db;
    db.path = catalogue;
    if (!script.open(QIODevice::WriteOnly) || !db.open())
        return false;
    script.write("begin transaction CHECKSELECTION;\n");
    const QString start = QStringLiteral("update Images set CheckMark=") + sqlText(mark) + QStringLiteral(" where ((Folder=");
    const int rc = db.forEachRow(QStringLiteral("select Folder, File from Images;"), [&](const sqliteEngine::RowView &row) {
        script.write((start + sqlText(row.text(0)) + QStringLiteral(") and (File=") + sqlText(row.text(1))
                      + QStringLiteral("));\n")).toUtf8());
        return sqliteEngine::RowAnswer::Next;
    });
    script.write("end transaction CHECKSELECTION;\n");
    return rc == 0;
}

void printRow(QTextStream &out, const QString &name, const ProcessCost &ours, const ProcessCost &peer)
{
    auto megabytes = [](long kilobytes) { return QStringLiteral("%1 MB").arg(double(kilobytes) / 1024, 0, 'f', 1); };
    out << QStringLiteral("%1 %2 %3 %4 %5 %6%7\n").arg(name, -30)
               .arg(QStringLiteral("%1 ms").arg(ours.seconds * 1000, 0, 'f', 0), 10)
               .arg(QStringLiteral("%1 ms").arg(peer.seconds * 1000, 0, 'f', 0), 10)
               .arg(QStringLiteral("%1x").arg(ours.seconds / peer.seconds, 0, 'f', 2), 7)
               .arg(megabytes(ours.peakKilobytes), 10).arg(megabytes(peer.peakKilobytes), 10)
               .arg(ours.exitCode <= 1 && peer.exitCode == 0 ? QString() : QStringLiteral("  (a run failed)"));
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
    const QString cli = QStringLiteral(ZELVARION_CLI_PATH);
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty()) {
        out << "the sqlite3 shell is not installed\n";
        return 1;
    }
    QTemporaryDir temporary;
    QString source = temporary.filePath(QStringLiteral("Generated.db"));
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--catalogue")); at >= 0 && at + 1 < arguments.size())
        source = QFileInfo(arguments.at(at + 1)).absoluteFilePath();
    if (!QFileInfo::exists(source) && !generateCatalogue(source, rows))
        return 1;
    const QString ours = temporary.filePath(QStringLiteral("Images.db"));
    const QString theirs = temporary.filePath(QStringLiteral("Copy.db"));
    if (!QFile::copy(source, ours) || !wrapFileNames(ours) || !QFile::copy(ours, theirs))
        return 1;
    const QString program = temporary.filePath(QStringLiteral("program"));
    QDir().mkpath(program);
    const QStringList cliStart = {QStringLiteral("--program-folder"), program};
    const QStringList catalogue = {QStringLiteral("--catalogue"), ours};
    out << source << " (names wrapped at 10 000); best of " << rounds << " rounds, every run a new process; shell "
        << shell << "\n\n"
        << QStringLiteral("%1 %2 %3 %4 %5 %6\n").arg(QStringLiteral("command"), -30).arg(QStringLiteral("Zelvarion"), 10)
               .arg(QStringLiteral("sqlite3"), 10).arg(QStringLiteral("ratio"), 7).arg(QStringLiteral("peak ours"), 10)
               .arg(QStringLiteral("peak peer"), 10);

    const QString markScript = temporary.filePath(QStringLiteral("mark.sql"));
    if (!writeMarkScript(ours, todaysMarkText(), markScript))
        return 1;
    const QStringList mark = cliStart + QStringList{QStringLiteral("mark")} + catalogue
                             + QStringList{QStringLiteral("--with-iptc"), QStringLiteral("--without-iptc")};
    printRow(out, QStringLiteral("Select all images in result"), bestRun(rounds, [&] { return runMeasured(cli, mark); }),
             bestRun(rounds, [&] { return runMeasured(shell, {theirs}, {}, markScript); }));

    const QString select = temporary.filePath(QStringLiteral("doubles.sql"));
    QFile selectFile(select);
    if (!selectFile.open(QIODevice::WriteOnly) || selectFile.write(QByteArray(imagesTable::kByFileNameStatement) + '\n') < 0)
        return 1;
    selectFile.close();
    const QString listed = temporary.filePath(QStringLiteral("listed.txt"));
    printRow(out, QStringLiteral("Search double filenames"),
             bestRun(rounds, [&] { return runMeasured(cli, cliStart + QStringList{QStringLiteral("doubles")} + catalogue, listed); }),
             bestRun(rounds, [&] { return runMeasured(shell, {theirs}, listed, select); }));

    // The console shows at most kConsoleRowLimit - 1 rows: the shell prints as many of the same select.
    const QString everything = QStringLiteral("select * from Images");
    printRow(out, QStringLiteral("SQL console, select *"),
             bestRun(rounds, [&] {
                 return runMeasured(cli, cliStart + QStringList{QStringLiteral("sql")} + catalogue + QStringList{everything}, listed);
             }),
             bestRun(rounds, [&] {
                 return runMeasured(shell, {theirs, everything + QStringLiteral(" limit %1;").arg(kConsoleRowLimit - 1)}, listed);
             }));
    return 0;
}
