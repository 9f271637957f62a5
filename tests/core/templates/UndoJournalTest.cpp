// The undo journal: the one changed span of a rewrite is recorded and put back, a file changed
// since the run is skipped, an undo run twice does no harm, only the last 20 runs stay, and a
// rewrite that cannot be recorded leaves the file alone.
#include "core/catalogue/ScanTestSupport.h"
#include "core/iptc/IptcWriter.h"
#include "core/templates/UndoTemplateRun.h"
#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

const QDateTime kOldTime = QDateTime::fromSecsSinceEpoch(1'200'000'000);

class UndoJournalTest : public ::testing::Test
{
protected:
    ScanFixture scan;
    UndoJournal journal{UndoJournal::pathBeside(scan.db.path)};

    // A file with old content rewritten to new content the way the writer does it, recorded.
    QString rewrite(const QString &name, const QByteArray &before, const QByteArray &after)
    {
        const QString path = scan.write(name, before);
        restoreModificationTime(path, kOldTime);
        QString reason;
        EXPECT_TRUE(journal.beforeRewrite(path, before, after, kOldTime, reason)) << reason.toStdString();
        EXPECT_TRUE(atomicfile::replaceFileContent(path, after).ok);
        journal.afterRewrite(path, after.size(), QFileInfo(path).lastModified());
        return path;
    }

    UndoSummary undo(int run) { return undoTemplateRun(journal, run, scan.db, scan.feedback, {}); }
};

QByteArray imageBytes(const QByteArray &middle) { return "\xFF\xD8" + QByteArray(5000, 'a') + middle + QByteArray(7000, 'z'); }

} // namespace

TEST_F(UndoJournalTest, recordsOnlyTheChangedSpanAndPutsItBackWithTheOldTime)
{
    ASSERT_EQ(journal.path(), scan.folder.file(QStringLiteral("Images.undo.db")));
    ASSERT_TRUE(journal.startRun(QStringLiteral("T"), QStringLiteral("apply")));
    const QByteArray before = imageBytes("old caption");
    const QString grown = rewrite(QStringLiteral("a.jpg"), before, imageBytes("a much longer new caption"));
    const QString shrunk = rewrite(QStringLiteral("b.jpg"), before, imageBytes("new"));
    const int run = journal.currentRun();
    journal.finishRun();

    const auto entries = journal.entries(run);
    ASSERT_TRUE(entries && entries->size() == 2);
    EXPECT_EQ(entries->front().path, shrunk); // newest first
    EXPECT_EQ(entries->front().spanOffset, 5002);
    EXPECT_EQ(journal.oldSpan(entries->front().id), QByteArray("old caption"));
    EXPECT_EQ(entries->front().newSpanLength, 3);

    const UndoSummary summary = undo(run);
    EXPECT_TRUE(summary.ran);
    EXPECT_EQ(summary.restored, 2);
    EXPECT_TRUE(summary.skipped.empty());
    for (const QString &path : {grown, shrunk}) {
        EXPECT_EQ(scan.folder.read(QStringLiteral("photos/") + QFileInfo(path).fileName()), before);
        EXPECT_EQ(QFileInfo(path).lastModified(), kOldTime);
    }
    const auto runs = journal.runs();
    ASSERT_TRUE(runs && runs->size() == 1);
    EXPECT_TRUE(runs->front().undone);
    EXPECT_EQ(runs->front().files, 2);
    EXPECT_FALSE(runToUndo(*runs, std::nullopt)); // nothing left but the same run by number
    EXPECT_TRUE(runToUndo(*runs, run));

    // Again: the files are recognised as old and stay exactly so.
    EXPECT_EQ(undo(run).restored, 2);
    EXPECT_EQ(scan.folder.read(QStringLiteral("photos/a.jpg")), before);
}

TEST_F(UndoJournalTest, skipsFilesTouchedOrChangedSinceTheRun)
{
    ASSERT_TRUE(journal.startRun(QStringLiteral("T"), QStringLiteral("apply")));
    const QByteArray before = imageBytes("old");
    const QString touched = rewrite(QStringLiteral("touched.jpg"), before, imageBytes("new"));
    const QString edited = rewrite(QStringLiteral("edited.jpg"), before, imageBytes("new"));
    const QString kept = rewrite(QStringLiteral("kept.jpg"), before, imageBytes("new"));
    const QString gone = rewrite(QStringLiteral("gone.jpg"), before, imageBytes("new"));
    const int run = journal.currentRun();
    journal.finishRun();
    restoreModificationTime(touched, QDateTime::currentDateTime().addSecs(60));
    // Same size and time, other bytes: caught by the content check.
    const QDateTime editedTime = QFileInfo(edited).lastModified();
    ASSERT_TRUE(atomicfile::replaceFileContent(edited, imageBytes("NEW")).ok);
    restoreModificationTime(edited, editedTime);
    QFile::remove(gone);

    const UndoSummary summary = undo(run);
    EXPECT_EQ(summary.restored, 1);
    ASSERT_EQ(summary.skipped.size(), 3u);
    QStringList skipped;
    for (const NotProcessedImage &image : summary.skipped)
        skipped << QFileInfo(image.path).fileName() + u':' + image.reason;
    skipped.sort();
    EXPECT_EQ(skipped, QStringList({QStringLiteral("edited.jpg:changed since the run"),
                                    QStringLiteral("gone.jpg:the file no longer exists"),
                                    QStringLiteral("touched.jpg:changed since the run")}));
    EXPECT_EQ(scan.folder.read(QStringLiteral("photos/kept.jpg")), before);
    EXPECT_EQ(scan.folder.read(QStringLiteral("photos/touched.jpg")), imageBytes("new"));
    EXPECT_EQ(scan.folder.read(QStringLiteral("photos/edited.jpg")), imageBytes("NEW"));
}

TEST_F(UndoJournalTest, keepsTheLastTwentyRunsAndTheirFiles)
{
    for (int i = 1; i <= 23; ++i) {
        ASSERT_TRUE(journal.startRun(QStringLiteral("T%1").arg(i), QStringLiteral("apply")));
        rewrite(QStringLiteral("f%1.jpg").arg(i), imageBytes("old"), imageBytes("new"));
        journal.finishRun();
    }
    const auto runs = journal.runs();
    ASSERT_TRUE(runs);
    ASSERT_EQ(runs->size(), std::size_t(UndoJournal::kRunsKept));
    EXPECT_EQ(runs->front().templateName, QStringLiteral("T23"));
    EXPECT_EQ(runs->back().templateName, QStringLiteral("T4"));
    EXPECT_TRUE(journal.entries(runs->back().number)->size() == 1);
    EXPECT_TRUE(journal.entries(1)->empty()); // the files of a dropped run go with it

    // A run that rewrote nothing leaves no run behind to hide the last real one.
    ASSERT_TRUE(journal.startRun(QStringLiteral("nothing written"), QStringLiteral("apply")));
    journal.finishRun();
    EXPECT_EQ(journal.runs()->front().templateName, QStringLiteral("T23"));
}

TEST_F(UndoJournalTest, aRewriteThatCannotBeRecordedLeavesTheFileAlone)
{
    UndoJournal nowhere(scan.folder.file(QStringLiteral("missing/folder/Images.undo.db")));
    EXPECT_FALSE(nowhere.startRun(QStringLiteral("T"), QStringLiteral("apply")));
    EXPECT_FALSE(nowhere.errorText().isEmpty());
    const QByteArray before = QByteArray("\xFF\xD8\xFF\xD9", 4);
    const QString path = scan.write(QStringLiteral("x.jpg"), before);
    IptcWriteOptions options;
    options.recorder = &nowhere;
    IptcFieldSet values;
    values.values[5] = QStringLiteral("caption");
    const IptcWriteResult result = writeImageIptc(path, values, {}, {}, options);
    EXPECT_FALSE(result.written);
    EXPECT_TRUE(result.reason.contains(QStringLiteral("undo journal")));
    EXPECT_EQ(scan.folder.read(QStringLiteral("photos/x.jpg")), before);
}

// A file whose replacement failed was never changed: it is not a file of the run, and an undo
// neither counts it as restored nor touches its row.
TEST_F(UndoJournalTest, aRewriteThatFailedIsNeitherCountedNorRestored)
{
    const QByteArray before = QByteArray("\xFF\xD8\xFF\xD9", 4);
    ASSERT_TRUE(journal.startRun(QStringLiteral("T"), QStringLiteral("apply")));
    rewrite(QStringLiteral("a.jpg"), imageBytes("old"), imageBytes("new"));
    const QString failed = scan.write(QStringLiteral("b.jpg"), before);
    IptcWriteOptions options;
    options.recorder = &journal;
    IptcFieldSet values;
    values.values[5] = QStringLiteral("caption");
    atomicfile::setInjectedFailure(atomicfile::Step::Rename);
    const IptcWriteResult result = writeImageIptc(failed, values, {}, {}, options);
    atomicfile::setInjectedFailure(atomicfile::Step::None);
    ASSERT_FALSE(result.written);
    // A journal of an older version kept such a record: recorded, never followed by the new size.
    const QString legacy = scan.write(QStringLiteral("c.jpg"), before);
    QString reason;
    ASSERT_TRUE(journal.beforeRewrite(legacy, before, imageBytes("never written"), kOldTime, reason));
    // A run killed between the replacement and its confirmation: the file is new.
    const QString killed = scan.write(QStringLiteral("d.jpg"), before);
    ASSERT_TRUE(journal.beforeRewrite(killed, before, imageBytes("killed"), kOldTime, reason));
    scan.write(QStringLiteral("d.jpg"), imageBytes("killed"));
    const int run = journal.currentRun();
    journal.finishRun();

    EXPECT_EQ(journal.runs()->front().files, 2); // a and d; b is gone, and c still holds its old content
    const UndoSummary summary = undo(run);
    EXPECT_EQ(summary.restored, 2);
    EXPECT_EQ(scan.folder.read(QStringLiteral("photos/d.jpg")), before);
    EXPECT_TRUE(summary.skipped.empty());
    EXPECT_EQ(scan.folder.read(QStringLiteral("photos/b.jpg")), before);
    EXPECT_EQ(scan.folder.read(QStringLiteral("photos/c.jpg")), before);
}
