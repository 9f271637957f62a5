// The content hashes: stored in undo journals, so their text must never change between versions
// or machines, and a stored kind number always means the same hash.
#include "platform/ContentHash.h"

#include <gtest/gtest.h>

using namespace zelvarion;

TEST(ContentHash, givesTheKnownDigestsOfEachKind)
{
    struct Case
    {
        QByteArray bytes;
        contentHash::Kind kind;
        const char *hex;
    };
    const Case cases[] = {
        {"", contentHash::Kind::Xxh3_128, "99aa06d3014798d86001c324468d497f"},
        {"abc", contentHash::Kind::Xxh3_128, "06b05ab6733a618578af5f94892f3950"},
        {"abc", contentHash::Kind::Sha256, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(contentHash::hexDigest(c.bytes, c.kind), QByteArray(c.hex)) << c.hex;
    EXPECT_EQ(contentHash::hexDigest("abc"), contentHash::hexDigest("abc", contentHash::Kind::Xxh3_128));
}

TEST(ContentHash, tellsEveryByteOfALargeContent)
{
    QByteArray bytes(3 * 1024 * 1024, 'x');
    const QByteArray whole = contentHash::hexDigest(bytes);
    for (const qsizetype at : {qsizetype(0), bytes.size() / 2, bytes.size() - 1}) {
        QByteArray changed = bytes;
        changed[at] = 'y';
        EXPECT_NE(contentHash::hexDigest(changed), whole) << at;
    }
    EXPECT_NE(contentHash::hexDigest(bytes.first(bytes.size() - 1)), whole);
}

TEST(ContentHash, readsOnlyTheKindNumbersItKnows)
{
    EXPECT_EQ(contentHash::kindFromNumber(0), contentHash::Kind::Sha256);
    EXPECT_EQ(contentHash::kindFromNumber(1), contentHash::Kind::Xxh3_128);
    EXPECT_FALSE(contentHash::kindFromNumber(2));
    EXPECT_FALSE(contentHash::kindFromNumber(-1));
}
