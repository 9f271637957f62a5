#include "platform/ThumbnailMaker.h"

#include "SampleImages.h"
#include "support/TempFolder.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

using namespace zelvarion;
using zelvarion::test::SampleKind;
using zelvarion::test::TempFolder;
using zelvarion::test::testDataFile;
using zelvarion::test::writeSample;

namespace {

const QString kJpeg = QStringLiteral("iptc/pillow/Tests/images/flower2.jpg");               // 300 x 225
const QString kCmykTiff = QStringLiteral("iptc/pillow/Tests/images/tiff_strip_cmyk_jpeg.tif"); // 100 x 100
const QString kLabTiff = QStringLiteral("iptc/pillow/Tests/images/hopper.Lab.tif");          // 128 x 128
const QString kRgbPsd = QStringLiteral("iptc/pillow/Tests/images/hopper.psd");               // 128 x 128
const QString kGreyPsd = QStringLiteral("iptc/metadata-extractor-images/psd/8x4x8bit-Grayscale.psd");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool nearColour(QRgb actual, int r, int g, int b, int tolerance = 6)
{
    return std::abs(qRed(actual) - r) <= tolerance && std::abs(qGreen(actual) - g) <= tolerance
           && std::abs(qBlue(actual) - b) <= tolerance;
}

QRgb centre(const QImage &picture)
{
    return picture.pixel(picture.width() / 2, picture.height() / 2);
}

} // namespace

TEST(ThumbnailMakerSize, readsTheHeaderOfEachCataloguedKind)
{
    const ThumbnailMaker maker;
    EXPECT_EQ(maker.imageSize(testDataFile(kJpeg)), QSize(300, 225));
    EXPECT_EQ(maker.imageSize(testDataFile(kCmykTiff)), QSize(100, 100));
    EXPECT_EQ(maker.imageSize(testDataFile(kLabTiff)), QSize(128, 128));
    EXPECT_EQ(maker.imageSize(testDataFile(kRgbPsd)), QSize(128, 128));
    EXPECT_EQ(maker.imageSize(testDataFile(kGreyPsd)), QSize(8, 4));
}

TEST(ThumbnailMakerSize, equalsTheSizeOfTheWholeDecodedPicture)
{
    const ThumbnailMaker maker;
    for (const QString &file : {kJpeg, kCmykTiff, kLabTiff, kRgbPsd, kGreyPsd}) {
        const QString path = testDataFile(file);
        const QImage whole = maker.loadThumbnail(path, 10000, 10000);
        ASSERT_FALSE(whole.isNull()) << file.toStdString();
        EXPECT_EQ(whole.size(), maker.imageSize(path)) << file.toStdString();
    }
}

TEST(ThumbnailMakerSize, isShownUprightForARotatedJpeg)
{
    const TempFolder folder;
    const QString path = folder.file(QStringLiteral("turned.jpg"));
    ASSERT_TRUE(writeSample(path, 40, 20, SampleKind::Rgb8, 128, 6)); // stored on its side
    const ThumbnailMaker maker;
    EXPECT_EQ(maker.imageSize(path), QSize(20, 40));
    EXPECT_EQ(maker.loadThumbnail(path, 210, 140).size(), QSize(20, 40));
    EXPECT_EQ(maker.loadAtSize(path, {30, 60}).size(), QSize(30, 60));
}

TEST(ThumbnailMakerLoad, fitsTheBoxWithoutEnlargingOverASweepOfSizes)
{
    const TempFolder folder;
    const ThumbnailMaker maker;
    const QSize sources[] = {{1, 1},    {2, 1},    {210, 140}, {209, 141}, {211, 140}, {420, 280},
                             {421, 279}, {1000, 9}, {9, 1000},  {640, 480}, {480, 640}, {1600, 1200}};
    for (const QSize source : sources) {
        const QString path = folder.file(QStringLiteral("s%1x%2.jpg").arg(source.width()).arg(source.height()));
        ASSERT_TRUE(writeSample(path, source.width(), source.height(), SampleKind::Rgb8));
        const QImage thumb = maker.loadThumbnail(path, 210, 140);
        ASSERT_FALSE(thumb.isNull()) << path.toStdString();
        EXPECT_LE(thumb.width(), 210) << path.toStdString();
        EXPECT_LE(thumb.height(), 140) << path.toStdString();
        if (source.width() <= 210 && source.height() <= 140) {
            EXPECT_EQ(thumb.size(), source) << path.toStdString();
            continue;
        }
        EXPECT_TRUE(thumb.width() == 210 || thumb.height() == 140) << path.toStdString();
        const double widthFromHeight = double(thumb.height()) * source.width() / source.height();
        const double heightFromWidth = double(thumb.width()) * source.height() / source.width();
        EXPECT_TRUE(std::abs(thumb.width() - widthFromHeight) <= 1.0
                    || std::abs(thumb.height() - heightFromWidth) <= 1.0)
            << path.toStdString() << " -> " << thumb.width() << "x" << thumb.height();
    }
}

TEST(ThumbnailMakerLoad, givesExactlyTheAskedSizeEvenAboveTheSource)
{
    const ThumbnailMaker maker;
    const QString path = testDataFile(kJpeg);
    for (const QSize size : {QSize(180, 120), QSize(150, 90), QSize(80, 120), QSize(1, 1), QSize(450, 300)})
        EXPECT_EQ(maker.loadAtSize(path, size).size(), size);
    EXPECT_TRUE(maker.loadAtSize(path, {0, 10}).isNull());
}

TEST(ThumbnailMakerLoad, bringsEveryPixelFormatToDisplayColours)
{
    struct Case
    {
        const char *name;
        SampleKind kind;
        int value;
        int r, g, b;
    };
    const Case cases[] = {
        {"grey.tif", SampleKind::Grey8, 100, 100, 100, 100},
        {"grey16.tif", SampleKind::Grey16, 100, 100, 100, 100},
        {"rgb16.tif", SampleKind::Rgb16, 200, 200, 200, 200},
        {"clear.tif", SampleKind::RgbWithClearAlpha, 0, 255, 255, 255}, // laid on white
        {"grey.jpg", SampleKind::Grey8, 60, 60, 60, 60},
    };
    const TempFolder folder;
    const ThumbnailMaker maker;
    for (const Case &c : cases) {
        const QString path = folder.file(QString::fromLatin1(c.name));
        ASSERT_TRUE(writeSample(path, 64, 48, c.kind, c.value)) << c.name;
        const QImage thumb = maker.loadThumbnail(path, 210, 140);
        ASSERT_EQ(thumb.size(), QSize(64, 48)) << c.name;
        EXPECT_TRUE(nearColour(centre(thumb), c.r, c.g, c.b))
            << c.name << ": " << qRed(centre(thumb)) << "," << qGreen(centre(thumb)) << "," << qBlue(centre(thumb));
    }
}

TEST(ThumbnailMakerLoad, convertsCmykInkToScreenColours)
{
    const TempFolder folder;
    const ThumbnailMaker maker;
    const QString noInk = folder.file(QStringLiteral("no-ink.jpg"));
    const QString fullInk = folder.file(QStringLiteral("full-ink.tif"));
    ASSERT_TRUE(writeSample(noInk, 32, 32, SampleKind::Cmyk, 0));
    ASSERT_TRUE(writeSample(fullInk, 32, 32, SampleKind::Cmyk, 255));
    const QImage paper = maker.loadThumbnail(noInk, 210, 140);
    const QImage black = maker.loadThumbnail(fullInk, 210, 140);
    ASSERT_FALSE(paper.isNull());
    ASSERT_FALSE(black.isNull());
    EXPECT_GT(qGray(centre(paper)), 220);
    EXPECT_LT(qGray(centre(black)), 60);
    EXPECT_FALSE(maker.loadThumbnail(testDataFile(kCmykTiff), 50, 50).isNull());
}

TEST(ThumbnailMakerLoad, refusesDamagedAndForeignFilesWithoutCrashing)
{
    const TempFolder folder;
    const QByteArray jpeg = readAll(testDataFile(kJpeg));
    const QByteArray tiff = readAll(testDataFile(kLabTiff));
    ASSERT_FALSE(jpeg.isEmpty());
    ASSERT_FALSE(tiff.isEmpty());
    const struct
    {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"empty.jpg", QByteArray()},
        {"text.jpg", QByteArray("This is not a picture, only words.\n")},
        {"marker-only.jpg", jpeg.left(3)},
        {"header-only.jpg", jpeg.left(600)},
        {"half.jpg", jpeg.left(jpeg.size() / 2)},
        {"no-end.jpg", jpeg.left(jpeg.size() - 400)},
        {"half.tif", tiff.left(tiff.size() / 2)},
        {"tiff-header.tif", tiff.left(8)},
        {"png.jpg", QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(64, 'x')},
    };
    const ThumbnailMaker maker;
    for (const auto &c : cases) {
        const QString path = folder.write(QString::fromLatin1(c.name), c.bytes);
        EXPECT_TRUE(maker.loadThumbnail(path, 210, 140).isNull()) << c.name;
        EXPECT_TRUE(maker.loadAtSize(path, {180, 120}).isNull()) << c.name;
        EXPECT_TRUE(maker.decode(c.bytes).isNull()) << c.name;
    }
    EXPECT_TRUE(maker.imageSize(folder.file(QStringLiteral("text.jpg"))).isEmpty());
    EXPECT_TRUE(maker.imageSize(folder.file(QStringLiteral("marker-only.jpg"))).isEmpty());
    EXPECT_TRUE(maker.imageSize(folder.file(QStringLiteral("missing.jpg"))).isEmpty());
    EXPECT_TRUE(maker.imageSize(folder.path()).isEmpty());
    EXPECT_TRUE(maker.loadThumbnail(folder.path(), 210, 140).isNull());
}

TEST(ThumbnailMakerLoad, readsFileNamesTheLibraryCouldTakeForOptions)
{
    const TempFolder folder;
    const ThumbnailMaker maker;
    for (const char *name : {"photo[2]", "photo[Q=5].jpg", "caf\xC3\xA9 &: x.jpg"}) {
        const QString path = folder.file(QString::fromUtf8(name));
        ASSERT_TRUE(QFile::copy(testDataFile(kJpeg), path)) << name;
        EXPECT_EQ(maker.imageSize(path), QSize(300, 225)) << name;
        EXPECT_EQ(maker.loadThumbnail(path, 210, 140).width(), 187) << name;
    }
}

TEST(ThumbnailMakerLoad, leavesTheImageFileUntouched)
{
    const TempFolder folder;
    const QString path = folder.file(QStringLiteral("keep.jpg"));
    ASSERT_TRUE(QFile::copy(testDataFile(kJpeg), path));
    QFile file(path);
    const QDateTime old = QDateTime::currentDateTime().addDays(-30);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.setFileTime(old, QFileDevice::FileModificationTime));
    file.close();
    const QByteArray before = readAll(path);
    const QDateTime modifiedBefore = QFileInfo(path).lastModified();

    const ThumbnailMaker maker;
    EXPECT_FALSE(maker.imageSize(path).isEmpty());
    EXPECT_FALSE(maker.loadThumbnail(path, 210, 140).isNull());
    EXPECT_FALSE(maker.loadAtSize(path, {180, 120}).isNull());

    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(QFileInfo(path).lastModified(), modifiedBefore);
}

TEST(ThumbnailMakerLoad, givesTheSamePicturesOnSeveralThreads)
{
    const ThumbnailMaker reference;
    const QStringList files = {testDataFile(kJpeg), testDataFile(kCmykTiff), testDataFile(kRgbPsd),
                               testDataFile(kLabTiff)};
    std::vector<QImage> expected;
    for (const QString &file : files)
        expected.push_back(reference.loadThumbnail(file, 64, 64));

    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            const ThumbnailMaker maker;
            for (int round = 0; round < 6; ++round) {
                const int i = (t + round) % int(files.size());
                if (maker.loadThumbnail(files[i], 64, 64) != expected[size_t(i)])
                    ++mismatches[size_t(t)];
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (int count : mismatches)
        EXPECT_EQ(count, 0);
}

TEST(ThumbnailMakerScale, makesExactlyTheAskedSize)
{
    const ThumbnailMaker maker;
    const QImage source = maker.loadThumbnail(testDataFile(kJpeg), 300, 300);
    ASSERT_FALSE(source.isNull());
    for (const QSize size : {QSize(180, 120), QSize(150, 90), QSize(1, 1), QSize(600, 20), QSize(300, 225)})
        EXPECT_EQ(maker.makeThumbnail(source, size.width(), size.height()).size(), size);
    EXPECT_TRUE(maker.makeThumbnail(QImage(), 10, 10).isNull());
    EXPECT_TRUE(maker.makeThumbnail(source, 0, 10).isNull());
}

TEST(ThumbnailMakerJpeg, encodesAPictureThatDecodesToTheSameColours)
{
    QImage picture(40, 30, QImage::Format_ARGB32);
    picture.fill(QColor(200, 40, 90));
    const ThumbnailMaker maker;
    const QByteArray jpeg = maker.encodeJpeg(picture);
    ASSERT_TRUE(jpeg.startsWith("\xFF\xD8\xFF"));
    const QImage back = maker.decode(jpeg);
    ASSERT_EQ(back.size(), QSize(40, 30));
    EXPECT_TRUE(nearColour(centre(back), 200, 40, 90, 8));
    EXPECT_TRUE(maker.encodeJpeg(QImage()).isEmpty());
}

TEST(ThumbnailMakerJpeg, savesAtomicallyAndLeavesNothingOnFailure)
{
    const TempFolder folder;
    const ThumbnailMaker maker;
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::gray);

    const QString path = folder.file(QStringLiteral("thumb.jpg"));
    ASSERT_TRUE(maker.saveJpeg(picture, path));
    EXPECT_EQ(maker.imageSize(path), QSize(20, 10));

    const QByteArray saved = readAll(path);
    EXPECT_FALSE(maker.saveJpeg(QImage(), path));
    EXPECT_EQ(readAll(path), saved);

    const QString nowhere = folder.file(QStringLiteral("missing/thumb.jpg"));
    EXPECT_FALSE(maker.saveJpeg(picture, nowhere));
    EXPECT_FALSE(QFileInfo::exists(nowhere));
}

// Every sample file of the shared set, damaged ones included: a readable header gives a picture
// that fits the box, and whatever cannot be read gives nothing rather than a crash.
TEST(ThumbnailMakerLoad, handlesEverySampleFile)
{
    QDirIterator files(testDataFile(QStringLiteral("iptc")),
                       {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.tif"),
                        QStringLiteral("*.tiff"), QStringLiteral("*.psd")},
                       QDir::Files, QDirIterator::Subdirectories);
    const ThumbnailMaker maker;
    int pictures = 0;
    while (files.hasNext()) {
        const QString path = files.next();
        const QSize size = maker.imageSize(path);
        const QImage thumb = maker.loadThumbnail(path, 210, 140);
        if (thumb.isNull())
            continue; // truncated or corrupt samples of the set
        ++pictures;
        EXPECT_FALSE(size.isEmpty()) << path.toStdString();
        EXPECT_LE(thumb.width(), 210) << path.toStdString();
        EXPECT_LE(thumb.height(), 140) << path.toStdString();
    }
    EXPECT_GT(pictures, 40);
}
