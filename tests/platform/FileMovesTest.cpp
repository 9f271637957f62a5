// The no-replace rename, the trash and the atomic copy on real files.
#include "platform/AtomicFile.h"
#include "platform/FileMoves.h"

#include "support/TempFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zelvarion;
using zelvarion::test::TempFolder;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

// The lines of the info file the trash keeps for a trashed file of that name.
QStringList infoLines(const QString &trash, const QString &name)
{
    QFile info(trash + u8("/info/") + name + u8(".trashinfo"));
    if (!info.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(info.readAll()).split(u'\n');
}

bool isDeletionDate(const QString &line)
{
    const QString prefix = u8("DeletionDate=");
    return line.startsWith(prefix)
           && QDateTime::fromString(line.mid(prefix.size()), u8("yyyy-MM-ddTHH:mm:ss")).isValid();
}

class MoveToTrash : public ::testing::Test
{
protected:
    void SetUp() override { qputenv("XDG_DATA_HOME", QFile::encodeName(folder.file(u8("fresh/data")))); }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }

    QString trash() const { return folder.file(u8("fresh/data/Trash")); }
    QStringList trashed(const char *part) const { return QDir(trash() + u'/' + u8(part)).entryList(QDir::Files); }

    TempFolder folder;
};

} // namespace

TEST(RenameWithoutReplacing, neverReplacesAnExistingEntry)
{
    TempFolder folder;
    const QString from = folder.write(u8("l'été.jpg"), "photo");
    const QString taken = folder.write(u8("taken.jpg"), "another photo");
    QFile::link(folder.file(u8("nowhere")), folder.file(u8("dangling.jpg")));

    for (const QString &target : {taken, folder.file(u8("dangling.jpg")), from}) {
        SCOPED_TRACE(target.toStdString());
        EXPECT_EQ(filemoves::renameWithoutReplacing(from, target).status, filemoves::RenameStatus::TargetExists);
    }
    EXPECT_EQ(folder.read(u8("taken.jpg")), QByteArray("another photo"));

    const filemoves::RenameResult renamed = filemoves::renameWithoutReplacing(from, folder.file(u8("d'hiver.jpg")));
    EXPECT_EQ(renamed.status, filemoves::RenameStatus::Renamed);
    EXPECT_EQ(folder.read(u8("d'hiver.jpg")), QByteArray("photo"));
    EXPECT_FALSE(QFileInfo::exists(from));

    const filemoves::RenameResult missing = filemoves::renameWithoutReplacing(from, folder.file(u8("x.jpg")));
    EXPECT_EQ(missing.status, filemoves::RenameStatus::Failed);
    EXPECT_FALSE(missing.error.isEmpty());
}

TEST_F(MoveToTrash, putsTheFileInTheTrashOfTheDataFolderMadeWhenMissing)
{
    const QString photo = folder.write(u8("photos/o'neil.jpg"), "photo");
    const filemoves::TrashResult result = filemoves::moveToTrash(photo);
    EXPECT_TRUE(result.trashed()) << result.error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(photo));
    EXPECT_EQ(folder.read(u8("fresh/data/Trash/files/o'neil.jpg")), QByteArray("photo"));

    const QStringList info = infoLines(trash(), u8("o'neil.jpg"));
    ASSERT_EQ(info.size(), 4) << info.join(u'|').toStdString();
    EXPECT_EQ(info[0], u8("[Trash Info]"));
    EXPECT_EQ(info[1], u8("Path=") + QString::fromLatin1(QFile::encodeName(photo).toPercentEncoding("/")));
    EXPECT_TRUE(info[1].endsWith(u8("/photos/o%27neil.jpg"))) << info[1].toStdString();
    EXPECT_TRUE(isDeletionDate(info[2])) << info[2].toStdString();
    EXPECT_TRUE(info[3].isEmpty());

    const filemoves::TrashResult missing = filemoves::moveToTrash(photo);
    EXPECT_EQ(missing.status, filemoves::TrashStatus::Failed);
    EXPECT_FALSE(missing.error.isEmpty());
    EXPECT_EQ(trashed("info"), QStringList({u8("o'neil.jpg.trashinfo")}));
}

TEST_F(MoveToTrash, pathOfEveryNameIsEscapedSoAFileManagerRestoresItWhereItWas)
{
    const struct
    {
        const char *name;
        const char *escaped;
    } cases[] = {
        {"two\nlines.jpg", "two%0Alines.jpg"},
        {"100% sure.jpg", "100%25%20sure.jpg"},
        {"été#1.jpg", "%C3%A9t%C3%A9%231.jpg"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString photo = folder.write(u8("photos/") + u8(c.name), c.name);
        ASSERT_TRUE(filemoves::moveToTrash(photo).trashed());
        const QStringList info = infoLines(trash(), u8(c.name));
        ASSERT_GE(info.size(), 3);
        EXPECT_EQ(info[1], u8("Path=") + QString::fromLatin1(QFile::encodeName(folder.path()).toPercentEncoding("/"))
                               + u8("/photos/") + u8(c.escaped));
        EXPECT_EQ(folder.read(u8("fresh/data/Trash/files/") + u8(c.name)), QByteArray(c.name));
    }
}

TEST_F(MoveToTrash, aSecondFileOfTheSameNameGetsANameOfItsOwn)
{
    const QString first = folder.write(u8("a/img.jpg"), "first");
    const QString second = folder.write(u8("b/img.jpg"), "second");
    ASSERT_TRUE(filemoves::moveToTrash(first).trashed());
    ASSERT_TRUE(filemoves::moveToTrash(second).trashed());
    EXPECT_EQ(folder.read(u8("fresh/data/Trash/files/img.jpg")), QByteArray("first"));
    EXPECT_EQ(folder.read(u8("fresh/data/Trash/files/img.jpg.2")), QByteArray("second"));
    EXPECT_TRUE(infoLines(trash(), u8("img.jpg.2")).value(1).endsWith(u8("/b/img.jpg")));
}

TEST_F(MoveToTrash, refusesANameTooLongForItsInfoFileAtOnceAndKeepsTheFile)
{
    // Names of 245 bytes leave room for ".trashinfo" within 255; 246 to 255 do not.
    for (const int length : {246, 250, 255}) {
        SCOPED_TRACE(length);
        const QString name = QString(length - 4, u'x') + u8(".jpg");
        const QString photo = folder.write(u8("photos/") + name, "photo");
        const filemoves::TrashResult result = filemoves::moveToTrash(photo);
        EXPECT_EQ(result.status, filemoves::TrashStatus::NameTooLong);
        EXPECT_EQ(result.longestName, 245);
        EXPECT_EQ(folder.read(u8("photos/") + name), QByteArray("photo"));
    }
    EXPECT_TRUE(trashed("info").isEmpty());
    EXPECT_TRUE(trashed("files").isEmpty());

    const QString fits = folder.write(u8("photos/") + QString(241, u'x') + u8(".jpg"), "photo");
    EXPECT_TRUE(filemoves::moveToTrash(fits).trashed());
}

// A file on another file system than the home trash goes to the trash of its own file system,
// whose info holds the path relative to that file system's top folder.
TEST_F(MoveToTrash, aFileOnAnotherFileSystemGoesToTheTrashOfThatFileSystem)
{
    struct stat home {}, shm {};
    if (::stat("/dev/shm", &shm) != 0 || ::stat(QFile::encodeName(folder.path()).constData(), &home) != 0
        || home.st_dev == shm.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    QTemporaryDir elsewhere(u8("/dev/shm/zelvarion-trash-XXXXXX"));
    ASSERT_TRUE(elsewhere.isValid());
    const QString topTrash = u8("/dev/shm/.Trash-") + QString::number(::getuid());
    const bool trashExisted = QFileInfo::exists(topTrash);
    const QString photo = elsewhere.filePath(u8("a b.jpg"));
    {
        QFile file(photo);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("photo");
    }
    const filemoves::TrashResult result = filemoves::moveToTrash(photo);
    ASSERT_TRUE(result.trashed()) << result.error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(photo));
    const QString name = u8("a b.jpg");
    EXPECT_EQ(infoLines(topTrash, name).value(1),
              u8("Path=") + QFileInfo(elsewhere.path()).fileName() + u8("/a%20b.jpg"));
    QFile::remove(topTrash + u8("/files/") + name);
    QFile::remove(topTrash + u8("/info/") + name + u8(".trashinfo"));
    if (!trashExisted)
        QDir(topTrash).removeRecursively();
}

TEST(CopyFile, keepsPermissionsAndDateAndReplacesOnlyWhenWhole)
{
    TempFolder folder;
    const QString source = folder.write(u8("a.jpg"), QByteArray(3 << 20, 'x'));
    ::chmod(QFile::encodeName(source).constData(), 0640);
    const QDateTime old = QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6));
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const QString target = folder.file(u8("out/a.jpg"));
    QDir().mkpath(folder.file(u8("out")));
    ASSERT_TRUE(atomicfile::copyFile(source, target).ok);
    EXPECT_EQ(folder.read(u8("out/a.jpg")).size(), 3 << 20);
    EXPECT_EQ(QFileInfo(target).lastModified(), old);
    EXPECT_EQ(QFileInfo(target).permissions() & 0x0FFF, QFileInfo(source).permissions() & 0x0FFF);

    folder.write(u8("out/a.jpg"), "kept");
    for (const atomicfile::Step step : {atomicfile::Step::CreateTemporary, atomicfile::Step::Write,
                                        atomicfile::Step::Flush, atomicfile::Step::CopyAttributes,
                                        atomicfile::Step::Rename}) {
        atomicfile::setInjectedFailure(step);
        const atomicfile::Result failed = atomicfile::copyFile(source, target);
        atomicfile::setInjectedFailure(atomicfile::Step::None);
        EXPECT_FALSE(failed.ok);
        EXPECT_NE(failed.problem, atomicfile::Problem::None); // says what failed, and where
        EXPECT_FALSE(failed.paths.isEmpty());
        EXPECT_EQ(folder.read(u8("out/a.jpg")), QByteArray("kept"));
        EXPECT_EQ(QDir(folder.file(u8("out"))).entryList(QDir::Files | QDir::Hidden), QStringList({u8("a.jpg")}));
    }
    EXPECT_FALSE(atomicfile::copyFile(folder.file(u8("none.jpg")), target).ok);
}
