// The no-replace rename, the trash and the atomic copy on real files.
#include "platform/AtomicFile.h"
#include "platform/FileMoves.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace zelvarion;
using zelvarion::test::TempFolder;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

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

TEST(MoveToTrash, putsTheFileInTheTrashOfTheDataFolderMadeWhenMissing)
{
    TempFolder folder;
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder.file(u8("fresh/data"))));
    const QString photo = folder.write(u8("photos/o'neil.jpg"), "photo");
    QString error;
    EXPECT_TRUE(filemoves::moveToTrash(photo, error)) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(photo));
    EXPECT_EQ(folder.read(u8("fresh/data/Trash/files/o'neil.jpg")), QByteArray("photo"));
    EXPECT_TRUE(QFileInfo::exists(folder.file(u8("fresh/data/Trash/info/o'neil.jpg.trashinfo"))));

    EXPECT_FALSE(filemoves::moveToTrash(photo, error));
    qunsetenv("XDG_DATA_HOME");
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
        EXPECT_FALSE(failed.error.isEmpty());
        EXPECT_EQ(folder.read(u8("out/a.jpg")), QByteArray("kept"));
        EXPECT_EQ(QDir(folder.file(u8("out"))).entryList(QDir::Files | QDir::Hidden), QStringList({u8("a.jpg")}));
    }
    EXPECT_FALSE(atomicfile::copyFile(folder.file(u8("none.jpg")), target).ok);
}
