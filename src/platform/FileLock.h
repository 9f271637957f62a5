#pragma once

#include <QString>

namespace zelvarion {

// An exclusive advisory lock on a file (created when missing). The kernel lets go of it when its
// holder ends however it ends, kill -9 included, so a lock is never left behind; two holders
// conflict even inside one process, one per thread.
class FileLock
{
public:
    enum class Outcome { Locked, Busy, Failed };

    explicit FileLock(QString path);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    Outcome tryLock();
    // Waits as long as another holder keeps it.
    Outcome lock();
    void unlock();
    bool isLocked() const { return m_fd >= 0; }
    // The file descriptor of the locked file, for reading and writing under the lock; -1 unlocked.
    int descriptor() const { return m_fd; }
    const QString &path() const { return m_path; }
    const QString &errorText() const { return m_error; }

private:
    Outcome take(bool wait);

    QString m_path;
    QString m_error;
    int m_fd = -1;
};

} // namespace zelvarion
