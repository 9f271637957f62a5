// The undo journal: the one changed span of a rewrite is recorded and put back, a file changed
// since the run is skipped, an undo run twice does no harm, only the last 20 runs stay, a
// rewrite that cannot be recorded leaves the file alone, each record is committed before its
// file is replaced (workers at once included), and the records of journals written before the
// hash kind was stored are still undone.
#include "core/catalogue/ScanTestSupport.h"
#include "core/iptc/IptcWriter.h"
#include "core/captioning/ProcessIptc.h"
#include "core/captioning/UndoTemplateRun.h"
#include "core/iptc/IptcReader.h"
#include "support/TempFolder.h"
#include "platform/AtomicFile.h"
#include "platform/ContentHash.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <map>
#include <thread>

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

    // A file with old content rewritten to new content the way the writer does it, recorded. The
    // writer may name the last sharedTail bytes as left as they were instead of giving them again.
    QString rewrite(const QString &name, const QByteArray &before, const QByteArray &after, qsizetype sharedTail = 0)
    {
        const QString path = scan.write(name, before);
        restoreModificationTime(path, kOldTime);
        QString reason;
        EXPECT_TRUE(journal.beforeRewrite(path, before, QByteArrayView(after).chopped(sharedTail), sharedTail,
                                          kOldTime, reason))
            << reason.toStdString();
        EXPECT_TRUE(atomicfile::replaceFileContent(path, after).ok);
        journal.afterRewrite(path, after.size(), QFileInfo(path).lastModified());
        return path;
    }

    UndoSummary undo(int run) { return undoTemplateRun(journal, run, scan.db, scan.feedback, {}); }
};

QByteArray imageBytes(const QByteArray &middle) { return "\xFF\xD8" + QByteArray(5000, 'a') + middle + QByteArray(7000, 'z'); }

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Looks, at the moment the writer asks for the record, from a connection of its own: the record
// must be committed there while the file still holds its old bytes.
class WitnessingRecorder : public RewriteRecorder
{
public:
    explicit WitnessingRecorder(UndoJournal &journal) : m_journal(journal) {}

    bool beforeRewrite(const QString &path, QByteArrayView oldContent, QByteArrayView newHead, qsizetype sharedTail,
                       const QDateTime &oldModified, QString &reason) override
    {
        if (!m_journal.beforeRewrite(path, oldContent, newHead, sharedTail, oldModified, reason))
            return false;
        CatalogueDb other;
        other.path = m_journal.path();
        const bool committed = other.openReadOnly()
                               && other.execute(QStringLiteral("select count(*) from Files where Path=%1;").arg(sqlText(path))) == 0
                               && other.cell(0, 1) == u"1";
        if (committed && readFile(path) == oldContent)
            ++witnessed;
        return true;
    }
    void afterRewrite(const QString &path, qint64 newSize, const QDateTime &newModified) override
    {
        m_journal.afterRewrite(path, newSize, newModified);
    }

    std::atomic<int> witnessed = 0;

private:
    UndoJournal &m_journal;
};

// The journal as the versions before the hash kind wrote it: SHA-256 of the whole contents.
const char *const kOldFormat[] = {
    "PRAGMA journal_mode=WAL;",
    "create table Runs (Run integer primary key, Started text, Template text, Kind text, Undone integer not null default 0);",
    "create table Files (Id integer primary key, Run integer not null, Path text not null, SpanOffset integer, "
    "OldSpan blob, NewSpanLength integer, OldHash text, NewHash text, OldModified integer, NewSize integer, "
    "NewModified integer, OldRevisionDate text, OldRevisionTime text);",
    "create index FilesOfRun on Files (Run, Path);",
    "insert into Runs (Started, Template, Kind) values ('2026-01-01T10:00:00', 'Old', 'apply');",
};

QString sha256Text(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

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
    // New records carry the fast hash; the content check below is made with it.
    const auto recorded = journal.entries(run);
    ASSERT_TRUE(recorded);
    for (const JournalEntry &entry : *recorded) {
        EXPECT_EQ(entry.hashKind, contentHash::Kind::Xxh3_128Parts);
        EXPECT_EQ(entry.newHash, contentHash::hexDigest(imageBytes("new"), contentHash::Kind::Xxh3_128Parts,
                                                        {entry.spanOffset, entry.newSpanLength}));
    }
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

// Spans beginning and ending on each side of the blocks the comparison takes at once, and names
// holding what looks like the statement's own markers.
TEST_F(UndoJournalTest, recordsTheSpanAtEveryDistanceFromTheEndsAndAnyName)
{
    ASSERT_TRUE(journal.startRun(QStringLiteral("T"), QStringLiteral("apply")));
    const qsizetype distances[] = {0, 1, 4095, 4096, 4097, 8193};
    std::map<QString, QByteArray> originals;
    std::map<QString, qsizetype> offsets;
    for (const qsizetype head : distances) {
        for (const qsizetype tail : distances) {
            const QByteArray before = QByteArray(head, 'h') + "OLD" + QByteArray(tail, 't');
            // Half of them as the writer gives a header rewrite: the unchanged tail named, not given.
            const qsizetype shared = (head + tail) % 2 == 0 ? tail / 2 : 0;
            const QString path = rewrite(QStringLiteral("span %1-%2.jpg").arg(head).arg(tail), before,
                                         QByteArray(head, 'h') + "NEWER" + QByteArray(tail, 't'), shared);
            originals[path] = before;
            offsets[path] = head;
        }
    }
    for (const QString &name : {QStringLiteral("50%4 off.jpg"), QStringLiteral("%1%2.jpg"), QStringLiteral("it's.jpg")}) {
        const QString path = rewrite(name, imageBytes("old"), imageBytes("new"));
        originals[path] = imageBytes("old");
        offsets[path] = 5002;
    }
    const int run = journal.currentRun();
    journal.finishRun();

    const auto entries = journal.entries(run);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), originals.size());
    for (const JournalEntry &entry : *entries) {
        ASSERT_TRUE(offsets.count(entry.path)) << entry.path.toStdString();
        EXPECT_EQ(entry.spanOffset, offsets[entry.path]) << entry.path.toStdString();
        EXPECT_EQ(journal.oldSpan(entry.id), originals[entry.path].startsWith('\xFF') ? QByteArray("old") : QByteArray("OLD"))
            << entry.path.toStdString();
        EXPECT_EQ(entry.newSpanLength, originals[entry.path].startsWith('\xFF') ? 3 : 5) << entry.path.toStdString();
    }
    const UndoSummary summary = undo(run);
    EXPECT_EQ(summary.restored, int(originals.size()));
    for (const auto &[path, bytes] : originals)
        EXPECT_EQ(readFile(path), bytes) << path.toStdString();
}

// The writer over real files from other programs (XMP, digests, split resources): the file holds
// the bytes the rewrite reports, the values read back are the file's, and the undo gives every
// file back byte for byte.
TEST_F(UndoJournalTest, aRunOverRealFilesWritesWhatItReportsAndIsUndoneByteForByte)
{
    ASSERT_TRUE(journal.startRun(QStringLiteral("T"), QStringLiteral("apply")));
    IptcWriteOptions options;
    options.recorder = &journal;
    MergeRequest request;
    request.templ.fields[kCaptionIndex] = QStringLiteral("From the template");
    request.mode = MergeMode::OverwriteNonEmpty;
    std::map<QString, QByteArray> originals;
    QDirIterator samples(testDataFile(QStringLiteral("iptc")), {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")},
                         QDir::Files, QDirIterator::Subdirectories);
    while (samples.hasNext()) {
        const QByteArray bytes = readFile(samples.next());
        const QString path = scan.write(QStringLiteral("%1.jpg").arg(originals.size()), bytes);
        const ProcessResult result = processIptc(path, request, options, false);
        if (result.status != ProcessResult::Status::Written)
            continue; // a damaged sample is refused and left alone
        const QByteArray written = readFile(path);
        EXPECT_EQ(written, result.content.joined()) << samples.filePath().toStdString();
        EXPECT_TRUE(result.after == readIptcFromBytes(written, path, request.customizedLabel).fields)
            << samples.filePath().toStdString();
        originals[path] = bytes;
    }
    ASSERT_GE(originals.size(), 10u);
    const int run = journal.currentRun();
    journal.finishRun();
    EXPECT_EQ(undo(run).restored, int(originals.size()));
    for (const auto &[path, bytes] : originals)
        EXPECT_EQ(readFile(path), bytes) << path.toStdString();
}

// Workers write at once, as a template run does: each record is committed, where another
// connection sees it, before its file is touched, and every one of them is undone.
TEST_F(UndoJournalTest, eachRecordIsCommittedBeforeItsFileIsReplacedWhileWorkersWriteAtOnce)
{
    ASSERT_TRUE(journal.startRun(QStringLiteral("T"), QStringLiteral("apply")));
    WitnessingRecorder witness(journal);
    IptcWriteOptions options;
    options.recorder = &witness;
    const QByteArray before = QByteArray("\xFF\xD8\xFF\xD9", 4);
    constexpr int kWorkers = 8;
    QStringList paths;
    for (int i = 0; i < kWorkers; ++i)
        paths << scan.write(QStringLiteral("w%1.jpg").arg(i), before);
    std::atomic<int> written = 0;
    std::vector<std::thread> workers;
    for (int i = 0; i < kWorkers; ++i)
        workers.emplace_back([&, i] {
            IptcFieldSet values;
            values.values[5] = QStringLiteral("caption %1").arg(i);
            if (writeImageIptc(paths[i], values, {}, {}, options).written)
                ++written;
        });
    for (std::thread &worker : workers)
        worker.join();
    const int run = journal.currentRun();
    journal.finishRun();

    EXPECT_EQ(written, kWorkers);
    EXPECT_EQ(witness.witnessed, kWorkers);
    const auto entries = journal.entries(run);
    ASSERT_TRUE(entries);
    EXPECT_EQ(entries->size(), std::size_t(kWorkers));
    for (const JournalEntry &entry : *entries)
        EXPECT_TRUE(entry.newSize) << entry.path.toStdString();
    EXPECT_EQ(undo(run).restored, kWorkers);
    for (const QString &path : paths)
        EXPECT_EQ(readFile(path), before) << path.toStdString();
}

// A journal written before the hash kind was stored: opened, it takes the new format in place;
// its records still count and undo with SHA-256, next to new records with the fast hash.
TEST_F(UndoJournalTest, undoesTheRecordsOfAJournalOfTheOlderFormat)
{
    const QByteArray before = imageBytes("old caption");
    const QByteArray after = imageBytes("a new caption");
    const QString rewritten = scan.write(QStringLiteral("old-format.jpg"), after);
    const QDateTime newTime = kOldTime.addSecs(3600);
    restoreModificationTime(rewritten, newTime);
    // A record never confirmed whose file kept its old content: not a file of the run.
    const QString neverRewritten = scan.write(QStringLiteral("never.jpg"), before);
    {
        CatalogueDb old;
        old.path = journal.path();
        ASSERT_TRUE(old.open());
        for (const char *statement : kOldFormat)
            ASSERT_EQ(old.execute(QLatin1String(statement)), 0) << statement;
        const QString values = QStringLiteral("(1, %1, 5002, X'%2', 13, '%3', '%4', %5, %6, %7)");
        ASSERT_EQ(old.execute(QStringLiteral("insert into Files (Run, Path, SpanOffset, OldSpan, NewSpanLength, OldHash, "
                                             "NewHash, OldModified, NewSize, NewModified) values %1, %2;")
                                  .arg(values.arg(sqlText(rewritten), QString::fromLatin1(QByteArray("old caption").toHex()),
                                                  sha256Text(before), sha256Text(after),
                                                  QString::number(kOldTime.toMSecsSinceEpoch()),
                                                  QString::number(after.size()),
                                                  QString::number(newTime.toMSecsSinceEpoch())),
                                       values.arg(sqlText(neverRewritten), QString::fromLatin1(QByteArray("old caption").toHex()),
                                                  sha256Text(before), sha256Text(after),
                                                  QString::number(kOldTime.toMSecsSinceEpoch()), QStringLiteral("null"),
                                                  QStringLiteral("null")))),
                  0)
            << old.errorText().toStdString();
        old.close();
    }

    const auto runs = journal.runs();
    ASSERT_TRUE(runs) << journal.errorText().toStdString();
    ASSERT_EQ(runs->size(), 1u);
    EXPECT_EQ(runs->front().files, 1);
    const auto entries = journal.entries(1);
    ASSERT_TRUE(entries && entries->size() == 2);
    EXPECT_EQ(entries->back().hashKind, contentHash::Kind::Sha256);
    // A new run in the same journal records with the fast hash.
    ASSERT_TRUE(journal.startRun(QStringLiteral("New"), QStringLiteral("apply")));
    const QString fresh = rewrite(QStringLiteral("new-format.jpg"), imageBytes("old"), imageBytes("new"));
    const int newRun = journal.currentRun();
    journal.finishRun();
    EXPECT_EQ(journal.entries(newRun)->front().hashKind, contentHash::Kind::Xxh3_128Parts);

    const UndoSummary newUndone = undo(newRun);
    EXPECT_EQ(newUndone.restored, 1);
    EXPECT_EQ(readFile(fresh), imageBytes("old"));
    const UndoSummary oldUndone = undo(1);
    EXPECT_EQ(oldUndone.restored, 1);
    EXPECT_TRUE(oldUndone.skipped.empty());
    EXPECT_EQ(readFile(rewritten), before);
    EXPECT_EQ(QFileInfo(rewritten).lastModified(), kOldTime);
    EXPECT_EQ(readFile(neverRewritten), before);
    // Again, as after a kill: the old-format file is recognised as back.
    EXPECT_EQ(undo(1).restored, 1);
    EXPECT_EQ(readFile(rewritten), before);
}
