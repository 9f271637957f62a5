#include "platform/AtomicFile.h"

#include "platform/FileNames.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <atomic>
#include <mutex>
#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <set>
#include <utility>
#include <vector>

namespace zelvarion::atomicfile {
namespace {

std::atomic<Step> g_injectedFailure{Step::None};

bool failsAt(Step step)
{
    if (g_injectedFailure.load() != step)
        return false;
    errno = EIO;
    return true;
}

Result failure(Problem problem, const QString &path, const QString &other = {})
{
    const QString systemText = QString::fromLocal8Bit(std::strerror(errno));
    return {false, problem, other.isEmpty() ? QStringList{path} : QStringList{path, other}, systemText};
}

// The permissions a file created the ordinary way would get (0666 less the process's umask); the
// temporary file starts as 0600, which would hide a new export from other programs and users. The
// umask is read from /proc: setting it to read it back would race with other threads' files.
mode_t newFileMode()
{
    mode_t mask = 022;
    if (std::FILE *status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::strncmp(line, "Umask:", 6) == 0) {
                mask = mode_t(std::strtoul(line + 6, nullptr, 8));
                break;
            }
        std::fclose(status);
    }
    return mode_t(0666 & ~mask);
}

// Permissions and extended attributes of the original go to the new file, so the rename changes
// nothing but the content. Attributes the file system refuses to copy fail the replacement.
bool copyAttributes(const QByteArray &original, int fd)
{
    struct stat info{};
    if (::stat(original.constData(), &info) != 0)
        return errno == ENOENT && ::fchmod(fd, newFileMode()) == 0;
    if (::fchmod(fd, info.st_mode & 07777) != 0)
        return false;
    const ssize_t listSize = ::listxattr(original.constData(), nullptr, 0);
    if (listSize <= 0)
        return listSize == 0 || errno == ENOTSUP;
    std::vector<char> names(size_t(listSize), '\0');
    const ssize_t got = ::listxattr(original.constData(), names.data(), names.size());
    if (got < 0)
        return false;
    for (const char *name = names.data(); name < names.data() + got; name += std::strlen(name) + 1) {
        const ssize_t valueSize = ::getxattr(original.constData(), name, nullptr, 0);
        if (valueSize < 0)
            return false;
        std::vector<char> value(static_cast<size_t>(valueSize), 0);
        if (::getxattr(original.constData(), name, value.data(), value.size()) != valueSize)
            return false;
        // Security labels are the system's to give; the new file gets the folder's default.
        if (::fsetxattr(fd, name, value.data(), value.size(), 0) != 0 && std::strncmp(name, "security.", 9) != 0)
            return false;
    }
    return true;
}

constexpr QByteArrayView kTemporaryMark = ".zelvarion-";
constexpr qsizetype kTemporaryRandomLength = 6; // what mkstemp puts in place of XXXXXX

// The longest name a folder entry may have on the file systems we write to.
constexpr qsizetype kLongestName = NAME_MAX;

// The mkstemp pattern of the temporary file beside a target, in the bytes of its real name. The
// target's name in it only tells whoever finds the file what it was for, so a name near the
// file system's limit is shortened there: the temporary file must be creatable for every name
// the folder can hold.
QByteArray temporaryPattern(const QFileInfo &target)
{
    QByteArray name = filenames::encode(target.fileName());
    name.truncate(kLongestName - 1 - kTemporaryMark.size() - kTemporaryRandomLength);
    return filenames::encode(target.absolutePath()) + "/." + name + kTemporaryMark.toByteArray()
           + QByteArray(kTemporaryRandomLength, 'X');
}

void syncFolder(const QString &folder)
{
    if (const int fd = ::open(filenames::encode(folder).constData(), O_RDONLY | O_DIRECTORY); fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool sameFile(int fd, const QByteArray &path)
{
    struct stat opened{};
    struct stat named{};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.constData(), &named) == 0 && opened.st_dev == named.st_dev
           && opened.st_ino == named.st_ino;
}

// A temporary file and the lock its writer holds on it until the rename. The lock tells the clean-up
// of a later run, in any process, that the file is still being written; a killed writer's lock is
// gone with it, so what it left is removed at once.
struct TemporaryFile
{
    QByteArray path;
    int fd = -1;
    int lock = -1; // a second descriptor of the open file: the lock outlives the close of fd

    // Creates the file from an mkstemp pattern, locked; false with errno set when it cannot.
    bool create(const QByteArray &pattern)
    {
        for (int attempt = 0; attempt < 8; ++attempt) {
            QByteArray candidate = pattern;
            const int made = ::mkostemp(candidate.data(), O_CLOEXEC);
            if (made < 0)
                return false;
            while (::flock(made, LOCK_EX) != 0 && errno == EINTR) {
            }
            // A clean-up may have taken the file in the moment before the lock: another one is made.
            // On a file system without locks the file stays unlocked; the clean-up then goes by age.
            if (sameFile(made, candidate)) {
                fd = made;
                path = candidate;
                lock = ::fcntl(made, F_DUPFD_CLOEXEC, 0);
                return lock >= 0;
            }
            ::close(made);
        }
        errno = EEXIST;
        return false;
    }

    ~TemporaryFile()
    {
        if (fd >= 0)
            ::close(fd);
        if (!path.isEmpty())
            ::unlink(path.constData());
        if (lock >= 0)
            ::close(lock);
    }
};

// The source's bytes into fd, a buffer at a time.
bool copyContent(int source, int fd)
{
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t got = ::read(source, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (!writeAll(fd, QByteArrayView(buffer.data(), got)))
            return false;
    }
}

struct OpenedSource
{
    int fd = -1;
    ~OpenedSource()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

bool writeAll(int fd, QByteArrayView content)
{
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t written = ::write(fd, content.data() + done, size_t(content.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

void setInjectedFailure(Step step) { g_injectedFailure.store(step); }

bool isTemporaryFileName(QByteArrayView name)
{
    const qsizetype markAt = name.size() - kTemporaryRandomLength - kTemporaryMark.size();
    // At least one byte of the target's name between the leading dot and the mark.
    if (markAt < 2 || !name.startsWith('.') || name.sliced(markAt, kTemporaryMark.size()) != kTemporaryMark)
        return false;
    const QByteArrayView random = name.sliced(markAt + kTemporaryMark.size());
    return std::all_of(random.begin(), random.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

namespace {

// Whether no writer holds the temporary file any more: its lock can be taken (and is kept while
// the file is removed). Where the file system has no locks, a file untouched for minimumAge.
bool isAbandoned(int fd, const struct stat &info, const struct timespec &now, std::chrono::seconds minimumAge)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return true;
    if (errno == EWOULDBLOCK || errno == EINTR)
        return false;
    return now.tv_sec - info.st_ctim.tv_sec >= minimumAge.count();
}

int removeStaleTemporaryFilesIn(const QString &folder, std::chrono::seconds minimumAge)
{
    const QByteArray encodedFolder = filenames::encode(folder);
    DIR *dir = ::opendir(encodedFolder.constData());
    if (!dir)
        return 0;
    const int dirFd = ::dirfd(dir);
    struct timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    int removed = 0;
    while (const dirent *entry = ::readdir(dir)) {
        if (!isTemporaryFileName(QByteArrayView(entry->d_name, qsizetype(std::strlen(entry->d_name)))))
            continue;
        const int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info{};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && isAbandoned(fd, info, now, minimumAge)
            && sameFile(fd, encodedFolder + '/' + entry->d_name) && ::unlinkat(dirFd, entry->d_name, 0) == 0)
            ++removed;
        ::close(fd);
    }
    ::closedir(dir);
    return removed;
}

} // namespace

int removeStaleTemporaryFiles(const QStringList &folders, std::chrono::seconds minimumAge)
{
    int removed = 0;
    std::set<QString> seen;
    for (const QString &folder : folders)
        if (seen.insert(folder).second)
            removed += removeStaleTemporaryFilesIn(folder, minimumAge);
    return removed;
}

Result copyFile(const QString &source, const QString &target)
{
    OpenedSource input;
    struct stat info{};
    if ((input.fd = ::open(filenames::encode(source).constData(), O_RDONLY | O_CLOEXEC)) < 0
        || ::fstat(input.fd, &info) != 0 || !S_ISREG(info.st_mode))
        return failure(Problem::ReadSource, source);
    const QFileInfo to(target);
    TemporaryFile temporary;
    if (failsAt(Step::CreateTemporary) || !temporary.create(temporaryPattern(to)))
        return failure(Problem::CreateTemporary, target);
    const QByteArray temporaryPath = temporary.path;
    if (failsAt(Step::Write) || !copyContent(input.fd, temporary.fd))
        return failure(Problem::Copy, source, target);
    if (failsAt(Step::Flush) || ::fsync(temporary.fd) != 0)
        return failure(Problem::Flush, filenames::decode(temporaryPath));
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    if (failsAt(Step::CopyAttributes) || ::fchmod(temporary.fd, info.st_mode & 07777) != 0
        || ::futimens(temporary.fd, times) != 0)
        return failure(Problem::KeepPermissionsAndDates, source);
    const int closed = ::close(temporary.fd);
    temporary.fd = -1;
    if (closed != 0)
        return failure(Problem::Close, filenames::decode(temporaryPath));
    if (failsAt(Step::Rename) || ::rename(temporaryPath.constData(), filenames::encode(to.absoluteFilePath()).constData()) != 0)
        return failure(Problem::Replace, target);
    temporary.path.clear();
    syncFolder(to.absolutePath());
    return {true, Problem::None, {}, {}};
}

namespace {

// The file a replacement of path writes: a link is followed, so the file it names is replaced.
// Looked at as this machine names it, since Qt's classes know nothing of the path mapping.
QFileInfo replacedFile(const QString &path)
{
    const QString local = filenames::localPath(path);
    const QFileInfo linkOrFile(local);
    return QFileInfo(linkOrFile.isSymLink() && linkOrFile.exists() ? linkOrFile.canonicalFilePath() : local);
}

} // namespace

Result replaceFileContent(const QString &path, QByteArrayView content, Durability durability)
{
    const QFileInfo target = replacedFile(path);
    const QByteArray targetPath = filenames::encode(target.absoluteFilePath());
    TemporaryFile temporary;
    if (failsAt(Step::CreateTemporary) || !temporary.create(temporaryPattern(target)))
        return failure(Problem::CreateTemporary, path);
    const QByteArray temporaryPath = temporary.path;
    if (failsAt(Step::Write) || !writeAll(temporary.fd, content))
        return failure(Problem::Write, filenames::decode(temporaryPath));
    if (failsAt(Step::Flush) || (durability == Durability::Synced && ::fsync(temporary.fd) != 0))
        return failure(Problem::Flush, filenames::decode(temporaryPath));
    if (failsAt(Step::CopyAttributes) || !copyAttributes(targetPath, temporary.fd))
        return failure(Problem::KeepPermissions, path);
    if (::close(temporary.fd) != 0) {
        temporary.fd = -1;
        return failure(Problem::Close, filenames::decode(temporaryPath));
    }
    temporary.fd = -1;
    if (failsAt(Step::Rename) || ::rename(temporaryPath.constData(), targetPath.constData()) != 0)
        return failure(Problem::Replace, path);
    temporary.path.clear(); // renamed: nothing left to remove
    // The rename itself reaches the disk with the folder's entry.
    if (durability == Durability::Synced)
        syncFolder(target.absolutePath());
    return {true, Problem::None, {}, {}};
}


StreamingReplacement::StreamingReplacement(const QString &path, Durability durability,
                                           DeferredFolderFlushes *folderFlushes)
    : m_path(path), m_durability(durability), m_folderFlushes(folderFlushes), m_failure{true, Problem::None, {}, {}}
{
    const QFileInfo target = replacedFile(path);
    TemporaryFile temporary;
    if (failsAt(Step::CreateTemporary) || !temporary.create(temporaryPattern(target))) {
        m_failure = failure(Problem::CreateTemporary, path);
        return;
    }
    m_fd = std::exchange(temporary.fd, -1);
    m_lock = std::exchange(temporary.lock, -1);
    m_temporaryPath = std::exchange(temporary.path, QByteArray());
}

StreamingReplacement::~StreamingReplacement()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_temporaryPath.isEmpty())
        ::unlink(m_temporaryPath.constData());
    if (m_lock >= 0)
        ::close(m_lock);
}

bool StreamingReplacement::append(QByteArrayView piece)
{
    if (!m_failure.ok)
        return false;
    if (failsAt(Step::Write) || !writeAll(m_fd, piece))
        m_failure = failure(Problem::Write, filenames::decode(m_temporaryPath));
    return m_failure.ok;
}

Result StreamingReplacement::settle()
{
    if (!m_failure.ok || m_settled)
        return m_failure;
    const QByteArray targetPath = filenames::encode(replacedFile(m_path).absoluteFilePath());
    if (failsAt(Step::Flush) || (m_durability == Durability::Synced && ::fsync(m_fd) != 0))
        return m_failure = failure(Problem::Flush, filenames::decode(m_temporaryPath));
    if (failsAt(Step::CopyAttributes) || !copyAttributes(targetPath, m_fd))
        return m_failure = failure(Problem::KeepPermissions, m_path);
    m_settled = true;
    return m_failure;
}

Result StreamingReplacement::commit()
{
    if (!settle().ok)
        return m_failure;
    const QFileInfo target = replacedFile(m_path);
    const QByteArray targetPath = filenames::encode(target.absoluteFilePath());
    const QString temporary = filenames::decode(m_temporaryPath);
    const int closed = ::close(m_fd);
    m_fd = -1;
    if (closed != 0)
        return m_failure = failure(Problem::Close, temporary);
    if (failsAt(Step::Rename) || ::rename(m_temporaryPath.constData(), targetPath.constData()) != 0)
        return m_failure = failure(Problem::Replace, m_path);
    m_temporaryPath.clear();
    if (m_durability == Durability::Synced) {
        if (m_folderFlushes)
            m_folderFlushes->add(target.absolutePath());
        else
            syncFolder(target.absolutePath());
    }
    return {true, Problem::None, {}, {}};
}

DeferredFolderFlushes::~DeferredFolderFlushes() { flush(); }

void DeferredFolderFlushes::add(const QString &folder)
{
    const std::lock_guard locked(m_mutex);
    m_folders.insert(folder);
}

void DeferredFolderFlushes::flush()
{
    std::set<QString> folders;
    {
        const std::lock_guard locked(m_mutex);
        folders.swap(m_folders);
    }
    for (const QString &folder : folders)
        syncFolder(folder);
}

} // namespace zelvarion::atomicfile
