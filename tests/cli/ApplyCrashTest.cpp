// Kills real zelvarion-cli apply runs at random moments: every image is either as it was or fully
// rewritten, the catalogue opens and passes its integrity check, and every row describes its file
// either as it was or as it is now. A second run then finishes the work and a rescan agrees.
#include "CliRunner.h"
#include "core/catalogue/ScanTestSupport.h"
#include "core/iptc/IptcReader.h"
#include "core/captioning/ApplyTemplateRun.h"
#include "core/captioning/TemplateStore.h"
#include "support/GeneratedJpeg.h"

#include <QDir>
#include <QThread>
#include <QProcess>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

constexpr int kImages = 40;

struct Image
{
    QString name;
    QByteArray original;
    QByteArray rewritten;   // what a completed run leaves
    QStringList originalRow; // the 35 IPTC columns after the first scan
    QStringList rewrittenRow;
};

QStringList iptcColumnsOf(const IptcFieldSet &fields) { return QStringList(fields.values.begin(), fields.values.end()); }

class ApplyCrashTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < kImages; ++i) {
            const QByteArray iim = generated::iimDataset(90, "Lyon") + generated::iimDataset(25, "kept")
                                   + generated::iimDataset(120, "caption " + QByteArray::number(i));
            images.push_back({QStringLiteral("img%1.jpg").arg(i, 2, 10, QLatin1Char('0')),
                              generated::generatedJpeg(QSize(1600, 1200), i, iim), {}, {}, {}});
        }
        templ.fields[20] = QStringLiteral("Paris");
        templ.fields[kKeywordsIndex] = QStringLiteral("kept; desk");
        templ.fields[25] = QStringLiteral("Headline été");
        for (Image &image : images) {
            const IptcReadResult read = readIptcFromBytes(image.original, image.name, QStringLiteral("Field"));
            image.originalRow = iptcColumnsOf(read.fields);
        }
    }

    // A fresh folder and catalogue with the template in use; the expected results of a full run.
    void prepare(ScanFixture &scan)
    {
        for (const Image &image : images)
            scan.write(image.name, image.original);
        scan.scanFolder(scan.root);
        TemplateStore store(scan.db, scan.feedback);
        store.add(QStringLiteral("T"), {});
        TemplateValues values;
        values.fields = templ.fields;
        store.save(QStringLiteral("T"), values, {});
        store.markInUse(QStringLiteral("T"), true);
        if (!images.front().rewritten.isEmpty())
            return;
        for (Image &image : images) {
            const MergeRequest request{*store.load(QStringLiteral("T")), MergeMode::OverwriteNonEmpty,
                                       KeywordOption::Add, QStringLiteral("Field")};
            const ProcessResult dry = processIptc(scan.root + image.name, request, {}, true);
            image.rewritten = dry.content.joined();
            image.rewrittenRow = iptcColumnsOf(dry.after);
        }
    }

    // zelvarion-cli apply over the whole folder, killed once it has written `killAfter` images and
    // `thenMicroseconds` have passed (never killed when killAfter is negative).
    static int runApply(const ScanFixture &scan, int killAfter, int thenMicroseconds = 0)
    {
        QProcess driver;
        driver.start(QStringLiteral(ZELVARION_CLI_PATH),
                     {QStringLiteral("--program-folder"), scan.folder.path(), QStringLiteral("apply"), QStringLiteral("--yes"),
                      QStringLiteral("--mode"), QStringLiteral("1"), QStringLiteral("--add-keywords"),
                      QStringLiteral("--catalogue"), scan.db.path, QStringLiteral("photos")});
        if (!driver.waitForStarted())
            return -1;
        if (killAfter >= 0) {
            QByteArray output;
            while (output.count("written: ") < killAfter && driver.waitForReadyRead(10000))
                output += driver.readAllStandardOutput();
            QThread::usleep(thenMicroseconds);
            if (driver.state() != QProcess::NotRunning) {
                driver.kill(); // SIGKILL: no destructor, no flush
                driver.waitForFinished();
                return -9;
            }
        }
        driver.waitForFinished(60000);
        return driver.exitCode();
    }

    // Each file old or new, each row matching its file's state, the catalogue sound. Returns how
    // many files are rewritten.
    int checkState(ScanFixture &scan, const char *when)
    {
        int rewritten = 0;
        std::map<QString, QStringList> rows;
        for (const QStringList &row : scan.rows(QStringLiteral("select * from Images;")))
            rows[row[1]] = row;
        EXPECT_EQ(scan.rows(QStringLiteral("PRAGMA integrity_check;")).front().front(), QStringLiteral("ok")) << when;
        for (const Image &image : images) {
            const QByteArray now = scan.folder.read(QStringLiteral("photos/") + image.name);
            const bool isNew = now == image.rewritten;
            rewritten += isNew ? 1 : 0;
            EXPECT_TRUE(isNew || now == image.original) << when << " " << image.name.toStdString() << " is half-written";
            const QStringList &row = rows.at(image.name);
            const bool revised = !row[42].isEmpty();
            EXPECT_TRUE(!revised || isNew) << when << " " << image.name.toStdString();
            EXPECT_EQ(row.mid(2, 35), revised ? image.rewrittenRow : image.originalRow) << when << " " << image.name.toStdString();
        }
        const QStringList visible = QDir(scan.root).entryList(QDir::Files);
        EXPECT_EQ(visible.size(), kImages) << when; // a killed write leaves at most a hidden temporary file
        return rewritten;
    }

    std::vector<Image> images;
    TemplateRecord templ;
};

} // namespace

TEST_F(ApplyCrashTest, killedRunsLeaveEveryFileAndRowWholeAndARerunFinishes)
{
    QRandomGenerator random(20240611);
    int killedMidRun = 0;
    for (int round = 0; round < 10; ++round) {
        ScanFixture scan;
        prepare(scan);
        // A kill a little after some images are written lands while others are being written.
        const int killAfter = int(random.bounded(kImages - 4));
        const int then = int(random.bounded(3000));
        runApply(scan, killAfter, then);
        const std::string when = "round " + std::to_string(round) + " killed " + std::to_string(then)
                                 + " us after " + std::to_string(killAfter) + " images";
        const int rewritten = checkState(scan, when.c_str());
        killedMidRun += rewritten > 0 && rewritten < kImages ? 1 : 0;
        ASSERT_EQ(runApply(scan, -1), 0) << when;
        for (const Image &image : images)
            ASSERT_EQ(scan.folder.read(QStringLiteral("photos/") + image.name), image.rewritten) << when;
        checkState(scan, "after the rerun");
        const auto beforeRescan = scan.rows(QStringLiteral("select * from Images order by File;"));
        scan.scanFolder(scan.root);
        const auto afterRescan = scan.rows(QStringLiteral("select * from Images order by File;"));
        for (std::size_t i = 0; i < afterRescan.size(); ++i)
            EXPECT_EQ(afterRescan[i].mid(2, 35), beforeRescan[i].mid(2, 35)) << when;
    }
    EXPECT_GT(killedMidRun, 0) << "no run was killed while it was writing";
}
