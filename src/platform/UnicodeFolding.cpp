#include "platform/UnicodeFolding.h"

#include <array>
#include <string>

namespace zelvarion {

namespace {

// Invalid bytes decode to values above the last code point, so they match only themselves.
constexpr char32_t kInvalidByteBase = 0x110000;
constexpr char32_t kLastCodePoint = 0x10FFFF;

constexpr std::array<unsigned char, 128> makeAsciiLower()
{
    std::array<unsigned char, 128> table{};
    for (int c = 0; c < 128; ++c)
        table[std::size_t(c)] = (c >= 'A' && c <= 'Z') ? char(c + 32) : char(c);
    return table;
}
constexpr std::array<unsigned char, 128> kAsciiLower = makeAsciiLower();

// The code point at bytes[at], moving at past it. A cut, malformed or overlong sequence yields
// its first byte alone, so nothing past the end is ever read.
char32_t decodeAt(std::string_view bytes, std::size_t &at)
{
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    std::size_t length = 0;
    char32_t point = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        point = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        point = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        point = lead & 0x07;
    }
    if (length == 0 || bytes.size() - at < length) {
        ++at;
        return kInvalidByteBase + lead;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[at + k]);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return kInvalidByteBase + lead;
        }
        point = (point << 6) | (next & 0x3F);
    }
    // Overlong forms and values past the last code point are not UTF-8 either.
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < kSmallest[length] || point > kLastCodePoint) {
        ++at;
        return kInvalidByteBase + lead;
    }
    at += length;
    return point;
}

char32_t folded(char32_t point)
{
    if (point < 0x80)
        return kAsciiLower[point];
    return point <= kLastCodePoint ? QChar::toCaseFolded(point) : point;
}

char32_t foldedAt(std::string_view bytes, std::size_t &at)
{
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) { // most catalogue text: no decoding, one table look-up
        ++at;
        return kAsciiLower[lead];
    }
    return folded(decodeAt(bytes, at));
}

// From at, the first position where a literal (folded) could start. For an ASCII literal a
// non-ASCII character stops the skip, since some fold to ASCII letters (the Kelvin sign to k);
// a non-ASCII literal can start only at a non-ASCII character, as ASCII folds to ASCII.
std::size_t skipToCandidate(std::string_view bytes, std::size_t at, char32_t literal)
{
    if (literal >= 0x80) {
        while (at < bytes.size() && static_cast<unsigned char>(bytes[at]) < 0x80)
            ++at;
        return at;
    }
    while (at < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (byte >= 0x80 || kAsciiLower[byte] == literal)
            break;
        ++at;
    }
    return at;
}

void appendUtf8(std::string &out, char32_t point)
{
    if (point < 0x80) {
        out.push_back(char(point));
    } else if (point < 0x800) {
        out.push_back(char(0xC0 | (point >> 6)));
        out.push_back(char(0x80 | (point & 0x3F)));
    } else if (point < 0x10000) {
        out.push_back(char(0xE0 | (point >> 12)));
        out.push_back(char(0x80 | ((point >> 6) & 0x3F)));
        out.push_back(char(0x80 | (point & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (point >> 18)));
        out.push_back(char(0x80 | ((point >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((point >> 6) & 0x3F)));
        out.push_back(char(0x80 | (point & 0x3F)));
    }
}

} // namespace

LikePattern::LikePattern(std::string_view utf8Pattern, std::optional<char32_t> escape)
{
    m_tokens.reserve(utf8Pattern.size());
    bool escaped = false;
    std::size_t at = 0;
    while (at < utf8Pattern.size()) {
        const char32_t point = decodeAt(utf8Pattern, at);
        if (escaped) {
            m_tokens.push_back({Kind::Literal, folded(point)});
            escaped = false;
        } else if (escape && point == *escape) {
            escaped = true;
        } else if (point == U'%') {
            if (m_tokens.empty() || m_tokens.back().kind != Kind::AnyRun)
                m_tokens.push_back({Kind::AnyRun, 0});
        } else if (point == U'_') {
            m_tokens.push_back({Kind::OneChar, 0});
        } else {
            m_tokens.push_back({Kind::Literal, folded(point)});
        }
    }
    m_matchesNothing = escaped;
}

// Greedy match that returns to the last "%" on a mismatch; with single-character tokens this
// is exact and needs no recursion, so no pattern can exhaust the stack.
bool LikePattern::matches(std::string_view text) const
{
    if (m_matchesNothing)
        return false;
    constexpr std::size_t kNone = std::size_t(-1);
    const std::size_t count = m_tokens.size();
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t anyRunAt = kNone;
    std::size_t resumeAt = 0;
    auto resumeAfterAnyRun = [&] {
        p = anyRunAt + 1;
        const Token &next = m_tokens[p];
        if (next.kind == Kind::Literal)
            resumeAt = skipToCandidate(text, resumeAt, next.point);
        t = resumeAt;
    };
    while (t < text.size()) {
        if (p < count && m_tokens[p].kind == Kind::AnyRun) {
            anyRunAt = p;
            if (p + 1 == count)
                return true; // a trailing "%" takes the rest
            resumeAt = t;
            resumeAfterAnyRun();
            continue;
        }
        std::size_t next = t;
        const char32_t point = foldedAt(text, next);
        if (p < count && (m_tokens[p].kind == Kind::OneChar || m_tokens[p].point == point)) {
            ++p;
            t = next;
        } else if (anyRunAt != kNone) {
            decodeAt(text, resumeAt); // the "%" takes one more character
            resumeAfterAnyRun();
        } else {
            return false;
        }
    }
    while (p < count && m_tokens[p].kind == Kind::AnyRun)
        ++p;
    return p == count;
}

std::optional<char32_t> singleCodePoint(std::string_view utf8Text)
{
    if (utf8Text.empty())
        return std::nullopt;
    std::size_t at = 0;
    const char32_t point = decodeAt(utf8Text, at);
    if (at != utf8Text.size())
        return std::nullopt;
    return point;
}

bool lowerAscii(std::string_view text, char *out)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80)
            return false;
        out[i] = char(kAsciiLower[byte]);
    }
    return true;
}

namespace {

// Appends text to out with ASCII lowered and invalid bytes copied as they stand (noted in
// sawInvalidByte); every other code point goes to mapPoint, which appends what stands for it or
// answers false to end the walk there. False when the walk was ended.
template <typename MapPoint>
bool appendLoweredWith(std::string_view text, std::string &out, bool &sawInvalidByte, MapPoint mapPoint)
{
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            out.push_back(char(kAsciiLower[lead]));
            ++at;
            continue;
        }
        const char32_t point = decodeAt(text, at);
        if (point > kLastCodePoint) {
            sawInvalidByte = true;
            out.push_back(char(point - kInvalidByteBase));
            continue;
        }
        if (!mapPoint(point))
            return false;
    }
    return true;
}

} // namespace

bool lowerUtf8(std::string_view text, std::string &out)
{
    out.clear();
    out.reserve(text.size() + 8);
    bool sawInvalidByte = false;
    return appendLoweredWith(text, out, sawInvalidByte, [&out](char32_t point) {
        // Capital I with dot above lowers to two characters; Qt's text lowering knows that.
        if (point == 0x130)
            return false;
        appendUtf8(out, QChar::toLower(point));
        return true;
    });
}

bool appendSearchFolded(std::string_view text, std::string &out)
{
    bool regular = true;
    bool sawInvalidByte = false;
    appendLoweredWith(text, out, sawInvalidByte, [&](char32_t point) {
        const char32_t fold = folded(point);
        if (point == 0x130 || folded(QChar::toLower(point)) != fold)
            regular = false;
        appendUtf8(out, fold);
        return true;
    });
    return regular && !sawInvalidByte;
}

QByteArray utf8Lower(std::string_view utf8Text)
{
    QByteArray lower(qsizetype(utf8Text.size()), Qt::Uninitialized);
    if (lowerAscii(utf8Text, lower.data()))
        return lower;
    std::string lowered;
    if (lowerUtf8(utf8Text, lowered))
        return QByteArray(lowered.data(), qsizetype(lowered.size()));
    return QString::fromUtf8(utf8Text.data(), qsizetype(utf8Text.size())).toLower().toUtf8();
}

bool unicodeLike(QStringView pattern, QStringView text, std::optional<QChar> escape)
{
    const QByteArray pattern8 = pattern.toUtf8();
    const QByteArray text8 = text.toUtf8();
    const std::optional<char32_t> escapePoint =
        escape ? std::optional<char32_t>(escape->unicode()) : std::nullopt;
    return LikePattern({pattern8.constData(), std::size_t(pattern8.size())}, escapePoint)
        .matches({text8.constData(), std::size_t(text8.size())});
}

QString unicodeLower(QStringView text)
{
    const QByteArray text8 = text.toUtf8();
    return QString::fromUtf8(utf8Lower({text8.constData(), std::size_t(text8.size())}));
}

} // namespace zelvarion
