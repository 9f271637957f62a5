// The temporary files of the atomic replacement: what a killed run leaves behind is recognised by
// its name and removed once stale; nothing else in the folder is touched.
#include "platform/AtomicFile.h"
#include "platform/FileNames.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace zelvarion;
using zelvarion::test::TempFolder;

TEST(TemporaryFileNames, recogniseOnlyTheNamesOfThisProgramsTemporaryFiles)
{
    const struct
    {
        const char *name;
        bool temporary;
    } cases[] = {
        {".photo.jpg.zelvarion-Ab3xY9", true},
        {".a.zelvarion-000000", true},
        {".caf\xE9.jpg.zelvarion-zzzzzz", true},
        {".photo.jpg.zelvarion-Ab3xY", false},    // five letters
        {".photo.jpg.zelvarion-Ab3xY9z", false},  // seven
        {".photo.jpg.zelvarion-Ab3x.9", false},   // not a letter or digit
        {"photo.jpg.zelvarion-Ab3xY9", false},    // no leading dot
        {".zelvarion-Ab3xY9", false},             // no name between the dot and the mark
        {".photo.jpg.Zelvarion-Ab3xY9", false},
        {".photo.jpg", false},
        {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(atomicfile::isTemporaryFileName(QByteArrayView(c.name)), c.temporary) << c.name;
}

TEST(StaleTemporaryFiles, removesOnlyStaleTemporaryFilesOfTheFoldersGiven)
{
    TempFolder folder;
    const QStringList kept = {QStringLiteral("photo.jpg"), QStringLiteral(".photo.jpg.zelvarion-Ab3xY"),
                              QStringLiteral("photo.jpg.zelvarion-Ab3xY9"), QStringLiteral(".hidden.jpg")};
    for (const QString &name : kept)
        folder.write(name, "keep");
    folder.write(QStringLiteral(".photo.jpg.zelvarion-Ab3xY9"), "partial");
    folder.write(QStringLiteral("sub/.inner.jpg.zelvarion-Q1w2E3"), "not in a folder given");
    QDir().mkpath(folder.file(QStringLiteral(".folder.zelvarion-Zz9Zz9")));
    ASSERT_TRUE(QFile::link(folder.file(QStringLiteral("photo.jpg")), folder.file(QStringLiteral(".link.jpg.zelvarion-Lk1Lk1"))));
    const QByteArray latin = QFile::encodeName(folder.path()) + "/.caf\xE9.jpg.zelvarion-La7La7";
    const int fd = ::open(latin.constData(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);

    // Another run's replacement still being written holds its temporary file: it stays, however
    // young the files left by killed runs are.
    atomicfile::StreamingReplacement inProgress(folder.file(QStringLiteral("photo.jpg")));
    ASSERT_TRUE(inProgress.append("new"));

    EXPECT_EQ(atomicfile::removeStaleTemporaryFiles({folder.path(), folder.path()}), 2);
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral(".photo.jpg.zelvarion-Ab3xY9"))));
    EXPECT_NE(::access(latin.constData(), F_OK), 0);
    for (const QString &name : kept)
        EXPECT_EQ(folder.read(name), QByteArray("keep")) << name.toStdString();
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("sub/.inner.jpg.zelvarion-Q1w2E3"))));
    EXPECT_TRUE(QFileInfo(folder.file(QStringLiteral(".folder.zelvarion-Zz9Zz9"))).isDir());
    EXPECT_TRUE(QFileInfo(folder.file(QStringLiteral(".link.jpg.zelvarion-Lk1Lk1"))).isSymLink());
    ASSERT_TRUE(inProgress.commit().ok);
    EXPECT_EQ(folder.read(QStringLiteral("photo.jpg")), QByteArray("new"));
}

TEST(StaleTemporaryFiles, theTemporaryFileOfAReplacementIsOneOfThem)
{
    TempFolder folder;
    const QString target = folder.write(QStringLiteral("photo.jpg"), "old");
    atomicfile::StreamingReplacement replacement(target);
    ASSERT_TRUE(replacement.append("new"));
    QStringList temporaries;
    for (const QString &name : QDir(folder.path()).entryList(QDir::Files | QDir::Hidden))
        if (atomicfile::isTemporaryFileName(QFile::encodeName(name)))
            temporaries << name;
    ASSERT_EQ(temporaries.size(), 1);
    EXPECT_TRUE(temporaries.front().startsWith(QStringLiteral(".photo.jpg.zelvarion-")));
}

TEST(AtomicReplacement, replacesAFileWhoseNameIsNotUtf8ByItsOwnName)
{
    TempFolder folder;
    const QByteArray raw = QFile::encodeName(folder.path()) + "/caf\xE9.jpg";
    const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "old", 3), 3);
    ::close(fd);
    const QString path = folder.path() + u'/' + filenames::decode("caf\xE9.jpg");
    ASSERT_TRUE(atomicfile::replaceFileContent(path, "new content").ok);
    QFile file;
    ASSERT_TRUE(filenames::openForReading(file, path));
    EXPECT_EQ(file.readAll(), QByteArray("new content"));
    // Only the one file: no second one under a name made up from the text.
    const auto entries = filenames::listFolder(folder.path());
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), 1u);
    EXPECT_EQ(entries->front().name, filenames::decode("caf\xE9.jpg"));
}

// A name at the file system's limit leaves no room for the temporary name's additions: the
// temporary name is shortened, and the file is still replaced, by every kind of replacement.
TEST(AtomicReplacement, replacesFilesWhoseNamesAreAsLongAsTheFolderTakes)
{
    TempFolder folder;
    for (const int length : {238, 250, 255}) {
        const QString name = QString(length - 4, u'L') + QStringLiteral(".jpg");
        const QString target = folder.write(QString::number(length) + u'/' + name, "old");
        ASSERT_TRUE(atomicfile::replaceFileContent(target, "whole").ok) << length;
        atomicfile::StreamingReplacement streamed(target);
        ASSERT_TRUE(streamed.append("streamed")) << length;
        ASSERT_TRUE(streamed.commit().ok) << length;
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("streamed")) << length;
        EXPECT_EQ(QFileInfo(target).dir().entryList(QDir::Files | QDir::Hidden), QStringList{name}) << length;
    }
}

// A replacement settled but not committed has its content on the disk beside the target and the
// target untouched; given up then, it leaves nothing behind.
TEST(AtomicReplacement, settledReplacementTouchesTheTargetOnlyWhenCommitted)
{
    TempFolder folder;
    const QString target = folder.write(QStringLiteral("photo.jpg"), "old");
    {
        atomicfile::StreamingReplacement abandoned(target);
        ASSERT_TRUE(abandoned.append("never"));
        ASSERT_TRUE(abandoned.settle().ok);
        EXPECT_EQ(folder.read(QStringLiteral("photo.jpg")), QByteArray("old"));
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("photo.jpg")});
    // A run that flushes its folders at its end still has each file in place at its commit.
    atomicfile::DeferredFolderFlushes folderFlushes;
    atomicfile::StreamingReplacement committed(target, atomicfile::Durability::Synced, &folderFlushes);
    ASSERT_TRUE(committed.append("new"));
    ASSERT_TRUE(committed.settle().ok);
    ASSERT_TRUE(committed.commit().ok);
    EXPECT_EQ(folder.read(QStringLiteral("photo.jpg")), QByteArray("new"));
    folderFlushes.flush();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("photo.jpg")});
}

// Workers replacing files of one folder at once each find their own content in place.
TEST(AtomicReplacement, workersReplacingFilesOfOneFolderAtOnceEachFindTheirOwnContent)
{
    TempFolder folder;
    constexpr int kWorkers = 8;
    constexpr int kFilesEach = 25;
    std::vector<std::thread> workers;
    std::atomic<int> failed = 0;
    for (int worker = 0; worker < kWorkers; ++worker)
        workers.emplace_back([&, worker] {
            for (int n = 0; n < kFilesEach; ++n) {
                const QString name = QStringLiteral("%1-%2.jpg").arg(worker).arg(n);
                if (!atomicfile::replaceFileContent(folder.path() + u'/' + name, name.toUtf8()).ok)
                    ++failed;
            }
        });
    for (std::thread &worker : workers)
        worker.join();
    EXPECT_EQ(failed, 0);
    const QStringList names = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(names.size(), kWorkers * kFilesEach);
    for (const QString &name : names)
        EXPECT_EQ(folder.read(name), name.toUtf8()) << name.toStdString();
}
