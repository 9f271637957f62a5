#include "platform/ThumbnailStore.h"

#include "support/TempFolder.h"

#include <QCryptographicHash>
#include <QDir>

#include <gtest/gtest.h>

using namespace zelvarion;
using zelvarion::test::TempFolder;

namespace {

const QByteArray kFirst("\xFF\xD8\xFF first thumbnail");
const QByteArray kSecond("\xFF\xD8\xFF second thumbnail");

class ThumbnailStoreTest : public ::testing::Test
{
protected:
    TempFolder folder;
    ThumbnailStore store{folder.file(QStringLiteral("cache/thumbs"))};
    QString image(const char *name) const { return folder.file(QString::fromLatin1(name)); }
};

} // namespace

TEST_F(ThumbnailStoreTest, keepsAThumbnailUnderTheHashOfTheAbsolutePath)
{
    const QString path = image("photos/a.jpg");
    EXPECT_FALSE(store.has(path));
    ASSERT_TRUE(store.store(path, kFirst));
    EXPECT_TRUE(store.has(path));
    EXPECT_EQ(store.load(path), kFirst);
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex();
    EXPECT_EQ(store.entryPath(path), store.root() + u'/' + QString::fromLatin1(hash) + QStringLiteral(".jpg"));
    // The store never writes beside the image.
    EXPECT_FALSE(QDir(folder.file(QStringLiteral("photos"))).exists());
}

TEST_F(ThumbnailStoreTest, findsOneEntryUnderEverySpellingOfThePath)
{
    ASSERT_TRUE(store.store(image("photos/a.jpg"), kFirst));
    EXPECT_TRUE(store.has(image("photos/./x/../a.jpg")));
    EXPECT_TRUE(store.has(image("photos//a.jpg")));
    EXPECT_FALSE(store.has(image("photos/A.jpg")));
}

TEST_F(ThumbnailStoreTest, replacesOnRewriteAndLeavesNoTemporaryFiles)
{
    const QString path = image("a.jpg");
    ASSERT_TRUE(store.store(path, kFirst));
    ASSERT_TRUE(store.store(path, kSecond));
    EXPECT_EQ(store.load(path), kSecond);
    EXPECT_EQ(QDir(store.root()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    EXPECT_FALSE(store.store(path, QByteArray()));
    EXPECT_EQ(store.load(path), kSecond);
}

TEST_F(ThumbnailStoreTest, followsARenameOfTheImage)
{
    const QString before = image("a.jpg");
    const QString after = image("b.jpg");
    ASSERT_TRUE(store.store(before, kFirst));
    ASSERT_TRUE(store.store(after, kSecond)); // stale, from an earlier b.jpg
    EXPECT_TRUE(store.move(before, after));
    EXPECT_FALSE(store.has(before));
    EXPECT_EQ(store.load(after), kFirst);
}

TEST_F(ThumbnailStoreTest, dropsAStaleTargetWhenTheRenamedImageHadNone)
{
    const QString after = image("b.jpg");
    ASSERT_TRUE(store.store(after, kSecond));
    EXPECT_FALSE(store.move(image("a.jpg"), after));
    EXPECT_FALSE(store.has(after));
    EXPECT_FALSE(store.has(image("a.jpg")));
}

TEST_F(ThumbnailStoreTest, dropsTheThumbnailOfADeletedImage)
{
    const QString path = image("a.jpg");
    ASSERT_TRUE(store.store(path, kFirst));
    EXPECT_TRUE(store.drop(path));
    EXPECT_FALSE(store.has(path));
    EXPECT_TRUE(store.load(path).isEmpty());
    EXPECT_TRUE(store.drop(path)); // nothing left either way
}

TEST_F(ThumbnailStoreTest, isAvailableWhereItsRootCanBeWritten)
{
    EXPECT_TRUE(store.isAvailable());
    EXPECT_TRUE(QDir(store.root()).exists());
    EXPECT_TRUE(QDir(store.root()).entryList(QDir::Files | QDir::Hidden).isEmpty()); // probe removed
}

TEST_F(ThumbnailStoreTest, isUnavailableWhereItsRootCannotBeMade)
{
    // A root below a plain file cannot be created, whatever the user's rights.
    const QString blocker = folder.write(QStringLiteral("blocker"), "x");
    const ThumbnailStore blocked(blocker + QStringLiteral("/thumbs"));
    EXPECT_FALSE(blocked.isAvailable());
    EXPECT_FALSE(blocked.store(image("a.jpg"), kFirst));
    EXPECT_FALSE(blocked.has(image("a.jpg")));
    EXPECT_FALSE(ThumbnailStore(QString()).isAvailable());
}

TEST(ThumbnailStoreDefault, livesInTheUsersCacheFolder)
{
    EXPECT_TRUE(ThumbnailStore().root().endsWith(QStringLiteral("/zelvarion/thumbs")));
}
