#include "core/captioning/UndoJournal.h"

#include "core/catalogue/UndoJournalTables.h"
#include "platform/FileNames.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

#include <algorithm>
#include <cstring>

namespace zelvarion {
namespace {

// The one span where two contents differ: the common beginning and end are cut off.
struct ChangedSpan
{
    qsizetype offset = 0;
    qsizetype oldLength = 0;
    qsizetype newLength = 0;
};

// How many bytes the two have in common from their start, or from their end; compared a block
// at a time, as a photograph of megabytes differs only in its metadata.
qsizetype commonLength(const char *a, const char *b, qsizetype limit, bool fromEnd)
{
    constexpr qsizetype kBlock = 4096;
    qsizetype common = 0;
    while (common + kBlock <= limit
           && std::memcmp(fromEnd ? a - common - kBlock : a + common, fromEnd ? b - common - kBlock : b + common, kBlock) == 0)
        common += kBlock;
    while (common < limit && (fromEnd ? a[-common - 1] == b[-common - 1] : a[common] == b[common]))
        ++common;
    return common;
}

ChangedSpan changedSpan(QByteArrayView before, QByteArrayView after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    const qsizetype prefix = commonLength(before.data(), after.data(), shorter, false);
    const qsizetype suffix =
        commonLength(before.data() + before.size(), after.data() + after.size(), shorter - prefix, true);
    return {prefix, before.size() - prefix - suffix, after.size() - prefix - suffix};
}

} // namespace

UndoJournal::UndoJournal(QString path)
    : m_place(CatalogueDb::isServerCatalogue(path) ? undoJournalTables::Place::OnServer
                                                   : undoJournalTables::Place::BesideFile)
{
    m_db.path = std::move(path);
}

UndoJournal::~UndoJournal() { finishRun(); }

QString UndoJournal::pathBeside(const QString &cataloguePath)
{
    if (CatalogueDb::isServerCatalogue(cataloguePath))
        return cataloguePath; // no file beside it: the journal keeps its tables in the same database
    const QFileInfo info(cataloguePath);
    return info.path() + u'/' + info.completeBaseName() + QStringLiteral(".undo.db");
}

bool UndoJournal::openLocked()
{
    if (m_db.isOpen())
        return true;
    if (!m_db.open()) {
        m_error = m_db.errorText();
        return false;
    }
    m_commitsFlush = false; // the engine's default until the schema sets it
    if (m_db.isServer())
        return createServerTablesLocked();
    for (const QString &statement : undoJournalTables::schemaStatements())
        if (!executeLocked(statement))
            return false;
    return migrateLocked();
}

// The server commits each record durably on its own; its tables come in one transaction, whole.
bool UndoJournal::createServerTablesLocked()
{
    if (!executeLocked(undoJournalTables::begin()))
        return false;
    bool created = true;
    for (const QString &statement : undoJournalTables::serverSchemaStatements())
        created = created && executeLocked(statement);
    if (created && executeLocked(undoJournalTables::commit()))
        return true;
    const QString failure = m_error;
    executeLocked(undoJournalTables::rollback());
    m_db.close(); // the next use tries again
    m_error = failure;
    return false;
}

// Every migration a journal lacks, in one transaction: a journal is never half of two versions.
bool UndoJournal::migrateLocked()
{
    // Read first: a reader of a current journal takes no write lock.
    using namespace undoJournalTables;
    if (!executeLocked(readFormatVersion()))
        return false;
    if (m_db.cell(0, 1).toInt() >= formatVersion())
        return true;
    if (!executeLocked(beginImmediate()))
        return false;
    bool migrated = executeLocked(readFormatVersion()); // another process may have been first
    for (int version = m_db.cell(0, 1).toInt(); migrated && version < formatVersion(); ++version)
        migrated = executeLocked(migrationStatements()[std::size_t(version)]);
    if (migrated && executeLocked(writeFormatVersion()) && executeLocked(commit()))
        return true;
    const QString failure = m_error;
    executeLocked(rollback());
    m_error = failure;
    return false;
}

// A commit of a journal left at synchronous FULL waits until its log is on the disk; one with
// Flush::Later goes on at once, on the disk with the next flushed commit or the checkpoint at the
// close (the log keeps commits in order). A kill loses neither.
bool UndoJournal::executeLocked(const QString &statement, Flush flush, const std::vector<sqliteEngine::BoundValue> &values)
{
    const bool flushes = flush == Flush::Now;
    if (m_commitsFlush != flushes) {
        if (m_db.execute(undoJournalTables::commitsFlush(flushes)) != 0) {
            m_error = m_db.errorText();
            return false;
        }
        m_commitsFlush = flushes;
    }
    if ((values.empty() ? m_db.execute(statement) : m_db.executeBound(statement, values)) == 0)
        return true;
    m_error = m_db.errorText();
    return false;
}

bool UndoJournal::startRun(const QString &templateName, const QString &kind)
{
    QMutexLocker locked(&m_mutex);
    m_run = 0;
    if (!openLocked())
        return false;
    using namespace undoJournalTables;
    const QString started = QDateTime::currentDateTime().toString(Qt::ISODate);
    if (!executeLocked(pruneFiles(kRunsKept, m_place)) || !executeLocked(pruneRuns(kRunsKept, m_place))
        || !executeLocked(insertRun(started, templateName, kind, m_place))
        || (m_place == Place::BesideFile && !executeLocked(newestRun())))
        return false;
    m_run = m_db.cell(0, 1).toInt();
    return m_run > 0;
}

void UndoJournal::finishRun()
{
    QMutexLocker locked(&m_mutex);
    // A run that rewrote nothing has nothing to give back; kept, it would hide the run before it
    // from "the last run".
    if (m_run != 0)
        executeLocked(undoJournalTables::removeRunIfEmpty(m_run, m_place));
    m_run = 0;
    m_db.close();
    QMutexLocker queue(&m_queueMutex);
    m_revisionsAhead.clear(); // of files the run did not rewrite
}

bool UndoJournal::beforeRewrite(const QString &path, QByteArrayView oldContent, QByteArrayView newHead,
                                qsizetype sharedTail, const QDateTime &oldModified, QString &reason)
{
    // The shared tail is the same in both contents: only what stands before it is compared, and
    // the span found there lies within the new head.
    const ChangedSpan span = changedSpan(oldContent.first(oldContent.size() - sharedTail), newHead);
    const auto [oldHash, newHash] =
        contentHash::rewriteDigests(oldContent, newHead, span.offset, span.oldLength, span.newLength);
    PendingRecord record;
    record.values = undoJournalTables::fileRecordValues({path, span.offset, oldContent.sliced(span.offset, span.oldLength),
                                                         span.newLength, oldHash, newHash, oldModified.toMSecsSinceEpoch(),
                                                         int(contentHash::kCurrent), revisionAhead(path)});
    commitWithOthers(record);
    if (!record.recorded)
        reason = record.error;
    return record.recorded;
}

// The file is replaced as soon as its record is on the disk. Records that come while a commit
// waits for the disk are committed together by the next one: one flush for each group of
// workers instead of one for each file.
void UndoJournal::commitWithOthers(PendingRecord &record)
{
    QMutexLocker queue(&m_queueMutex);
    m_pending.push_back(&record);
    while (!record.done) {
        if (m_committing) {
            m_committed.wait(&m_queueMutex);
            continue;
        }
        m_committing = true;
        std::vector<PendingRecord *> group;
        group.swap(m_pending);
        queue.unlock();
        commitRecords(group);
        queue.relock();
        for (PendingRecord *committed : group)
            committed->done = true;
        m_committing = false;
        m_committed.wakeAll();
    }
}

void UndoJournal::commitRecords(const std::vector<PendingRecord *> &group)
{
    QMutexLocker locked(&m_mutex);
    if (m_run <= 0 || !m_db.isOpen()) {
        for (PendingRecord *record : group)
            record->error = QStringLiteral("no run started");
        return;
    }
    const QString insertFile = undoJournalTables::insertFile(m_run, m_place);
    const auto insert = [&](const PendingRecord &record) { return executeLocked(insertFile, Flush::Now, record.values); };
    if (group.size() > 1 && executeLocked(undoJournalTables::begin(), Flush::Now)) {
        bool all = true;
        for (const PendingRecord *record : group)
            all = all && insert(*record);
        if (all && executeLocked(undoJournalTables::commit(), Flush::Now)) {
            for (PendingRecord *record : group)
                record->recorded = true;
            return;
        }
        executeLocked(undoJournalTables::rollback(), Flush::Now);
    }
    // One at a time: each record gets its own answer.
    for (PendingRecord *record : group) {
        record->recorded = insert(*record);
        record->error = m_error;
    }
}

void UndoJournal::afterRewrite(const QString &path, qint64 newSize, const QDateTime &newModified)
{
    QMutexLocker locked(&m_mutex);
    // Left out on failure: the undo then checks the file's content alone.
    executeLocked(undoJournalTables::confirmRewrite(m_run, path, newSize, newModified.toMSecsSinceEpoch(), m_place), Flush::Later);
}

void UndoJournal::rewriteFailed(const QString &path)
{
    QMutexLocker locked(&m_mutex);
    // Should it be lost, the undo finds the file still old and leaves it.
    executeLocked(undoJournalTables::removeFailedRewrite(m_run, path, m_place), Flush::Later);
}

void UndoJournal::noteOldRevisionBeforeRewrite(const QString &path, const QString &date, const QString &time)
{
    QMutexLocker queue(&m_queueMutex);
    m_revisionsAhead[path] = {date, time};
}

// The revision noted for path before its rewrite, taken out of the notes; nothing when none was.
std::optional<std::pair<QString, QString>> UndoJournal::revisionAhead(const QString &path)
{
    QMutexLocker queue(&m_queueMutex);
    const auto noted = m_revisionsAhead.find(path);
    if (noted == m_revisionsAhead.end())
        return std::nullopt;
    std::pair<QString, QString> revision = noted->second;
    m_revisionsAhead.erase(noted);
    return revision;
}

void UndoJournal::noteOldRevision(const QString &path, const QString &date, const QString &time)
{
    QMutexLocker locked(&m_mutex);
    executeLocked(undoJournalTables::setOldRevision(m_run, path, date, time, m_place), Flush::Later);
}

std::optional<std::vector<JournalRun>> UndoJournal::runs()
{
    QMutexLocker locked(&m_mutex);
    if (!openLocked() || !executeLocked(undoJournalTables::selectRuns(m_place)))
        return std::nullopt;
    std::vector<JournalRun> found;
    for (int r = 1; r <= m_db.rowCount(); ++r)
        found.push_back({m_db.cell(0, r).toInt(), m_db.cell(1, r), m_db.cell(2, r), m_db.cell(3, r),
                         m_db.cell(5, r).toInt(), m_db.cell(4, r) == u"1"});
    if (!countUnfinishedRecordsLocked(found))
        return std::nullopt;
    return found;
}

// A record whose rewrite was never confirmed is left by a kill after the replacement, or by a
// failed replacement whose record could not be removed (a full disk refuses that too). The file
// tells which: one that still holds its old content was never rewritten and is not counted.
bool UndoJournal::countUnfinishedRecordsLocked(std::vector<JournalRun> &runs)
{
    if (!executeLocked(undoJournalTables::selectUnconfirmed(m_place)))
        return false;
    for (int r = 1; r <= m_db.rowCount(); ++r) {
        QFile file;
        const std::optional<contentHash::Kind> kind = contentHash::kindFromNumber(m_db.cell(3, r).toInt());
        const contentHash::Cut oldSpan{m_db.cell(4, r).toLongLong(), m_db.cell(5, r).toLongLong()};
        const bool unchanged = kind && filenames::openForReading(file, m_db.cell(1, r))
                               && contentHash::hexDigest(file.readAll(), *kind, oldSpan) == m_db.cell(2, r).toLatin1();
        const auto run = std::find_if(runs.begin(), runs.end(),
                                      [number = m_db.cell(0, r).toInt()](const JournalRun &j) { return j.number == number; });
        if (!unchanged && run != runs.end())
            ++run->files;
    }
    return true;
}

std::optional<std::vector<JournalEntry>> UndoJournal::entries(int run)
{
    QMutexLocker locked(&m_mutex);
    if (!openLocked() || !executeLocked(undoJournalTables::selectEntries(run, m_place)))
        return std::nullopt;
    std::vector<JournalEntry> found;
    for (int r = 1; r <= m_db.rowCount(); ++r) {
        JournalEntry entry;
        entry.id = m_db.cell(0, r).toLongLong();
        entry.path = m_db.cell(1, r);
        entry.spanOffset = m_db.cell(2, r).toLongLong();
        entry.newSpanLength = m_db.cell(3, r).toLongLong();
        entry.oldHash = m_db.cell(4, r).toLatin1();
        entry.newHash = m_db.cell(5, r).toLatin1();
        entry.oldModified = m_db.cell(6, r).toLongLong();
        if (!m_db.cell(7, r).isEmpty())
            entry.newSize = m_db.cell(7, r).toLongLong();
        entry.newModified = m_db.cell(8, r).toLongLong();
        entry.oldRevisionDate = m_db.cell(9, r);
        entry.oldRevisionTime = m_db.cell(10, r);
        entry.hashKind = contentHash::kindFromNumber(m_db.cell(11, r).toInt());
        entry.oldSpanLength = m_db.cell(12, r).toLongLong();
        found.push_back(std::move(entry));
    }
    return found;
}

std::optional<QByteArray> UndoJournal::oldSpan(qint64 entryId)
{
    QMutexLocker locked(&m_mutex);
    if (!openLocked() || !executeLocked(undoJournalTables::selectOldSpan(entryId, m_place))
        || m_db.rowCount() != 1)
        return std::nullopt;
    return QByteArray::fromHex(m_db.cell(0, 1).toLatin1());
}

bool UndoJournal::markUndone(int run)
{
    QMutexLocker locked(&m_mutex);
    return openLocked() && executeLocked(undoJournalTables::markUndone(run, m_place));
}

} // namespace zelvarion
