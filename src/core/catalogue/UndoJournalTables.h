#pragma once

#include "platform/SqliteEngine.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace zelvarion {

// Every statement on the undo journal's tables (a database of its own beside a catalogue file):
// Runs, one row per run, and Files, one row per rewrite with the span it changed. The journal's
// format is its user_version; migration N takes version N-1 to N.
//
// A catalogue on a database server keeps them in its own database, as UndoRuns and UndoFiles so
// they cannot be taken for the catalogue's tables, made at their current format (no migration).
namespace undoJournalTables {

enum class Place { BesideFile, OnServer };

// Creates what is missing; the write-ahead log first, so each record's commit flushes once.
const std::vector<QString> &schemaStatements();
// The server's tables, made under a transaction lock so two first users do not both create them.
const std::vector<QString> &serverSchemaStatements();
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
QString pruneFiles(int keepRuns, Place place = Place::BesideFile);
QString pruneRuns(int keepRuns, Place place = Place::BesideFile);
QString insertRun(const QString &started, const QString &templateName, const QString &kind, Place place = Place::BesideFile);
QString newestRun();
// On the server the new run's number comes back from its insert: another user may start one
// at the same moment, so the newest is not necessarily this one.
QString removeRunIfEmpty(int run, Place place = Place::BesideFile);
QString markUndone(int run, Place place = Place::BesideFile);
// Run, Started, Template, Kind, Undone and the confirmed files, newest first.
QString selectRuns(Place place = Place::BesideFile);

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
QString insertFile(int run, Place place = Place::BesideFile);
// The newest record of path in run: its rewrite confirmed, removed after a failed rewrite, or
// given the row's revision noted after the rewrite.
QString confirmRewrite(int run, const QString &path, qint64 newSize, qint64 newModified, Place place = Place::BesideFile);
QString removeFailedRewrite(int run, const QString &path, Place place = Place::BesideFile);
QString setOldRevision(int run, const QString &path, const QString &date, const QString &time, Place place = Place::BesideFile);
// Run, Path, OldHash, HashKind, SpanOffset and the old span's length of the records whose rewrite
// was never confirmed.
QString selectUnconfirmed(Place place = Place::BesideFile);
// Id, Path, SpanOffset, NewSpanLength, OldHash, NewHash, OldModified, NewSize, NewModified,
// OldRevisionDate, OldRevisionTime, HashKind and the old span's length of run's records, newest first.
QString selectEntries(int run, Place place = Place::BesideFile);
QString selectOldSpan(qint64 entryId, Place place = Place::BesideFile);

} // namespace undoJournalTables
} // namespace zelvarion
