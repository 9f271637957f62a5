#include "core/templates/UndoJournal.h"

#include "platform/FileNames.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

#include <algorithm>

namespace zelvarion {
namespace {

const char *const kSchema[] = {
    // Each record is on the disk before its file is replaced; the write-ahead log makes that one
    // flush per record instead of several.
    "PRAGMA journal_mode=WAL;",
    "PRAGMA synchronous=FULL;",
    "create table if not exists Runs (Run integer primary key, Started text, Template text, Kind text, "
    "Undone integer not null default 0);",
    "create table if not exists Files (Id integer primary key, Run integer not null, Path text not null, "
    "SpanOffset integer, OldSpan blob, NewSpanLength integer, OldHash text, NewHash text, OldModified integer, "
    "NewSize integer, NewModified integer, OldRevisionDate text, OldRevisionTime text);",
    "create index if not exists FilesOfRun on Files (Run, Path);",
};

QByteArray sha256(QByteArrayView bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(); }

QString blobLiteral(QByteArrayView bytes) { return QStringLiteral("X'%1'").arg(QString::fromLatin1(bytes.toByteArray().toHex())); }

// The one span where two contents differ: the common beginning and end are cut off.
struct ChangedSpan
{
    qsizetype offset = 0;
    qsizetype oldLength = 0;
    qsizetype newLength = 0;
};

ChangedSpan changedSpan(QByteArrayView before, QByteArrayView after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    return {prefix, before.size() - prefix - suffix, after.size() - prefix - suffix};
}

} // namespace

UndoJournal::UndoJournal(QString path) { m_db.path = std::move(path); }

UndoJournal::~UndoJournal() { finishRun(); }

QString UndoJournal::pathBeside(const QString &cataloguePath)
{
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
    for (const char *statement : kSchema)
        if (!executeLocked(QLatin1String(statement)))
            return false;
    return true;
}

bool UndoJournal::executeLocked(const QString &statement)
{
    if (m_db.execute(statement) == 0)
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
    const QString keep = QStringLiteral("(select Run from Runs order by Run desc limit %1)").arg(kRunsKept - 1);
    if (!executeLocked(QStringLiteral("delete from Files where Run not in %1;").arg(keep))
        || !executeLocked(QStringLiteral("delete from Runs where Run not in %1;").arg(keep))
        || !executeLocked(QStringLiteral("insert into Runs (Started, Template, Kind) values (%1, %2, %3);")
                              .arg(sqlText(QDateTime::currentDateTime().toString(Qt::ISODate)), sqlText(templateName),
                                   sqlText(kind)))
        || !executeLocked(QStringLiteral("select max(Run) from Runs;")))
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
        executeLocked(QStringLiteral("delete from Runs where Run=%1 and not exists (select 1 from Files where Run=%1);")
                          .arg(m_run));
    m_run = 0;
    m_db.close();
}

bool UndoJournal::beforeRewrite(const QString &path, QByteArrayView oldContent, QByteArrayView newContent,
                                const QDateTime &oldModified, QString &reason)
{
    const ChangedSpan span = changedSpan(oldContent, newContent);
    const QString statement =
        QStringLiteral("insert into Files (Run, Path, SpanOffset, OldSpan, NewSpanLength, OldHash, NewHash, OldModified) "
                       "values (%1, %2, %3, %4, %5, '%6', '%7', %8);")
            .arg(m_run)
            .arg(sqlText(path))
            .arg(span.offset)
            .arg(blobLiteral(oldContent.sliced(span.offset, span.oldLength)))
            .arg(span.newLength)
            .arg(QString::fromLatin1(sha256(oldContent)), QString::fromLatin1(sha256(newContent)))
            .arg(oldModified.toMSecsSinceEpoch());
    QMutexLocker locked(&m_mutex);
    if (m_run > 0 && m_db.isOpen() && executeLocked(statement))
        return true;
    reason = QStringLiteral("the undo journal cannot record the change: ") + (m_run > 0 ? m_error : QStringLiteral("no run started"));
    return false;
}

void UndoJournal::afterRewrite(const QString &path, qint64 newSize, const QDateTime &newModified)
{
    QMutexLocker locked(&m_mutex);
    // Left out on failure: the undo then checks the file's content alone.
    executeLocked(QStringLiteral("update Files set NewSize=%1, NewModified=%2 where Id=(select max(Id) from Files "
                                 "where Run=%3 and Path=%4);")
                      .arg(newSize)
                      .arg(newModified.toMSecsSinceEpoch())
                      .arg(m_run)
                      .arg(sqlText(path)));
}

void UndoJournal::rewriteFailed(const QString &path)
{
    QMutexLocker locked(&m_mutex);
    executeLocked(QStringLiteral("delete from Files where Id=(select max(Id) from Files where Run=%1 and Path=%2) "
                                 "and NewSize is null;")
                      .arg(m_run)
                      .arg(sqlText(path)));
}

void UndoJournal::noteOldRevision(const QString &path, const QString &date, const QString &time)
{
    QMutexLocker locked(&m_mutex);
    executeLocked(QStringLiteral("update Files set OldRevisionDate=%1, OldRevisionTime=%2 where Id=(select max(Id) "
                                 "from Files where Run=%3 and Path=%4);")
                      .arg(sqlText(date), sqlText(time))
                      .arg(m_run)
                      .arg(sqlText(path)));
}

std::optional<std::vector<JournalRun>> UndoJournal::runs()
{
    QMutexLocker locked(&m_mutex);
    if (!openLocked()
        || !executeLocked(QStringLiteral("select Run, Started, Template, Kind, Undone, (select count(*) from Files "
                                         "where Files.Run=Runs.Run and NewSize is not null) from Runs order by Run desc;")))
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
    if (!executeLocked(QStringLiteral("select Run, Path, OldHash from Files where NewSize is null;")))
        return false;
    for (int r = 1; r <= m_db.rowCount(); ++r) {
        QFile file;
        const bool unchanged = filenames::openForReading(file, m_db.cell(1, r))
                               && sha256(file.readAll()) == m_db.cell(2, r).toLatin1();
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
    if (!openLocked()
        || !executeLocked(QStringLiteral("select Id, Path, SpanOffset, NewSpanLength, OldHash, NewHash, OldModified, "
                                         "NewSize, NewModified, OldRevisionDate, OldRevisionTime from Files "
                                         "where Run=%1 order by Id desc;")
                              .arg(run)))
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
        found.push_back(std::move(entry));
    }
    return found;
}

std::optional<QByteArray> UndoJournal::oldSpan(qint64 entryId)
{
    QMutexLocker locked(&m_mutex);
    if (!openLocked() || !executeLocked(QStringLiteral("select hex(OldSpan) from Files where Id=%1;").arg(entryId))
        || m_db.rowCount() != 1)
        return std::nullopt;
    return QByteArray::fromHex(m_db.cell(0, 1).toLatin1());
}

bool UndoJournal::markUndone(int run)
{
    QMutexLocker locked(&m_mutex);
    return openLocked() && executeLocked(QStringLiteral("update Runs set Undone=1 where Run=%1;").arg(run));
}

} // namespace zelvarion
