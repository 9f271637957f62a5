#include "platform/FileNames.h"

#include "platform/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QMutex>

#include <atomic>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelvarion::filenames {
namespace {

constexpr char16_t kByteMark = 0x034F;

// The length of the valid UTF-8 sequence at the start of bytes (no overlong forms, no surrogates,
// nothing above U+10FFFF); 0 when it is not one.
int validSequenceLength(QByteArrayView bytes)
{
    const auto at = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80)
        return 1;
    int length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else
        return 0;
    if (bytes.size() < length || at(1) < low || at(1) > high)
        return 0;
    for (int i = 2; i < length; ++i)
        if (at(i) < 0x80 || at(i) > 0xBF)
            return 0;
    return length;
}

// The byte a character stands for when the mark follows it; -1 when it stands for none.
int markedByte(QChar c)
{
    if (c.unicode() < 0x80 || !windows1252::canEncode(QStringView(&c, 1)))
        return -1;
    return static_cast<unsigned char>(windows1252::encode(QStringView(&c, 1)).at(0));
}

QString systemReason() { return QString::fromLocal8Bit(std::strerror(errno)); }

QDateTime instant(const struct statx_timestamp &t)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000);
}

FolderEntry::Kind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return FolderEntry::Kind::File;
    return S_ISDIR(mode) ? FolderEntry::Kind::Folder : FolderEntry::Kind::Other;
}

// Room for the longest entries of the user and group databases.
constexpr std::size_t kAccountEntryRoom = 16384;

QString userName(uid_t id)
{
    std::vector<char> room(kAccountEntryRoom);
    struct passwd entry{};
    struct passwd *found = nullptr;
    if (::getpwuid_r(id, &entry, room.data(), room.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(id);
}

QString groupName(gid_t id)
{
    std::vector<char> room(kAccountEntryRoom);
    struct group entry{};
    struct group *found = nullptr;
    if (::getgrgid_r(id, &entry, room.data(), room.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->gr_name);
    return QString::number(id);
}

QFileDevice::Permissions permissionsOf(mode_t mode)
{
    const std::pair<mode_t, QFileDevice::Permission> bits[] = {
        {S_IRUSR, QFileDevice::ReadOwner}, {S_IWUSR, QFileDevice::WriteOwner}, {S_IXUSR, QFileDevice::ExeOwner},
        {S_IRGRP, QFileDevice::ReadGroup}, {S_IWGRP, QFileDevice::WriteGroup}, {S_IXGRP, QFileDevice::ExeGroup},
        {S_IROTH, QFileDevice::ReadOther}, {S_IWOTH, QFileDevice::WriteOther}, {S_IXOTH, QFileDevice::ExeOther}};
    QFileDevice::Permissions permissions;
    for (const auto &[bit, permission] : bits)
        if (mode & bit)
            permissions |= permission;
    return permissions;
}

QMutex g_mappingsMutex;
std::vector<PathMapping> g_mappings; // longest stored prefix first
std::atomic<bool> g_anyMapping{false}; // spares the lock on every name when nothing is mapped

QString mappingFolder(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    return clean.endsWith(u'/') ? clean.chopped(1) : clean;
}

// `path` with the prefix `from` replaced by `to`; nothing when the prefix is not a whole folder
// of it.
std::optional<QString> replacedPrefix(const QString &path, const QString &from, const QString &to)
{
    if (!path.startsWith(from) || (path.size() > from.size() && path[from.size()] != u'/'))
        return std::nullopt;
    return to + path.sliced(from.size());
}

QString mapped(const QString &path, QString PathMapping::*from, QString PathMapping::*to)
{
    if (!g_anyMapping.load(std::memory_order_acquire))
        return path;
    QMutexLocker locked(&g_mappingsMutex);
    std::optional<QString> best;
    qsizetype bestLength = -1;
    for (const PathMapping &mapping : g_mappings)
        if ((mapping.*from).size() > bestLength)
            if (auto replaced = replacedPrefix(path, mapping.*from, mapping.*to)) {
                best = std::move(replaced);
                bestLength = (mapping.*from).size();
            }
    return best.value_or(path);
}

} // namespace

void setPathMappings(const std::vector<PathMapping> &mappings)
{
    std::vector<PathMapping> kept;
    for (const PathMapping &mapping : mappings) {
        const PathMapping clean{mappingFolder(mapping.stored), mappingFolder(mapping.local)};
        const auto usable = [](const QString &folder) { return folder.startsWith(u'/') && folder != u"/"; };
        if (usable(clean.stored) && usable(clean.local) && clean.stored != clean.local)
            kept.push_back(clean);
    }
    QMutexLocker locked(&g_mappingsMutex);
    g_mappings = std::move(kept);
    g_anyMapping.store(!g_mappings.empty(), std::memory_order_release);
}

std::vector<PathMapping> pathMappings()
{
    QMutexLocker locked(&g_mappingsMutex);
    return g_mappings;
}

QString localPath(const QString &stored) { return mapped(stored, &PathMapping::stored, &PathMapping::local); }

QString storedPath(const QString &local) { return mapped(local, &PathMapping::local, &PathMapping::stored); }

QString decode(QByteArrayView bytes)
{
    const QByteArrayView mark("\xCD\x8F", 2);
    if (bytes.isValidUtf8() && !bytes.contains(mark))
        return QString::fromUtf8(bytes);
    QString text;
    text.reserve(bytes.size() + 8);
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = validSequenceLength(bytes.sliced(i));
        // A mark that is really in the name is escaped like a stray byte, so every mark in the
        // text follows a character that stands for a byte.
        if (length > 0 && bytes.sliced(i, length) != mark) {
            text += QString::fromUtf8(bytes.sliced(i, length));
            i += length;
            continue;
        }
        text += windows1252::decode(bytes.sliced(i, 1));
        text += QChar(kByteMark);
        ++i;
    }
    return text;
}

namespace {

QByteArray encodeName(QStringView path)
{
    if (!path.contains(QChar(kByteMark)))
        return path.toUtf8();
    QByteArray bytes;
    bytes.reserve(path.size() * 2);
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i + 1 < path.size(); ++i) {
        if (path[i + 1] != QChar(kByteMark))
            continue;
        const int byte = markedByte(path[i]);
        if (byte < 0)
            continue;
        bytes += path.sliced(plainFrom, i - plainFrom).toUtf8();
        bytes += char(byte);
        plainFrom = i + 2;
        ++i;
    }
    bytes += path.sliced(plainFrom).toUtf8();
    return bytes;
}

} // namespace

QByteArray encode(QStringView path)
{
    if (!g_anyMapping.load(std::memory_order_acquire))
        return encodeName(path);
    return encodeName(localPath(path.toString()));
}

bool needsEncoding(QStringView path) { return path.contains(QChar(kByteMark)); }

std::optional<std::vector<FolderEntry>> listFolder(const QString &folder)
{
    const QByteArray native = encode(folder);
    DIR *dir = ::opendir(native.constData());
    if (!dir)
        return std::nullopt;
    const int dirFd = ::dirfd(dir);
    std::vector<FolderEntry> entries;
    while (const dirent *entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        FolderEntry found;
        found.name = decode(QByteArrayView(entry->d_name, qsizetype(std::strlen(entry->d_name))));
        struct stat info{};
        if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
            found.symLink = S_ISLNK(info.st_mode);
            if (!found.symLink)
                found.kind = kindOf(info.st_mode);
            else if (::fstatat(dirFd, entry->d_name, &info, 0) == 0)
                found.kind = kindOf(info.st_mode);
        }
        entries.push_back(std::move(found));
    }
    ::closedir(dir);
    return entries;
}

bool openForReading(QFile &file, const QString &path, QString *reason)
{
    const int fd = ::open(encode(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (reason)
            *reason = systemReason();
        return false;
    }
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    if (reason)
        *reason = file.errorString();
    return false;
}

FileFacts fileFacts(const QString &path)
{
    struct statx info{};
    FileFacts facts;
    if (::statx(AT_FDCWD, encode(path).constData(), 0, STATX_BASIC_STATS | STATX_BTIME, &info) != 0)
        return facts;
    facts.exists = true;
    facts.isFile = S_ISREG(info.stx_mode);
    facts.isFolder = S_ISDIR(info.stx_mode);
    // An administrator may write anything: the permission bits say what the user meant.
    facts.writable = (info.stx_mode & 0222) != 0 && ::access(encode(path).constData(), W_OK) == 0;
    facts.size = qint64(info.stx_size);
    facts.lastWrite = instant(info.stx_mtime);
    facts.created = (info.stx_mask & STATX_BTIME) ? instant(info.stx_btime) : facts.lastWrite;
    return facts;
}

std::optional<FileOwnership> fileOwnership(const QString &path)
{
    struct stat info{};
    if (::stat(encode(path).constData(), &info) != 0)
        return std::nullopt;
    return FileOwnership{permissionsOf(info.st_mode), userName(info.st_uid), groupName(info.st_gid)};
}

namespace {

QString workingFolder()
{
    const QByteArray shell = qgetenv("PWD");
    struct stat named{}, current{};
    if (shell.startsWith('/') && ::stat(shell.constData(), &named) == 0 && ::stat(".", &current) == 0
        && named.st_dev == current.st_dev && named.st_ino == current.st_ino)
        return decode(shell);
    return QDir::currentPath();
}

} // namespace

QString absolutePath(const QString &path)
{
    return storedPath(QDir::cleanPath(QDir::isAbsolutePath(path) ? path : workingFolder() + u'/' + path));
}

QString canonicalPath(const QString &path)
{
    char *const resolved = ::realpath(encode(path).constData(), nullptr);
    if (!resolved)
        return {};
    const QString canonical = decode(QByteArrayView(resolved, qsizetype(std::strlen(resolved))));
    std::free(resolved);
    return canonical;
}

QUrl fileUrl(const QString &path)
{
    const QString absolute = QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path);
    return QUrl::fromEncoded("file://" + encode(absolute).toPercentEncoding("/"), QUrl::StrictMode);
}

bool setLastWrite(const QString &path, const QDateTime &lastWrite)
{
    const qint64 ms = lastWrite.toMSecsSinceEpoch();
    const qint64 seconds = ms / 1000 - (ms % 1000 < 0 ? 1 : 0); // before 1970 too
    const struct timespec times[2] = {{0, UTIME_OMIT}, {time_t(seconds), long(ms - seconds * 1000) * 1000000}};
    return ::utimensat(AT_FDCWD, encode(path).constData(), times, 0) == 0;
}

} // namespace zelvarion::filenames
