// zelvarion-cli search run as a user would, on a catalogue in its own program folder.
#include "CatalogueOfRows.h"
#include "CliRunner.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/search/SearchQueryBuilder.h"
#include "core/search/ImageRows.h"
#include "core/session/LanguagePack.h"

#include "support/TempFolder.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

class SearchCliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const ColumnValues rows[] = {
            {{"Folder", u8("/photos/")}, {"File", u8("summer.jpg")}, {"Caption", u8("Été à Paris")}},
            {{"Folder", u8("/photos/")}, {"File", u8("lyon.jpg")}, {"City", u8("Lyon")}, {"Caption", u8("Paris train")}},
            {{"Folder", u8("/photos/l'été/")}, {"File", u8("beach.jpg")}, {"Keywords", u8("water; sea")}},
        };
        ASSERT_TRUE(writeCatalogueOfRows(folder.file("Images.db"), rows));
    }

    CliRun search(QStringList arguments)
    {
        return runCli(QStringList{QStringLiteral("--program-folder"), folder.path(), QStringLiteral("search")} + arguments);
    }

    TempFolder folder;
};

} // namespace

TEST_F(SearchCliTest, printsFolderAndFileOfEveryImageFound)
{
    const CliRun run = search({u8("été")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, u8("/photos/\tsummer.jpg\n/photos/l'été/\tbeach.jpg\n"));

    // As grep: nothing found is exit 1, with nothing printed.
    const CliRun none = search({u8("nowhere")});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.out.isEmpty());
}

TEST_F(SearchCliTest, sqlPrintsTheStatementTheWindowWouldRun)
{
    SearchRequest request;
    request.text = u8("paris");
    request.fieldSearch = true;
    request.fieldIndex = 20; // City
    request.wholeWord = true;
    request.revised = RevisedFilter::AlreadyRevised;
    request.revisionAscending = false;
    const CliRun run = search({u8("--sql"), u8("--field"), u8("city"), u8("--whole-word"), u8("--revised"),
                               u8("--reverse"), u8("paris")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, buildSearchStatement(request) + u'\n');

    SearchRequest sorted;
    sorted.text = u8("red car");
    sorted.op = SearchOperator::And;
    sorted.sortIndex = 1;
    sorted.sortAscending = false;
    const CliRun sortedRun = search({u8("--sql"), u8("--operator"), u8("and"), u8("--sort"), u8("1"), u8("--desc"),
                                     u8("red"), u8("car")});
    EXPECT_EQ(sortedRun.out, buildSearchStatement(sorted) + u'\n');
}

TEST_F(SearchCliTest, takesSearchOptionsAndTheRememberedCatalogueFromTheConfigurationFile)
{
    const QString elsewhere = folder.file("Images.db");
    QFile::rename(elsewhere, folder.file("Other.db"));
    folder.write(QStringLiteral("Zelvarion.ini"),
                 "[Configuration]\nLastDB=" + folder.file("Other.db").toUtf8()
                     + "\n[SearchOptions]\nSearchAllIPTC=0\nSearchCity=1\nSearchFolderNames=0\nSearchFileNames=0\n");
    // Only City is searched: the caption "Paris train" of lyon.jpg does not count.
    EXPECT_EQ(search({u8("lyon")}).out, u8("/photos/\tlyon.jpg\n"));
    EXPECT_TRUE(search({u8("paris")}).out.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder.file("Images.db")));
}

TEST_F(SearchCliTest, translateLoadsTheTranslationsFileFirst)
{
    folder.write(QStringLiteral("Zelvarion-Language/Translations.txt"), "French / English\r\nl'eau / water\r\n");
    const CliRun run = search({u8("--translate"), u8("L'EAU")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, u8("/photos/l'été/\tbeach.jpg\n"));
    EXPECT_TRUE(run.err.contains(u8("translation: water")));

    const CliRun sql = search({u8("--sql"), u8("--translate"), u8("--field"), u8("Keywords"), u8("l'eau")});
    EXPECT_EQ(sql.out, u8("select Folder,File,CheckMark from Images where (Keywords like '%l''eau%') or "
                          "(Keywords like '%water%');\n"));
}

TEST_F(SearchCliTest, presenceAndRevisedOptionsNeedNoText)
{
    EXPECT_EQ(search({u8("--with-iptc"), u8("--without-iptc"), u8("--sort"), u8("4")}).out,
              u8("/photos/l'été/\tbeach.jpg\n/photos/\tlyon.jpg\n/photos/\tsummer.jpg\n"));
    EXPECT_TRUE(search({u8("--with-iptc"), u8("--revised")}).out.isEmpty());
}

TEST_F(SearchCliTest, refusesBadArgumentsAndMissingCatalogues)
{
    const QStringList bad[] = {
        {u8("--operator"), u8("xor"), u8("a")}, {u8("--field"), u8("Nope"), u8("a")},
        {u8("--sort"), u8("41"), u8("a")},      {u8("--reverse"), u8("a")},
        {u8("--revised"), u8("--never-revised"), u8("a")}, {u8("--colour"), u8("a")},
    };
    for (const QStringList &arguments : bad) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const CliRun run = search(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_FALSE(run.err.isEmpty());
    }

    const CliRun nothing = search({});
    EXPECT_EQ(nothing.exitCode, 2); // nothing to search is an argument missing
    EXPECT_TRUE(nothing.out.isEmpty());

    const CliRun missing = search({u8("--catalogue"), folder.file("none.db"), u8("x")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(folder.file("none.db")));
}

// The shipped English texts stand in for every key the program folder's packs do not set; the
// answer to nothing to search names the options, not the window's boxes.
TEST_F(SearchCliTest, messagesStayReadableWithoutLanguagePacks)
{
    LanguagePack english;
    english.loadShippedEnglish();
    const QString nothingToSearch = english.message(Message::CliNothingToSearch);
    const QString withoutIptc = withoutAccelerator(english.text(InterfaceText::WithoutIptcOption));
    ASSERT_FALSE(nothingToSearch.isEmpty());
    ASSERT_FALSE(withoutIptc.isEmpty());

    const CliRun bare = search({});
    EXPECT_EQ(bare.exitCode, 2);
    EXPECT_TRUE(bare.err.contains(nothingToSearch)) << bare.err.toStdString();
    EXPECT_TRUE(bare.err.contains(u8("--with-iptc"))) << bare.err.toStdString();
    EXPECT_FALSE(bare.err.contains(withoutIptc)) << bare.err.toStdString();

    folder.write("Zelvarion-Language/English.lng", "[Messages]\r\n201=Rien à chercher\r\n");
    const CliRun partial = search({});
    EXPECT_TRUE(partial.err.contains(u8("Rien à chercher"))) << partial.err.toStdString();
    const CliRun withText = search({u8("--with-iptc"), u8("été")});
    EXPECT_TRUE(withText.err.contains(english.message(Message::CliPresenceTakesNoText))) << withText.err.toStdString();
}

TEST_F(SearchCliTest, wildcardCharactersOfTheTextMatchOnlyThemselves)
{
    CatalogueDb db;
    db.path = folder.file("Images.db");
    ASSERT_TRUE(db.open());
    for (const char *file : {"1000.jpg", "100%.jpg", "field_a.jpg", "fieldXa.jpg"})
        ASSERT_EQ(db.execute(insertImageStatement({{"Folder", u8("/w/")}, {"File", u8(file)}})), 0);
    db.close();

    EXPECT_EQ(search({u8("100%")}).out, u8("/w/\t100%.jpg\n"));
    EXPECT_EQ(search({u8("%")}).out, u8("/w/\t100%.jpg\n"));
    EXPECT_EQ(search({u8("field_")}).out, u8("/w/\tfield_a.jpg\n"));
    EXPECT_EQ(search({u8("--whole-word"), u8("field?a")}).out, u8(""));
    const CliRun sql = search({u8("--sql"), u8("--field"), u8("City"), u8("1_%")});
    EXPECT_EQ(sql.out, u8("select Folder,File,CheckMark from Images where (City like '%1\\_\\%%' escape '\\');\n"));
}

// The first search indexes the catalogue; later changes by any program are found at once. (A
// catalogue that takes no writes is searched without the index: the read-only fault case.)
TEST_F(SearchCliTest, theFirstSearchIndexesTheCatalogueAndLaterChangesAreFound)
{
    const CliRun first = search({u8("paris")});
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_EQ(first.out, u8("/photos/\tsummer.jpg\n/photos/\tlyon.jpg\n"));
    CatalogueDb db;
    db.path = folder.file("Images.db");
    ASSERT_TRUE(db.open());
    ASSERT_EQ(db.execute(QStringLiteral("select count(*) from ZelvarionSearchText;")), 0) << db.errorText().toStdString();
    EXPECT_EQ(db.cell(0, 1), u8("3"));
    ASSERT_EQ(db.execute(QStringLiteral("update Images set Caption = 'Montparnasse' where File = 'beach.jpg';")), 0);
    db.close();

    const CliRun caughtUp = search({u8("parnasse")});
    EXPECT_EQ(caughtUp.out, u8("/photos/l'été/\tbeach.jpg\n"));
    EXPECT_EQ(caughtUp.err, QString());
    ASSERT_TRUE(db.open());
    ASSERT_EQ(db.execute(QStringLiteral("select count(*) from ZelvarionSearchPending;")), 0);
    EXPECT_EQ(db.cell(0, 1), u8("0"));
}
