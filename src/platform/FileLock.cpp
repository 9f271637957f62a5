#include "platform/FileLock.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelvarion {

FileLock::FileLock(QString path) : m_path(std::move(path)) {}

FileLock::~FileLock() { unlock(); }

FileLock::Outcome FileLock::tryLock() { return take(false); }

FileLock::Outcome FileLock::lock() { return take(true); }

FileLock::Outcome FileLock::take(bool wait)
{
    if (m_fd >= 0)
        return Outcome::Locked;
    const QByteArray name = QFile::encodeName(m_path);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return Outcome::Failed;
    }
    // flock, not fcntl locks: those belong to the process, so a second holder in the same process
    // would be let in, and closing any descriptor of the file would drop them.
    int taken;
    do
        taken = ::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB));
    while (taken != 0 && errno == EINTR);
    if (taken != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            return Outcome::Busy;
        m_error = QString::fromLocal8Bit(std::strerror(error));
        return Outcome::Failed;
    }
    m_fd = fd;
    return Outcome::Locked;
}

std::optional<FileLock::FileState> FileLock::state() const
{
    struct stat status{};
    if (m_fd < 0 || ::fstat(m_fd, &status) != 0)
        return std::nullopt;
    return FileState{quint64(status.st_dev), quint64(status.st_ino), qint64(status.st_size)};
}

std::optional<QByteArray> FileLock::readFrom(qint64 offset) const
{
    const std::optional<FileState> now = state();
    if (!now || offset > now->size)
        return std::nullopt;
    QByteArray bytes(now->size - offset, Qt::Uninitialized);
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(m_fd, bytes.data() + done, std::size_t(bytes.size() - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return std::nullopt;
        done += n;
    }
    return bytes;
}

bool FileLock::appendDurably(QByteArrayView bytes) const
{
    const std::optional<FileState> now = state();
    if (!now)
        return false;
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(m_fd, bytes.data() + done, std::size_t(bytes.size() - done), now->size + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return ::fdatasync(m_fd) == 0;
}

void FileLock::unlock()
{
    if (m_fd < 0)
        return;
    ::close(m_fd); // closing the only descriptor releases the lock
    m_fd = -1;
}

} // namespace zelvarion
