#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringView>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvarion {

// The engine's own like and lower fold ASCII letters only, so a search for "élan" would miss
// "Élan". These replace them on every catalogue connection; the engine hands its values over as
// UTF-8, so the matching works on UTF-8 bytes and takes a byte-wise path for ASCII.

// An SQL LIKE pattern decoded and case-folded once, then matched against many values.
// "%" matches any run of characters, "_" exactly one character (code point), the escape
// character makes the next one literal; a pattern that ends in its escape matches nothing.
// Letters compare through Unicode simple case folding: one character for one, no accent folding.
// Bytes that are not valid UTF-8 stand for themselves, one by one.
class LikePattern
{
public:
    LikePattern(std::string_view utf8Pattern, std::optional<char32_t> escape);

    bool matches(std::string_view utf8Text) const;

private:
    enum class Kind : unsigned char { Literal, AnyRun, OneChar };
    struct Token
    {
        Kind kind;
        char32_t point; // folded, for Literal
    };

    std::vector<Token> m_tokens;
    bool m_matchesNothing = false;
};

// The one escape character of a three-argument like, or nothing when the text is not exactly
// one character.
std::optional<char32_t> singleCodePoint(std::string_view utf8Text);

// Writes the lower case of ASCII text to out (text.size() bytes); false, with out partly
// written, as soon as a byte is not ASCII.
bool lowerAscii(std::string_view text, char *out);

// Lower case of every character of UTF-8 text into out, one character for one; false when a
// character lowers to more than one (then take utf8Lower). Invalid bytes are kept as they are.
bool lowerUtf8(std::string_view text, std::string &out);

// Lower case of every letter of UTF-8 text. The same mapping as QString::toLower, which lowers
// the search text, so a whole-word search compares like with like.
QByteArray utf8Lower(std::string_view utf8Text);

// Appends the case-folded form of UTF-8 text to out, one character for one as the like above
// folds it, for a substring index that must find every value a like finds. False when the text
// holds something for which a folded substring could differ from what like or lower() match:
// bytes that are not UTF-8, or a character whose lower case folds otherwise than itself or is
// more than one character. Such a value is never left to the index alone.
bool appendSearchFolded(std::string_view utf8Text, std::string &out);

// The same two operations on Qt text, for callers outside the engine.
bool unicodeLike(QStringView pattern, QStringView text, std::optional<QChar> escape = std::nullopt);
QString unicodeLower(QStringView text);

} // namespace zelvarion
