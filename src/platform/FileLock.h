#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

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

    // The locked file as a small append-only record (the backup folder's index). Nothing, or
    // false, when unlocked or the system refused.
    struct FileState
    {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = 0;
    };
    std::optional<FileState> state() const;
    std::optional<QByteArray> readFrom(qint64 offset) const; // to the end
    bool appendDurably(QByteArrayView bytes) const;          // at the end, flushed to the disk
    const QString &path() const { return m_path; }
    const QString &errorText() const { return m_error; }

private:
    Outcome take(bool wait);

    QString m_path;
    QString m_error;
    int m_fd = -1;
};

} // namespace zelvarion
