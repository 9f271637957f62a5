// The apply-template run on files in a scanned catalogue: rows equal a rescan, backups exist
// before every rewrite, files that cannot be written stay as they were. (Stop and the absent
// template are the window's tests, the dry run the command line's.)
#include "core/catalogue/ScanTestSupport.h"
#include "core/iptc/IptcReader.h"
#include "core/iptc/IptcTestBytes.h"
#include "core/templates/ApplyTemplateRun.h"
#include "core/templates/TemplateStore.h"

#include <QDir>

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

    RunBackupNames names;
    EXPECT_EQ(names.nameFor(QStringLiteral("/x/Photo.JPG")), u"Photo.JPG");
    EXPECT_EQ(names.nameFor(QStringLiteral("/y/photo.jpg")), u"photo (2).jpg");
    EXPECT_EQ(names.nameFor(QStringLiteral("/x/Photo.JPG")), u"Photo.JPG");
    EXPECT_EQ(names.nameFor(QStringLiteral("/z/README")), u"README");
    EXPECT_EQ(names.nameFor(QStringLiteral("/w/README")), u"README (2)");
}

TEST(ApplyRunTexts, revisionDateUsesTheLocaleSeparatorAndTimeSorts)
{
    const QDate date(2005, 4, 22);
    EXPECT_EQ(revisionDateText(date, QLocale(QLocale::French, QLocale::France)), u"2005/04/22");
    EXPECT_EQ(revisionDateText(date, QLocale(QLocale::German, QLocale::Germany)), u"2005.04.22");
    EXPECT_EQ(revisionTimeText(QTime(14, 30, 5)), u"14:30:05");
    IptcFieldSet values;
    values.values[0] = QStringLiteral("it's");
    const QString statement = imageRevisionStatement(QStringLiteral("/p/O'Neil/"), QStringLiteral("a'b.jpg"), values,
                                                     QStringLiteral("d"), QStringLiteral("t"));
    EXPECT_TRUE(statement.startsWith(QStringLiteral("update Images set ObjectName='it''s',EditStatus='',")));
    EXPECT_TRUE(statement.endsWith(QStringLiteral("ImageType='',Customized='',LastRevisionDate='d',LastRevisionTime='t' "
                                                  "where (Folder='/p/O''Neil/') and (File='a''b.jpg');")));
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
