#include "core/search/UnicodeFolding.h"

#include <gtest/gtest.h>

using namespace zelvarion;

namespace {

struct LikeCase
{
    const char16_t *pattern;
    const char16_t *text;
    bool matches;
};

void expectLike(std::initializer_list<LikeCase> cases, std::optional<QChar> escape = std::nullopt)
{
    for (const LikeCase &c : cases) {
        const QString pattern = QString::fromUtf16(c.pattern);
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE((pattern + QStringLiteral(" ~ ") + text).toStdString());
        EXPECT_EQ(unicodeLike(pattern, text, escape), c.matches);
    }
}

} // namespace

TEST(UnicodeLike, followsSqlWildcards)
{
    expectLike({
        {u"", u"", true},
        {u"", u"a", false},
        {u"%", u"", true},
        {u"%%", u"abc", true},
        {u"_", u"", false},
        {u"_", u"a", true},
        {u"a_c", u"abc", true},
        {u"a_c", u"ac", false},
        {u"%paris%", u"Rue de Paris", true},
        {u"%paris%", u"Pari", false},
        {u"a%b%c", u"aXbYbZc", true},
        {u"a%b%c", u"aXbYbZ", false},
        {u"%aab", u"aaaab", true},   // needs a return to the last %
        {u"%ab%ab", u"abXab", true},
        {u"abc", u"abcd", false},
    });
}

TEST(UnicodeLike, foldsCaseOfEveryLetter)
{
    expectLike({
        {u"paris", u"PARIS", true},
        {u"%élan%", u"Un ÉLAN vital", true},
        {u"straße", u"STRASSE", false}, // simple folding keeps one character for one
        {u"ΣΟΦΙΑ", u"σοφια", true},
        {u"%ς", u"ΛΟΓΟΣ", true},        // final sigma folds like sigma
        {u"привет", u"ПРИВЕТ", true},
        {u"é", u"e", false},            // no accent folding
        {u"_", u"É", true},
    });
}

TEST(UnicodeLike, treatsASurrogatePairAsOneCharacter)
{
    expectLike({
        {u"_", u"\U0001F600", true},
        {u"__", u"\U0001F600", false},
        {u"a_b", u"a\U0001D400b", true},
        {u"%\U00010428%", u"x\U00010400y", true}, // Deseret capital and small letter
    });
}

TEST(UnicodeLike, escapeMakesWildcardsLiteral)
{
    expectLike({
        {u"100!%", u"100%", true},
        {u"100!%", u"1000", false},
        {u"a!_c", u"a_c", true},
        {u"a!_c", u"abc", false},
        {u"a!!b", u"a!b", true},
        {u"ab!", u"ab", false}, // a trailing escape matches nothing
        {u"ab!", u"ab!", false},
    }, QChar(u'!'));
    EXPECT_TRUE(unicodeLike(u"100!%", u"100!XYZ"));
}

TEST(UnicodeLower, lowersEveryLetterAndLeavesTheRest)
{
    EXPECT_EQ(unicodeLower(u"Rue de PARIS, 12!"), QStringLiteral("rue de paris, 12!"));
    EXPECT_EQ(unicodeLower(u"ÉLAN Ωμέγα"), QString::fromUtf16(u"élan ωμέγα"));
    EXPECT_EQ(unicodeLower(u"\U00010400"), QString::fromUtf16(u"\U00010428"));
    EXPECT_EQ(unicodeLower(u""), QString());
}
