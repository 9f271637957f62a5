// Reading the beginning of a file first must never change what the reader gives: whenever the
// beginning settles the result, it is the result of the whole file.
#include "IptcFieldSetPrinter.h"
#include "IptcTestBytes.h"

#include "core/iptc/IptcReader.h"
#include "support/TempFolder.h"

#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;
using namespace zelvarion::test::iptcbytes;

namespace {

const QString kLabel = QStringLiteral("Field");
constexpr qsizetype kHead = 128 * 1024; // what readImageIptc reads first

::testing::AssertionResult sameResult(const IptcReadResult &a, const IptcReadResult &b)
{
    if (a.fields != b.fields)
        return ::testing::AssertionFailure() << "fields differ";
    if (a.fileKind != b.fileKind || a.iptcCapable != b.iptcCapable || a.shortRead != b.shortRead)
        return ::testing::AssertionFailure() << "kind differs";
    if (a.segment.has_value() != b.segment.has_value()
        || (a.segment && (a.segment->marker != b.segment->marker || a.segment->length != b.segment->length)))
        return ::testing::AssertionFailure() << "segment differs";
    return ::testing::AssertionSuccess();
}

// Every head of the bytes that settles the result gives the whole result; true when some head
// shorter than the whole settled it.
bool headsAgreeWithWhole(const QByteArray &bytes, const QString &name, const QList<qsizetype> &lengths)
{
    const IptcReadResult whole = readIptcFromBytes(bytes, name, kLabel);
    bool settledEarly = false;
    for (qsizetype length : lengths) {
        if (length < 0 || length > bytes.size())
            continue;
        const std::optional<IptcReadResult> head = readIptcFromHead(QByteArrayView(bytes).first(length), name, kLabel);
        if (!head)
            continue;
        EXPECT_TRUE(sameResult(*head, whole)) << name.toStdString() << " head " << length << " of " << bytes.size();
        settledEarly = settledEarly || length < bytes.size();
    }
    return settledEarly;
}

QList<qsizetype> sweep(qsizetype size)
{
    QList<qsizetype> lengths = {0, 1, 2, 3, 4, 7, 16, 64, 100, 1000, 4096, kHead, size - 1, size};
    for (int part = 1; part < 32; ++part)
        lengths << size * part / 32;
    return lengths;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(IptcHeadRead, everySampleGivesTheWholeFileResultFromAnyHeadThatSettlesIt)
{
    int settled = 0;
    int samples = 0;
    QDirIterator it(testDataFile(QStringLiteral("iptc")), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QByteArray bytes = fileBytes(path);
        ++samples;
        for (const char *name : {"x.jpg", "x.tif"})
            settled += headsAgreeWithWhole(bytes, QString::fromLatin1(name), sweep(bytes.size())) ? 1 : 0;
    }
    ASSERT_GT(samples, 50);
    EXPECT_GT(settled, 20); // the beginning alone serves a good part of them
}

// Random files of the pieces the reader reacts to: markers with short lengths, resource tags,
// names and sizes, datasets whose lengths run past the end, zero bytes.
TEST(IptcHeadRead, randomFilesGiveTheWholeFileResultFromAnyHeadThatSettlesIt)
{
    QRandomGenerator random(20261209);
    int settled = 0;
    for (int round = 0; round < 4000; ++round) {
        QByteArray bytes = random.bounded(4) == 0 ? QByteArray("II*\0", 4) : QByteArray("\xFF\xD8", 2);
        const int count = random.bounded(1, 14);
        for (int i = 0; i < count; ++i) {
            switch (random.bounded(7)) {
            case 0: bytes += QByteArray("\xFF\xED", 2) + bigEndian16(random.bounded(4, 80)); break;
            case 1: bytes += QByteArray("8BIM\x04\x04", 6) + char(random.bounded(3)) + QByteArray(random.bounded(3), 'n'); break;
            case 2: bytes += bigEndian16(0) + bigEndian16(random.bounded(0, 60)); break;
            case 3: bytes += dataset2(random.bounded(256), QByteArray(random.bounded(6), 'v')); break;
            case 4: bytes += QByteArray("\x1C\x02", 2) + char(random.bounded(256)) + bigEndian16(random.bounded(200)); break;
            case 5: bytes += dataset(1, 90, QByteArray("\x1B%G", 3)); break;
            default: bytes += QByteArray(random.bounded(1, 8), char(random.bounded(3) == 0 ? 0 : 0x41)); break;
            }
        }
        QList<qsizetype> lengths;
        for (qsizetype length = 0; length <= bytes.size(); ++length)
            lengths << length;
        settled += headsAgreeWithWhole(bytes, QStringLiteral("r.jpg"), lengths) ? 1 : 0;
    }
    EXPECT_GT(settled, 100);
}

class IptcHeadReadFile : public ::testing::Test
{
protected:
    IptcReadResult readBoth(const QByteArray &bytes, IptcReadResult &fromBytes)
    {
        const QString path = folder.write(QStringLiteral("big.jpg"), bytes);
        fromBytes = readIptcFromBytes(bytes, path, kLabel);
        return readImageIptc(path, kLabel);
    }

    TempFolder folder;
};

// Files larger than the head, with the IPTC in the head, after it, across its end, or absent,
// and with a decoy resource in the image data that only a broken search would stop at.
TEST_F(IptcHeadReadFile, largeFilesReadAsTheirWholeBytesWhereverTheResourceLies)
{
    const QByteArray imageData(1024 * 1024, '\x5A');
    const QByteArray decoy = app13(resource(0x0404, dataset2(5, "decoy")));
    const QByteArray iptc = app13(resource(0x0404, dataset2(5, "real") + dataset2(25, "k1") + dataset2(25, "k2")));
    const QByteArray padding = segment(0xE1, QByteArray(60000, 'p'));
    const QByteArray longCaption = app13(resource(0x0404, dataset2(120, QByteArray(50000, 'c'))));
    const struct
    {
        const char *what;
        QByteArray bytes;
        const char *objectName;
    } cases[] = {
        {"in the head", jpeg({app0(), iptc, imageData + decoy}), "real"},
        {"after the head", jpeg({padding, padding, padding, iptc}) + imageData, "real"},
        {"across the end of the head", jpeg({padding, padding, longCaption}) + imageData, ""},
        {"only in the image data", jpeg({app0()}) + imageData + decoy, "decoy"},
        {"absent", jpeg({app0()}) + imageData, ""},
    };
    for (const auto &c : cases) {
        IptcReadResult fromBytes;
        const IptcReadResult fromFile = readBoth(c.bytes, fromBytes);
        EXPECT_TRUE(sameResult(fromFile, fromBytes)) << c.what;
        EXPECT_EQ(fromFile.fields.values[0], QLatin1String(c.objectName)) << c.what;
    }
    IptcReadResult fromBytes;
    EXPECT_EQ(readBoth(jpeg({padding, padding, longCaption}) + imageData, fromBytes).fields.values[kCaptionIndex].size(),
              50000);
}

TEST(IptcHeadRead, headStopsShortOfDatasetsThatReachItsEnd)
{
    const QByteArray bytes = jpeg({app13(resource(0x0404, dataset2(5, "name") + dataset2(120, "a long caption")))});
    const qsizetype captionEnd = bytes.indexOf("caption") + 7;
    EXPECT_FALSE(readIptcFromHead(QByteArrayView(bytes).first(captionEnd - 1), QStringLiteral("a.jpg"), kLabel));
    EXPECT_FALSE(readIptcFromHead(QByteArrayView(bytes).first(bytes.indexOf("8BIM") + 4), QStringLiteral("a.jpg"), kLabel));
    const auto whole = readIptcFromHead(bytes, QStringLiteral("a.jpg"), kLabel);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->fields.values[kCaptionIndex], QStringLiteral("a long caption"));
    const auto text = readIptcFromHead(QByteArray("hello"), QStringLiteral("notes.txt"), kLabel);
    ASSERT_TRUE(text); // a file that cannot hold IPTC is settled by its first bytes
    EXPECT_EQ(text->fileKind, IptcFileKind::NotSearched);
}
