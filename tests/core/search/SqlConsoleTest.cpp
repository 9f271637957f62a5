// The SQL console's statement on a real catalogue: the prefix check, the read-only connection,
// the first statement only, the row limit and the Folder and File columns.
#include "CatalogueFixture.h"

#include "core/search/SqlConsole.h"
#include "platform/IniFile.h"

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

class SqlConsoleTest : public CatalogueFixture
{
protected:
    void SetUp() override
    {
        CatalogueFixture::SetUp();
        addImage(u8("/photos/l'été/"), u8("o'neil.jpg"));
        addImage(u8("/photos/"), u8("b.jpg"));
    }

    ConsoleResult console(const char *statement) { return runConsoleStatement(command(), u8(statement)); }
};

} // namespace

TEST_F(SqlConsoleTest, onlyTextBeginningWithSelectAndASpaceIsRun)
{
    for (const char *refused : {"select\n* from Images", " select * from Images", "delete from Images",
                                "selectx from Images", "SELECT"}) {
        SCOPED_TRACE(refused);
        feedback.messages.clear();
        const ConsoleResult result = console(refused);
        EXPECT_EQ(result.status, ConsoleResult::Status::NotSelect);
        ASSERT_EQ(feedback.messages.size(), 1u);
        EXPECT_EQ(feedback.messages[0].text, language.message(Message::SelectOnly));
        EXPECT_EQ(feedback.messages[0].icon, MessageIcon::Critical);
    }
    EXPECT_EQ(console("sElEcT File from Images order by File;").rows.size(), 2u);
}

TEST_F(SqlConsoleTest, folderAndFileColumnsAreFoundByTheirExactNames)
{
    const ConsoleResult swapped = console("select CheckMark, File, Folder from Images order by File");
    EXPECT_EQ(swapped.fileColumn, 1);
    EXPECT_EQ(swapped.folderColumn, 2);
    EXPECT_EQ(consoleRowImage(swapped, 1).folder, u8("/photos/l'été/"));
    EXPECT_EQ(consoleRowImage(swapped, 1).file, u8("o'neil.jpg"));

    const ConsoleResult small = console("select Folder as folder, File as file from Images");
    EXPECT_FALSE(small.showsImages());
    EXPECT_TRUE(consoleRowImage(small, 0).file.isEmpty());
}

TEST_F(SqlConsoleTest, runsOnlyTheFirstStatementAndNeverWrites)
{
    const ConsoleResult result = console("select count(*) from Images; delete from Images;");
    EXPECT_EQ(result.status, ConsoleResult::Status::Ran);
    EXPECT_EQ(result.rows, std::vector<QStringList>({{u8("2")}}));
    EXPECT_EQ(result.notRun, u8("delete from Images;"));
    EXPECT_EQ(feedback.texts(), QStringList({language.message(Message::FirstStatementOnly) + u8("\ndelete from Images;")}));
    EXPECT_EQ(rows(u8("select count(*) from Images;")), QStringList({u8("2")}));
}

TEST_F(SqlConsoleTest, aRefusedStatementIsReportedAndTheCatalogueIsNeverCreated)
{
    const ConsoleResult failed = console("select x from Nowhere");
    EXPECT_EQ(failed.status, ConsoleResult::Status::Failed);
    EXPECT_FALSE(failed.showsImages());
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].text, u8("Cannot get data\nno such table: Nowhere"));

    db.path = folder.file("none.db");
    EXPECT_EQ(console("select 1").status, ConsoleResult::Status::NotOpened);
    EXPECT_FALSE(QFileInfo::exists(db.path));
}

TEST_F(SqlConsoleTest, showsAtMostOneRowLessThanTheLimitAndSaysSo)
{
    run(u8("create table N(v);"));
    run(u8("with recursive c(v) as (select 1 union all select v + 1 from c where v < 32001) "
           "insert into N select v from c;"));
    const ConsoleResult full = console("select v from N where v < 32000");
    EXPECT_EQ(full.rows.size(), 31999u);
    EXPECT_FALSE(full.limited);
    EXPECT_TRUE(feedback.messages.empty());

    const ConsoleResult over = console("select v from N");
    EXPECT_EQ(over.rows.size(), 31999u);
    EXPECT_EQ(over.rows.back(), QStringList({u8("31999")}));
    EXPECT_TRUE(over.limited);
    EXPECT_EQ(feedback.texts(), QStringList({u8("The list is limited to 32000 entries; the rest is not shown.")}));
}

// A statement is written whole and comes back with its first 254 characters; empty keys are
// passed over.
TEST_F(SqlConsoleTest, historyIsWrittenWholeAndReadBackCutTo254Characters)
{
    const IniFile ini(folder.file("Zelvarion.ini"));
    const QString longStatement = u8("select '") + QString(300, u'x') + u8("'");
    QStringList eleven;
    for (int i = 0; i <= kConsoleHistoryEntries; ++i)
        eleven << QStringLiteral("select %1").arg(i);
    writeConsoleHistory(ini, QStringList({longStatement, u8("select 'l''été'")}) + eleven);
    const QStringList read = readConsoleHistory(ini);
    EXPECT_EQ(read.size(), kConsoleHistoryEntries);
    EXPECT_EQ(read.mid(0, 2), QStringList({longStatement.left(254), u8("select 'l''été'")}));
    EXPECT_EQ(ini.read(u8("SQLQuery"), u8("SQLQuery1")), longStatement);
    EXPECT_EQ(ini.read(u8("SQLQuery"), u8("SQLQuery2")), u8("select 'l''été'"));

    const QString exactly254 = u8("select '") + QString(254 - 9, u'y') + u8("'");
    writeConsoleHistory(ini, {exactly254, QString(), u8("select 2")});
    EXPECT_EQ(readConsoleHistory(ini), QStringList({exactly254, u8("select 2")}));
}
