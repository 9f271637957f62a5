// The apply-template run on files in a scanned catalogue: rows equal a rescan, backups exist
// before every rewrite and belong to their own source across runs, files that cannot be written
// stay as they were, Stop leaves the queued images alone, and a catalogue that cannot take a row
// is found before the files or ends the run. (The absent template is the window's test, the dry
// run the command line's.)
#include "core/catalogue/ScanTestSupport.h"
#include "core/catalogue/ImagesTable.h"
#include "core/iptc/IptcReader.h"
#include "core/iptc/IptcTestBytes.h"
#include "core/captioning/ApplyTemplateRun.h"
#include "core/captioning/TemplateStore.h"

#include <QDir>
#include <QThread>

#include <algorithm>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;
using namespace zelvarion::test::iptcbytes;

namespace {

QByteArray twentyCustomized()
{
    QByteArray datasets = dataset2(120, "caption") + dataset2(25, "kept");
    for (int i = 0; i < 20; ++i)
        datasets += dataset2(200 + i, "value " + QByteArray::number(i));
    return jpegWithIptc(datasets);
}

class ApplyRunTest : public ::testing::Test
{
protected:
    void SetUp() override { feedback.messages.clear(); }

    // A template in use with City, Keywords and a customized cell.
    void useTemplate(const QString &city, const QString &keywords, const QString &customized = {})
    {
        TemplateStore store(scan.db, scan.feedback);
        ASSERT_EQ(store.add(QStringLiteral("T"), QStringLiteral("now")), TemplateStore::NameOutcome::Done);
        TemplateValues values;
        values.fields[20] = city;
        values.fields[kKeywordsIndex] = keywords;
        if (const auto cell = splitCustomizedCell(customized))
            values.customized[0] = *cell;
        ASSERT_TRUE(store.save(QStringLiteral("T"), values, QStringLiteral("now")));
        ASSERT_TRUE(store.markInUse(QStringLiteral("T"), true));
    }
    // img00.jpg, img01.jpg, ... without IPTC, catalogued, with a template in use that sets City.
    void catalogueImagesForParis(int images)
    {
        for (int i = 0; i < images; ++i)
            scan.write(QStringLiteral("img%1.jpg").arg(i, 2, 10, QChar(u'0')), jpeg({app0()}));
        scan.scanFolder(scan.root);
        useTemplate(QStringLiteral("Paris"), {});
    }

    std::vector<ResultRow> result()
    {
        std::vector<ResultRow> rows;
        for (const QStringList &row : scan.rows(QStringLiteral("select Folder, File from Images order by File;")))
            rows.push_back({row[0], row[1], {}});
        return rows;
    }
    // The 35 IPTC columns of every row, by file name.
    std::map<QString, QStringList> iptcColumns()
    {
        std::map<QString, QStringList> byFile;
        for (QStringList row : scan.rows(QStringLiteral("select * from Images;")))
            byFile[row[1]] = row.mid(2, 35);
        return byFile;
    }
    QStringList revisions()
    {
        QStringList found;
        for (const QStringList &row : scan.rows(QStringLiteral("select File, LastRevisionDate from Images order by File;")))
            found << row[0] + u'=' + (row[1].isEmpty() ? QStringLiteral("never") : QStringLiteral("revised"));
        return found;
    }
    ApplySummary run(const ApplyOptions &options, const ApplyObserver &observer = {})
    {
        return runApplyTemplate(scan.db, feedback, result(), options, nullptr, observer);
    }

    ScanFixture scan;
    RecordingFeedback feedback;
};

} // namespace

TEST_F(ApplyRunTest, rowsOfRewrittenImagesEqualWhatARescanReads)
{
    scan.write(QStringLiteral("a.jpg"), jpegWithIptc(dataset2(90, "Lyon") + dataset2(25, "a") + dataset2(25, " b ")));
    scan.write(QStringLiteral("b.jpg"), jpeg({app0()}));
    scan.write(QStringLiteral("c.jpg"), twentyCustomized());
    scan.write(QStringLiteral("d.jpg"), jpegWithIptc(dataset(1, 90, "\x1b%G") + dataset2(120, "Zürich été")));
    const QByteArray tiff = QByteArray("II*\0", 4) + resource(0x0404, dataset2(90, "Tiff"));
    scan.write(QStringLiteral("e.tif"), tiff);
    scan.write(QStringLiteral("f.jpg"), jpeg({app0()}));
    scan.scanFolder(scan.root);
    QFile::remove(scan.root + QStringLiteral("f.jpg")); // deleted after the search
    useTemplate(QStringLiteral(" Paris "), QStringLiteral("b; Ünïcode"), QStringLiteral("230/from template"));

    ApplyOptions options;
    options.mode = MergeMode::OverwriteNonEmpty;
    options.keywords = KeywordOption::Add;
    const ApplySummary summary = run(options);
    EXPECT_TRUE(summary.ran);
    EXPECT_EQ(summary.processed, 4);
    ASSERT_EQ(summary.notProcessed.size(), 1u);
    EXPECT_EQ(summary.notProcessed[0].path, scan.root + QStringLiteral("e.tif"));
    EXPECT_EQ(scan.folder.read(QStringLiteral("photos/e.tif")), tiff);
    EXPECT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();

    const std::map<QString, QStringList> afterRun = iptcColumns();
    EXPECT_EQ(afterRun.at(QStringLiteral("a.jpg"))[20], u"Paris");
    EXPECT_EQ(afterRun.at(QStringLiteral("a.jpg"))[kKeywordsIndex], u"a; b; Ünïcode");
    EXPECT_EQ(afterRun.at(QStringLiteral("d.jpg"))[30], u"Zürich été");
    // The image kept its own twenty customized datasets: every one of them is still in the file.
    EXPECT_EQ(afterRun.at(QStringLiteral("c.jpg"))[kCustomizedIndex].count(QStringLiteral("\r\n")), 20);
    EXPECT_EQ(afterRun.at(QStringLiteral("b.jpg"))[kCustomizedIndex], u"Field 230: from template\r\n");
    EXPECT_EQ(revisions(), (QStringList{QStringLiteral("a.jpg=revised"), QStringLiteral("b.jpg=revised"),
                                        QStringLiteral("c.jpg=revised"), QStringLiteral("d.jpg=revised"),
                                        QStringLiteral("e.tif=never"), QStringLiteral("f.jpg=never")}));
    scan.scanFolder(scan.root);
    const std::map<QString, QStringList> rescanned = iptcColumns();
    for (const auto &[file, columns] : rescanned)
        EXPECT_EQ(columns, afterRun.at(file)) << file.toStdString();
}

TEST_F(ApplyRunTest, noFileIsRewrittenWithoutItsBackupWhenTheFolderGoesMidRun)
{
    const QByteArray original = jpegWithIptc(dataset2(90, "Lyon"));
    const QStringList names = {QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg"),
                               QStringLiteral("d.jpg"), QStringLiteral("e.jpg"), QStringLiteral("f.jpg")};
    for (const QString &name : names)
        scan.write(name, original);
    scan.scanFolder(scan.root);
    useTemplate(QStringLiteral("Paris"), {});
    const QString backup = scan.folder.file(QStringLiteral("backup/"));
    QDir().mkpath(backup);

    ApplyOptions options;
    options.mode = MergeMode::OverwriteNonEmpty;
    options.writeOptions = {true, false, backup, false};
    ApplyObserver observer;
    // The folder goes away (moved, so the copies made by then can be looked at). Images started
    // before may or may not have made their copy; none after it can.
    const QString moved = scan.folder.file(QStringLiteral("moved/"));
    observer.imageStarted = [&](int rank, const ResultRow &) {
        if (rank == 4)
            QDir().rename(backup, moved);
    };
    const ApplySummary summary = run(options, observer);
    EXPECT_GE(summary.notProcessed.size(), 3u);
    for (const NotProcessedImage &image : summary.notProcessed)
        EXPECT_TRUE(image.reason.contains(QStringLiteral("backup"))) << image.reason.toStdString();
    const QStringList revised = revisions();
    for (int i = 0; i < names.size(); ++i) {
        const bool rewritten = scan.folder.read(QStringLiteral("photos/") + names[i]) != original;
        EXPECT_EQ(rewritten, revised[i].endsWith(QStringLiteral("=revised"))) << names[i].toStdString();
        if (rewritten) {
            EXPECT_EQ(scan.folder.read(QStringLiteral("moved/") + names[i]), original) << names[i].toStdString();
        }
        if (i >= 3) {
            EXPECT_FALSE(rewritten) << names[i].toStdString();
        }
    }
    EXPECT_EQ(summary.processed + int(summary.notProcessed.size()), 6);
}

TEST_F(ApplyRunTest, twoImagesOfOneNameFromTwoFoldersKeepTwoBackups)
{
    const QByteArray first = jpegWithIptc(dataset2(90, "first"));
    const QByteArray second = jpegWithIptc(dataset2(90, "second"));
    scan.write(QStringLiteral("a/photo.jpg"), first);
    scan.write(QStringLiteral("b/photo.jpg"), second);
    scan.write(QStringLiteral("c/photo (2).jpg"), second);
    scan.scanFolder(scan.root);
    useTemplate(QStringLiteral("Paris"), {});
    const QString backup = scan.folder.file(QStringLiteral("backup/"));
    QDir().mkpath(backup);
    ApplyOptions options;
    options.mode = MergeMode::OverwriteAll;
    options.writeOptions = {true, true, backup, false};
    std::vector<ResultRow> rows = result();
    std::sort(rows.begin(), rows.end(), [](const ResultRow &x, const ResultRow &y) { return x.folder < y.folder; });
    EXPECT_EQ(runApplyTemplate(scan.db, feedback, rows, options, nullptr).processed, 3);
    EXPECT_EQ(scan.folder.read(QStringLiteral("backup/photo.jpg")), first);
    EXPECT_EQ(scan.folder.read(QStringLiteral("backup/photo (2).jpg")), second);
    EXPECT_EQ(scan.folder.read(QStringLiteral("backup/photo (2) (2).jpg")), second);

}

TEST(ApplyRunTexts, revisionDateUsesTheLocaleSeparatorAndTimeSorts)
{
    const QDate date(2005, 4, 22);
    EXPECT_EQ(revisionDateText(date, QLocale(QLocale::French, QLocale::France)), u"2005/04/22");
    EXPECT_EQ(revisionDateText(date, QLocale(QLocale::German, QLocale::Germany)), u"2005.04.22");
    EXPECT_EQ(revisionTimeText(QTime(14, 30, 5)), u"14:30:05");
    IptcFieldSet values;
    values.values[0] = QStringLiteral("it's");
    const QString statement = imagesTable::revisionStatement(QStringLiteral("/p/O'Neil/"), QStringLiteral("a'b.jpg"), values,
                                                     QStringLiteral("d"), QStringLiteral("t"));
    EXPECT_TRUE(statement.startsWith(QStringLiteral("update Images set ObjectName='it''s',EditStatus='',")));
    EXPECT_TRUE(statement.endsWith(QStringLiteral("ImageType='',Customized='',LastRevisionDate='d',LastRevisionTime='t' "
                                                  "where (Folder='/p/O''Neil/') and (File='a''b.jpg');")));
}

namespace {

// The images that now hold the template's City, by their file's bytes.
int imagesHoldingParis(const ScanFixture &scan, const std::vector<ResultRow> &rows)
{
    return int(std::count_if(rows.begin(), rows.end(), [&](const ResultRow &row) {
        return scan.folder.read(QStringLiteral("photos/") + row.file).contains("Paris");
    }));
}

// The first image's thumbnail is made at once, every other one slowly: when the first is done the
// workers are all busy and the rest of the run's window waits in the queue.
class SlowAfterFirstRenewer : public ThumbnailRenewer
{
public:
    QByteArray renew(const QString &path, QByteArrayView) const override
    {
        if (!path.endsWith(QStringLiteral("img00.jpg")))
            QThread::msleep(150);
        return {};
    }
};

} // namespace

TEST_F(ApplyRunTest, imagesOfOneNameKeepTheirOwnBackupsAcrossRuns)
{
    for (const bool firstVersion : {true, false}) {
        const QString set = firstVersion ? QStringLiteral("first/") : QStringLiteral("latest/");
        const QByteArray a = jpegWithIptc(dataset2(120, "picture a"));
        const QByteArray b = jpegWithIptc(dataset2(120, "picture b"));
        scan.write(set + QStringLiteral("a/img.jpg"), a);
        scan.write(set + QStringLiteral("b/img.jpg"), b);
        scan.scanFolder(scan.root + set);
        if (firstVersion)
            useTemplate(QStringLiteral("Paris"), {});
        const QString backup = scan.folder.file(QStringLiteral("backup-") + set);
        QDir().mkpath(backup);
        ApplyOptions options;
        options.mode = MergeMode::OverwriteNonEmpty;
        options.writeOptions = {true, firstVersion, backup, false};
        const ResultRow rowA{scan.root + set + QStringLiteral("a/"), QStringLiteral("img.jpg"), {}};
        const ResultRow rowB{scan.root + set + QStringLiteral("b/"), QStringLiteral("img.jpg"), {}};
        // Three runs, as the window and the command line make them one after the other.
        ASSERT_EQ(runApplyTemplate(scan.db, feedback, {rowA}, options, nullptr).processed, 1);
        const QByteArray aAfterFirstRun = scan.folder.read(QStringLiteral("photos/") + set + QStringLiteral("a/img.jpg"));
        options.mode = MergeMode::OverwriteAll;
        ASSERT_EQ(runApplyTemplate(scan.db, feedback, {rowB}, options, nullptr).processed, 1);
        ASSERT_EQ(runApplyTemplate(scan.db, feedback, {rowA}, options, nullptr).processed, 1);
        const QString copies = QStringLiteral("backup-") + set;
        EXPECT_EQ(scan.folder.read(copies + QStringLiteral("img.jpg")), firstVersion ? a : aAfterFirstRun) << firstVersion;
        EXPECT_EQ(scan.folder.read(copies + QStringLiteral("img (2).jpg")), b) << firstVersion;
    }
}

TEST_F(ApplyRunTest, stopLeavesTheQueuedImagesUntouchedAndCountsThem)
{
    const int images = 48;
    catalogueImagesForParis(images);
    const std::vector<ResultRow> rows = result();
    ApplyObserver observer;
    int done = 0;
    observer.imageDone = [&](const QString &, const ProcessResult &) {
        ++done;
        feedback.stop = true; // Stop pressed as the first image is shown done
    };
    const SlowAfterFirstRenewer renewer;
    ApplyOptions options;
    options.mode = MergeMode::OverwriteNonEmpty;
    const ApplySummary summary = runApplyTemplate(scan.db, feedback, rows, options, &renewer, observer);

    const int workers = 2 * std::max(1, QThread::idealThreadCount());
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(imagesHoldingParis(scan, rows), summary.processed); // what is said is what the files hold
    EXPECT_EQ(done, summary.processed);
    // The first image, the ones the workers had begun, and the one its worker took next.
    EXPECT_LE(summary.processed, 1 + workers);
    EXPECT_EQ(summary.processed + summary.untouched, images);
    EXPECT_FALSE(summary.complete());
    EXPECT_EQ(scan.rows(QStringLiteral("select File from Images where LastRevisionDate != '';")).size(),
              std::size_t(summary.processed));
}

TEST_F(ApplyRunTest, aRowThatCannotBeUpdatedIsListedAndEndsTheRun)
{
    const int images = 40;
    catalogueImagesForParis(images);
    // A damaged page under one row: the engine refuses that update alone.
    scan.rows(QStringLiteral("create trigger damaged before update on Images when old.File='img00.jpg' "
                             "begin select raise(abort, 'database disk image is malformed'); end;"));
    const std::vector<ResultRow> rows = result();
    std::vector<NotProcessedImage> told;
    ApplyObserver observer;
    observer.rowNotUpdated = [&](const NotProcessedImage &image) { told.push_back(image); };
    const SlowAfterFirstRenewer renewer;
    ApplyOptions options;
    options.mode = MergeMode::OverwriteNonEmpty;
    const ApplySummary summary = runApplyTemplate(scan.db, feedback, rows, options, &renewer, observer);

    ASSERT_EQ(summary.rowsNotUpdated.size(), 1u);
    EXPECT_EQ(summary.rowsNotUpdated[0].path, scan.root + QStringLiteral("img00.jpg"));
    EXPECT_TRUE(summary.rowsNotUpdated[0].reason.contains(QStringLiteral("malformed")));
    ASSERT_EQ(told.size(), 1u);
    EXPECT_FALSE(summary.complete());
    EXPECT_EQ(feedback.messages.size(), 1u); // one report, not one per row
    // The run ended: the images not begun are untouched, every other written file has its row.
    EXPECT_GT(summary.untouched, 0);
    EXPECT_EQ(summary.processed + summary.untouched, images);
    EXPECT_EQ(imagesHoldingParis(scan, rows), summary.processed);
    EXPECT_EQ(scan.rows(QStringLiteral("select File from Images where LastRevisionDate != '';")).size(),
              std::size_t(summary.processed - 1));
}

TEST_F(ApplyRunTest, aCatalogueThatRefusesWritesIsFoundBeforeAnyFileIsTouched)
{
    const QByteArray original = jpeg({app0()});
    scan.write(QStringLiteral("a.jpg"), original);
    scan.write(QStringLiteral("b.jpg"), original);
    scan.scanFolder(scan.root);
    useTemplate(QStringLiteral("Paris"), {});
    // Another program holds the catalogue for writing beyond the engine's patience.
    CatalogueDb other;
    other.path = scan.db.path;
    ASSERT_TRUE(other.open());
    ASSERT_EQ(other.execute(QStringLiteral("begin immediate transaction;")), 0);
    ApplyOptions options;
    options.mode = MergeMode::OverwriteAll;
    const ApplySummary summary = run(options);
    other.execute(QStringLiteral("rollback transaction;"));
    other.close();

    EXPECT_TRUE(summary.catalogueReadOnly);
    EXPECT_EQ(summary.processed, 0);
    EXPECT_FALSE(summary.complete());
    EXPECT_EQ(scan.folder.read(QStringLiteral("photos/a.jpg")), original);
    EXPECT_EQ(scan.folder.read(QStringLiteral("photos/b.jpg")), original);
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_TRUE(feedback.messages[0].text.contains(QStringLiteral("locked"))) << feedback.messages[0].text.toStdString();
}

TEST_F(ApplyRunTest, imageWhoseMergedValuesOutgrowTheirDatasetsIsListedAndLeftUncut)
{
    // 1,500 accented characters are 1,500 bytes in Windows-1252; an image with a CJK title turns the
    // whole block to UTF-8, where the same caption takes 3,000 bytes.
    scan.write(QStringLiteral("latin.jpg"), jpegWithIptc(dataset2(5, "Title")));
    const QByteArray cjk = jpegWithIptc(dataset(1, 90, "\x1b%G") + dataset2(5, QString(3, QChar(0x65E5)).toUtf8()));
    scan.write(QStringLiteral("cjk.jpg"), cjk);
    scan.scanFolder(scan.root);
    TemplateStore store(scan.db, scan.feedback);
    ASSERT_EQ(store.add(QStringLiteral("T"), QStringLiteral("now")), TemplateStore::NameOutcome::Done);
    TemplateValues values;
    values.fields[kCaptionIndex] = QString(1500, QChar(0xE9));
    ASSERT_TRUE(store.save(QStringLiteral("T"), values, QStringLiteral("now")));
    ASSERT_TRUE(store.markInUse(QStringLiteral("T"), true));

    const ApplySummary summary = run(ApplyOptions{});
    EXPECT_EQ(summary.processed, 1);
    ASSERT_EQ(summary.notProcessed.size(), 1u);
    EXPECT_EQ(summary.notProcessed[0].path, scan.root + QStringLiteral("cjk.jpg"));
    EXPECT_TRUE(summary.notProcessed[0].reason.contains(QStringLiteral("3000"))) << summary.notProcessed[0].reason.toStdString();
    EXPECT_EQ(scan.folder.read(QStringLiteral("photos/cjk.jpg")), cjk);
    EXPECT_EQ(iptcColumns().at(QStringLiteral("latin.jpg"))[kCaptionIndex].size(), 1500);
    EXPECT_EQ(revisions(), (QStringList{QStringLiteral("cjk.jpg=never"), QStringLiteral("latin.jpg=revised")}));
}
