#include "core/catalogue/UndoJournalTables.h"

#include "core/catalogue/SqlText.h"

#include <QByteArray>

namespace zelvarion::undoJournalTables {
namespace {

QString newestRuns(int count) { return QStringLiteral("(select Run from Runs order by Run desc limit %1)").arg(count); }

QString newestRecordOf(int run, const QString &path)
{
    return QStringLiteral("(select max(Id) from Files where Run=%1 and Path=%2)").arg(QString::number(run), sqlText(path));
}

} // namespace

const std::vector<QString> &schemaStatements()
{
    static const std::vector<QString> statements = {
        // Each record is on the disk before its file is replaced; the write-ahead log makes that
        // one flush per commit instead of several, and lets the commits that need none go without.
        QStringLiteral("PRAGMA journal_mode=WAL;"),
        QStringLiteral("create table if not exists Runs (Run integer primary key, Started text, Template text, Kind text, "
                       "Undone integer not null default 0);"),
        QStringLiteral("create table if not exists Files (Id integer primary key, Run integer not null, Path text not null, "
                       "SpanOffset integer, OldSpan blob, NewSpanLength integer, OldHash text, NewHash text, "
                       "OldModified integer, NewSize integer, NewModified integer, OldRevisionDate text, "
                       "OldRevisionTime text);"),
        QStringLiteral("create index if not exists FilesOfRun on Files (Run, Path);"),
    };
    return statements;
}

const std::vector<QString> &migrationStatements()
{
    static const std::vector<QString> statements = {
        // 1: the hash of each record is named; the records before it hold SHA-256 (kind 0).
        QStringLiteral("alter table Files add column HashKind integer not null default 0;"),
    };
    return statements;
}

int formatVersion() { return int(migrationStatements().size()); }

QString readFormatVersion() { return QStringLiteral("PRAGMA user_version;"); }
QString writeFormatVersion() { return QStringLiteral("PRAGMA user_version=%1;").arg(formatVersion()); }
QString beginImmediate() { return QStringLiteral("begin immediate;"); }
QString begin() { return QStringLiteral("begin;"); }
QString commit() { return QStringLiteral("commit;"); }
QString rollback() { return QStringLiteral("rollback;"); }
QString commitsFlush(bool flush)
{
    return flush ? QStringLiteral("PRAGMA synchronous=FULL;") : QStringLiteral("PRAGMA synchronous=NORMAL;");
}

QString pruneFiles(int keepRuns)
{
    return QStringLiteral("delete from Files where Run not in %1;").arg(newestRuns(keepRuns - 1));
}

QString pruneRuns(int keepRuns) { return QStringLiteral("delete from Runs where Run not in %1;").arg(newestRuns(keepRuns - 1)); }

QString insertRun(const QString &started, const QString &templateName, const QString &kind)
{
    return QStringLiteral("insert into Runs (Started, Template, Kind) values (%1, %2, %3);")
        .arg(sqlText(started), sqlText(templateName), sqlText(kind));
}

QString newestRun() { return QStringLiteral("select max(Run) from Runs;"); }

QString removeRunIfEmpty(int run)
{
    return QStringLiteral("delete from Runs where Run=%1 and not exists (select 1 from Files where Run=%1);").arg(run);
}

QString markUndone(int run) { return QStringLiteral("update Runs set Undone=1 where Run=%1;").arg(run); }

QString selectRuns()
{
    return QStringLiteral("select Run, Started, Template, Kind, Undone, (select count(*) from Files "
                          "where Files.Run=Runs.Run and NewSize is not null) from Runs order by Run desc;");
}

std::vector<sqliteEngine::BoundValue> fileRecordValues(const FileRecord &record)
{
    using sqliteEngine::BoundValue;
    const auto textOrNull = [&](const QString *text) { return text ? BoundValue(*text) : BoundValue(); };
    return {record.path,
            qint64(record.spanOffset),
            sqliteEngine::Blob{record.oldSpan},
            qint64(record.newSpanLength),
            QString::fromLatin1(record.oldHash),
            QString::fromLatin1(record.newHash),
            qint64(record.oldModified),
            qint64(record.hashKind),
            textOrNull(record.oldRevision ? &record.oldRevision->first : nullptr),
            textOrNull(record.oldRevision ? &record.oldRevision->second : nullptr)};
}

QString insertFile(int run)
{
    return QStringLiteral("insert into Files (Run, Path, SpanOffset, OldSpan, NewSpanLength, OldHash, NewHash, "
                          "OldModified, HashKind, OldRevisionDate, OldRevisionTime) values (%1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);")
        .arg(QString::number(run));
}

QString confirmRewrite(int run, const QString &path, qint64 newSize, qint64 newModified)
{
    return QStringLiteral("update Files set NewSize=%1, NewModified=%2 where Id=%3;")
        .arg(QString::number(newSize), QString::number(newModified), newestRecordOf(run, path));
}

QString removeFailedRewrite(int run, const QString &path)
{
    return QStringLiteral("delete from Files where Id=%1 and NewSize is null;").arg(newestRecordOf(run, path));
}

QString setOldRevision(int run, const QString &path, const QString &date, const QString &time)
{
    return QStringLiteral("update Files set OldRevisionDate=%1, OldRevisionTime=%2 where Id=%3;")
        .arg(sqlText(date), sqlText(time), newestRecordOf(run, path));
}

QString selectUnconfirmed()
{
    return QStringLiteral("select Run, Path, OldHash, HashKind, SpanOffset, length(OldSpan) from Files where NewSize is null;");
}

QString selectEntries(int run)
{
    return QStringLiteral("select Id, Path, SpanOffset, NewSpanLength, OldHash, NewHash, OldModified, "
                          "NewSize, NewModified, OldRevisionDate, OldRevisionTime, HashKind, length(OldSpan) from Files "
                          "where Run=%1 order by Id desc;")
        .arg(run);
}

QString selectOldSpan(qint64 entryId) { return QStringLiteral("select hex(OldSpan) from Files where Id=%1;").arg(entryId); }

} // namespace zelvarion::undoJournalTables
