#include "cli/CommandLine.h"

#include <gtest/gtest.h>

using namespace zelvarion::cli;

namespace {

const CommandSyntax kSyntax{"try", "FILE...", "Tries things.",
                        {{"--json", nullptr, "as JSON"},
                         {"--catalogue", "DB", "the catalogue"},
                         {"--set", "Column=Value", "sets a field", true}}};

QStringList args(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *text : texts)
        list << QString::fromUtf8(text);
    return list;
}

ParseResult parse(std::initializer_list<const char *> texts) { return parseArguments(kSyntax, args(texts)); }

TEST(CommandLine, optionsMayStandBeforeBetweenOrAfterTheOperands)
{
    for (const auto &given : {args({"--json", "--catalogue", "c.db", "a", "b"}), args({"a", "--json", "b", "--catalogue=c.db"}),
                              args({"a", "b", "--catalogue", "c.db", "--json"})}) {
        const ParseResult result = parseArguments(kSyntax, given);
        ASSERT_EQ(result.kind, ParseResult::Kind::Parsed) << result.problem.toStdString();
        EXPECT_TRUE(result.arguments.flag("--json"));
        EXPECT_EQ(result.arguments.value("--catalogue"), QStringLiteral("c.db"));
        EXPECT_EQ(result.arguments.operands, args({"a", "b"}));
    }
    const ParseResult bare = parse({"a"});
    EXPECT_FALSE(bare.arguments.flag("--json"));
    EXPECT_FALSE(bare.arguments.value("--catalogue").has_value());
}

TEST(CommandLine, repeatedOptionsKeepTheirOrderAndValuesMayLookLikeAnything)
{
    const ParseResult result = parse({"--set", "City=Bonn", "x.jpg", "--set=Caption=a=b", "--set", "", "--catalogue", "-1"});
    ASSERT_EQ(result.kind, ParseResult::Kind::Parsed) << result.problem.toStdString();
    EXPECT_EQ(result.arguments.values("--set"), args({"City=Bonn", "Caption=a=b", ""}));
    EXPECT_EQ(result.arguments.value("--catalogue"), QStringLiteral("-1"));
    EXPECT_EQ(result.arguments.operands, args({"x.jpg"}));
}

TEST(CommandLine, doubleDashEndsTheOptionsAndALoneDashIsAnOperand)
{
    const ParseResult result = parse({"--json", "-", "--", "--catalogue", "-x", "--help"});
    ASSERT_EQ(result.kind, ParseResult::Kind::Parsed) << result.problem.toStdString();
    EXPECT_EQ(result.arguments.operands, args({"-", "--catalogue", "-x", "--help"}));
    EXPECT_FALSE(result.arguments.value("--catalogue").has_value());
}

// What used to be taken for a file name, or silently dropped, is refused before anything runs.
TEST(CommandLine, refusesWhatItCannotRead)
{
    const struct
    {
        std::initializer_list<const char *> given;
        const char *problem;
    } cases[] = {
        {{"--bogus", "a"}, "unknown option '--bogus'"},
        {{"a", "--jsonx"}, "unknown option '--jsonx'"},
        {{"-j", "a"}, "unknown option '-j'"},
        {{"a", "--catalogue"}, "--catalogue needs a value (DB)"},
        {{"--catalogue", "--json", "a"}, "--catalogue needs a value (DB)"},
        {{"--json=1", "a"}, "--json takes no value"},
        {{"--catalogue", "x", "--catalogue=y"}, "--catalogue is given twice"},
        {{"--json", "--json"}, "--json is given twice"},
    };
    for (const auto &c : cases) {
        const ParseResult result = parseArguments(kSyntax, args(c.given));
        EXPECT_EQ(result.kind, ParseResult::Kind::Refused) << c.problem;
        EXPECT_TRUE(result.problem.startsWith(QString::fromUtf8(c.problem))) << result.problem.toStdString();
    }
}

TEST(CommandLine, helpIsAnsweredWhateverStandsBesideIt)
{
    EXPECT_EQ(parse({"--help"}).kind, ParseResult::Kind::Help);
    EXPECT_EQ(parse({"a", "-h"}).kind, ParseResult::Kind::Help);
    EXPECT_EQ(parse({"--bogus", "--catalogue", "--help"}).kind, ParseResult::Kind::Help);
    EXPECT_EQ(parse({"--", "--help"}).kind, ParseResult::Kind::Parsed);

    const QString usage = usageText(kSyntax);
    EXPECT_TRUE(usage.startsWith(QStringLiteral("Usage: zelvarion-cli try [OPTIONS] FILE...\nTries things.\n")));
    for (const char *line : {"  --json              as JSON\n", "  --catalogue DB      the catalogue\n",
                             "  --set Column=Value  sets a field (may be repeated)\n", "  -h, --help          prints this text\n"})
        EXPECT_TRUE(usage.contains(QString::fromUtf8(line))) << line << usage.toStdString();
}

TEST(CommandLine, programOptionsAreTakenOnlyBeforeTheEndOfOptions)
{
    QStringList given = args({"search", "--program-folder", "/p", "paris"});
    EXPECT_EQ(takeGlobalOption(given, QStringLiteral("--program-folder")), QStringLiteral("/p"));
    EXPECT_EQ(given, args({"search", "paris"}));
    QStringList joined = args({"--program-folder=/q", "read"});
    EXPECT_EQ(takeGlobalOption(joined, QStringLiteral("--program-folder")), QStringLiteral("/q"));
    QStringList after = args({"search", "--", "--program-folder", "/p"});
    EXPECT_FALSE(takeGlobalOption(after, QStringLiteral("--program-folder")));
    EXPECT_EQ(after.size(), 4);
}

} // namespace
