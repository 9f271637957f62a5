#include "ScanTestSupport.h"

#include "core/iptc/IptcReader.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

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

TEST(FolderScan, stopKeepsTheRowsWrittenAndCountsThem)
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

    StoppingFeedback stopper(5);
    const ScanSummary summary = f.scan({{f.root, f.root}, {second, second}}, stopper);
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(summary.visited, 5);
    const QStringList found = f.paths();
    // The old rows of the interrupted folder are gone; the second folder was never reached.
    EXPECT_EQ(found.size(), 6);
    EXPECT_TRUE(found.contains(second + QStringLiteral("s.txt")));
    EXPECT_EQ(found.first(), second + QStringLiteral("s.txt"));
    EXPECT_EQ(f.folderRow(f.root).value(1), QStringLiteral("5"));
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

TEST(FolderScan, reportsAFailedInsertAndGoesOn)
{
    ScanFixture f;
    f.write(QStringLiteral("a.txt"));
    f.write(QStringLiteral("b.txt"));
    f.registerFolders({f.root});
    f.db.open();
    // Every insert fails against a table of another shape.
    f.db.execute(QStringLiteral("drop table Images;"));
    f.db.execute(QStringLiteral("create table Images(Folder, File);"));
    f.db.close();
    f.scanFolder(f.root);
    const QStringList texts = f.feedback.texts();
    EXPECT_EQ(texts.filter(QStringLiteral("Cannot add data")).size(), 2);
    EXPECT_EQ(f.folderRow(f.root).value(1), QStringLiteral("0"));
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
