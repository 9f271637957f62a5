// The scan with the real image step: thumbnail sizes, the recreate option, untouched image files.
#include "ScanTestSupport.h"

#include "core/catalogue/ScanThumbnails.h"
#include "core/catalogue/StoredThumbnail.h"
#include "platform/FileNames.h"
#include "platform/ThumbnailMaker.h"
#include "platform/ThumbnailStore.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <cstdio>
#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

QString writeJpeg(const ScanFixture &f, const QString &name, QSize size)
{
    QImage picture(size, QImage::Format_RGB888);
    picture.fill(QColor(200, 120, 40));
    const QString path = f.root + name;
    QDir().mkpath(f.root);
    return ThumbnailMaker().saveJpeg(picture, path) ? path : QString();
}

QByteArray digest(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
}

struct RealScan
{
    ScanFixture f;
    TempFolder storeFolder;
    ThumbnailStore store{storeFolder.path()};
    StoredThumbnailExaminer examiner{store};

    void scan(ThumbnailPolicy policy)
    {
        f.db.open();
        ScanOptions options;
        options.thumbnails = policy;
        FolderScanner scanner(f.db, f.feedback, examiner, options);
        scanner.run({{f.root, f.root}});
        f.db.close();
    }
    QSize storedSize(const QString &path) const { return ThumbnailMaker().decode(store.load(path)).size(); }
};

} // namespace

TEST(ScanThumbnails, makesTheThumbnailSizesOfTheSizeRule)
{
    RealScan s;
    const struct
    {
        const char *name;
        QSize source;
        QSize thumbnail;
    } cases[] = {
        {"small.jpg", {100, 60}, {150, 90}},
        {"landscape.jpg", {3000, 2000}, {180, 120}},
        {"portrait.jpg", {2000, 3000}, {80, 120}},
        {"panorama.jpg", {4000, 1000}, {180, 120}},
    };
    for (const auto &c : cases)
        ASSERT_FALSE(writeJpeg(s.f, QString::fromUtf8(c.name), c.source).isEmpty());
    s.f.registerFolders({s.f.root});
    s.scan(ThumbnailPolicy::KeepExisting);
    for (const auto &c : cases) {
        const QString path = s.f.root + QString::fromUtf8(c.name);
        EXPECT_EQ(s.storedSize(path), c.thumbnail) << c.name;
        const auto row = s.f.rows(QStringLiteral("select Width, Height from Images where File=%1;").arg(sqlText(QString::fromUtf8(c.name))));
        ASSERT_EQ(row.size(), 1u);
        EXPECT_EQ(row.front(), QStringList({QString::number(c.source.width()), QString::number(c.source.height())}));
    }
}

TEST(ScanThumbnails, keepsStoredThumbnailsUnlessAskedToRecreateThem)
{
    RealScan s;
    const QString photo = writeJpeg(s.f, QStringLiteral("photo.jpg"), {640, 480});
    s.f.registerFolders({s.f.root});
    ASSERT_TRUE(s.store.store(photo, QByteArrayLiteral("older thumbnail")));
    s.scan(ThumbnailPolicy::KeepExisting);
    EXPECT_EQ(s.store.load(photo), QByteArrayLiteral("older thumbnail"));
    s.scan(ThumbnailPolicy::None);
    EXPECT_EQ(s.store.load(photo), QByteArrayLiteral("older thumbnail"));
    s.scan(ThumbnailPolicy::Recreate);
    EXPECT_EQ(s.storedSize(photo), QSize(160, 120));
}

TEST(ScanThumbnails, neverTouchesTheImageFiles)
{
    RealScan s;
    const QString photo = writeJpeg(s.f, QStringLiteral("photo.jpg"), {640, 480});
    const QDateTime old(QDate(2001, 2, 3), QTime(4, 5, 6));
    {
        QFile file(photo);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const QByteArray before = digest(photo);
    s.f.registerFolders({s.f.root});
    s.scan(ThumbnailPolicy::Recreate);
    EXPECT_TRUE(s.store.has(photo));
    EXPECT_EQ(digest(photo), before);
    EXPECT_EQ(QFileInfo(photo).lastModified(), old);
    EXPECT_EQ(QDir(s.f.root).entryList(QDir::Files | QDir::Hidden), QStringList({QStringLiteral("photo.jpg")}));
}

TEST(ScanThumbnails, givesUnknownSizesAndNoThumbnailToFilesThatDoNotDecode)
{
    RealScan s;
    const QString photo = writeJpeg(s.f, QStringLiteral("whole.jpg"), {300, 200});
    QFile whole(photo);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    s.f.write(QStringLiteral("notes.jpg"), QByteArrayLiteral("plain text that only looks like an image by name"));
    s.f.write(QStringLiteral("empty.jpg"), QByteArray());
    s.f.write(QStringLiteral("head-only.jpg"), bytes.left(20));
    s.f.registerFolders({s.f.root});
    s.scan(ThumbnailPolicy::Recreate);
    for (const char *name : {"notes.jpg", "empty.jpg", "head-only.jpg"}) {
        const auto row = s.f.rows(QStringLiteral("select Width, Height, SupportIPTC from Images where File=%1;")
                                      .arg(sqlText(QString::fromUtf8(name))));
        ASSERT_EQ(row.size(), 1u) << name;
        EXPECT_EQ(row.front().mid(0, 2), QStringList({QStringLiteral("?"), QStringLiteral("?")})) << name;
        EXPECT_FALSE(s.store.has(s.f.root + QString::fromUtf8(name))) << name;
    }
    EXPECT_TRUE(s.store.has(photo));
}

// The maker opens files by a name Qt encodes: a name that is not UTF-8 is measured from its bytes.
TEST(ScanThumbnails, measuresAnImageWhoseNameIsNotUtf8)
{
    RealScan s;
    const QString written = writeJpeg(s.f, QStringLiteral("plain.jpg"), QSize(320, 200));
    ASSERT_FALSE(written.isEmpty());
    const QByteArray latin = QFile::encodeName(s.f.root) + "caf\xE9.jpg";
    ASSERT_EQ(::rename(QFile::encodeName(written).constData(), latin.constData()), 0);
    for (const ThumbnailPolicy policy : {ThumbnailPolicy::None, ThumbnailPolicy::Recreate}) {
        const ImageFacts facts = s.examiner.examine(filenames::decode(latin), policy);
        EXPECT_EQ(facts.pixelSize, QSize(320, 200)) << int(policy);
        EXPECT_EQ(facts.thumbnail.isEmpty(), policy == ThumbnailPolicy::None) << int(policy);
    }
}

// The recipe the scan and the template run share.
TEST(StoredThumbnail, decodesTheBytesAtTheAskedSizeElseTheFileIntoTheBoxAndStoresIt)
{
    ScanFixture f;
    TempFolder storeFolder;
    const ThumbnailStore store{storeFolder.path()};
    const ThumbnailMaker maker;
    const QString path = writeJpeg(f, QStringLiteral("wide.jpg"), QSize(420, 280));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();

    const QByteArray asked = makeStoredThumbnail(maker, store, path, bytes, QSize(90, 60));
    EXPECT_EQ(maker.decode(asked).size(), QSize(90, 60));
    EXPECT_EQ(store.load(path), asked);

    // No size to decode the bytes at (a header that gives none): the file itself, into the box.
    const QByteArray boxed = makeStoredThumbnail(maker, store, path, QByteArrayView(), QSize());
    EXPECT_EQ(maker.decode(boxed).size(), QSize(210, 140));
    EXPECT_EQ(store.load(path), boxed);

    const QString broken = f.root + QStringLiteral("broken.jpg");
    ASSERT_TRUE(QFile(broken).open(QIODevice::WriteOnly));
    EXPECT_TRUE(makeStoredThumbnail(maker, store, broken, QByteArray("not a picture"), QSize(90, 60)).isEmpty());
    EXPECT_FALSE(store.has(broken));
}
