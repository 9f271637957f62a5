#include "platform/FileMoves.h"

#include "platform/AtomicFile.h"
#include "platform/FileNames.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <optional>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelvarion::filemoves {
namespace {

// The callers name the file in their own message; the system's words are the reason.
RenameResult failed(int error)
{
    return {error == EEXIST ? RenameStatus::TargetExists : RenameStatus::Failed, QString::fromLocal8Bit(std::strerror(error))};
}

// link() refuses an existing name just as the no-replace rename does.
RenameResult renameByLink(const QByteArray &from, const QByteArray &to)
{
    if (::link(from.constData(), to.constData()) != 0)
        return failed(errno);
    if (::unlink(from.constData()) != 0) {
        const int error = errno;
        ::unlink(to.constData()); // the old name stays the only one
        return failed(error);
    }
    return {RenameStatus::Renamed, {}};
}

} // namespace

RenameResult renameWithoutReplacing(const QString &from, const QString &to)
{
    // The names' own bytes: a catalogued name need not be UTF-8.
    const QByteArray source = filenames::encode(from);
    const QByteArray target = filenames::encode(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return {RenameStatus::Renamed, {}};
    const int error = errno;
    // File systems without the flag say so with EINVAL (or ENOSYS on an old kernel).
    if (error == EINVAL || error == ENOSYS)
        return renameByLink(source, target);
    return failed(error);
}

namespace {

// Every info file is named after its file with this suffix, so a name is only as long as the file
// system allows for the two together.
constexpr char kInfoSuffix[] = ".trashinfo";
constexpr int kInfoSuffixLength = int(sizeof kInfoSuffix) - 1;
// Enough for any real trash; bounds the search for a free name.
constexpr int kMaxNameAttempts = 1000;

TrashResult refused(TrashStatus status, const QString &error) { return {status, error, 0}; }

QString systemText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

enum class Links { Followed, Refused };

bool isFolder(const QByteArray &path, struct stat &info, Links links = Links::Refused)
{
    const int rc = links == Links::Followed ? ::stat(path.constData(), &info) : ::lstat(path.constData(), &info);
    return rc == 0 && S_ISDIR(info.st_mode);
}

// A folder of the trash, made private when it is new. In a trash shared by the users of a drive
// an existing one must be a real folder, never a link that could lead the file elsewhere; the
// user's own trash may be a link the user made.
bool folderReady(const QByteArray &path, Links links)
{
    struct stat info {};
    if (isFolder(path, info, links))
        return true;
    return ::mkdir(path.constData(), 0700) == 0 || (errno == EEXIST && isFolder(path, info, links));
}

// Where a file goes: the trash folder holding "files" and "info", and the folder the Path of its
// info is relative to (empty for the home trash, whose info holds the absolute path).
struct TrashPlace
{
    QByteArray folder;
    QByteArray topFolder;
};

bool trashFoldersReady(const QByteArray &trash, Links links = Links::Refused)
{
    return folderReady(trash, links) && folderReady(trash + "/files", links) && folderReady(trash + "/info", links);
}

// The mount point of the file system holding folder: the highest folder on the same device.
QByteArray topFolderOf(const QByteArray &folder, dev_t device)
{
    QByteArray top = folder;
    while (top != "/") {
        const qsizetype slash = top.lastIndexOf('/');
        const QByteArray parent = slash <= 0 ? QByteArray("/") : top.left(slash);
        struct stat info {};
        if (::stat(parent.constData(), &info) != 0 || info.st_dev != device)
            break;
        top = parent;
    }
    return top;
}

// A file on another file system than the home trash goes to the trash of its own file system:
// "$top/.Trash/$uid" when the administrator made a shared, sticky ".Trash", else "$top/.Trash-$uid".
std::optional<QByteArray> topTrashFolder(const QByteArray &top)
{
    const QByteArray base = top == "/" ? QByteArray() : top;
    const QByteArray uid = QByteArray::number(qulonglong(::getuid()));
    struct stat shared {};
    const QByteArray sharedTrash = base + "/.Trash";
    if (isFolder(sharedTrash, shared) && (shared.st_mode & S_ISVTX) && trashFoldersReady(sharedTrash + '/' + uid))
        return sharedTrash + '/' + uid;
    const QByteArray own = base + "/.Trash-" + uid;
    if (trashFoldersReady(own))
        return own;
    return std::nullopt;
}

std::optional<TrashPlace> trashPlaceFor(const QByteArray &folder, QString &error)
{
    struct stat folderInfo {};
    if (::stat(folder.constData(), &folderInfo) != 0) {
        error = systemText(errno);
        return std::nullopt;
    }
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QByteArray home = QFile::encodeName(data) + "/Trash";
    struct stat homeInfo {};
    if (!data.isEmpty() && QDir().mkpath(data) && trashFoldersReady(home, Links::Followed)
        && ::stat(home.constData(), &homeInfo) == 0
        && homeInfo.st_dev == folderInfo.st_dev)
        return TrashPlace{home, {}};
    const QByteArray top = topFolderOf(folder, folderInfo.st_dev);
    if (const std::optional<QByteArray> trash = topTrashFolder(top))
        return TrashPlace{*trash, top};
    error = QStringLiteral("there is no trash on the drive of '%1', and none can be made there")
                .arg(filenames::decode(folder));
    return std::nullopt;
}

// The Path of an info file: the bytes of the path, escaped as in a URL so that no name (a line
// break, a "%") can be read back as another.
QByteArray infoContent(const QByteArray &originalPath)
{
    return "[Trash Info]\nPath=" + originalPath.toPercentEncoding("/") + "\nDeletionDate="
           + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() + '\n';
}

// The name of the file in the trash: its own, or with ".2", ".3", ... when the trash already holds
// one of that name.
QByteArray trashedName(const QByteArray &name, int attempt)
{
    return attempt == 0 ? name : name + '.' + QByteArray::number(attempt + 1);
}

// Claims a name in the trash by creating its info file, never opening one that exists: two
// programs trashing files of the same name at once get two names.
TrashResult claimInfoFile(const QByteArray &trash, const QByteArray &name, const QByteArray &content,
                          QByteArray &claimed)
{
    const long nameMax = ::pathconf((trash + "/info").constData(), _PC_NAME_MAX);
    const int longestName = int(nameMax > 0 ? nameMax : 255) - kInfoSuffixLength;
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        const QByteArray candidate = trashedName(name, attempt);
        if (candidate.size() > longestName)
            return {TrashStatus::NameTooLong, QStringLiteral("the name is longer than %1 bytes").arg(longestName),
                    longestName};
        struct stat existing {};
        if (::lstat((trash + "/files/" + candidate).constData(), &existing) == 0)
            continue;
        const QByteArray info = trash + "/info/" + candidate + kInfoSuffix;
        const int descriptor = ::open(info.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (descriptor < 0 && errno == EEXIST)
            continue;
        if (descriptor < 0)
            return refused(TrashStatus::Failed, systemText(errno));
        const bool written = atomicfile::writeAll(descriptor, content) && ::fsync(descriptor) == 0;
        const int writeError = errno;
        ::close(descriptor);
        if (!written) {
            ::unlink(info.constData());
            return refused(TrashStatus::Failed, systemText(writeError));
        }
        claimed = candidate;
        return {TrashStatus::Trashed, {}, 0};
    }
    return refused(TrashStatus::Failed, QStringLiteral("the trash holds too many files of this name"));
}

} // namespace

TrashResult moveToTrash(const QString &path)
{
    // By the name's real bytes: a name that is not UTF-8 is trashed, and restored, as it is.
    const QFileInfo file(path);
    struct stat entry {};
    const QByteArray encoded = filenames::encode(file.absoluteFilePath());
    if (::lstat(encoded.constData(), &entry) != 0)
        return refused(TrashStatus::Failed, systemText(errno));
    // The folder without links, so that the Path of a top folder's trash is relative to it.
    char *const resolved = ::realpath(filenames::encode(file.absolutePath()).constData(), nullptr);
    if (!resolved)
        return refused(TrashStatus::Failed, QStringLiteral("the folder of the file cannot be read"));
    const QByteArray folderBytes(resolved);
    std::free(resolved);
    const QByteArray name = filenames::encode(file.fileName());

    QString error;
    const std::optional<TrashPlace> place = trashPlaceFor(folderBytes, error);
    if (!place)
        return refused(TrashStatus::NoTrash, error);
    const QByteArray original = (folderBytes == "/" ? QByteArray() : folderBytes) + '/' + name;
    const QByteArray infoPath = place->topFolder.isEmpty()
                                    ? original
                                    : original.mid(place->topFolder == "/" ? 1 : place->topFolder.size() + 1);
    QByteArray claimed;
    const TrashResult claim = claimInfoFile(place->folder, name, infoContent(infoPath), claimed);
    if (claim.status != TrashStatus::Trashed)
        return claim;
    const QByteArray info = place->folder + "/info/" + claimed + kInfoSuffix;
    const RenameResult moved =
        renameWithoutReplacing(filenames::decode(original), filenames::decode(place->folder + "/files/" + claimed));
    if (moved.status != RenameStatus::Renamed) {
        ::unlink(info.constData()); // the file stays where it was, and the trash as it was
        return refused(TrashStatus::Failed, moved.error);
    }
    return {TrashStatus::Trashed, {}, 0};
}

} // namespace zelvarion::filemoves
