#pragma once

#include "platform/FileLock.h"

#include <QString>
#include <memory>

namespace zelvarion {

class CatalogueDb;
class Feedback;
class LanguagePack;

// Commands that rewrite image files or many catalogue rows (a template run, its undo, a scan, the
// file commands) run one at a time on a catalogue, from the window or the command line, in any
// number of processes: each holds the lock file beside the catalogue for its whole run. Readers
// (search, export) never take it. The lock goes when its holder ends, however it ends.
//
// A catalogue on a database server is shared by several machines, so the server holds its lock:
// a session lock of the database on a connection kept for the run (the server lets go of it when
// that connection drops, a killed holder's included), and a row naming the machine and user, so
// the one refused or waiting is told who holds it.
class CatalogueWriteLock
{
public:
    explicit CatalogueWriteLock(const QString &cataloguePath);
    ~CatalogueWriteLock();

    // "Images.db" -> "Images.db.lock" beside it; one catalogue reached by two paths has one lock.
    static QString lockPathOf(const QString &cataloguePath);

    // The window's way: when another command holds the lock, this one is refused with a message
    // before it touches anything. True when the lock is held.
    bool takeOrRefuse(Feedback &feedback, const LanguagePack &language);
    // The command line's way: when another command holds the lock, says so once and waits for it.
    // True when the lock is held.
    bool takeOrWait(Feedback &feedback, const LanguagePack &language);

    bool held() const { return m_lock.isLocked() || m_onServer; }
    // Another command held the lock first: what was read before taking it may be out of date.
    bool waited() const { return m_waited; }
    void release();

private:
    bool failed(FileLock::Outcome outcome, Feedback &feedback, const LanguagePack &language);
    FileLock::Outcome take(bool wait);
    FileLock::Outcome takeOnServer(bool wait);
    // "It is held by USER on MACHINE" on a new line, or nothing when no holder is known.
    QString holderLine(const LanguagePack &language);

    QString m_cataloguePath;
    FileLock m_lock;
    bool m_waited = false;
    std::unique_ptr<CatalogueDb> m_server; // the connection that holds the server's lock
    bool m_onServer = false;
    QString m_serverError;
};

} // namespace zelvarion
