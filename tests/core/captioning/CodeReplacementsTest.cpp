// Code replacements: the files read (a code given twice, lines that are no code, a file that
// cannot be read), codes expanded in a whole text, and the code a delimiter just typed closes.
#include "core/captioning/CodeReplacements.h"
#include "core/session/LanguagePack.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

std::string str(const QString &text) { return text.toStdString(); }

CodeReplacements parsed(const char *text, std::vector<CodeFileProblem> *problems = nullptr)
{
    std::vector<CodeFileProblem> found;
    CodeReplacements codes;
    codes.parse(QString::fromUtf8(text), QStringLiteral("codes.txt"), problems ? *problems : found);
    return codes;
}

} // namespace

TEST(CodeFiles, linesGiveCodesWithTheirReplacementsInOrder)
{
    std::vector<CodeFileProblem> problems;
    const CodeReplacements codes = parsed("\xEF\xBB\xBF" "cc8\tCentre culturel\tCC de Lyon\r\n"
                                          "# a comment\n\n   \n"
                                          "empty\t\n"
                                          "sea\tLa mer\t\tthird\n",
                                          &problems);
    EXPECT_TRUE(problems.empty());
    const std::pair<const char *, std::optional<const char *>> cases[] = {
        {"cc8", "Centre culturel"}, {"cc8#1", "Centre culturel"}, {"cc8#2", "CC de Lyon"}, {"cc8#3", std::nullopt},
        {"cc8#0", std::nullopt},    {"cc8#x", std::nullopt},      {"cc8#", std::nullopt},     {"cc8#+2", std::nullopt},
        {"CC8", std::nullopt},      {"empty", ""},                {"sea#2", ""},              {"sea#3", "third"},
        {"nope", std::nullopt},
    };
    for (const auto &[typed, expected] : cases) {
        const std::optional<QString> replacement = codes.replacement(QString::fromUtf8(typed));
        ASSERT_EQ(replacement.has_value(), expected.has_value()) << typed;
        if (expected) {
            EXPECT_EQ(str(*replacement), *expected) << typed;
        }
    }
}

TEST(CodeFiles, linesThatAreNoCodeAndCodesGivenTwiceAreReported)
{
    std::vector<CodeFileProblem> problems;
    const CodeReplacements codes = parsed("no tab here\n"
                                          "two words\tx\n"
                                          "\tno code\n"
                                          "a#1\tx\n"
                                          "ok\tfirst\n"
                                          "ok\tsecond\n",
                                          &problems);
    ASSERT_EQ(problems.size(), 5u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(problems[std::size_t(i)].kind, CodeFileProblem::Kind::Malformed);
        EXPECT_EQ(problems[std::size_t(i)].line, i + 1);
    }
    EXPECT_EQ(problems[4].kind, CodeFileProblem::Kind::Twice);
    EXPECT_EQ(problems[4].line, 6);
    EXPECT_EQ(str(*codes.replacement(QStringLiteral("ok"))), "first");
}

TEST(CodeFiles, aCodeInTwoFilesKeepsTheFirstAndNamesBoth)
{
    TempFolder folder;
    const QString first = folder.write(QStringLiteral("first.txt"), "cc8\tCentre culturel\n");
    const QString second = folder.write(QStringLiteral("second 100%.txt"), "x\ty\ncc8\tautre\n");
    std::vector<CodeFileProblem> problems;
    const CodeReplacements codes =
        CodeReplacements::load({first, second, folder.file(QStringLiteral("missing.txt"))}, problems);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].kind, CodeFileProblem::Kind::Twice);
    EXPECT_EQ(problems[0].earlierFile, first);
    EXPECT_EQ(problems[0].file, second);
    EXPECT_EQ(problems[1].kind, CodeFileProblem::Kind::Unreadable);
    EXPECT_EQ(str(*codes.replacement(QStringLiteral("cc8"))), "Centre culturel");
    EXPECT_EQ(str(*codes.replacement(QStringLiteral("x"))), "y");
    // Told in one pass: the "%" of the file name stays as it is.
    const QString told = codeFileProblemText(problems[0], nullptr);
    EXPECT_TRUE(told.contains(QStringLiteral("cc8")) && told.contains(first) && told.contains(second + QStringLiteral(":2")))
        << str(told);
}

TEST(CodeExpansion, knownCodesAreReplacedAndUnknownOnesStayAndAreListed)
{
    const CodeReplacements codes = parsed("cc8\tCentre culturel\tCC\nsea\tLa mer\n");
    struct Case
    {
        const char *text;
        const char *expanded;
        QStringList unknown;
    };
    const Case cases[] = {
        {"", "", {}},
        {"no code", "no code", {}},
        {"=cc8=", "Centre culturel", {}},
        {"Au =cc8#2=, =sea=.", "Au CC, La mer.", {}},
        {"=cc8==sea=", "Centre culturelLa mer", {}},
        {"a = b = c", "a = b = c", {}},
        {"x==y", "x==y", {}},
        {"=nope= then =sea=", "=nope= then La mer", {QStringLiteral("=nope=")}},
        {"=cc8#9=", "=cc8#9=", {QStringLiteral("=cc8#9=")}},
        {"=nope=sea=", "=nopeLa mer", {QStringLiteral("=nope=")}},
        {"trailing =cc8", "trailing =cc8", {}},
    };
    for (const Case &c : cases) {
        const CodesExpanded expanded = expandCodes(QString::fromUtf8(c.text), u'=', codes);
        EXPECT_EQ(str(expanded.text), c.expanded) << c.text;
        EXPECT_EQ(expanded.unknown, c.unknown) << c.text;
    }
    EXPECT_EQ(str(expandCodes(QStringLiteral("/cc8/ and =cc8="), u'/', codes).text), "Centre culturel and =cc8=");
}

TEST(CodeExpansion, theCodeTheDelimiterJustTypedCloses)
{
    struct Case
    {
        const char *text;
        qsizetype cursor;
        std::optional<std::pair<qsizetype, const char *>> code;
    };
    const Case cases[] = {
        {"=cc8=", 5, std::pair<qsizetype, const char *>{0, "cc8"}},
        {"Au =cc8#2=", 10, std::pair<qsizetype, const char *>{3, "cc8#2"}},
        {"=a= =b=", 7, std::pair<qsizetype, const char *>{4, "b"}},
        {"=cc8= and more", 5, std::pair<qsizetype, const char *>{0, "cc8"}},
        {"=cc8= and more", 14, std::nullopt},
        {"==", 2, std::nullopt},
        {"a = b =", 7, std::nullopt},
        {"cc8=", 4, std::nullopt},
        {"=", 1, std::nullopt},
        {"", 0, std::nullopt},
        {"=cc8=", 9, std::nullopt},
    };
    for (const Case &c : cases) {
        const std::optional<TypedCode> typed = codeEndingAt(QString::fromUtf8(c.text), c.cursor, u'=');
        ASSERT_EQ(typed.has_value(), c.code.has_value()) << c.text << " at " << c.cursor;
        if (!typed)
            continue;
        EXPECT_EQ(typed->start, c.code->first) << c.text;
        EXPECT_EQ(typed->end, c.cursor) << c.text;
        EXPECT_EQ(str(typed->typed), c.code->second) << c.text;
    }
}

TEST(CodeExpansion, aDelimiterIsOneCharacterThatCannotBeInACode)
{
    for (const char *good : {"=", "/", "§", "%", "\xC2\xA4"})
        EXPECT_TRUE(codeDelimiterFrom(QString::fromUtf8(good))) << good;
    for (const char *bad : {"", "==", "a", "7", " ", "#", "\t"})
        EXPECT_FALSE(codeDelimiterFrom(QString::fromUtf8(bad))) << bad;
}

TEST(CodeExpansion, anUnknownCodeIsToldInThePacksWords)
{
    LanguagePack pack;
    pack.parse(QStringLiteral("[Messages]\n406=Code inconnu : #\n"));
    EXPECT_EQ(str(unknownCodeText(QStringLiteral("=zz="), &pack)), "Code inconnu : =zz=");
    EXPECT_TRUE(unknownCodeText(QStringLiteral("=zz="), nullptr).contains(QStringLiteral("=zz=")));
}
