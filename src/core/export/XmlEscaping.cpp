#include "core/export/XmlEscaping.h"

#include <array>

namespace zelvarion {
namespace {

// Replacements for the characters Windows-1252 places at 0x80..0x9F, and for the C1 codes it
// leaves undefined there (which it keeps as U+0081, U+008D, U+008F, U+0090 and U+009D).
struct Windows1252Replacement
{
    char16_t character;
    const char *replacement;
};

constexpr std::array<Windows1252Replacement, 32> kWindows1252Replacements = {{
    {0x20AC, "<euro/>"}, {0x0081, " "},      {0x201A, "&apos;"}, {0x0192, "f"},
    {0x201E, "&quot;"},  {0x2026, "..."},    {0x2020, "+"},      {0x2021, "++"},
    {0x02C6, " "},       {0x2030, " "},      {0x0160, "S"},      {0x2039, "&lt;"},
    {0x0152, "Oe"},      {0x008D, " "},      {0x017D, " "},      {0x008F, " "},
    {0x0090, " "},       {0x2018, "&apos;"}, {0x2019, "&apos;"}, {0x201C, "&quot;"},
    {0x201D, "&quot;"},  {0x2022, "."},      {0x2013, "-"},      {0x2014, "-"},
    {0x02DC, "-"},       {0x2122, "TM"},     {0x0161, "s"},      {0x203A, "&gt;"},
    {0x0153, "oe"},      {0x009D, " "},      {0x017E, " "},      {0x0178, "Y"},
}};

const char *windows1252Replacement(char16_t c)
{
    for (const Windows1252Replacement &entry : kWindows1252Replacements)
        if (entry.character == c)
            return entry.replacement;
    return nullptr;
}

// The replacement of a character below U+0080, or nothing when it stands for itself. Every step
// of the escaping maps single characters to texts that no later step changes, so one pass over
// the text gives what the steps applied one after the other give.
const char *asciiReplacement(char16_t c)
{
    switch (c) {
    case u'&': return "&amp;";
    case u'"': return "&quot;";
    case u'\'': return "&apos;";
    case u'<': return "&lt;";
    case u'>': return "&gt;";
    case 0x09: case 0x0A: case 0x0D: return nullptr;
    case 0x1E: case 0x1F: return "-";
    case 0x7F: return " ";
    default: return c < 0x20 ? " " : nullptr;
    }
}

void appendReference(QByteArray &out, char32_t codePoint)
{
    out.append("&#x");
    out.append(QByteArray::number(uint(codePoint), 16).toUpper());
    out.append(';');
}

// Characters beyond ISO-8859-1: a reference to the code point; a lone surrogate or a
// non-character cannot stand in a document even as a reference and becomes U+FFFD.
qsizetype appendWide(QByteArray &out, QStringView text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
        appendReference(out, QChar::surrogateToUcs4(c, text[i + 1].unicode()));
        return 2;
    }
    const bool unusable = QChar::isSurrogate(c) || c == 0xFFFE || c == 0xFFFF;
    appendReference(out, unusable ? 0xFFFD : c);
    return 1;
}

// The replacement of each character below U+0100, or nothing when it stands for itself as one
// ISO-8859-1 byte.
const std::array<const char *, 256> &latin1Replacements()
{
    static const std::array<const char *, 256> table = [] {
        std::array<const char *, 256> replacements{};
        for (char16_t c = 0; c < 0x80; ++c)
            replacements[c] = asciiReplacement(c);
        for (char16_t c = 0x80; c < 0xA0; ++c)
            replacements[c] = windows1252Replacement(c);
        return replacements;
    }();
    return table;
}

// Appends characters below U+0100 that stand for themselves, one byte each, in one step.
void appendLatin1(QByteArray &out, QStringView text)
{
    const qsizetype at = out.size();
    out.resize(at + text.size());
    char *target = out.data() + at;
    for (const QChar c : text)
        *target++ = char(c.unicode());
}

} // namespace

// Runs of characters that stand for themselves go to the document in one step: nearly all of a
// catalogue's text.
void appendEscapedXmlText(QByteArray &out, QStringView text)
{
    const auto &replacements = latin1Replacements();
    out.reserve(out.size() + text.size());
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < text.size();) {
        const char16_t c = text[i].unicode();
        const bool latin1 = c <= 0xFF;
        if (latin1 && !replacements[c]) {
            ++i;
            continue;
        }
        appendLatin1(out, text.sliced(plainFrom, i - plainFrom));
        if (const char *replacement = latin1 ? replacements[c] : windows1252Replacement(c)) {
            out.append(replacement);
            ++i;
        } else {
            i += appendWide(out, text, i);
        }
        plainFrom = i;
    }
    appendLatin1(out, text.sliced(plainFrom));
}

void appendEscapedXmlUtf8(QByteArray &out, QByteArrayView utf8)
{
    for (const char byte : utf8)
        if (uchar(byte) >= 0x80) {
            appendEscapedXmlText(out, QString::fromUtf8(utf8));
            return;
        }
    const auto &replacements = latin1Replacements();
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (const char *replacement = replacements[uchar(utf8[i])]) {
            out.append(utf8.sliced(plainFrom, i - plainFrom));
            out.append(replacement);
            plainFrom = i + 1;
        }
    }
    out.append(utf8.sliced(plainFrom));
}

QString escapeXmlText(QStringView text)
{
    QByteArray bytes;
    appendEscapedXmlText(bytes, text);
    return QString::fromLatin1(bytes);
}

} // namespace zelvarion
