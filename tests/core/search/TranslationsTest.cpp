#include "core/catalogue/CatalogueDb.h"
#include "core/search/Translations.h"

#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using zelvarion::test::RecordingFeedback;
using zelvarion::test::TempFolder;

namespace {

QString q(const char *text) { return QString::fromUtf8(text); }

class TranslationsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.path = folder.file("Images.db");
        ASSERT_TRUE(db.open());
        ASSERT_EQ(db.execute(q("create table Translations(word1,word2);")), 0);
    }

    TranslationsState load(const QByteArray &fileText)
    {
        return loadTranslations(db, feedback, folder.write("Translations.txt", fileText));
    }

    // The stored pairs in file order, as "word1|word2".
    QStringList pairs()
    {
        db.execute(q("select word1, word2 from Translations order by rowid;"));
        QStringList rows;
        for (int row = 1; row <= db.rowCount(); ++row)
            rows << db.cell(0, row) + u'|' + db.cell(1, row);
        return rows;
    }

    TempFolder folder;
    CatalogueDb db;
    RecordingFeedback feedback;
};

} // namespace

TEST_F(TranslationsTest, missingFileEmptiesTheTableAndLoadsNothing)
{
    db.execute(q("insert into Translations values('old','alt');"));
    const TranslationsState state = loadTranslations(db, feedback, folder.file("Translations.txt"));
    EXPECT_TRUE(state.tableCleared);
    EXPECT_FALSE(state.fileExists);
    EXPECT_FALSE(state.loaded);
    EXPECT_EQ(state.lineCount, 0);
    EXPECT_TRUE(pairs().isEmpty());
    EXPECT_TRUE(feedback.messages.empty());
    EXPECT_TRUE(db.isOpen());
}

TEST_F(TranslationsTest, fileWithOnlyTheLanguageLineLoadsNoPairButCountsOne)
{
    const TranslationsState state = load("* my word list\n  Français  /  English  \n");
    EXPECT_TRUE(state.fileExists);
    EXPECT_TRUE(state.loaded);
    EXPECT_EQ(state.lineCount, 1);
    EXPECT_EQ(state.language1, q("Français"));
    EXPECT_EQ(state.language2, q("English"));
    EXPECT_TRUE(pairs().isEmpty());
    EXPECT_TRUE(feedback.messages.empty());
}

TEST_F(TranslationsTest, storesPairsInFileOrderFollowingTheLineRules)
{
    const TranslationsState state = load("French/English\n"
                                         "pomme de terre / potato\n"
                                         "\n"
                                         "   * comment/with slash\n"
                                         "no slash here\n"
                                         "a/b/c\n"
                                         " /left empty\n"
                                         "right empty/ \n"
                                         "chat/cat\n"
                                         "chat/cat\n");
    EXPECT_EQ(pairs(), (QStringList{q("pomme de terre|potato"), q("a|b/c"), q("|left empty"),
                                    q("right empty|"), q("chat|cat"), q("chat|cat")}));
    EXPECT_EQ(state.lineCount, 7);
    EXPECT_TRUE(state.loaded);
}

TEST_F(TranslationsTest, acceptsEveryLineEndingAndStripsOnlySpaces)
{
    const TranslationsState state = load("L1/L2\r\none/un\rtwo/deux\r\nthree/trois\nfour\t/quatre");
    EXPECT_EQ(pairs(), (QStringList{q("one|un"), q("two|deux"), q("three|trois"), q("four\t|quatre")}));
    EXPECT_EQ(state.lineCount, 5);
}

TEST_F(TranslationsTest, keepsApostrophesAndFindsThePairByThem)
{
    load("French/English\nl'eau/water\n");
    ASSERT_EQ(db.execute(q("select word2 from Translations where word1 = ") + sqlText(q("l'eau")) + u';'), 0);
    ASSERT_EQ(db.rowCount(), 1);
    EXPECT_EQ(db.cell(0, 1), q("water"));
}

TEST_F(TranslationsTest, readsAnOldEightBitFile)
{
    load("Fran\xE7" "ais/English\ncaf\xE9/coffee\n");
    EXPECT_EQ(pairs(), QStringList{q("café|coffee")});
}

TEST_F(TranslationsTest, emptyFileIsLoadedWithoutLanguages)
{
    const TranslationsState state = load("");
    EXPECT_TRUE(state.fileExists);
    EXPECT_TRUE(state.loaded);
    EXPECT_EQ(state.lineCount, 0);
    EXPECT_TRUE(state.language1.isEmpty());
}

TEST_F(TranslationsTest, refillingReplacesThePreviousPairs)
{
    load("A/B\nx/y\n");
    load("A/B\nz/w\n");
    EXPECT_EQ(pairs(), QStringList{q("z|w")});
}

TEST_F(TranslationsTest, pairThatCannotBeStoredStopsTheLoad)
{
    db.execute(q("drop table Translations; create table Translations(word1);"));
    const TranslationsState state = load("A/B\nx/y\nz/w\n");
    EXPECT_FALSE(state.loaded);
    EXPECT_EQ(state.lineCount, 2); // the count reached when the load stopped
    EXPECT_EQ(feedback.texts(),
              QStringList{q("Cannot add data to Translations\ntable Translations has 1 columns but 2 values were supplied")});
    // The transaction was ended: a new one can start.
    EXPECT_EQ(db.execute(q("begin transaction AGAIN;")), 0);
}

TEST_F(TranslationsTest, missingTableIsReportedAndNothingElseHappens)
{
    db.execute(q("drop table Translations;"));
    const TranslationsState state = load("A/B\nx/y\n");
    EXPECT_FALSE(state.tableCleared);
    EXPECT_FALSE(state.loaded);
    EXPECT_EQ(state.lineCount, 0);
    EXPECT_EQ(feedback.texts(), QStringList{q("Cannot delete from Translations\nno such table: Translations")});
}

TEST_F(TranslationsTest, failedBeginIsReportedAndTheLoadGoesOn)
{
    ASSERT_EQ(db.execute(q("begin transaction OUTER;")), 0);
    const TranslationsState state = load("A/B\nx/y\n");
    EXPECT_EQ(feedback.texts(),
              QStringList{q("Cannot begin transaction LOADTRANSLATIONS '%1'\n"
                            "cannot start a transaction within a transaction").arg(db.path)});
    EXPECT_TRUE(state.loaded);
    EXPECT_EQ(pairs(), QStringList{q("x|y")});
}
