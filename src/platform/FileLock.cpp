#include "platform/FileLock.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
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

void FileLock::unlock()
{
    if (m_fd < 0)
        return;
    ::close(m_fd); // closing the only descriptor releases the lock
    m_fd = -1;
}

} // namespace zelvarion
