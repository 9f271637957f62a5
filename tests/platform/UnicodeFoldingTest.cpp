#include "platform/UnicodeFolding.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

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

// The engine lowers column values character by character; the search text is lowered by Qt.
// The two must agree on every character, or a whole-word search misses its own word.
TEST(UnicodeLower, engineLoweringAgreesWithQtForEveryCharacter)
{
    int checked = 0;
    for (char32_t point = 1; point <= 0x10FFFF; ++point) {
        if (point >= 0xD800 && point <= 0xDFFF)
            continue;
        const QString text = QString::fromUcs4(&point, 1) + QStringLiteral("Ab");
        const QByteArray utf8 = text.toUtf8();
        const QByteArray lowered = utf8Lower({utf8.constData(), std::size_t(utf8.size())});
        if (lowered != text.toLower().toUtf8()) {
            ADD_FAILURE() << "U+" << std::hex << unsigned(point);
            if (++checked > 10)
                break;
        }
    }
    EXPECT_EQ(checked, 0);
}

TEST(UnicodeLower, keepsBytesThatAreNotUtf8)
{
    const std::string text("A\xFF" "B\xC3", 4); // a stray byte and a cut sequence
    EXPECT_EQ(utf8Lower(text), QByteArray("a\xFF" "b\xC3", 4));
    std::string out;
    EXPECT_FALSE(lowerUtf8("\xC4\xB0", out)); // capital I with dot above: two characters
    EXPECT_EQ(utf8Lower("\xC4\xB0"), QString(QChar(0x130)).toLower().toUtf8());
}

namespace {

// Straightforward recursive LIKE over code points, as a reference for the fast matcher.
bool referenceLike(const std::u32string &pattern, std::size_t p, const std::u32string &text, std::size_t t,
                   char32_t escape)
{
    if (p == pattern.size())
        return t == text.size();
    char32_t c = pattern[p];
    if (c == escape) {
        if (p + 1 == pattern.size())
            return false;
        c = pattern[++p];
    } else if (c == U'%') {
        for (std::size_t k = t; k <= text.size(); ++k)
            if (referenceLike(pattern, p + 1, text, k, escape))
                return true;
        return false;
    } else if (c == U'_') {
        return t < text.size() && referenceLike(pattern, p + 1, text, t + 1, escape);
    }
    return t < text.size() && QChar::toCaseFolded(c) == QChar::toCaseFolded(text[t])
           && referenceLike(pattern, p + 1, text, t + 1, escape);
}

} // namespace

TEST(UnicodeLike, agreesWithAPlainRecursiveMatcherOnRandomInput)
{
    const std::u32string alphabet = U"aAbÉé\u212Ak%_!";
    std::mt19937 random(7);
    auto randomText = [&](int maxLength) {
        std::u32string text(std::size_t(random() % unsigned(maxLength + 1)), U' ');
        for (char32_t &c : text)
            c = alphabet[random() % alphabet.size()];
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::u32string pattern = randomText(6);
        const std::u32string text = randomText(8);
        const QString p = QString::fromStdU32String(pattern);
        const QString t = QString::fromStdU32String(text);
        SCOPED_TRACE((p + QStringLiteral(" ~ ") + t).toStdString());
        ASSERT_EQ(unicodeLike(p, t, QChar(u'!')), referenceLike(pattern, 0, text, 0, U'!'));
        ASSERT_EQ(unicodeLike(p, t), referenceLike(pattern, 0, text, 0, 0));
    }
}

// Catalogue values may hold any bytes (a hand-edited file, an old scan): cut sequences and stray
// bytes are single characters that match themselves, and nothing reads past the value.
TEST(UnicodeLike, arbitraryBytesMatchThemselvesAndInsideLongerText)
{
    std::mt19937 random(11);
    for (int round = 0; round < 5000; ++round) {
        std::string bytes(std::size_t(random() % 12), '\0');
        for (char &byte : bytes) {
            do
                byte = char(random() % 256);
            while (byte == '%' || byte == '_');
        }
        SCOPED_TRACE(QByteArray::fromStdString(bytes).toHex().toStdString());
        ASSERT_TRUE(LikePattern(bytes, std::nullopt).matches(bytes));
        ASSERT_TRUE(LikePattern("%" + bytes + "%", std::nullopt).matches("ab" + bytes + "\xC3"));
        ASSERT_TRUE(LikePattern("%", std::nullopt).matches(bytes));
        // Lowering keeps stray bytes, so a lowered value still matches the value it came from.
        // (Capital I with dot above goes through Qt's lowering, which has no place for them.)
        if (bytes.find("\xC4\xB0") == std::string::npos) {
            const QByteArray lowered = utf8Lower(bytes);
            ASSERT_TRUE(LikePattern(bytes, std::nullopt).matches({lowered.constData(), std::size_t(lowered.size())}));
        }
    }
}
