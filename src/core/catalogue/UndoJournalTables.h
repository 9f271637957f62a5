#pragma once

#include "platform/SqliteEngine.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace zelvarion {

// Every statement on the undo journal's tables (a database of its own beside the catalogue):
// Runs, one row per run, and Files, one row per rewrite with the span it changed. The journal's
// format is its user_version; migration N takes version N-1 to N.
namespace undoJournalTables {

// Creates what is missing; the write-ahead log first, so each record's commit flushes once.
const std::vector<QString> &schemaStatements();
const std::vector<QString> &migrationStatements();
int formatVersion();

// Engine settings and transactions of the journal's own connection.
QString readFormatVersion();
QString writeFormatVersion();
QString beginImmediate();
QString begin();
QString commit();
QString rollback();
// Whether a commit waits until its log is on the disk.
QString commitsFlush(bool flush);

// Runs: the newest keepRuns - 1 stay when a run starts.
QString pruneFiles(int keepRuns);
QString pruneRuns(int keepRuns);
QString insertRun(const QString &started, const QString &templateName, const QString &kind);
QString newestRun();
QString removeRunIfEmpty(int run);
QString markUndone(int run);
// Run, Started, Template, Kind, Undone and the confirmed files, newest first.
QString selectRuns();

// The values of a Files row after Run, in insertFile's column order.
struct FileRecord
{
    QString path;
    qint64 spanOffset = 0;
    QByteArrayView oldSpan;
    qint64 newSpanLength = 0;
    QByteArray oldHash;
    QByteArray newHash;
    qint64 oldModified = 0;
    int hashKind = 0;
    std::optional<std::pair<QString, QString>> oldRevision; // date and time; null when unknown
};
// The values of insertFile's "?" after Run: the old span goes in as a blob, not as text.
std::vector<sqliteEngine::BoundValue> fileRecordValues(const FileRecord &record);
QString insertFile(int run);
// The newest record of path in run: its rewrite confirmed, removed after a failed rewrite, or
// given the row's revision noted after the rewrite.
QString confirmRewrite(int run, const QString &path, qint64 newSize, qint64 newModified);
QString removeFailedRewrite(int run, const QString &path);
QString setOldRevision(int run, const QString &path, const QString &date, const QString &time);
// Run, Path, OldHash, HashKind, SpanOffset and the old span's length of the records whose rewrite
// was never confirmed.
QString selectUnconfirmed();
// Id, Path, SpanOffset, NewSpanLength, OldHash, NewHash, OldModified, NewSize, NewModified,
// OldRevisionDate, OldRevisionTime, HashKind and the old span's length of run's records, newest first.
QString selectEntries(int run);
QString selectOldSpan(qint64 entryId);

} // namespace undoJournalTables
} // namespace zelvarion
