// The keyword vocabulary: spellings that fold alike are one word, most used first, completed by a
// case-insensitive prefix, read through the folded index as the whole vocabulary would give it; a
// table made before the folded spellings is made again safely; and whatever writes the catalogue
// (scan-like inserts, edits, deletes, another program's SQL), the vocabulary read agrees with the
// images' values, kept tables or not.
#include "CatalogueFixture.h"

#include "core/catalogue/VocabularyTables.h"
#include "core/iptc/IptcField.h"
#include "core/search/KeywordVocabulary.h"

#include <QFile>
#include <random>

namespace zelvarion::test {
namespace {

// "text=uses" of each word, in the vocabulary's order.
QStringList listed(const std::vector<VocabularyWord> &words)
{
    QStringList lines;
    for (const VocabularyWord &word : words)
        lines << word.text + u'=' + QString::number(word.uses);
    return lines;
}

TEST(KeywordVocabularyWords, spellingsThatFoldAlikeAreOneWordInTheirMostUsedSpelling)
{
    const KeywordVocabulary words({{u8("église"), 2}, {u8("Église"), 5}, {u8("ÉGLISE"), 1}, {u8("paris"), 3},
                                   {u8("\u212Aelvin"), 1}, {u8("kelvin"), 1}, {u8("gone"), 0}});
    EXPECT_EQ(listed(words.complete(u"")), (QStringList{u8("Église=8"), u8("paris=3"), u8("kelvin=2")}));
    EXPECT_EQ(words.size(), 3u);
}

TEST(KeywordVocabularyWords, completesAPrefixWhateverItsCaseMostUsedFirst)
{
    const KeywordVocabulary words({{u8("Élan"), 2}, {u8("élite"), 7}, {u8("Eleven"), 9}, {u8("ÉTÉ"), 4},
                                   {u8("sun"), 1}, {u8("Sunset"), 3}});
    EXPECT_EQ(listed(words.complete(u"é")), (QStringList{u8("élite=7"), u8("ÉTÉ=4"), u8("Élan=2")}));
    EXPECT_EQ(listed(words.complete(u"ÉL")), (QStringList{u8("élite=7"), u8("Élan=2")}));
    EXPECT_EQ(listed(words.complete(u"e")), QStringList{u8("Eleven=9")}); // no accent folding
    EXPECT_EQ(listed(words.complete(u"SUN")), (QStringList{u8("Sunset=3"), u8("sun=1")}));
    EXPECT_EQ(listed(words.complete(u"su", 1)), QStringList{u8("Sunset=3")});
    EXPECT_TRUE(words.complete(u"sunrise").empty());
}

TEST(KeywordVocabularyWords, equalUsesKeepAnOrderThatDoesNotDependOnTheInput)
{
    const KeywordVocabulary words({{u8("b"), 1}, {u8("C"), 1}, {u8("a"), 1}});
    EXPECT_EQ(listed(words.complete(u"")), (QStringList{u8("a=1"), u8("b=1"), u8("C=1")}));
}

class KeywordVocabularyCatalogue : public CatalogueFixture
{
protected:
    void addImage(const QString &file, const QString &keywords, const QString &categories = {})
    {
        run(insertImageStatement({{"Folder", u8("/p/")}, {"File", file}, {"Keywords", keywords},
                                  {"SupplementalCategory", categories}}));
    }
    // The words beginning with prefix (every word for an empty one).
    QStringList vocabularyOf(int field, bool update = true, const QString &prefix = {})
    {
        EXPECT_TRUE(db.open());
        if (update) {
            EXPECT_TRUE(vocabulary::update(db)) << db.errorText().toStdString();
        }
        const std::optional<KeywordVocabulary> words = vocabulary::read(db, field, prefix);
        db.close();
        EXPECT_TRUE(words);
        return words ? listed(words->complete(prefix)) : QStringList();
    }
    // The vocabulary counted from the images alone, on a copy without the kept tables.
    QStringList countedFromImages(int field, const QString &prefix = {})
    {
        const QString copy = folder.file("Copy.db");
        QFile::remove(copy);
        EXPECT_TRUE(QFile::copy(db.path, copy));
        CatalogueDb other;
        other.path = copy;
        EXPECT_TRUE(other.open());
        for (const QString &statement : vocabularyTables::dropStatements())
            EXPECT_EQ(other.execute(statement), 0);
        const std::optional<KeywordVocabulary> words = vocabulary::read(other, field);
        other.close();
        return words ? listed(words->complete(prefix)) : QStringList();
    }
    int vocabularyParts()
    {
        const QStringList count = rows(vocabularyTables::countPartsStatement());
        return count.isEmpty() ? -1 : count.first().toInt();
    }
    bool readsByPrefix()
    {
        EXPECT_TRUE(db.open());
        const bool byPrefix = vocabulary::readsByPrefix(db);
        db.close();
        return byPrefix;
    }
    // The entries' table as a program made it before the folded spellings, with the same entries.
    void makeTableOlder()
    {
        run(u8("create table OlderVocabulary(Field integer, Entry text, Uses integer, primary key(Field, Entry)) without rowid;"
               "insert into OlderVocabulary select Field, Entry, Uses from ZelvarionVocabulary;"
               "drop table ZelvarionVocabulary;"
               "alter table OlderVocabulary rename to ZelvarionVocabulary;"));
    }
};

TEST_F(KeywordVocabularyCatalogue, countsTheImagesHoldingEachEntryOfEitherField)
{
    addImage(u8("a.jpg"), u8("Paris; été;  ; paris"), u8("Travel"));
    addImage(u8("b.jpg"), u8("Été; Lyon; Lyon"), u8("travel; Food"));
    addImage(u8("c.jpg"), u8("lyon"));
    EXPECT_EQ(vocabularyOf(kKeywordsIndex), (QStringList{u8("Lyon=2"), u8("Été=2"), u8("Paris=1")}));
    EXPECT_EQ(vocabularyOf(kSupplementalCategoryIndex), (QStringList{u8("Travel=2"), u8("Food=1")}));
}

TEST_F(KeywordVocabularyCatalogue, readingWithoutTablesCountsTheImagesAndWritesNothing)
{
    addImage(u8("a.jpg"), u8("sea; sand"));
    addImage(u8("b.jpg"), u8("sea"));
    EXPECT_EQ(vocabularyOf(kKeywordsIndex, false), (QStringList{u8("sea=2"), u8("sand=1")}));
    EXPECT_EQ(vocabularyParts(), 0);
}

TEST_F(KeywordVocabularyCatalogue, anUpdateWithNothingQueuedLeavesTheFileAsItIs)
{
    addImage(u8("a.jpg"), u8("sea"));
    vocabularyOf(kKeywordsIndex);
    QFile file(db.path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    EXPECT_EQ(vocabularyOf(kKeywordsIndex), QStringList{u8("sea=1")});
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

TEST_F(KeywordVocabularyCatalogue, aCatalogueThatTakesNoWritesIsReadWithItsQueue)
{
    addImage(u8("a.jpg"), u8("sea; sand"));
    vocabularyOf(kKeywordsIndex);
    run(u8("update Images set Keywords = 'sand; dune' where File = 'a.jpg';"));
    addImage(u8("b.jpg"), u8("Dune"));
    ASSERT_TRUE(db.openReadOnly());
    EXPECT_FALSE(vocabulary::update(db));
    const std::optional<KeywordVocabulary> words = vocabulary::updateAndRead(db, kKeywordsIndex);
    db.close();
    ASSERT_TRUE(words);
    EXPECT_EQ(listed(words->complete(u"")), (QStringList{u8("Dune=2"), u8("sand=1")}));
    EXPECT_EQ(rows(u8("select count(*) from ZelvarionVocabularyPending;")), QStringList{u8("3")});
}

TEST_F(KeywordVocabularyCatalogue, aTableLostByHandIsMadeAnewFromTheImages)
{
    addImage(u8("a.jpg"), u8("sea"));
    vocabularyOf(kKeywordsIndex);
    run(u8("drop table ZelvarionVocabulary;"));
    addImage(u8("b.jpg"), u8("sea; moon"));
    EXPECT_EQ(vocabularyOf(kKeywordsIndex), (QStringList{u8("sea=2"), u8("moon=1")}));
    EXPECT_EQ(vocabularyParts(), 5);
}

TEST_F(KeywordVocabularyCatalogue, prefixesAreReadThroughTheIndexWithTheCataloguesFolding)
{
    addImage(u8("a.jpg"), u8("Église; Straße; x\uD7FFy; 100% cotton; a_b; l'eau"));
    addImage(u8("b.jpg"), u8("église; Eglise; STRASSE; x\uE000; 100 cotton; axb; l eau"));
    addImage(u8("c.jpg"), u8("élan; straßenbahn; \U0010FFFFz; 1000; l'eau"));
    EXPECT_EQ(vocabularyOf(kKeywordsIndex).size(), 16);
    EXPECT_TRUE(readsByPrefix());
    const std::pair<const char *, QStringList> cases[] = {
        {"é", {u8("Église=2"), u8("élan=1")}},
        {"É", {u8("Église=2"), u8("élan=1")}},
        {"ÉG", {u8("Église=2")}},
        {"e", {u8("Eglise=1")}}, // no accent folding
        {"STRA\u1E9E", {u8("Straße=1"), u8("straßenbahn=1")}}, // the capital sharp s folds to ß
        {"strass", {u8("STRASSE=1")}},
        {"x\uD7FF", {u8("x\uD7FFy=1")}}, // the range ends below U+E000: no surrogate between
        {"\U0010FFFF", {u8("\U0010FFFFz=1")}}, // nothing above the highest character
        {"100%", {u8("100% cotton=1")}},
        {"100", {u8("100 cotton=1"), u8("100% cotton=1"), u8("1000=1")}},
        {"a_", {u8("a_b=1")}},
        {"l'", {u8("l'eau=2")}},
        {"nothing", {}},
    };
    for (const auto &[prefix, expected] : cases)
        EXPECT_EQ(vocabularyOf(kKeywordsIndex, false, u8(prefix)), expected) << prefix;
}

TEST_F(KeywordVocabularyCatalogue, anOlderTableIsMadeAgainWithItsEntriesAndWhatIsQueued)
{
    addImage(u8("a.jpg"), u8("Église; sea"), u8("Travel"));
    addImage(u8("b.jpg"), u8("église; moon"));
    vocabularyOf(kKeywordsIndex);
    makeTableOlder();
    run(u8("update Images set Keywords = 'sea; Sun' where File = 'b.jpg';"));
    const QStringList expected{u8("sea=2"), u8("Sun=1"), u8("Église=1")};

    // Read-only, it stays as it is and is read whole.
    ASSERT_TRUE(db.openReadOnly());
    EXPECT_FALSE(vocabulary::update(db));
    EXPECT_FALSE(vocabulary::readsByPrefix(db));
    const std::optional<KeywordVocabulary> words = vocabulary::read(db, kKeywordsIndex, u8("S"));
    db.close();
    ASSERT_TRUE(words);
    EXPECT_EQ(listed(words->complete(u8("S"))), (QStringList{u8("sea=2"), u8("Sun=1")}));

    EXPECT_EQ(vocabularyOf(kKeywordsIndex), expected);
    EXPECT_EQ(vocabularyOf(kSupplementalCategoryIndex), QStringList{u8("Travel=1")});
    EXPECT_TRUE(readsByPrefix());
    EXPECT_EQ(rows(vocabularyTables::countPendingStatement()), QStringList{u8("0")});
    EXPECT_EQ(vocabularyOf(kKeywordsIndex, false, u8("é")), QStringList{u8("Église=1")});
    // A program that knows no folded spelling cannot add an entry the index would miss.
    ASSERT_TRUE(db.open());
    EXPECT_NE(db.execute(u8("insert into ZelvarionVocabulary(Field,Entry,Uses) values(6,'new',1);")), 0);
    db.close();
}

TEST_F(KeywordVocabularyCatalogue, anUpgradeThatFailsPartWayLeavesTheOlderTableAndItsQueue)
{
    addImage(u8("a.jpg"), u8("sea; Sun"));
    vocabularyOf(kKeywordsIndex);
    makeTableOlder();
    addImage(u8("b.jpg"), u8("sun"));
    const QString entries = u8("select Field, Entry, Uses from ZelvarionVocabulary order by Entry;");
    const QStringList before = rows(entries);
    // The index's name taken: the upgrade fails after the older table was dropped.
    run(u8("create table ZelvarionVocabularyFolded(x);"));
    ASSERT_TRUE(db.open());
    EXPECT_FALSE(vocabulary::update(db));
    db.close();
    EXPECT_EQ(rows(entries), before);
    EXPECT_EQ(rows(vocabularyTables::countPendingStatement()), QStringList{u8("1")});
    EXPECT_EQ(vocabularyOf(kKeywordsIndex, false, u8("s")), (QStringList{u8("Sun=2"), u8("sea=1")}));

    run(u8("drop table ZelvarionVocabularyFolded;"));
    EXPECT_EQ(vocabularyOf(kKeywordsIndex, true, u8("s")), (QStringList{u8("Sun=2"), u8("sea=1")}));
    EXPECT_TRUE(readsByPrefix());
}

// Edits as the scan, a template run, an undo, a delete and the SQL console make them, at random;
// after each round the vocabulary, queued or added up, whole or by prefix, is the images' own.
TEST_F(KeywordVocabularyCatalogue, agreesWithTheImagesAfterEveryKindOfChange)
{
    const QStringList pieces = {u8("Paris"), u8("PARIS"), u8("été"), u8("Été"), u8("sea"), u8("moon"), u8("l'eau"),
                                u8("\u212Aelvin"), u8("kelvin"), u8("  spaced  "), u8("")};
    std::mt19937 random(20261211);
    const auto pick = [&](int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random); };
    const auto value = [&] {
        QStringList chosen;
        for (int n = pick(4); n > 0; --n)
            chosen << pieces.at(pick(int(pieces.size())));
        return chosen.join(u8("; "));
    };
    for (int n = 0; n < 30; ++n)
        addImage(QStringLiteral("%1.jpg").arg(n), value(), value());
    vocabularyOf(kKeywordsIndex);
    for (int round = 0; round < 6; ++round) {
        QStringList statements;
        for (int n = 0; n < 12; ++n) {
            const QString file = sqlText(QStringLiteral("%1.jpg").arg(pick(40)));
            switch (pick(4)) {
            case 0: statements << insertImageStatement({{"File", QStringLiteral("%1.jpg").arg(40 + round * 12 + n)},
                                                         {"Keywords", value()}, {"SupplementalCategory", value()}});
                break;
            case 1: statements << u8("delete from Images where File = ") + file + u';'; break;
            case 2: statements << u8("update Images set Keywords = ") + sqlText(value()) + u8(" where File = ") + file + u';'; break;
            default: statements << u8("update Images set City = 'x', SupplementalCategory = ") + sqlText(value())
                                   + u8(" where File = ") + file + u';';
            }
        }
        for (const QString &statement : statements)
            run(statement);
        for (const int field : {kKeywordsIndex, kSupplementalCategoryIndex}) {
            for (const QString &prefix : {u8("p"), u8("É"), u8("l'"), u8("k")})
                EXPECT_EQ(vocabularyOf(field, false, prefix), countedFromImages(field, prefix))
                    << "queued, prefix " << prefix.toStdString() << ", round " << round;
            const QStringList expected = countedFromImages(field);
            EXPECT_EQ(vocabularyOf(field, false), expected) << "queued, round " << round;
            EXPECT_EQ(vocabularyOf(field), expected) << "added up, round " << round;
        }
    }
}

} // namespace
} // namespace zelvarion::test
