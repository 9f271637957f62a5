#include "platform/SqliteEngine.h"

#include "support/TempFolder.h"

#include <QByteArrayList>
#include <QFileInfo>

#include <optional>

#include <gtest/gtest.h>

using namespace zelvarion;
using zelvarion::test::TempFolder;

namespace {

class SqliteEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        connection = sqliteEngine::open(folder.file("test.db"), error);
        ASSERT_NE(connection, nullptr) << error.toStdString();
    }
    void TearDown() override { sqliteEngine::close(connection); }

    int run(const QString &sql)
    {
        return sqliteEngine::execute(connection, sql, table, error);
    }

    TempFolder folder;
    sqliteEngine::Connection *connection = nullptr;
    ResultTable table;
    QString error;
};

} // namespace

TEST_F(SqliteEngineTest, givesColumnNamesInRowZeroAndTextCells)
{
    ASSERT_EQ(run(QStringLiteral("create table T(a,b);")), 0);
    ASSERT_EQ(run(QStringLiteral("insert into T values('x', NULL); insert into T values(12, 'y');")), 0);
    ASSERT_EQ(run(QStringLiteral("select a, b from T order by rowid;")), 0);
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.columnCount(), 2);
    EXPECT_EQ(table.cell(0, 0), QStringLiteral("a"));
    EXPECT_EQ(table.cell(1, 0), QStringLiteral("b"));
    EXPECT_EQ(table.cell(0, 1), QStringLiteral("x"));
    EXPECT_EQ(table.cell(1, 1), QString()); // NULL
    EXPECT_EQ(table.cell(0, 2), QStringLiteral("12"));
    EXPECT_EQ(table.cell(1, 2), QStringLiteral("y"));
}

TEST_F(SqliteEngineTest, knowsColumnNamesOfAQueryWithoutRows)
{
    ASSERT_EQ(run(QStringLiteral("create table T(Folder,File);")), 0);
    ASSERT_EQ(run(QStringLiteral("select * from T;")), 0);
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_EQ(table.columnCount(), 2);
    EXPECT_EQ(table.cell(1, 0), QStringLiteral("File"));
}

TEST_F(SqliteEngineTest, cellOutsideTheTableIsEmpty)
{
    ASSERT_EQ(run(QStringLiteral("select 1 as one;")), 0);
    for (auto [column, row] : {std::pair{-1, 0}, {1, 0}, {0, 2}, {0, -1}})
        EXPECT_EQ(table.cell(column, row), QString()) << column << "," << row;
    EXPECT_EQ(table.cell(0, 1), QStringLiteral("1"));
}

TEST_F(SqliteEngineTest, keepsNonAsciiTextIntact)
{
    ASSERT_EQ(run(QStringLiteral("select 'Zürich – 東京' as city;")), 0);
    EXPECT_EQ(table.cell(0, 1), QStringLiteral("Zürich – 東京"));
}

TEST_F(SqliteEngineTest, failureGivesEngineCodeTextAndEmptyTable)
{
    ASSERT_EQ(run(QStringLiteral("select 1;")), 0);
    EXPECT_NE(run(QStringLiteral("select * from NoSuchTable;")), 0);
    EXPECT_EQ(error, QStringLiteral("no such table: NoSuchTable"));
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_EQ(table.columnCount(), 0);
}

TEST_F(SqliteEngineTest, failsOnAConstraintMetWhileStepping)
{
    ASSERT_EQ(run(QStringLiteral("create table U(a unique);")), 0);
    ASSERT_EQ(run(QStringLiteral("insert into U values('x');")), 0);
    EXPECT_NE(run(QStringLiteral("insert into U values('x');")), 0);
    EXPECT_TRUE(error.contains(QStringLiteral("UNIQUE"))) << error.toStdString();
}

TEST_F(SqliteEngineTest, emptyOrCommentOnlyStatementSucceedsWithNothing)
{
    EXPECT_EQ(run(QStringLiteral("  ")), 0);
    EXPECT_EQ(run(QStringLiteral("-- nothing\n")), 0);
    EXPECT_EQ(table.rowCount(), 0);
}

TEST(SqliteEngine, refusesEmptyPathAndFolder)
{
    TempFolder folder;
    for (const QString &path : {QString(), folder.path()}) {
        QString error;
        EXPECT_EQ(sqliteEngine::open(path, error), nullptr) << path.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(SqliteEngine, failsToOpenInAMissingFolder)
{
    TempFolder folder;
    QString error;
    EXPECT_EQ(sqliteEngine::open(folder.file("no/such/folder/x.db"), error), nullptr);
    EXPECT_EQ(error, QStringLiteral("unable to open database file"));
}

TEST(SqliteEngine, executeWithoutConnectionFails)
{
    ResultTable table;
    QString error;
    EXPECT_NE(sqliteEngine::execute(nullptr, QStringLiteral("select 1;"), table, error), 0);
    EXPECT_FALSE(error.isEmpty());
    sqliteEngine::close(nullptr); // never reports or crashes
}

TEST(SqliteEngine, versionNamesTheEngineAndItsNumber)
{
    EXPECT_TRUE(sqliteEngine::version().startsWith(QStringLiteral("SQLite 3.")))
        << sqliteEngine::version().toStdString();
}

TEST_F(SqliteEngineTest, runsEveryStatementOfTheTextAndGathersRowsOfEqualShape)
{
    ASSERT_EQ(run(QStringLiteral("create table T(a); insert into T values('1'); select a from T; select 'two';")), 0);
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.cell(0, 0), QStringLiteral("a"));
    EXPECT_EQ(table.cell(0, 2), QStringLiteral("two"));
    EXPECT_NE(run(QStringLiteral("select 1, 2; select 3;")), 0);
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(SqliteEngineTest, aReadOnlyConnectionRefusesWritesAndNeverCreatesTheFile)
{
    ASSERT_EQ(run(QStringLiteral("create table T(a); insert into T values(1);")), 0);
    QString openError;
    sqliteEngine::Connection *reader =
        sqliteEngine::open(folder.file("test.db"), openError, sqliteEngine::OpenMode::ReadOnly);
    ASSERT_NE(reader, nullptr) << openError.toStdString();
    EXPECT_NE(sqliteEngine::execute(reader, QStringLiteral("insert into T values(2);"), table, error), 0);
    EXPECT_TRUE(error.contains(QStringLiteral("readonly"))) << error.toStdString();
    EXPECT_EQ(sqliteEngine::execute(reader, QStringLiteral("select count(*) from T;"), table, error), 0);
    EXPECT_EQ(table.cell(0, 1), QStringLiteral("1"));
    sqliteEngine::close(reader);

    EXPECT_EQ(sqliteEngine::open(folder.file("missing.db"), openError, sqliteEngine::OpenMode::ReadOnly), nullptr);
    EXPECT_FALSE(QFileInfo::exists(folder.file("missing.db")));
}

TEST_F(SqliteEngineTest, executeFirstRunsOneStatementAndStopsAtTheRowLimit)
{
    ASSERT_EQ(run(QStringLiteral("create table T(a); insert into T values(1); insert into T values(2);"
                                 "insert into T values(3);")), 0);
    sqliteEngine::FirstStatementRun first;
    ASSERT_EQ(sqliteEngine::executeFirst(connection, QStringLiteral("select a from T order by a; delete from T"), 2,
                                         table, error, first), 0);
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_TRUE(first.moreRows);
    EXPECT_EQ(first.remainder, QStringLiteral("delete from T"));
    ASSERT_EQ(run(QStringLiteral("select count(*) from T;")), 0);
    EXPECT_EQ(table.cell(0, 1), QStringLiteral("3"));

    // Unparsable text after the statement is still text that was not run.
    ASSERT_EQ(sqliteEngine::executeFirst(connection, QStringLiteral("select 1; )("), 10, table, error, first), 0);
    EXPECT_EQ(first.remainder, QStringLiteral(")("));
    EXPECT_FALSE(first.moreRows);
    ASSERT_EQ(sqliteEngine::executeFirst(connection, QStringLiteral("select 1 /* end */ ;\n"), 10, table, error, first), 0);
    EXPECT_TRUE(first.remainder.isEmpty());
    EXPECT_NE(sqliteEngine::executeFirst(connection, QStringLiteral("select nothing from Nowhere; select 1"), 10, table,
                                         error, first), 0);
    EXPECT_EQ(table.rowCount(), 0);
}

// The large page cache of the search pragmas makes a whole-table search several times slower
// unless the file is read through memory mapping, which every connection therefore asks for.
// A search or a scan of a whole large catalogue must not take the catalogue's size in memory.
TEST_F(SqliteEngineTest, connectionsReadPagesWithinASharedMemoryLimit)
{
    ASSERT_EQ(run(QStringLiteral("PRAGMA mmap_size;")), 0);
    EXPECT_EQ(table.cell(0, 1).toLongLong(), 0);
    ASSERT_EQ(run(QStringLiteral("PRAGMA soft_heap_limit;")), 0);
    EXPECT_EQ(table.cell(0, 1).toLongLong(), 48 << 20);
}

namespace {

// Every row a stream hands out, each cell as bytes with NULL kept apart from empty text.
struct StreamedRows
{
    std::vector<std::vector<std::optional<QByteArray>>> rows;
    QByteArrayList names;

    sqliteEngine::RowHandler handler(int stopAfter = -1)
    {
        return [this, stopAfter](const sqliteEngine::RowView &row) {
            if (names.isEmpty())
                for (int column = 0; column < row.columnCount(); ++column)
                    names << row.columnName(column).toByteArray();
            std::vector<std::optional<QByteArray>> cells;
            for (int column = 0; column < row.columnCount(); ++column)
                cells.push_back(row.isNull(column) ? std::nullopt : std::optional(row.utf8(column).toByteArray()));
            rows.push_back(std::move(cells));
            return int(rows.size()) == stopAfter ? sqliteEngine::RowAnswer::Stop : sqliteEngine::RowAnswer::Next;
        };
    }
};

} // namespace

TEST_F(SqliteEngineTest, streamedRowsHoldTheCellsTheTableHolds)
{
    ASSERT_EQ(run(QStringLiteral("create table T(a,b); insert into T values('x', NULL); insert into T values(12, '');"
                                 "insert into T values(x'ff00fe', 'Zürich – 東京'); insert into T values(1.5, x'');")),
              0);
    const QString select = QStringLiteral("select a, b from T order by rowid;");
    StreamedRows streamed;
    ASSERT_EQ(sqliteEngine::forEachRow(connection, select, streamed.handler(), error), 0) << error.toStdString();
    EXPECT_EQ(streamed.names, (QByteArrayList{"a", "b"}));
    using Cell = std::optional<QByteArray>;
    const std::vector<std::vector<Cell>> expected = {
        {QByteArray("x"), std::nullopt},
        {QByteArray("12"), QByteArray("")},
        {QByteArray("\xff\x00\xfe", 3), QStringLiteral("Zürich – 東京").toUtf8()},
        {QByteArray("1.5"), QByteArray("")},
    };
    EXPECT_EQ(streamed.rows, expected);

    // The text of every cell, a blob's bytes that are no UTF-8 among them, is the table's.
    ASSERT_EQ(run(select), 0);
    ASSERT_EQ(table.rowCount(), int(expected.size()));
    for (int row = 1; row <= table.rowCount(); ++row)
        for (int column = 0; column < 2; ++column)
            EXPECT_EQ(QString::fromUtf8(streamed.rows[row - 1][column].value_or(QByteArray())), table.cell(column, row))
                << row << "," << column;
}

TEST_F(SqliteEngineTest, aStreamRunsEveryStatementAndStopsWhenAsked)
{
    ASSERT_EQ(run(QStringLiteral("create table T(n); insert into T values(1),(2),(3);")), 0);
    StreamedRows all;
    ASSERT_EQ(sqliteEngine::forEachRow(connection, QStringLiteral("select n from T; select n * 10 from T;"), all.handler(), error), 0);
    EXPECT_EQ(all.rows.size(), 6u);

    // Stopped at the second row: no third row, the second statement (a write) never runs.
    StreamedRows two;
    ASSERT_EQ(sqliteEngine::forEachRow(connection, QStringLiteral("select n from T order by n; delete from T;"),
                                       two.handler(2), error), 0);
    ASSERT_EQ(two.rows.size(), 2u);
    EXPECT_EQ(two.rows[1][0], QByteArray("2"));
    ASSERT_EQ(run(QStringLiteral("select count(*) from T;")), 0);
    EXPECT_EQ(table.cell(0, 1), QStringLiteral("3"));
}

TEST_F(SqliteEngineTest, aStreamReportsAFailureMetAfterSomeRows)
{
    ASSERT_EQ(run(QStringLiteral("create table T(n); insert into T values(1),(2),(3);")), 0);
    StreamedRows streamed;
    // abs of the smallest integer overflows: the third row (n = 3) fails while stepping.
    const int rc = sqliteEngine::forEachRow(
        connection, QStringLiteral("select case when n < 3 then n else abs(n - 9223372036854775807 - 4) end from T;"),
        streamed.handler(), error);
    EXPECT_NE(rc, 0);
    EXPECT_EQ(error, QStringLiteral("integer overflow"));
    EXPECT_EQ(streamed.rows.size(), 2u);

    EXPECT_NE(sqliteEngine::forEachRow(connection, QStringLiteral("select * from NoSuchTable;"), streamed.handler(), error), 0);
    EXPECT_EQ(error, QStringLiteral("no such table: NoSuchTable"));
    EXPECT_NE(sqliteEngine::forEachRow(nullptr, QStringLiteral("select 1;"), streamed.handler(), error), 0);
}
