#include "platform/ByteReader.h"

#include <gtest/gtest.h>

#include <limits>

using namespace zelvarion;

namespace {

const QByteArray kBytes("\x01\x02\x03\x04\xFF\xED", 6);

TEST(ByteReader, numbersReadInBothByteOrders)
{
    const ByteReader reader(kBytes);
    EXPECT_EQ(reader.u8(4), 0xFF);
    EXPECT_EQ(reader.u16(0, ByteOrder::BigEndian), 0x0102);
    EXPECT_EQ(reader.u16(0, ByteOrder::LittleEndian), 0x0201);
    EXPECT_EQ(reader.u16(4, ByteOrder::BigEndian), 0xFFED);
    EXPECT_EQ(reader.u32(0, ByteOrder::BigEndian), 0x01020304u);
    EXPECT_EQ(reader.u32(0, ByteOrder::LittleEndian), 0x04030201u);
    EXPECT_EQ(reader.u32(2, ByteOrder::BigEndian), 0x0304FFEDu);
    EXPECT_FALSE(reader.ranOut());
}

// Each read at the last position where it fits, one past it, and at positions that only an
// overflowing sum would let through.
TEST(ByteReader, readsAtTheEdgesGiveNotEnoughDataInsteadOfReadingPast)
{
    const qsizetype n = kBytes.size();
    const qsizetype huge = std::numeric_limits<qsizetype>::max();
    struct Case
    {
        qsizetype at;
        bool u8, u16, u32;
    };
    const Case cases[] = {
        {0, true, true, true},       {n - 4, true, true, true},   {n - 3, true, true, false},
        {n - 2, true, true, false},  {n - 1, true, false, false}, {n, false, false, false},
        {n + 1, false, false, false}, {-1, false, false, false},  {huge, false, false, false},
        {huge - 1, false, false, false},
    };
    for (const Case &c : cases) {
        const ByteReader reader(kBytes);
        EXPECT_EQ(reader.u8(c.at).has_value(), c.u8) << c.at;
        EXPECT_EQ(reader.u16(c.at, ByteOrder::BigEndian).has_value(), c.u16) << c.at;
        EXPECT_EQ(reader.u32(c.at, ByteOrder::LittleEndian).has_value(), c.u32) << c.at;
        EXPECT_EQ(reader.ranOut(), !(c.u8 && c.u16 && c.u32)) << c.at;
    }
    const ByteReader empty{QByteArrayView()};
    EXPECT_FALSE(empty.u8(0));
    EXPECT_TRUE(empty.has(0, 0));
}

TEST(ByteReader, spansFitExactlyOrAreCutAtTheEnd)
{
    const ByteReader reader(kBytes);
    EXPECT_EQ(reader.span(2, 4), QByteArrayView(kBytes).sliced(2));
    EXPECT_EQ(reader.span(6, 0), QByteArrayView());
    EXPECT_FALSE(reader.ranOut());
    EXPECT_FALSE(reader.span(3, 4));
    EXPECT_FALSE(reader.span(0, std::numeric_limits<qsizetype>::max()));
    EXPECT_FALSE(reader.span(2, -1));

    const ByteReader cut(kBytes);
    EXPECT_EQ(cut.spanUpTo(1, 2), QByteArrayView(kBytes).sliced(1, 2));
    EXPECT_FALSE(cut.ranOut());
    EXPECT_EQ(cut.spanUpTo(4, 65535), QByteArrayView("\xFF\xED", 2));
    EXPECT_TRUE(cut.ranOut());
    EXPECT_TRUE(cut.spanUpTo(6, 1).isEmpty());
    EXPECT_TRUE(cut.spanUpTo(-3, 2).isEmpty());
    EXPECT_TRUE(cut.matches(4, QByteArrayView("\xFF\xED", 2)));
    EXPECT_FALSE(cut.matches(5, QByteArrayView("\xED\x00", 2)));
}

// A search that finds nothing may have stopped at the end of the beginning of a file, so it
// counts as running out; a search that finds does not.
TEST(ByteReader, searchesFindFromAPositionOrRunOut)
{
    const QByteArray bytes("\xFF\x00\xFF\xFF\xED\x8B" "8BIM", 10);
    const ByteReader reader(bytes);
    EXPECT_EQ(reader.findPair(0xFF, 0xED, 0), 3);
    EXPECT_EQ(reader.findPair(0xFF, 0xED, 3), 3);
    EXPECT_EQ(reader.find("8BIM", 0), 6);
    EXPECT_FALSE(reader.ranOut());
    EXPECT_FALSE(reader.findPair(0xFF, 0xED, 4));
    EXPECT_TRUE(reader.ranOut());

    const QByteArray lastPair("ab\xFF\xED", 4);
    EXPECT_EQ(ByteReader(lastPair).findPair(0xFF, 0xED, 0), 2);
    EXPECT_FALSE(ByteReader(QByteArray("ab\xFF", 3)).findPair(0xFF, 0xED, 0)); // no byte after the last 0xFF
    EXPECT_FALSE(ByteReader(lastPair).findPair(0xFF, 0xED, 100));
    EXPECT_FALSE(ByteReader(lastPair).find("\xED", 100));
    EXPECT_FALSE(ByteReader(lastPair).find("\xED", -1));
}

TEST(ByteReader, appendedNumbersReadBack)
{
    QByteArray bytes;
    appendUint16(bytes, 0xFFED);
    appendUint16(bytes, 0x0102, ByteOrder::LittleEndian);
    const ByteReader reader(bytes);
    EXPECT_EQ(reader.u16(0, ByteOrder::BigEndian), 0xFFED);
    EXPECT_EQ(reader.u16(2, ByteOrder::LittleEndian), 0x0102);
}

} // namespace
