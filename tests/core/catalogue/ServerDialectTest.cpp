// The server dialect's translations, without a server: glob patterns as regular expressions
// match exactly what the file engine's glob matches, and the lexing never rewrites inside quotes.
#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/ServerDialect.h"
#include "core/catalogue/SqlText.h"

#include "support/TempFolder.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

TEST(ServerDialect, globAsARegularExpressionMatchesWhatTheFileEngineMatches)
{
    const QStringList patterns = {
        u8("*[ .:;,''!?\"]paris[ .:;,''!?\"]*"), u8("paris[ .]*"), u8("*[/ .]été"), u8("a?c"), u8("*[^0-9]*"),
        u8("[[]x]"), u8("[*]star[?]"), u8("[]]"), u8("[^]]"), u8("a.b"), u8("(x)+"), u8("100%"), u8("back\\slash"),
        u8("[x"), u8("x$"), u8("^x"), u8("{1}"), u8("a|b"), u8("[a-c]*"), u8("*"), u8("")};
    const QStringList texts = {
        u8("paris"), u8("le paris."), u8("l'eau, paris!"), u8("paris lake"), u8("/photos/été"), u8("abc"), u8("a\nc"),
        u8("123"), u8("12a"), u8("[x]"), u8("*star?"), u8("]"), u8("x"), u8("a.b"), u8("axb"), u8("(x)+"), u8("xx"),
        u8("100%"), u8("back\\slash"), u8("[x"), u8("x$"), u8("^x"), u8("{1}"), u8("a|b"), u8("b"), u8("bz"), u8("")};
    TempFolder folder;
    CatalogueDb db;
    db.path = folder.file(u8("glob.db"));
    ASSERT_TRUE(db.open());
    for (const QString &pattern : patterns) {
        const QRegularExpression regex(serverDialect::globToRegex(pattern),
                                       QRegularExpression::DotMatchesEverythingOption);
        ASSERT_TRUE(regex.isValid()) << pattern.toStdString() << ": " << regex.errorString().toStdString();
        for (const QString &text : texts) {
            ASSERT_EQ(db.execute(QStringLiteral("select %1 glob %2;").arg(sqlText(text), sqlText(pattern))), 0);
            EXPECT_EQ(regex.match(text).hasMatch(), db.cell(0, 1) == u"1")
                << "glob '" << pattern.toStdString() << "' on '" << text.toStdString() << "'";
        }
    }
}

TEST(ServerDialect, quotedTextIsNeverTranslated)
{
    const std::string translated = serverDialect::translate(
        u8("select 'begin; like Images ?' as \"x;y\" from Images where File like 'a;b' -- ; pragma x;\n"
           "and Caption glob '*''?*' and Folder = ?;")).toStdString();
    EXPECT_EQ(translated,
              u8("select 'begin; like Images ?' as \"x;y\" from \"Images\" where \"File\" ilike 'a;b' collate "
                 "\"default\" escape ''  \nand \"Caption\" ~ '^(?:.*''..*)$' and \"Folder\" = $1 order by rowid;")
                  .toStdString());
    // Settings mean nothing to the server; the transaction words become its own.
    EXPECT_EQ(serverDialect::translate(u8("PRAGMA cache_size = -2000; begin immediate transaction; end transaction X;"))
                  .toStdString(),
              "begin;\ncommit;");
}

} // namespace
