#pragma once

#include "platform/FileLock.h"

#include <QString>

namespace zelvarion {

class Feedback;
class LanguagePack;

// Commands that rewrite image files or many catalogue rows (a template run, its undo, a scan, the
// file commands) run one at a time on a catalogue, from the window or the command line, in any
// number of processes: each holds the lock file beside the catalogue for its whole run. Readers
// (search, export) never take it. The lock goes when its holder ends, however it ends.
class CatalogueWriteLock
{
public:
    explicit CatalogueWriteLock(const QString &cataloguePath);

    // "Images.db" -> "Images.db.lock" beside it; one catalogue reached by two paths has one lock.
    static QString lockPathOf(const QString &cataloguePath);

    // The window's way: when another command holds the lock, this one is refused with a message
    // before it touches anything. True when the lock is held.
    bool takeOrRefuse(Feedback &feedback, const LanguagePack &language);
    // The command line's way: when another command holds the lock, says so once and waits for it.
    // True when the lock is held.
    bool takeOrWait(Feedback &feedback, const LanguagePack &language);

    bool held() const { return m_lock.isLocked(); }
    // Another command held the lock first: what was read before taking it may be out of date.
    bool waited() const { return m_waited; }
    void release() { m_lock.unlock(); }

private:
    bool failed(FileLock::Outcome outcome, Feedback &feedback, const LanguagePack &language);

    QString m_cataloguePath;
    FileLock m_lock;
    bool m_waited = false;
};

} // namespace zelvarion
