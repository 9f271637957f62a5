#include "ScanTestSupport.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;
using Verdict = AddFolderCheck::Verdict;

TEST(AddFolder, refusesTheRootAndTheVirtualSystemFolders)
{
    for (const char *path : {"/", "/proc", "/proc/", "/proc/1/fd", "/sys", "/sys/class", "/dev", "/dev/shm", "/run",
                             "/run/user/0", "//"}) {
        const AddFolderCheck check = checkNewFolder(QString::fromUtf8(path), {});
        EXPECT_EQ(check.verdict, Verdict::Refused) << path;
    }
    for (const char *path : {"/running", "/home/proc", "/devices", "/srv/photos"})
        EXPECT_EQ(checkNewFolder(QString::fromUtf8(path), {}).verdict, Verdict::Register) << path;
}

TEST(AddFolder, searchesTheListedTextsPlainlyWithoutRegardToCase)
{
    const struct
    {
        const char *chosen;
        QStringList listed;
        Verdict verdict;
        int row;
    } cases[] = {
        {"/p/Photos", {QStringLiteral("/p/Photos/2004/")}, Verdict::Overlaps, 0},  // contains a listed folder
        {"/p/Photo", {QStringLiteral("/p/Photos/")}, Verdict::Overlaps, 0},        // plain text: a prefix of a name
        {"/p/photos", {QStringLiteral("/x/"), QStringLiteral("/P/PHOTOS/")}, Verdict::Overlaps, 1},
        {"/p/Photos/2004", {QStringLiteral("/p/Photos/")}, Verdict::Subfolder, 0},
        {"/p/Photos/2004/", {QStringLiteral("/q/"), QStringLiteral("/p/Photos/")}, Verdict::Subfolder, 1},
        {"/p/Photos2", {QStringLiteral("/p/Photos/")}, Verdict::Register, -1},
        {"/p/Other", {QStringLiteral("/p/Photos/")}, Verdict::Register, -1},
    };
    for (const auto &c : cases) {
        const AddFolderCheck check = checkNewFolder(QString::fromUtf8(c.chosen), c.listed);
        EXPECT_EQ(check.verdict, c.verdict) << c.chosen;
        EXPECT_EQ(check.row, c.row) << c.chosen;
    }
    EXPECT_EQ(checkNewFolder(QStringLiteral("/p/Photos/2004"), {}).folder, QStringLiteral("/p/Photos/2004/"));
    EXPECT_EQ(checkNewFolder(QStringLiteral("/p/./a/../b//"), {}).folder, QStringLiteral("/p/b/"));
}

TEST(RemoveFolder, removesExactlyTheRowsUnderTheFolder)
{
    ScanFixture f;
    const QString folder = QStringLiteral("/a/b's/");
    f.registerFolders({folder, QStringLiteral("/x/a/b's/"), QStringLiteral("/a/b'sX/")});
    f.db.open();
    for (const char *row : {"/a/b's/", "/a/b's/sub/", "/x/a/b's/", "/a/b'sX/", "/A/B'S/"})
        f.db.execute(QStringLiteral("insert into Images (Folder, File) values(%1, 'f.jpg');").arg(sqlText(QString::fromUtf8(row))));
    EXPECT_TRUE(removeFolder(f.db, f.feedback, folder));
    f.db.close();
    QStringList left = f.paths();
    left.sort();
    EXPECT_EQ(left, QStringList({QStringLiteral("/A/B'S/f.jpg"), QStringLiteral("/a/b'sX/f.jpg"), QStringLiteral("/x/a/b's/f.jpg")}));
    EXPECT_TRUE(f.folderRow(folder).isEmpty());
    EXPECT_FALSE(f.folderRow(QStringLiteral("/x/a/b's/")).isEmpty());
    EXPECT_TRUE(f.feedback.messages.empty());
}

TEST(RemoveFolder, treatsPercentAndUnderscoreAsPlainCharacters)
{
    ScanFixture f;
    f.registerFolders({QStringLiteral("/p/a_%/")});
    f.db.open();
    for (const char *row : {"/p/a_%/", "/p/ab%/", "/p/a_xyz/"})
        f.db.execute(QStringLiteral("insert into Images (Folder, File) values(%1, 'f');").arg(sqlText(QString::fromUtf8(row))));
    removeFolder(f.db, f.feedback, QStringLiteral("/p/a_%/"));
    f.db.close();
    QStringList left = f.paths();
    left.sort();
    EXPECT_EQ(left, QStringList({QStringLiteral("/p/a_xyz/f"), QStringLiteral("/p/ab%/f")}));
}

TEST(RemoveFolder, reportsAFailureAsCannotRemoveData)
{
    ScanFixture f;
    f.db.open();
    f.db.execute(QStringLiteral("drop table Images;"));
    EXPECT_FALSE(removeFolder(f.db, f.feedback, QStringLiteral("/a/")));
    f.db.close();
    ASSERT_EQ(f.feedback.messages.size(), 1u);
    EXPECT_TRUE(f.feedback.messages.front().text.startsWith(QStringLiteral("Cannot remove data\n")));
}
