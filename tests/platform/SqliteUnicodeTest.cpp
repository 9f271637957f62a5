// The engine's like and lower as every catalogue connection has them: case-insensitive for every
// letter, with the statements unchanged.
#include "platform/SqliteEngine.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using zelvarion::test::TempFolder;

namespace {

class SqliteUnicodeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        connection = sqliteEngine::open(folder.file("unicode.db"), error);
        ASSERT_NE(connection, nullptr) << error.toStdString();
    }
    void TearDown() override { sqliteEngine::close(connection); }

    // The single cell of a one-value select; "<error>" when the statement failed.
    QString value(const QString &expression)
    {
        if (sqliteEngine::execute(connection, QStringLiteral("select ") + expression + u';', table, error) != 0)
            return QStringLiteral("<error>");
        return table.rowCount() == 1 ? table.cell(0, 1) : QStringLiteral("<no row>");
    }

    TempFolder folder;
    sqliteEngine::Connection *connection = nullptr;
    ResultTable table;
    QString error;
};

struct Case
{
    const char *expression;
    const char *expected;
};

} // namespace

TEST_F(SqliteUnicodeTest, likeIgnoresCaseOfAccentedLettersBothWays)
{
    const Case cases[] = {
        {"'Été à Paris' like '%été%'", "1"},
        {"'été à paris' like '%ÉTÉ%'", "1"},
        {"'ΟΔΥΣΣΕΑΣ' like 'οδυσσεας'", "1"},
        {"'ПРИВЕТ' like '%рив%'", "1"},
        {"'Ete' like 'été'", "0"},          // case, not accents
        {"'PARIS' like 'paris'", "1"},      // the ASCII path
        {"'Straße' like 'STRASSE'", "0"},   // one character for one
        {"'K' like '\u212A'", "1"},         // the Kelvin sign folds to k
        {"'xKy' like '%k%'", "1"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expression);
        EXPECT_EQ(value(QString::fromUtf8(c.expression)), QString::fromUtf8(c.expected));
    }
}

TEST_F(SqliteUnicodeTest, likeKeepsItsWildcardsAndEscape)
{
    const Case cases[] = {
        {"'été' like '_t_'", "1"},              // an accented letter is one character
        {"'🙂' like '_'", "1"},
        {"'🙂' like '__'", "0"},
        {"'' like '%'", "1"},
        {"'' like '_'", "0"},
        {"'abc' like 'a%c'", "1"},
        {"'aXbYbZ' like 'a%b%c'", "0"},
        {"'aaaab' like '%aab'", "1"},
        {"'100%' like '100!%' escape '!'", "1"},
        {"'1000' like '100!%' escape '!'", "0"},
        {"'a_c' like 'a#_c' escape '#'", "1"},
        {"'abc' like 'a#_c' escape '#'", "0"},
        {"'ab' like 'ab!' escape '!'", "0"},    // a trailing escape matches nothing
        {"'x%É' like 'x€%é' escape '€'", "1"},  // a multi-byte escape character
        {"'50% off' like '%50%'", "1"},          // without escape "%" stays a wildcard
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expression);
        EXPECT_EQ(value(QString::fromUtf8(c.expression)), QString::fromUtf8(c.expected));
    }
}

TEST_F(SqliteUnicodeTest, likeWithNullGivesNullAndABadEscapeIsAnError)
{
    EXPECT_EQ(value(QStringLiteral("coalesce(NULL like 'a', 'null')")), QStringLiteral("null"));
    EXPECT_EQ(value(QStringLiteral("coalesce('a' like NULL, 'null')")), QStringLiteral("null"));
    EXPECT_EQ(value(QStringLiteral("coalesce('a' like 'a' escape NULL, 'null')")), QStringLiteral("null"));
    EXPECT_EQ(value(QStringLiteral("'a' like 'a' escape 'xy'")), QStringLiteral("<error>"));
    EXPECT_TRUE(error.contains(QStringLiteral("ESCAPE"))) << error.toStdString();
    EXPECT_EQ(value(QStringLiteral("12 like '1_'")), QStringLiteral("1")); // numbers match as text
    EXPECT_EQ(value(QStringLiteral("x'41' like 'A'")), QStringLiteral("0")); // blobs never match
    // The engine's limit on pattern length holds as before.
    const QString huge = QStringLiteral("'a' like '%1'").arg(QString(60000, u'%'));
    EXPECT_EQ(value(huge), QStringLiteral("<error>"));
    EXPECT_TRUE(error.contains(QStringLiteral("too complex"))) << error.toStdString();
}

TEST_F(SqliteUnicodeTest, manyPatternsInOneStatementEachKeepTheirOwnMeaning)
{
    // More patterns than the compiled-pattern cache has places, each asked twice: once matching,
    // once not, so a pattern mistaken for another shows.
    QStringList terms;
    for (int i = 0; i < 80; ++i)
        terms << QStringLiteral("('w%1' like 'W%1')").arg(i) << QStringLiteral("('w%1' like 'W%2')").arg(i).arg(i + 1);
    ASSERT_EQ(sqliteEngine::execute(connection, QStringLiteral("select ") + terms.join(u',') + u';', table, error), 0)
        << error.toStdString();
    for (int i = 0; i < 80; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(table.cell(2 * i, 1), QStringLiteral("1"));
        EXPECT_EQ(table.cell(2 * i + 1, 1), QStringLiteral("0"));
    }
    EXPECT_EQ(value(QString::fromUtf8("'x%y' like 'x!%y' escape '!'")), QStringLiteral("1"));
    EXPECT_EQ(value(QString::fromUtf8("'x!%y' like 'x!%y'")), QStringLiteral("1")); // same text, no escape
    EXPECT_EQ(value(QString::fromUtf8("'x%y' like 'x!%y'")), QStringLiteral("0"));
}

TEST_F(SqliteUnicodeTest, lowerFoldsEveryLetterAndKeepsNull)
{
    const Case cases[] = {
        {"lower('ÉTÉ')", "été"},
        {"lower('Rue de PARIS, 12!')", "rue de paris, 12!"},
        {"lower('ΩΜΈΓΑ Ünïcode')", "ωμέγα ünïcode"},
        {"lower('')", ""},
        {"coalesce(lower(NULL), 'null')", "null"},
        {"lower(12)", "12"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expression);
        EXPECT_EQ(value(QString::fromUtf8(c.expression)), QString::fromUtf8(c.expected));
    }
}

TEST_F(SqliteUnicodeTest, globStaysCaseSensitiveSoWholeWordsGoThroughLower)
{
    EXPECT_EQ(value(QStringLiteral("'Paris' glob 'paris'")), QStringLiteral("0"));
    EXPECT_EQ(value(QString::fromUtf8("lower('Été, Paris') glob('été[ .:;,''!?\"]*')")), QStringLiteral("1"));
    EXPECT_EQ(value(QStringLiteral("'a*b' glob 'a[*]b'")), QStringLiteral("1"));
}

TEST_F(SqliteUnicodeTest, likeOverTableRowsUsesTheStatementsPatternForEachRow)
{
    ASSERT_EQ(sqliteEngine::execute(connection,
                                    QString::fromUtf8("create table T(v);"
                                                      "insert into T values('Été'),('ÉTÉ'),('hiver'),(NULL),('l''été');"),
                                    table, error), 0) << error.toStdString();
    ASSERT_EQ(sqliteEngine::execute(connection, QString::fromUtf8("select v from T where v like '%été%' order by rowid;"),
                                    table, error), 0);
    ASSERT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.cell(0, 1), QString::fromUtf8("Été"));
    EXPECT_EQ(table.cell(0, 2), QString::fromUtf8("ÉTÉ"));
    EXPECT_EQ(table.cell(0, 3), QString::fromUtf8("l'été"));
    // A pattern taken from each row changes from row to row.
    ASSERT_EQ(sqliteEngine::execute(connection, QStringLiteral("select count(*) from T a, T b where a.v like b.v;"),
                                    table, error), 0);
    EXPECT_EQ(table.cell(0, 1), QStringLiteral("6")); // 4 rows match themselves, Été and ÉTÉ each other, NULL nothing
}

TEST_F(SqliteUnicodeTest, everyNewConnectionHasTheFunctions)
{
    sqliteEngine::Connection *second = sqliteEngine::open(folder.file("other.db"), error);
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(sqliteEngine::execute(second, QString::fromUtf8("select 'ÉLAN' like 'élan', lower('Ä');"), table, error), 0);
    EXPECT_EQ(table.cell(0, 1), QStringLiteral("1"));
    EXPECT_EQ(table.cell(1, 1), QString::fromUtf8("ä"));
    sqliteEngine::close(second);
}
