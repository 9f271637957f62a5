#pragma once

#include <QString>

#include <functional>

namespace zelvarion {

class CatalogueDb;
class Feedback;

// Statements only the catalogue's present engine understands (its PRAGMAs, vacuum, journal
// modes). Another engine behind CatalogueDb gives its own versions of these and of the start-up
// and per-search tuning (CatalogueSchema.h), the substring index (SearchIndexTables.h) and the
// undo journal's settings (UndoJournalTables.h); the table statements are plain SQL.

// Runs work inside a transaction that takes the write lock at once; commits when work succeeds,
// else rolls back with the first error left in the catalogue's errorText().
bool inWriteTransaction(CatalogueDb &db, const std::function<bool()> &work);

// Whether the catalogue keeps its text as UTF-8, whose bytes compare in the order of the
// characters; the engine compares text byte by byte, also text kept as UTF-16.
bool textComparesAsUtf8(CatalogueDb &db);

// "vacuum;", reported as CannotRunVacuum.
bool compactCatalogue(CatalogueDb &db, Feedback &feedback);

// Until the connection closes, a sort that outgrows the page cache spills into a temporary file
// instead of the memory the search's tuning chose: a sorted result read once in full then takes
// the same memory at any size. False when the engine refused.
bool spillSortsToTemporaryFile(CatalogueDb &db);

// Keeps the catalogue's rollback journal between transactions while it lives: each row of a run
// is updated in a transaction of its own, and a journal created and deleted again for every row
// cost a sixth of a run over photographs. The usual mode comes back when it ends (a process killed
// meanwhile leaves an empty journal, which the engine ignores and the next write removes).
class RollbackJournalKept
{
public:
    explicit RollbackJournalKept(CatalogueDb &db);
    ~RollbackJournalKept();
    RollbackJournalKept(const RollbackJournalKept &) = delete;
    RollbackJournalKept &operator=(const RollbackJournalKept &) = delete;

private:
    CatalogueDb &m_db;
    bool m_kept = false;
};

// Statements on this connection fail at once instead of waiting for another command's writes,
// while it lives: the search index is caught up another time.
class NoWaitForWriters
{
public:
    explicit NoWaitForWriters(CatalogueDb &db);
    ~NoWaitForWriters();
    NoWaitForWriters(const NoWaitForWriters &) = delete;
    NoWaitForWriters &operator=(const NoWaitForWriters &) = delete;

private:
    CatalogueDb &m_db;
    QString m_timeout;
};

} // namespace zelvarion
