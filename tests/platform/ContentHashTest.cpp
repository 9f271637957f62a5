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
    // "ab" | "cd" | "ef": the three parts' hashes and sizes, hashed again (worked out apart).
    EXPECT_EQ(contentHash::hexDigest("abcdef", contentHash::Kind::Xxh3_128Parts, {2, 2}),
              QByteArray("900af1c73686c73ce92f862a6ee1f870"));
}

TEST(ContentHash, hashesARewriteAsItsOldAndNewContentCutAtTheSpan)
{
    const QByteArray before = QByteArray(5000, 'a') + "old span" + QByteArray(7000, 'z');
    const QByteArray after = QByteArray(5000, 'a') + "the new, longer span" + QByteArray(7000, 'z');
    const auto [oldHash, newHash] = contentHash::rewriteDigests(before, after, 5000, 8, 20);
    EXPECT_EQ(oldHash, contentHash::hexDigest(before, contentHash::kCurrent, {5000, 8}));
    EXPECT_EQ(newHash, contentHash::hexDigest(after, contentHash::kCurrent, {5000, 20}));
    EXPECT_NE(oldHash, newHash);
    // The same bytes cut elsewhere are another content's.
    EXPECT_NE(contentHash::hexDigest(before, contentHash::kCurrent, {5000, 9}), oldHash);
    EXPECT_NE(contentHash::hexDigest(before, contentHash::kCurrent, {4999, 9}), oldHash);
}

TEST(ContentHash, tellsEveryByteOfALargeContentInEachPart)
{
    QByteArray bytes(3 * 1024 * 1024, 'x');
    const contentHash::Cut cut{bytes.size() / 3, 100};
    for (const contentHash::Kind kind : {contentHash::Kind::Xxh3_128, contentHash::Kind::Xxh3_128Parts}) {
        const QByteArray whole = contentHash::hexDigest(bytes, kind, cut);
        for (const qsizetype at : {qsizetype(0), cut.offset + 50, bytes.size() / 2, bytes.size() - 1}) {
            QByteArray changed = bytes;
            changed[at] = 'y';
            EXPECT_NE(contentHash::hexDigest(changed, kind, cut), whole) << at;
        }
        EXPECT_NE(contentHash::hexDigest(bytes.first(bytes.size() - 1), kind, cut), whole);
        // A content shorter than its cut is hashed as far as it goes, and differs.
        EXPECT_NE(contentHash::hexDigest(bytes.first(cut.offset + 10), kind, cut), whole);
    }
}

TEST(ContentHash, readsOnlyTheKindNumbersItKnows)
{
    EXPECT_EQ(contentHash::kindFromNumber(0), contentHash::Kind::Sha256);
    EXPECT_EQ(contentHash::kindFromNumber(1), contentHash::Kind::Xxh3_128);
    EXPECT_EQ(contentHash::kindFromNumber(2), contentHash::Kind::Xxh3_128Parts);
    EXPECT_FALSE(contentHash::kindFromNumber(3));
    EXPECT_FALSE(contentHash::kindFromNumber(-1));
}
