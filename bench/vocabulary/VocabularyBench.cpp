// The keyword vocabulary at the size of a large archive: 1 000 000 images whose keywords come from
// 50 000 words. It prints, best of the rounds:
//   - the first build of the vocabulary from every image (once per catalogue), and the upgrade of
//     a table kept without folded spellings (once per catalogue made by an older program);
//   - the edit dialog's opening: check and open the catalogue, add up the queue (empty), choose
//     how offers are read;
//   - the same after one image's keywords changed (one queued change added up);
//   - one offer, per keystroke: the catalogue opened for reading, the words beginning with the
//     typed prefix read through the folded index, the first 50 of them (slowest of the prefixes);
//   - the whole vocabulary read, what the dialog read when it opened before offers were read by
//     prefix (and still reads where the catalogue takes no writes and has no folded index);
//   - `zelvarion-cli keywords PREFIX` as a process against the sqlite3 shell running a comparable
//     statement on the same catalogue: the kept table read by prefix, and the keywords counted from
//     the Images rows themselves (what the shell has without a kept table).
// Goal: the dialog's opening within 50 ms, and an offer within 50 ms of a keystroke.
//
//   bench_vocabulary [--rows N] [--keywords K] [--rounds R] [--dir DIR]
//   (default 1000000 rows, 50000 keywords; a catalogue already in DIR is reused)
#include "BenchSupport.h"
#include "search/CatalogueGenerator.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/iptc/IptcField.h"
#include "core/search/KeywordVocabulary.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

using namespace zelvarion;
using namespace zelvarion::bench;

namespace {

const QString kCli = QStringLiteral(ZELVARION_CLI_PATH);

std::optional<KeywordVocabulary> openAndRead(const QString &path)
{
    CatalogueDb db;
    db.path = path;
    if (!db.open())
        return std::nullopt;
    return vocabulary::updateAndRead(db, kKeywordsIndex);
}

// What the edit dialog does when it opens (frmEditIPTC::offerCatalogueEntries); true when its
// offers are then read by prefix.
bool openDialog(const QString &path)
{
    CatalogueDb db;
    db.path = path;
    if (!checkCatalogueFile(path).isCatalogue() || !db.open())
        return false;
    vocabulary::update(db);
    return vocabulary::readsByPrefix(db);
}

// The entries' table as a program before the folded spellings made it, with the same entries.
const QString kOlderTable = QStringLiteral(
    "create table OlderVocabulary(Field integer, Entry text, Uses integer, primary key(Field, Entry)) without rowid;"
    "insert into OlderVocabulary select Field, Entry, Uses from ZelvarionVocabulary;"
    "drop table ZelvarionVocabulary;"
    "alter table OlderVocabulary rename to ZelvarionVocabulary;");

bool runStatement(const QString &path, const QString &statement)
{
    CatalogueDb db;
    db.path = path;
    return db.open() && db.execute(statement) == 0;
}

bool sameWords(const std::vector<VocabularyWord> &a, const std::vector<VocabularyWord> &b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(), [](const VocabularyWord &x, const VocabularyWord &y) {
        return x.text == y.text && x.uses == y.uses;
    });
}

QString milliseconds(double seconds) { return QStringLiteral("%1 ms").arg(seconds * 1000, 9, 'f', 1); }

void compareWithShell(QTextStream &out, const QString &catalogue, const QString &programFolder, const QString &prefix,
                      int rounds)
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty()) {
        out << "the sqlite3 shell is not installed: no comparison\n";
        return;
    }
    const ProcessCost ours = bestRun(rounds, [&] {
        return runMeasured(kCli, {QStringLiteral("--program-folder"), programFolder, QStringLiteral("keywords"),
                                  QStringLiteral("--catalogue"), catalogue, prefix});
    });
    // The kept table by prefix (the shell knows no Unicode folding: a range of the folded spelling
    // for a prefix folded already).
    const QString highest = QString::fromUcs4(U"\U0010FFFF", 1);
    const QString kept = QStringLiteral("select Uses, Entry from ZelvarionVocabulary where Field = %1 and Folded >= '%2' "
                                        "and Folded < '%3' order by Uses desc;")
                             .arg(kKeywordsIndex)
                             .arg(prefix, prefix + highest);
    const ProcessCost table = bestRun(rounds, [&] { return runMeasured(shell, {catalogue, kept}); });
    // Without a kept table: every image's keywords split and counted.
    const QString counted = QStringLiteral(
        "with recursive split(rest, entry) as (select Keywords || ';', '' from Images where Keywords != '' "
        "union all select substr(rest, instr(rest, ';') + 1), trim(substr(rest, 1, instr(rest, ';') - 1)) "
        "from split where rest != '') select count(*), entry from split where entry like '%1%' "
        "group by entry order by count(*) desc;").arg(prefix);
    const ProcessCost split = bestRun(1, [&] { return runMeasured(shell, {catalogue, counted}); });
    out << "zelvarion-cli keywords " << prefix << ": " << milliseconds(ours.seconds) << ", peak "
        << ours.peakKilobytes / 1024 << " MB\n"
        << "sqlite3, the kept table:      " << milliseconds(table.seconds) << "  ratio "
        << QString::number(ours.seconds / table.seconds, 'f', 2) << "\n"
        << "sqlite3, counted from Images: " << milliseconds(split.seconds) << "  ratio "
        << QString::number(ours.seconds / split.seconds, 'f', 3) << "\n";
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    const int rows = takeNumber(arguments, QStringLiteral("--rows"), 1000000);
    const int distinct = takeNumber(arguments, QStringLiteral("--keywords"), 50000);
    const int rounds = takeNumber(arguments, QStringLiteral("--rounds"), 5);
    const qsizetype dirAt = arguments.indexOf(QStringLiteral("--dir"));
    QTemporaryDir temporary;
    const QString dir = dirAt > 0 && dirAt + 1 < arguments.size() ? arguments.at(dirAt + 1) : temporary.path();
    QTextStream out(stdout);

    const QString catalogue = QStringLiteral("%1/vocabulary-%2-%3.db").arg(dir).arg(rows).arg(distinct);
    if (!QFileInfo::exists(catalogue)) {
        out << "generating " << rows << " rows..." << Qt::endl;
        if (!generateCatalogue(catalogue, rows, 20261211, distinct))
            return 1;
    }
    runStatement(catalogue, QStringLiteral("drop table if exists ZelvarionVocabulary;")); // built anew below
    std::optional<KeywordVocabulary> words;
    const double build = bestSeconds(1, [&] { words = openAndRead(catalogue); });
    if (!words)
        return 1;
    out << rows << " images, " << words->size() << " distinct keywords\n"
        << "first build:                  " << milliseconds(build) << "\n";
    if (!runStatement(catalogue, kOlderTable))
        return 1;
    bool byPrefix = false;
    const double upgrade = bestSeconds(1, [&] { byPrefix = openDialog(catalogue); });
    out << "upgrade of an older table:    " << milliseconds(upgrade) << (byPrefix ? "" : "  (failed)") << "\n";

    const double opening = bestSeconds(rounds, [&] { byPrefix = openDialog(catalogue); });
    out << "dialog's opening:             " << milliseconds(opening) << (byPrefix ? "" : "  (offers not by prefix)")
        << "\n";
    double afterEdit = 1e300;
    for (int round = 0; round < rounds; ++round) {
        runStatement(catalogue, QStringLiteral("update Images set Keywords = Keywords || '; %1' where rowid = %2;")
                                    .arg(madeUpKeyword(round)).arg(round + 1));
        afterEdit = std::min(afterEdit, bestSeconds(1, [&] { openDialog(catalogue); }));
    }
    out << "opening after one edit:       " << milliseconds(afterEdit) << "\n";
    const double whole = bestSeconds(rounds, [&] { words = openAndRead(catalogue); });
    if (!words)
        return 1;
    out << "whole vocabulary read:        " << milliseconds(whole) << "\n";

    const QStringList prefixes = {QStringLiteral("k"), QStringLiteral("ré"), QStringLiteral("É"), QStringLiteral("mar"),
                                  madeUpKeyword(distinct - 1), QStringLiteral("nothing")};
    CatalogueDb closed;
    closed.path = catalogue;
    double slowest = 0;
    std::size_t offered = 0;
    for (const QString &prefix : prefixes) {
        std::vector<VocabularyWord> found;
        slowest = std::max(slowest, bestSeconds(rounds, [&] {
                               found = vocabulary::offers(closed, kKeywordsIndex, prefix, 50);
                           }));
        offered += found.size();
        if (!sameWords(found, words->complete(prefix, 50))) {
            out << "the offers for " << prefix << " differ from the whole vocabulary's\n";
            return 1;
        }
    }
    out << "one offer (slowest prefix):   " << milliseconds(slowest) << "  (" << offered << " offered)\n"
        << "opening and one offer:        " << milliseconds(opening + slowest) << "\n";
    const QString programFolder = dir + QStringLiteral("/program");
    compareWithShell(out, catalogue, programFolder, QStringLiteral("mar"), rounds);
    return 0;
}
