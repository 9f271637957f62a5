// The escaping of the export document: every row of its table, the order of its steps, and the
// numeric references for text beyond ISO-8859-1.
#include "core/export/XmlEscaping.h"

#include <gtest/gtest.h>

using namespace zelvarion;

namespace {

QString escaped(const QString &text) { return escapeXmlText(text); }
QString u16(char16_t c) { return QString(QChar(c)); }

TEST(XmlEscaping, markupCharactersBecomeEntitiesOnce)
{
    EXPECT_EQ(escaped(QStringLiteral("R&D <x> \"y\" 'z'")),
              QStringLiteral("R&amp;D &lt;x&gt; &quot;y&quot; &apos;z&apos;"));
    // The entities made for the Windows-1252 quotes are not escaped again, and the euro sign
    // stays markup.
    EXPECT_EQ(escaped(u16(0x201C) + QStringLiteral("a&") + u16(0x20AC) + u16(0x201D)),
              QStringLiteral("&quot;a&amp;<euro/>&quot;"));
}

TEST(XmlEscaping, controlCharactersBecomeBlanksOrDashesAndLineBreaksStay)
{
    QString controls;
    for (char16_t c = 0; c < 0x20; ++c)
        controls += QChar(c);
    controls += QChar(0x7F);
    QString expected;
    for (char16_t c = 0; c < 0x20; ++c)
        expected += c == 0x09 || c == 0x0A || c == 0x0D ? QChar(c) : c == 0x1E || c == 0x1F ? QChar(u'-') : QChar(u' ');
    expected += u' ';
    EXPECT_EQ(escaped(controls), expected);
}

TEST(XmlEscaping, everyWindows1252CharacterOfTheTableHasItsReplacement)
{
    const struct { char16_t c; const char *replacement; } table[] = {
        {0x20AC, "<euro/>"}, {0x0081, " "}, {0x201A, "&apos;"}, {0x0192, "f"}, {0x201E, "&quot;"},
        {0x2026, "..."}, {0x2020, "+"}, {0x2021, "++"}, {0x02C6, " "}, {0x2030, " "}, {0x0160, "S"},
        {0x2039, "&lt;"}, {0x0152, "Oe"}, {0x008D, " "}, {0x017D, " "}, {0x008F, " "}, {0x0090, " "},
        {0x2018, "&apos;"}, {0x2019, "&apos;"}, {0x201C, "&quot;"}, {0x201D, "&quot;"}, {0x2022, "."},
        {0x2013, "-"}, {0x2014, "-"}, {0x02DC, "-"}, {0x2122, "TM"}, {0x0161, "s"}, {0x203A, "&gt;"},
        {0x0153, "oe"}, {0x009D, " "}, {0x017E, " "}, {0x0178, "Y"},
    };
    for (const auto &row : table)
        EXPECT_EQ(escaped(u16(row.c)), QString::fromLatin1(row.replacement)) << int(row.c);
}

TEST(XmlEscaping, latin1LettersStandForThemselvesAndWiderTextBecomesReferences)
{
    EXPECT_EQ(escaped(QStringLiteral("Zürich, Åre, ÿ")), QStringLiteral("Zürich, Åre, ÿ"));
    EXPECT_EQ(escaped(QStringLiteral("中国")), QStringLiteral("&#x4E2D;&#x56FD;"));
    EXPECT_EQ(escaped(QString::fromUtf8("\xF0\x9F\x93\xB7")), QStringLiteral("&#x1F4F7;")); // one code point
    EXPECT_EQ(escaped(u16(0xD800) + QStringLiteral("a")), QStringLiteral("&#xFFFD;a"));     // lone surrogate
    QByteArray bytes;
    appendEscapedXmlText(bytes, QStringLiteral("é中"));
    EXPECT_EQ(bytes, QByteArray("\xE9&#x4E2D;")); // one byte per character in ISO-8859-1
}

// The engine's bytes are escaped as the text they decode to, also bytes that are no UTF-8.
TEST(XmlEscaping, utf8BytesAreEscapedAsTheirText)
{
    const QByteArray inputs[] = {
        "", "plain", "R&D <x> \"y\" 'z'", QByteArray("\x00\x01\x1e\x1f\x7f\t\r\n", 8), "Z\xC3\xBCrich",
        "\xE2\x82\xAC \xE4\xB8\xAD \xF0\x9F\x93\xB7", "\xFF", "a\xC3", "\xED\xA0\x80 surrogate", "\xC2\x81",
    };
    for (const QByteArray &input : inputs) {
        QByteArray fromBytes("kept ");
        appendEscapedXmlUtf8(fromBytes, input);
        QByteArray fromText("kept ");
        appendEscapedXmlText(fromText, QString::fromUtf8(input));
        EXPECT_EQ(fromBytes, fromText) << input.toHex().toStdString();
    }
}

} // namespace
