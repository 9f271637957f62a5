#include "ScanTestSupport.h"

#include "core/iptc/IptcReader.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

// Column positions of the Images table.
constexpr int kFolder = 0, kFile = 1, kFirstField = 2, kCreationDate = 37, kCreationTime = 38,
              kLastWriteDate = 39, kLastWriteTime = 40, kFileSize = 41, kRevisionDate = 42, kRevisionTime = 43,
              kSupportIptc = 44, kWidth = 45, kHeight = 46, kCheckMark = 47;

QByteArray sampleBytes(const char *relative)
{
    QFile file(testDataFile(QString::fromUtf8(relative)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const char *const kIptcSample = "iptc/pillow/Tests/images/iptc.jpg";

QStringList imageRow(ScanFixture &f, const QString &path)
{
    const QFileInfo info(path);
    const auto found = f.rows(QStringLiteral("select * from Images where Folder=%1 and File=%2;")
                                  .arg(sqlText(info.absolutePath() + u'/'), sqlText(info.fileName())));
    return found.size() == 1 ? found.front() : QStringList();
}

} // namespace

TEST(FolderScan, writesOneRowPerFileWithNamesThatNeedQuoting)
{
    ScanFixture f;
    const QStringList names = {QStringLiteral("it's.jpg"), QStringLiteral("with space.jpg"), QStringLiteral("100%.jpg"),
                               QStringLiteral("a_b.jpg"), QStringLiteral("çà 日本.jpg"), QStringLiteral("notes.txt")};
    for (const QString &name : names)
        f.write(name, sampleBytes(kIptcSample));
    f.write(QStringLiteral("O'Brien's 50%_off/inner.jpg"), sampleBytes(kIptcSample));
    f.registerFolders({f.root});
    const ScanSummary summary = f.scanFolder(f.root);
    EXPECT_EQ(summary.visited, 7);
    EXPECT_FALSE(summary.stopped);
    // Files of a folder by name, then its subfolders.
    const QStringList expected = {f.root + QStringLiteral("100%.jpg"), f.root + QStringLiteral("a_b.jpg"),
                                  f.root + QStringLiteral("it's.jpg"), f.root + QStringLiteral("notes.txt"),
                                  f.root + QStringLiteral("with space.jpg"), f.root + QStringLiteral("çà 日本.jpg"),
                                  f.root + QStringLiteral("O'Brien's 50%_off/inner.jpg")};
    QStringList sorted = f.paths();
    EXPECT_EQ(sorted.last(), expected.last());
    sorted.sort();
    QStringList expectedSorted = expected;
    expectedSorted.sort();
    EXPECT_EQ(sorted, expectedSorted);
    EXPECT_EQ(f.folderRow(f.root).value(1), QStringLiteral("7"));
    EXPECT_TRUE(f.feedback.messages.empty()) << f.feedback.texts().join(u'\n').toStdString();
}

TEST(FolderScan, leavesDotFoldersAndDotFilesOutAndEntersEveryOtherFolder)
{
    ScanFixture f;
    f.write(QStringLiteral("a.txt"));
    f.write(QStringLiteral(".hidden.txt"));
    f.write(QStringLiteral(".cache/inside.txt"));
    f.write(QStringLiteral("deep/er/est/leaf.txt"));
    QDir().mkpath(f.root + QStringLiteral("empty"));
    f.registerFolders({f.root});
    f.scanFolder(f.root);
    EXPECT_EQ(f.paths(), QStringList({f.root + QStringLiteral("a.txt"), f.root + QStringLiteral("deep/er/est/leaf.txt")}));
}

TEST(FolderScan, doesNotFollowALinkedFolderBackToItsParent)
{
    ScanFixture f;
    f.write(QStringLiteral("sub/a.txt"));
    ASSERT_TRUE(QFile::link(f.root, f.root + QStringLiteral("sub/loop")));
    f.registerFolders({f.root});
    f.scanFolder(f.root);
    EXPECT_EQ(f.paths(), QStringList({f.root + QStringLiteral("sub/a.txt")}));
}

TEST(FolderScan, fillsTheFileFactsInTheirTextForms)
{
    ScanFixture f;
    const QString image = f.write(QStringLiteral("photo.jpg"), sampleBytes(kIptcSample));
    const QString text = f.write(QStringLiteral("readme.txt"), QByteArrayLiteral("not an image\n"));
    const QString truncated = f.write(QStringLiteral("cut.jpg"), sampleBytes(kIptcSample).left(40));
    const QString thin = f.write(QStringLiteral("thin.jpg"), sampleBytes(kIptcSample));
    const QDateTime written(QDate(2004, 7, 15), QTime(9, 5, 0));
    for (const QString &path : {image, text, truncated}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(written, QFileDevice::FileModificationTime));
    }
    f.examiner.sizes = {{QStringLiteral("photo.jpg"), QSize(640, 480)},
                        {QStringLiteral("cut.jpg"), QSize(1, 1)},
                        {QStringLiteral("thin.jpg"), QSize(300, 1)}};
    f.registerFolders({f.root});
    f.scanFolder(f.root);

    const QStringList photo = imageRow(f, image);
    ASSERT_EQ(photo.size(), 48);
    EXPECT_EQ(photo[kFolder], f.root);
    EXPECT_EQ(photo[kFile], QStringLiteral("photo.jpg"));
    EXPECT_EQ(photo[kLastWriteDate], QStringLiteral("2004/07/15"));
    EXPECT_EQ(photo[kLastWriteTime], QStringLiteral("09:05:00"));
    EXPECT_TRUE(QDate::fromString(photo[kCreationDate], QStringLiteral("yyyy/MM/dd")).isValid()) << photo[kCreationDate].toStdString();
    EXPECT_TRUE(QTime::fromString(photo[kCreationTime], QStringLiteral("HH:mm:ss")).isValid());
    EXPECT_EQ(photo[kFileSize], QString::number(QFileInfo(image).size()));
    EXPECT_EQ(photo[kSupportIptc], QStringLiteral("1"));
    EXPECT_EQ(photo[kWidth], QStringLiteral("640"));
    EXPECT_EQ(photo[kHeight], QStringLiteral("480"));
    for (int empty : {kRevisionDate, kRevisionTime, kCheckMark})
        EXPECT_TRUE(photo[empty].isEmpty()) << empty;

    const QStringList readme = imageRow(f, text);
    ASSERT_EQ(readme.size(), 48);
    EXPECT_EQ(readme[kSupportIptc], QStringLiteral("0"));
    EXPECT_EQ(readme[kWidth], QStringLiteral("?"));
    EXPECT_EQ(readme[kHeight], QStringLiteral("?"));
    EXPECT_EQ(readme[kFileSize], QStringLiteral("13"));
    for (int i = 0; i < kIptcFieldCount; ++i)
        EXPECT_TRUE(readme[kFirstField + i].isEmpty()) << i;

    const QStringList cut = imageRow(f, truncated);
    ASSERT_EQ(cut.size(), 48);
    EXPECT_EQ(cut[kWidth], QStringLiteral("?")); // a size of 1 pixel reads as unknown
    EXPECT_EQ(cut[kFileSize], QStringLiteral("40"));
    // Both sides are unknown when either is 1 pixel or less.
    EXPECT_EQ(imageRow(f, thin).mid(kWidth, 2), QStringList({QStringLiteral("?"), QStringLiteral("?")}));
}

TEST(FolderScan, keepsTheTrueSizeOfAFileOfMoreThanTwoGibibytes)
{
    ScanFixture f;
    const QString big = f.write(QStringLiteral("big.bin"), QByteArrayLiteral("x"));
    QFile file(big);
    const qint64 size = 3LL * 1024 * 1024 * 1024 + 5; // sparse: takes no room on disk
    ASSERT_TRUE(file.resize(size));
    f.registerFolders({f.root});
    f.scanFolder(f.root);
    EXPECT_EQ(imageRow(f, big).value(kFileSize), QStringLiteral("3221225477"));
}

TEST(FolderScan, storesTheSameIptcValuesAsTheReaderForEverySampleFile)
{
    ScanFixture f;
    const QString samples = testDataFile(QStringLiteral("iptc"));
    QDirIterator it(samples, QDir::Files, QDirIterator::Subdirectories);
    QStringList files;
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.endsWith(QStringLiteral(".json")) && !path.endsWith(QStringLiteral(".md")))
            files << path;
    }
    ASSERT_GT(files.size(), 20);
    for (const QString &path : files)
        f.write(QStringLiteral("copy/") + QString::number(files.indexOf(path)) + u'_' + QFileInfo(path).fileName(),
                [&] { QFile in(path); in.open(QIODevice::ReadOnly); return in.readAll(); }());
    f.registerFolders({f.root});
    f.scanFolder(f.root);
    for (const QString &path : files) {
        const QString copy = f.root + QStringLiteral("copy/") + QString::number(files.indexOf(path)) + u'_'
                             + QFileInfo(path).fileName();
        const QStringList row = imageRow(f, copy);
        ASSERT_EQ(row.size(), 48) << copy.toStdString();
        const IptcReadResult read = readImageIptc(copy, QStringLiteral("Field"));
        for (int i = 0; i < kIptcFieldCount; ++i)
            EXPECT_EQ(row[kFirstField + i], read.fields.values[std::size_t(i)]) << path.toStdString() << " field " << i;
        EXPECT_EQ(row[kSupportIptc], supportIptcCode(read.fileKind)) << path.toStdString();
    }
}

TEST(FolderScan, rescanReplacesExactlyTheRowsOfItsFolder)
{
    ScanFixture f;
    // Under a pattern match "a_c" would also hit "abc", and "100%" every folder starting "100".
    for (const char *name : {"a_c/1.txt", "a_c/2.txt", "abc/1.txt", "100%/1.txt", "100 other/1.txt"})
        f.write(QString::fromUtf8(name));
    const QString aUc = f.root + QStringLiteral("a_c/"), abc = f.root + QStringLiteral("abc/");
    const QString percent = f.root + QStringLiteral("100%/"), other = f.root + QStringLiteral("100 other/");
    f.registerFolders({aUc, abc, percent, other});
    f.scan({{aUc, aUc}, {abc, abc}, {percent, percent}, {other, other}});
    ASSERT_EQ(f.paths().size(), 5);

    QFile::remove(aUc + QStringLiteral("2.txt"));
    f.write(QStringLiteral("a_c/3.txt"));
    QFile::remove(percent + QStringLiteral("1.txt"));
    f.scan({{aUc, aUc}, {percent, percent}});
    QStringList found = f.paths();
    found.sort();
    EXPECT_EQ(found, QStringList({other + QStringLiteral("1.txt"), aUc + QStringLiteral("1.txt"),
                                  aUc + QStringLiteral("3.txt"), abc + QStringLiteral("1.txt")}));
    EXPECT_EQ(f.folderRow(aUc).value(1), QStringLiteral("2"));
    EXPECT_EQ(f.folderRow(abc).value(1), QStringLiteral("1"));
    EXPECT_EQ(f.folderRow(percent).value(1), QStringLiteral("0"));
    EXPECT_EQ(f.folderRow(other).value(1), QStringLiteral("1"));
}

TEST(FolderScan, subfolderRowRescansOnlyTheSubfolderAndRecountsItsParent)
{
    ScanFixture f;
    f.write(QStringLiteral("top.txt"));
    f.write(QStringLiteral("2004/a.txt"));
    f.registerFolders({f.root});
    f.scanFolder(f.root);
    const QString lastScan = f.folderRow(f.root).value(2);
    EXPECT_FALSE(lastScan.isEmpty());

    const QString sub = f.root + QStringLiteral("2004/");
    f.write(QStringLiteral("2004/b.txt"));
    f.write(QStringLiteral("new-top.txt")); // not under the subfolder: not scanned now
    f.scan({{sub, f.root}});
    QStringList found = f.paths();
    found.sort();
    EXPECT_EQ(found, QStringList({f.root + QStringLiteral("2004/a.txt"), f.root + QStringLiteral("2004/b.txt"),
                                  f.root + QStringLiteral("top.txt")}));
    EXPECT_EQ(f.folderRow(f.root).value(1), QStringLiteral("3"));
    EXPECT_TRUE(f.folderRow(sub).isEmpty()); // the subfolder is never registered
}

TEST(FolderScan, stopKeepsTheRowsWrittenAndTheOldRowsOfTheFilesNotReached)
{
    ScanFixture f;
    for (int i = 0; i < 30; ++i)
        f.write(QStringLiteral("f%1.txt").arg(i, 2, 10, QLatin1Char('0')));
    f.write(QStringLiteral("z/later.txt"));
    const QString second = f.folder.path() + QStringLiteral("/second/");
    f.folder.write(QStringLiteral("second/s.txt"), "x");
    f.registerFolders({f.root, second});
    f.scan({{f.root, f.root}, {second, second}});
    ASSERT_EQ(f.paths().size(), 32);
    f.db.open();
    f.db.execute(QStringLiteral("update Images set CheckMark='2024/05/01' where File in ('f02.txt', 'f29.txt');"));
    f.db.close();
    QFile::remove(f.root + QStringLiteral("f28.txt")); // not reached: its row waits for a whole scan

    StoppingFeedback stopper(5);
    const ScanSummary summary = f.scan({{f.root, f.root}, {second, second}}, stopper);
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(summary.visited, 5);
    const QStringList found = f.paths();
    // Five new rows, then the old rows of the files not reached; the second folder was never
    // reached and keeps its row.
    EXPECT_EQ(found.size(), 32);
    EXPECT_EQ(found.count(f.root + QStringLiteral("f02.txt")), 1);
    EXPECT_TRUE(found.contains(f.root + QStringLiteral("f28.txt")));
    EXPECT_TRUE(found.contains(second + QStringLiteral("s.txt")));
    EXPECT_EQ(imageRow(f, f.root + QStringLiteral("f02.txt")).value(kCheckMark), QStringLiteral("2024/05/01"));
    EXPECT_EQ(imageRow(f, f.root + QStringLiteral("f29.txt")).value(kCheckMark), QStringLiteral("2024/05/01"));
    EXPECT_EQ(f.folderRow(f.root).value(1), QStringLiteral("31"));
    EXPECT_EQ(stopper.progressLines.size(), 5);
}

TEST(FolderScan, numbersTheProgressLinesOverAllFolders)
{
    ScanFixture f;
    f.write(QStringLiteral("a/1.txt"));
    f.write(QStringLiteral("b/1.txt"));
    f.write(QStringLiteral("b/2.txt"));
    const QString a = f.root + QStringLiteral("a/"), b = f.root + QStringLiteral("b/");
    f.registerFolders({a, b});
    f.scan({{a, a}, {b, b}});
    EXPECT_EQ(f.feedback.progressLines,
              QStringList({a + QStringLiteral("1.txt -> 1"), b + QStringLiteral("1.txt -> 2"), b + QStringLiteral("2.txt -> 3")}));
}

// The total told before the first file is what the scan then reads, by the same rules: hidden
// entries and linked folders left out, every target's subfolders in; a stop during the count
// ends the run before anything is written.
TEST(FolderScan, countsTheFilesItWillReadBeforeTheFirst)
{
    ScanFixture f;
    f.write(QStringLiteral("a/1.txt"));
    f.write(QStringLiteral("a/deep/2.txt"));
    f.write(QStringLiteral("a/.hidden.txt"));
    f.write(QStringLiteral("a/.cache/3.txt"));
    f.write(QStringLiteral("b/4.txt"));
    ASSERT_TRUE(QFile::link(f.root + QStringLiteral("a"), f.root + QStringLiteral("b/loop")));
    const QString a = f.root + QStringLiteral("a/"), b = f.root + QStringLiteral("b/");
    f.registerFolders({a, b});
    f.db.open();
    FolderScanner scanner(f.db, f.feedback, f.examiner, ScanOptions{});
    std::vector<long long> told;
    long long firstWrittenAfter = -1;
    scanner.observer.filesToScan = [&told](long long total) { told.push_back(total); };
    scanner.observer.fileWritten = [&](long long) {
        if (firstWrittenAfter < 0)
            firstWrittenAfter = static_cast<long long>(told.size());
    };
    const ScanSummary summary = scanner.run({{a, a}, {b, b}});
    f.db.close();
    EXPECT_EQ(told, std::vector<long long>({3}));
    EXPECT_EQ(summary.visited, 3);
    EXPECT_EQ(firstWrittenAfter, 1);

    StoppingFeedback stopAtOnce(0);
    f.db.open();
    FolderScanner stopped(f.db, stopAtOnce, f.examiner, ScanOptions{});
    told.clear();
    stopped.observer.filesToScan = [&told](long long total) { told.push_back(total); };
    const ScanSummary nothing = stopped.run({{a, a}});
    f.db.close();
    EXPECT_TRUE(nothing.stopped);
    EXPECT_EQ(nothing.visited, 0);
    EXPECT_TRUE(told.empty());
    EXPECT_EQ(f.paths().size(), 3);
}

TEST(FolderScan, passesTheThumbnailPolicyAndReportsEveryThumbnailMade)
{
    ScanFixture f;
    f.write(QStringLiteral("a.jpg"));
    f.write(QStringLiteral("b.txt"));
    f.examiner.sizes = {{QStringLiteral("a.jpg"), QSize(300, 200)}};
    f.examiner.thumbnail = QByteArrayLiteral("jpeg");
    f.registerFolders({f.root});
    for (ThumbnailPolicy policy : {ThumbnailPolicy::None, ThumbnailPolicy::KeepExisting, ThumbnailPolicy::Recreate}) {
        f.db.open();
        ScanOptions options;
        options.thumbnails = policy;
        FolderScanner scanner(f.db, f.feedback, f.examiner, options);
        QStringList made;
        scanner.observer.thumbnailMade = [&made](const QString &path, const QByteArray &) { made << path; };
        scanner.run({{f.root, f.root}});
        f.db.close();
        EXPECT_EQ(made, policy == ThumbnailPolicy::None ? QStringList() : QStringList({f.root + QStringLiteral("a.jpg")}));
    }
    const auto policies = f.examiner.policies();
    ASSERT_EQ(policies.size(), 6u);
    EXPECT_EQ(policies[0], ThumbnailPolicy::None);
    EXPECT_EQ(policies[3], ThumbnailPolicy::KeepExisting);
    EXPECT_EQ(policies[5], ThumbnailPolicy::Recreate);
}

TEST(FolderScan, aMissingFolderContributesNoRowsAndCountsZero)
{
    ScanFixture f;
    const QString gone = f.folder.path() + QStringLiteral("/gone/");
    f.registerFolders({gone});
    f.db.open();
    f.db.execute(QStringLiteral("insert into Images (Folder, File) values(%1, 'old.jpg');").arg(sqlText(gone)));
    f.db.close();
    f.scanFolder(gone);
    EXPECT_TRUE(f.paths().isEmpty());
    EXPECT_EQ(f.folderRow(gone).value(1), QStringLiteral("0"));
}

// A failed statement ends the scan, and what the transaction had written is undone: the engine may
// have ended the transaction itself (a full disk does), and later inserts would then stand alone.
TEST(FolderScan, aFailedStatementEndsTheScanAndLeavesTheCatalogueAsItWas)
{
    const struct
    {
        const char *fault;
        std::function<void(CatalogueDb &)> prepare;
    } cases[] = {
        {"a full catalogue",
         [](CatalogueDb &db) {
             db.execute(QStringLiteral("PRAGMA page_count;"));
             db.execute(QStringLiteral("PRAGMA max_page_count = %1;").arg(db.cell(0, 1).toInt() + 4));
         }},
        {"an insert the table refuses",
         [](CatalogueDb &db) {
             db.execute(QStringLiteral("create trigger refuse before insert on Images when new.File = 'f150.txt' "
                                       "begin select raise(abort, 'refused'); end;"));
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.fault);
        ScanFixture f;
        const QString other = f.folder.path() + QStringLiteral("/other/");
        f.folder.write(QStringLiteral("other/kept.txt"), "x");
        for (int i = 0; i < 3; ++i)
            f.write(QStringLiteral("old%1.txt").arg(i));
        f.registerFolders({f.root, other});
        f.scan({{f.root, f.root}, {other, other}});
        const QStringList before = f.paths();
        const QStringList folderBefore = f.folderRow(f.root);
        ASSERT_EQ(before.size(), 4);
        for (int i = 0; i < 400; ++i)
            f.write(QStringLiteral("f%1.txt").arg(i, 3, 10, QLatin1Char('0')), QByteArray(40, 'x'));

        f.db.open();
        c.prepare(f.db);
        ScanOptions options;
        options.workerThreads = 2;
        FolderScanner scanner(f.db, f.feedback, f.examiner, options);
        const ScanSummary summary = scanner.run({{other, other}, {f.root, f.root}});
        f.db.close();

        EXPECT_TRUE(summary.failed);
        EXPECT_FALSE(summary.stopped);
        EXPECT_LT(summary.visited, 400);
        QStringList after = f.paths();
        after.sort();
        QStringList expected = before;
        expected.sort();
        EXPECT_EQ(after, expected);
        EXPECT_EQ(f.folderRow(f.root), folderBefore);
        EXPECT_EQ(f.feedback.texts().filter(QStringLiteral("Cannot add data")).size(), 1);
        EXPECT_EQ(f.feedback.texts().filter(QStringLiteral("nothing of this scan was kept")).size(), 1);
    }
}

// Column values a user gives an image on the catalogue: they must outlive a rescan.
TEST(FolderScan, rescanKeepsTheMarkAndRevisionOfEveryFileStillThere)
{
    ScanFixture f;
    for (const char *name : {"marked.jpg", "revised.jpg", "both.jpg", "plain.jpg", "gone.jpg", "2004/deep.jpg", "it's.jpg"})
        f.write(QString::fromUtf8(name));
    f.registerFolders({f.root});
    f.scanFolder(f.root);
    const struct
    {
        const char *file;
        const char *mark;
        const char *date;
        const char *time;
    } given[] = {
        {"marked.jpg", "2024/05/01", "", ""},
        {"revised.jpg", "", "2024.05.02", "10:11:12"},
        {"both.jpg", "x", "2024.05.03", "13:14:15"},
        {"gone.jpg", "2024/05/04", "2024.05.04", "16:17:18"},
        {"2004/deep.jpg", "2024/05/05", "2024.05.05", "19:20:21"},
        {"it's.jpg", "2024/05/06", "", ""},
    };
    f.db.open();
    for (const auto &g : given) {
        const QFileInfo file(f.root + QString::fromUtf8(g.file));
        ASSERT_TRUE(f.db.executeOrReport(f.feedback,
            QStringLiteral("update Images set CheckMark=%1, LastRevisionDate=%2, LastRevisionTime=%3 where Folder=%4 and File=%5;")
                .arg(sqlText(QString::fromUtf8(g.mark)), sqlText(QString::fromUtf8(g.date)), sqlText(QString::fromUtf8(g.time)),
                     sqlText(file.absolutePath() + u'/'), sqlText(file.fileName())), Message::CannotUpdateData));
    }
    f.db.close();
    QFile::remove(f.root + QStringLiteral("gone.jpg"));
    f.write(QStringLiteral("new.jpg"));

    f.scanFolder(f.root);                                                   // the registered folder
    f.scan({{f.root + QStringLiteral("2004/"), f.root}});                   // a subfolder row
    for (const auto &g : given) {
        const QStringList row = imageRow(f, f.root + QString::fromUtf8(g.file));
        if (QString::fromUtf8(g.file) == u"gone.jpg") {
            EXPECT_TRUE(row.isEmpty());
            continue;
        }
        ASSERT_EQ(row.size(), 48) << g.file;
        EXPECT_EQ(row[kCheckMark], QString::fromUtf8(g.mark)) << g.file;
        EXPECT_EQ(row[kRevisionDate], QString::fromUtf8(g.date)) << g.file;
        EXPECT_EQ(row[kRevisionTime], QString::fromUtf8(g.time)) << g.file;
    }
    for (const char *fresh : {"plain.jpg", "new.jpg"}) {
        const QStringList row = imageRow(f, f.root + QString::fromUtf8(fresh));
        ASSERT_EQ(row.size(), 48) << fresh;
        for (int empty : {kRevisionDate, kRevisionTime, kCheckMark})
            EXPECT_TRUE(row[empty].isEmpty()) << fresh << ' ' << empty;
    }
    EXPECT_EQ(f.paths().size(), 7);
}

TEST(FolderScan, cataloguesAndReadsFilesWhoseNamesAreNotUtf8)
{
    ScanFixture f;
    const QByteArray root = QFile::encodeName(f.root);
    const QByteArray image = sampleBytes(kIptcSample);
    ASSERT_TRUE(QDir().mkpath(f.root));
    ASSERT_EQ(::mkdir((root + "\xE9t\xE9").constData(), 0755), 0);
    for (const QByteArray &name : {QByteArray("\xE9t\xE9/caf\xE9.jpg"), QByteArray("caf\xC3\xA9.jpg"), QByteArray("caf\xE9.jpg")}) {
        QFile file;
        ASSERT_TRUE(file.open(::open((root + name).constData(), O_WRONLY | O_CREAT, 0644), QIODevice::WriteOnly,
                              QFileDevice::AutoCloseHandle));
        file.write(image);
    }
    f.registerFolders({f.root});
    f.scanFolder(f.root);

    const IptcReadResult expected = readIptcFromBytes(image, QStringLiteral("x.jpg"), QStringLiteral("Field"));
    const QStringList rows = f.paths();
    ASSERT_EQ(rows.size(), 3) << rows.join(u'\n').toStdString();
    for (const QByteArray &name : {QByteArray("\xE9t\xE9/caf\xE9.jpg"), QByteArray("caf\xC3\xA9.jpg"), QByteArray("caf\xE9.jpg")}) {
        const QString path = filenames::decode(root + name);
        EXPECT_TRUE(rows.contains(path)) << name.toHex().toStdString();
        const QStringList row = imageRow(f, path);
        ASSERT_EQ(row.size(), 48) << name.toHex().toStdString();
        EXPECT_EQ(row[kSupportIptc], QStringLiteral("1"));
        EXPECT_EQ(row[kFileSize], QString::number(image.size()));
        for (int i = 0; i < kIptcFieldCount; ++i)
            EXPECT_EQ(row[kFirstField + i], expected.fields.values[std::size_t(i)]) << i;
        // Shown, the name reads as its letters.
        EXPECT_TRUE(QString(row[kFile]).remove(QChar(0x034F)) == QStringLiteral("café.jpg"));
    }
    EXPECT_TRUE(f.feedback.messages.empty()) << f.feedback.texts().join(u'\n').toStdString();
}

TEST(FolderScan, removesTheStaleTemporaryFilesOfKilledRunsFromEveryFolderItScans)
{
    ScanFixture f;
    f.write(QStringLiteral("a.jpg"));
    f.write(QStringLiteral(".a.jpg.zelvarion-Ab3xY9"), "half a rewrite");
    f.write(QStringLiteral("sub/.b.jpg.zelvarion-Q1w2E3"), "half a rewrite");
    f.write(QStringLiteral("sub/.b.jpg.other-Q1w2E3"), "someone else's");
    f.registerFolders({f.root});
    f.db.open();
    ScanOptions options;
    options.staleTemporaryAge = std::chrono::seconds(0);
    FolderScanner(f.db, f.feedback, f.examiner, options).run({{f.root, f.root}});
    f.db.close();
    EXPECT_FALSE(QFile::exists(f.root + QStringLiteral(".a.jpg.zelvarion-Ab3xY9")));
    EXPECT_FALSE(QFile::exists(f.root + QStringLiteral("sub/.b.jpg.zelvarion-Q1w2E3")));
    EXPECT_TRUE(QFile::exists(f.root + QStringLiteral("sub/.b.jpg.other-Q1w2E3")));
    EXPECT_EQ(f.paths(), QStringList({f.root + QStringLiteral("a.jpg")}));
}

TEST(ScanTexts, elapsedTimeRunsMinutesPastTheHourIntoHours)
{
    const struct
    {
        long long seconds;
        const char *text;
    } cases[] = {
        {0, " T 0 h 0 min 0 s"},       {59, " T 0 h 0 min 59 s"},    {60, " T 0 h 1 min 0 s"},
        {3599, " T 0 h 59 min 59 s"},  {3600, " T 1 h 0 min 0 s"},   {3661, " T 1 h 1 min 1 s"},
        {90061, " T 25 h 1 min 1 s"},  {-5, " T 0 h 0 min 0 s"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(elapsedTimeText(QStringLiteral("T"), c.seconds), QString::fromUtf8(c.text)) << c.seconds;
    EXPECT_EQ(elapsedTimeText(QStringLiteral("%2 took"), 61), QStringLiteral(" %2 took 0 h 1 min 1 s"));
}

TEST(ScanTexts, datesAndTimesUseTheCatalogueForms)
{
    const QDateTime instant(QDate(2004, 7, 5), QTime(9, 5, 7));
    EXPECT_EQ(catalogueDate(instant), QStringLiteral("2004/07/05"));
    EXPECT_EQ(catalogueTime(instant), QStringLiteral("09:05:07"));
    EXPECT_EQ(catalogueTime(QDateTime(QDate(2004, 7, 5), QTime(23, 59, 59))), QStringLiteral("23:59:59"));
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(lastScanText(instant, german), german.toString(QDate(2004, 7, 5), QLocale::ShortFormat) + QStringLiteral(" 09:05:07"));
}
