#include "platform/Windows1252.h"

#include <gtest/gtest.h>

namespace w1252 = zelvarion::windows1252;

TEST(Windows1252, everyByteSurvivesDecodeAndEncode)
{
    QByteArray all(256, Qt::Uninitialized);
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    const QString text = w1252::decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_TRUE(w1252::canEncode(text));
    EXPECT_EQ(w1252::encode(text), all);
}

TEST(Windows1252, mapsTheHighControlRangeToTypographicCharacters)
{
    struct Case
    {
        unsigned char byte;
        char16_t character;
    };
    const Case cases[] = {{0x80, 0x20AC}, {0x85, 0x2026}, {0x92, 0x2019}, {0x9F, 0x0178},
                          {0x81, 0x0081}, {0x9D, 0x009D}, {0xA0, 0x00A0}, {0xE9, 0x00E9},
                          {0x7F, 0x007F}, {0x00, 0x0000}};
    for (const Case &c : cases) {
        const QByteArray byte(1, char(c.byte));
        EXPECT_EQ(w1252::decode(byte), QString(QChar(c.character))) << int(c.byte);
        EXPECT_EQ(w1252::encode(QString(QChar(c.character))), byte) << int(c.byte);
    }
}

TEST(Windows1252, replacesCharactersWithoutAByteByQuestionMark)
{
    const QString text = QString::fromUtf8("a\u20ACb\u0101c");
    EXPECT_FALSE(w1252::canEncode(text));
    EXPECT_EQ(w1252::encode(text), QByteArray("a\x80" "b?c"));
}
