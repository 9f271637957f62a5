#include "core/search/UnicodeFolding.h"

#include <QVarLengthArray>

namespace zelvarion {

namespace {

using CodePoints = QVarLengthArray<char32_t, 256>;

bool isAscii(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

char16_t asciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }

// Code points of the text; a lone surrogate stands for itself.
CodePoints codePoints(QStringView text)
{
    CodePoints points;
    points.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            points.append(QChar::surrogateToUcs4(c, text[i + 1]));
            ++i;
        } else {
            points.append(c.unicode());
        }
    }
    return points;
}

CodePoints foldedCodePoints(QStringView text, bool ascii)
{
    CodePoints points = codePoints(text);
    for (char32_t &point : points)
        point = ascii ? asciiLower(char16_t(point)) : QChar::toCaseFolded(point);
    return points;
}

enum class TokenKind { Literal, AnyRun, OneChar };

struct PatternToken
{
    TokenKind kind;
    char32_t point; // folded, for Literal
};

using Pattern = QVarLengthArray<PatternToken, 64>;

// Empty optional for a pattern that ends in its escape character: it matches nothing.
std::optional<Pattern> compilePattern(const CodePoints &folded, const CodePoints &raw,
                                      std::optional<char32_t> escape)
{
    Pattern tokens;
    bool escaped = false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char32_t point = raw[i];
        if (escaped) {
            tokens.append({TokenKind::Literal, folded[i]});
            escaped = false;
        } else if (escape && point == *escape) {
            escaped = true;
        } else if (point == U'%') {
            if (tokens.isEmpty() || tokens.last().kind != TokenKind::AnyRun)
                tokens.append({TokenKind::AnyRun, 0});
        } else if (point == U'_') {
            tokens.append({TokenKind::OneChar, 0});
        } else {
            tokens.append({TokenKind::Literal, folded[i]});
        }
    }
    if (escaped)
        return std::nullopt;
    return tokens;
}

// Greedy match that returns to the last "%" on a mismatch; with single-character tokens this
// is exact and needs no recursion.
bool matches(const Pattern &pattern, const CodePoints &text)
{
    qsizetype p = 0;
    qsizetype t = 0;
    qsizetype anyRunAt = -1;
    qsizetype resumeAt = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p].kind == TokenKind::AnyRun) {
            anyRunAt = p++;
            resumeAt = t;
        } else if (p < pattern.size()
                   && (pattern[p].kind == TokenKind::OneChar || pattern[p].point == text[t])) {
            ++p;
            ++t;
        } else if (anyRunAt >= 0) {
            p = anyRunAt + 1;
            t = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p].kind == TokenKind::AnyRun)
        ++p;
    return p == pattern.size();
}

} // namespace

bool unicodeLike(QStringView pattern, QStringView text, std::optional<QChar> escape)
{
    const bool ascii = isAscii(pattern) && isAscii(text);
    const std::optional<char32_t> escapePoint =
        escape ? std::optional<char32_t>(escape->unicode()) : std::nullopt;
    const std::optional<Pattern> tokens =
        compilePattern(foldedCodePoints(pattern, ascii), codePoints(pattern), escapePoint);
    return tokens && matches(*tokens, foldedCodePoints(text, ascii));
}

QString unicodeLower(QStringView text)
{
    if (!isAscii(text))
        return text.toString().toLower();
    QString lower(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        lower[i] = QChar(asciiLower(text[i].unicode()));
    return lower;
}

} // namespace zelvarion
