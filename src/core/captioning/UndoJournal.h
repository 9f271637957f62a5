#pragma once

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/UndoJournalTables.h"
#include "core/iptc/RewriteRecorder.h"
#include "platform/ContentHash.h"

#include <QByteArray>
#include <QMutex>
#include <QWaitCondition>
#include <QString>
#include <map>
#include <optional>
#include <vector>

namespace zelvarion {

// One rewrite as the journal holds it: the one span of the file that changed, the old bytes of
// that span, and what the file looked like before and after.
struct JournalEntry
{
    qint64 id = 0;
    QString path;
    qint64 spanOffset = 0;
    QByteArray oldSpan;
    qint64 oldSpanLength = 0; // known before oldSpan is loaded
    qint64 newSpanLength = 0;
    QByteArray oldHash; // hash of the whole old content, as hexadecimal text
    QByteArray newHash; // and of the whole new content
    std::optional<contentHash::Kind> hashKind; // nothing: written by a newer version
    qint64 oldModified = 0; // milliseconds since the epoch
    std::optional<qint64> newSize; // missing when the run ended before the file was in place
    qint64 newModified = 0;
    QString oldRevisionDate; // the row's revision before the run
    QString oldRevisionTime;
};

struct JournalRun
{
    int number = 0;
    QString started;
    QString templateName;
    QString kind;
    int files = 0;
    bool undone = false;
};

// The last runs that rewrote files, in a database file of its own beside the catalogue (or in a
// server catalogue's own database), each record on the disk before its file is touched. One connection guarded by a mutex: a run records
// from its worker threads.
//
// A record holds the one span that changed (offset, old bytes, new length), a hash of the whole
// old and new content with the hash's kind (XXH3-128 now; SHA-256 in journals written before the
// kind was stored, still checked with it) and the old and new modification times. Records of
// workers that arrive while a commit waits for the disk go together in the next commit
// (commitWithOthers): about one flush per group of workers, not per file. The confirmation after
// the replacement and the removal of a failed replacement's record skip their own flush
// (Flush::Later); an undo that lacks them checks the file's content alone. The journal's format is
// its user_version, brought up by migrateLocked in one transaction. A run that rewrote nothing is
// removed when it ends; a save in the edit dialog is a run of its own (kind "edit").
class UndoJournal : public RewriteRecorder
{
public:
    static constexpr int kRunsKept = 20;

    explicit UndoJournal(QString path);
    ~UndoJournal() override;
    // "Images.db" -> "Images.undo.db", in the same folder; a server's address stays as it is.
    static QString pathBeside(const QString &cataloguePath);
    const QString &path() const { return m_db.path; }
    const QString &errorText() const { return m_error; }

    // Opens the journal, drops the oldest runs so this one is the last of kRunsKept, and starts a
    // run that records every later rewrite. False with errorText when the journal cannot be used.
    bool startRun(const QString &templateName, const QString &kind);
    // Ends the run; a run that rewrote no file is removed.
    void finishRun();
    int currentRun() const { return m_run; }

    bool beforeRewrite(const QString &path, QByteArrayView oldContent, QByteArrayView newHead, qsizetype sharedTail,
                       const QDateTime &oldModified, QString &reason) override;
    bool beforeRewrite(const QString &path, QByteArrayView oldContent, QByteArrayView newContent,
                       const QDateTime &oldModified, QString &reason)
    {
        return beforeRewrite(path, oldContent, newContent, 0, oldModified, reason);
    }
    void afterRewrite(const QString &path, qint64 newSize, const QDateTime &newModified) override;
    // The file kept its old content: its record goes, so the run neither counts nor restores it.
    void rewriteFailed(const QString &path) override;
    // The catalogue row's revision before the run touched it, for the undo to give back: after
    // the file's rewrite, onto its record; or before it, to go into the record itself (no commit
    // of its own, and no wait behind another's).
    void noteOldRevision(const QString &path, const QString &date, const QString &time);
    void noteOldRevisionBeforeRewrite(const QString &path, const QString &date, const QString &time);

    // Newest first; nothing on failure (see errorText).
    std::optional<std::vector<JournalRun>> runs();
    // The entries of a run, newest first, spans not loaded.
    std::optional<std::vector<JournalEntry>> entries(int run);
    std::optional<QByteArray> oldSpan(qint64 entryId);
    bool markUndone(int run);

private:
    bool openLocked();
    // A record on its way into the journal: the values of its row, then the answer.
    struct PendingRecord
    {
        std::vector<sqliteEngine::BoundValue> values;
        bool done = false; // set under m_queueMutex
        bool recorded = false;
        QString error;
    };
    enum class Flush { Now, Later };

    bool migrateLocked();
    bool createServerTablesLocked();
    bool executeLocked(const QString &statement, Flush flush = Flush::Now,
                       const std::vector<sqliteEngine::BoundValue> &values = {});
    bool countUnfinishedRecordsLocked(std::vector<JournalRun> &runs);
    void commitWithOthers(PendingRecord &record);
    void commitRecords(const std::vector<PendingRecord *> &group);
    std::optional<std::pair<QString, QString>> revisionAhead(const QString &path);

    undoJournalTables::Place m_place;
    CatalogueDb m_db;
    QMutex m_mutex; // the connection and everything below
    QString m_error;
    int m_run = 0;
    bool m_commitsFlush = false; // the connection's synchronous setting is FULL

    QMutex m_queueMutex; // the records waiting for a commit, and the revisions noted before
    QWaitCondition m_committed;
    std::map<QString, std::pair<QString, QString>> m_revisionsAhead;
    std::vector<PendingRecord *> m_pending;
    bool m_committing = false;
};

} // namespace zelvarion
