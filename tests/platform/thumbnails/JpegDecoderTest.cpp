#include "platform/JpegDecoder.h"
#include "platform/ThumbnailMaker.h"

#include "ReferenceDecoder.h"
#include "SampleImages.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include <random>

using namespace zelvarion;
using zelvarion::test::encodeReferenceJpeg;
using zelvarion::test::meanDifference;
using zelvarion::test::patternPicture;
using zelvarion::test::referenceSize;
using zelvarion::test::referenceThumbnail;
using zelvarion::test::testDataFile;

namespace {

// Resampling filters differ (the general decoder sharpens, which moves fine texture by several
// levels), so photographs are compared at a fifth of the size, where only a wrong colour, turn or
// offset shows; the smooth generated pattern is compared pixel by pixel.
constexpr double kMaxMeanDifference = 4.0;
constexpr double kMaxCoarseDifference = 5.0;

double coarseDifference(const QImage &a, const QImage &b)
{
    const QSize fifth = (a.size() / 5).expandedTo({1, 1});
    return meanDifference(a.scaled(fifth, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                          b.scaled(fifth, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Starts the general decoder, which the reference calls need.
const ThumbnailMaker &maker()
{
    static const ThumbnailMaker instance;
    return instance;
}

struct Source
{
    std::string name;
    QByteArray bytes;
};

std::vector<Source> sources()
{
    maker();
    std::vector<Source> all;
    for (const QSize size : {QSize(1, 1), QSize(7, 5), QSize(300, 225), QSize(641, 479), QSize(1000, 333),
                             QSize(333, 1000), QSize(2400, 1600)})
        all.push_back({std::to_string(size.width()) + "x" + std::to_string(size.height()),
                       encodeReferenceJpeg(patternPicture(size.width(), size.height()))});
    for (const char *sample :
         {"iptc/pillow/Tests/images/flower2.jpg", "iptc/pillow/Tests/images/hopper.jpg",
          "iptc/pillow/Tests/images/iptc.jpg", "iptc/commons-imaging/src/test/resources/data/images/jpg/7/_DSC6099.jpg",
          "iptc/commons-imaging/src/test/resources/images/jpeg/photoshop/IMAGING-246/FallHarvestKitKat_07610.jpg"}) {
        const QByteArray bytes = readAll(testDataFile(QString::fromLatin1(sample)));
        EXPECT_FALSE(bytes.isEmpty()) << sample;
        all.push_back({sample, bytes});
    }
    return all;
}

const QSize kBoxes[] = {{1, 1}, {7, 7}, {50, 50}, {120, 80}, {180, 120}, {210, 140}, {333, 100}, {100, 333}, {1000, 1000}};

// An APP1 Exif block holding one first-directory entry, inserted after the start marker.
QByteArray withExifEntry(const QByteArray &jpeg, quint16 type, quint32 count, quint16 value, int cutTiffTo = -1)
{
    QByteArray tiff("MM\0\x2A\0\0\0\x08", 8);
    const auto put16 = [&tiff](quint16 v) { tiff.append(char(v >> 8)).append(char(v & 0xFF)); };
    put16(1);
    put16(0x0112);
    put16(type);
    put16(quint16(count >> 16));
    put16(quint16(count));
    put16(value);
    put16(0);
    tiff.append(4, '\0');
    if (cutTiffTo >= 0)
        tiff.truncate(cutTiffTo);
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xFF)).append(payload);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

} // namespace

TEST(JpegDecoderSize, readsTheSameHeaderSizeAsTheGeneralDecoder)
{
    for (const Source &s : sources()) {
        const auto header = jpegDecoder::readHeader(s.bytes);
        ASSERT_TRUE(header.has_value()) << s.name;
        EXPECT_EQ(header->shownSize(), referenceSize(s.bytes)) << s.name;
    }
}

TEST(JpegDecoderSize, givesExactlyTheAskedSizeAsTheGeneralDecoderOverASweep)
{
    for (const Source &s : sources()) {
        for (const QSize box : kBoxes) {
            EXPECT_EQ(jpegDecoder::decodeAtSize(s.bytes, box).size(), box) << s.name;
            EXPECT_EQ(referenceThumbnail(s.bytes, box, true).size(), box) << s.name;
        }
    }
}

TEST(JpegDecoderPixels, stayCloseToTheGeneralDecoder)
{
    for (const Source &s : sources()) {
        for (const QSize box : {QSize(180, 120), QSize(120, 80), QSize(210, 140), QSize(50, 50)}) {
            const QImage fast = jpegDecoder::decodeAtSize(s.bytes, box);
            const QImage general = referenceThumbnail(s.bytes, box, true);
            ASSERT_EQ(fast.size(), general.size()) << s.name;
            EXPECT_LT(coarseDifference(fast, general), kMaxCoarseDifference)
                << s.name << " at " << box.width() << "x" << box.height();
        }
    }
}

TEST(JpegDecoderPixels, turnEveryOrientationUprightAsTheGeneralDecoderDoes)
{
    maker();
    const QImage picture = patternPicture(400, 240);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QByteArray jpeg = encodeReferenceJpeg(picture, orientation);
        const auto header = jpegDecoder::readHeader(jpeg);
        ASSERT_TRUE(header.has_value()) << orientation;
        EXPECT_EQ(header->orientation, orientation);
        EXPECT_EQ(header->shownSize(), referenceSize(jpeg)) << orientation;
        const QSize shown = orientation >= 5 ? QSize(120, 200) : QSize(200, 120);
        const QImage fast = jpegDecoder::decodeAtSize(jpeg, shown);
        const QImage general = referenceThumbnail(jpeg, shown, true);
        ASSERT_EQ(fast.size(), shown) << orientation;
        ASSERT_EQ(general.size(), shown) << orientation;
        EXPECT_LT(meanDifference(fast, general), kMaxMeanDifference) << orientation;
    }
}

// Odd or damaged orientation tags are left to the general decoder, which decides how to show them.
TEST(JpegDecoderSize, leavesOddOrientationTagsToTheGeneralDecoder)
{
    maker();
    const QByteArray jpeg = encodeReferenceJpeg(patternPicture(64, 32), 0);
    const struct
    {
        const char *name;
        QByteArray bytes;
        int orientation; // 0: declined
    } cases[] = {
        {"upright", withExifEntry(jpeg, 3, 1, 1), 1},
        {"turned", withExifEntry(jpeg, 3, 1, 6), 6},
        {"zero", withExifEntry(jpeg, 3, 1, 0), 0},
        {"nine", withExifEntry(jpeg, 3, 1, 9), 0},
        {"long type", withExifEntry(jpeg, 4, 1, 6), 0},
        {"two values", withExifEntry(jpeg, 3, 2, 6), 0},
        {"cut in the entry", withExifEntry(jpeg, 3, 1, 6, 14), 0},
        {"cut in the count", withExifEntry(jpeg, 3, 1, 6, 9), 0},
        {"cut in the header", withExifEntry(jpeg, 3, 1, 6, 3), 0},
        {"two blocks", withExifEntry(withExifEntry(jpeg, 3, 1, 1), 3, 1, 1), 0},
    };
    for (const auto &c : cases) {
        const auto header = jpegDecoder::readHeader(c.bytes);
        EXPECT_EQ(header ? header->orientation : 0, c.orientation) << c.name;
        EXPECT_EQ(jpegDecoder::decodeAtSize(c.bytes, {20, 20}).isNull(), c.orientation == 0) << c.name;
    }
}

// The same first directory in both byte orders, the tag after another entry.
TEST(JpegDecoderSize, readsTheOrientationOfExifBlocksInBothByteOrders)
{
    const QByteArray little("Exif\0\0II\x2A\0\x08\0\0\0\x02\0"
                            "\x0F\x01\x02\0\x04\0\0\0ABC\0"
                            "\x12\x01\x03\0\x01\0\0\0\x08\0\0\0", 40);
    QByteArray big("Exif\0\0MM\0\x2A\0\0\0\x08\0\x02"
                   "\x01\x0F\0\x02\0\0\0\x04" "ABC\0"
                   "\x01\x12\0\x03\0\0\0\x01\0\x03\0\0", 40);
    EXPECT_EQ(jpegDecoder::exifOrientation(little), 8);
    EXPECT_EQ(jpegDecoder::exifOrientation(big), 3);
    EXPECT_FALSE(jpegDecoder::exifOrientation(little.first(little.size() - 3))); // cut in the value
    EXPECT_FALSE(jpegDecoder::exifOrientation(QByteArrayView(little).sliced(1))); // no Exif header
    big[11] = '\x7F'; // the directory far outside the block
    EXPECT_FALSE(jpegDecoder::exifOrientation(big));
}

TEST(JpegDecoderPixels, spreadGreyOverTheThreeColours)
{
    const zelvarion::test::TempFolder folder;
    const QString path = folder.file(QStringLiteral("grey.jpg"));
    maker();
    ASSERT_TRUE(zelvarion::test::writeSample(path, 64, 48, zelvarion::test::SampleKind::Grey8, 90));
    const QByteArray bytes = readAll(path);
    const QImage fast = jpegDecoder::decodeAtSize(bytes, {32, 24});
    ASSERT_EQ(fast.size(), QSize(32, 24));
    EXPECT_LT(meanDifference(fast, referenceThumbnail(bytes, {32, 24}, true)), 1.0);
    EXPECT_EQ(fast.pixel(16, 12), qRgb(90, 90, 90));
}

TEST(JpegDecoderEncode, writesAJpegThatDecodesToTheSamePicture)
{
    maker();
    const QImage picture = patternPicture(180, 120);
    const QByteArray jpeg = jpegDecoder::encode(picture, 85);
    ASSERT_TRUE(jpeg.startsWith("\xFF\xD8\xFF"));
    EXPECT_EQ(referenceSize(jpeg), QSize(180, 120));
    EXPECT_LT(meanDifference(referenceThumbnail(jpeg, {180, 120}, true), picture), 3.0);
    EXPECT_TRUE(jpegDecoder::encode(QImage(), 85).isEmpty());
}

TEST(JpegDecoderFallback, leavesCmykToTheGeneralDecoder)
{
    const zelvarion::test::TempFolder folder;
    const QString path = folder.file(QStringLiteral("ink.jpg"));
    maker();
    ASSERT_TRUE(zelvarion::test::writeSample(path, 32, 32, zelvarion::test::SampleKind::Cmyk, 0));
    const QByteArray bytes = readAll(path);
    EXPECT_FALSE(jpegDecoder::readHeader(bytes).has_value());
    EXPECT_TRUE(jpegDecoder::decodeAtSize(bytes, {180, 120}).isNull());
    EXPECT_EQ(maker().imageSizeFromBytes(bytes), QSize(32, 32));
    EXPECT_GT(qGray(maker().loadAtSizeFromBytes(bytes, {16, 16}).pixel(8, 8)), 220); // no ink: paper white
}

// Every cut of a file and random damage: the fast path declines or gives the asked size, never
// crashes; a copy of exactly the cut length lets a memory checker see any read past it.
TEST(JpegDecoderFallback, survivesCutAndDamagedData)
{
    maker();
    const QByteArray jpeg = encodeReferenceJpeg(patternPicture(96, 64));
    for (qsizetype length = 0; length < jpeg.size(); length += 7) {
        const QByteArray cut(jpeg.constData(), length);
        EXPECT_TRUE(jpegDecoder::decodeAtSize(cut, {30, 20}).isNull()) << length;
        // The general decoder decides, so a cut file gives what it always gave.
        EXPECT_EQ(maker().loadAtSizeFromBytes(cut, {30, 20}).isNull(), referenceThumbnail(cut, {30, 20}, true).isNull())
            << length;
    }
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        QByteArray damaged = jpeg;
        for (int i = 0; i < 4; ++i)
            damaged[qsizetype(random() % quint32(damaged.size() - 3)) + 3] = char(random());
        const QImage picture = jpegDecoder::decodeAtSize(damaged, {30, 20});
        EXPECT_TRUE(picture.isNull() || picture.size() == QSize(30, 20)) << round;
    }
    EXPECT_FALSE(jpegDecoder::readHeader(QByteArray("\xFF\xD8\xFF", 3)).has_value());
    EXPECT_FALSE(jpegDecoder::readHeader(QByteArray("not a picture")).has_value());
}

TEST(ThumbnailMakerBytes, givesTheSameSizeAndPictureAsTheFile)
{
    for (const char *sample : {"iptc/pillow/Tests/images/flower2.jpg", "iptc/pillow/Tests/images/hopper.Lab.tif",
                               "iptc/pillow/Tests/images/hopper.psd"}) {
        const QString path = testDataFile(QString::fromLatin1(sample));
        const QByteArray bytes = readAll(path);
        ASSERT_FALSE(bytes.isEmpty()) << sample;
        EXPECT_EQ(maker().imageSizeFromBytes(bytes), maker().imageSize(path)) << sample;
        const QImage fromBytes = maker().loadAtSizeFromBytes(bytes, {90, 60});
        EXPECT_EQ(fromBytes.size(), QSize(90, 60)) << sample;
        EXPECT_LT(meanDifference(fromBytes, maker().loadAtSize(path, {90, 60})), 0.5) << sample;
    }
    EXPECT_TRUE(maker().imageSizeFromBytes(QByteArray()).isEmpty());
    EXPECT_TRUE(maker().loadAtSizeFromBytes(QByteArray("plain text"), {90, 60}).isNull());
}
