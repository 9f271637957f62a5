#include "platform/FileMoves.h"

#include "platform/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zelvarion::filemoves {
namespace {

RenameResult failed(int error, const QString &from)
{
    if (error == EEXIST)
        return {RenameStatus::TargetExists, QString::fromLocal8Bit(std::strerror(error))};
    return {RenameStatus::Failed,
            QStringLiteral("Cannot rename '%1': %2").arg(from, QString::fromLocal8Bit(std::strerror(error)))};
}

// link() refuses an existing name just as the no-replace rename does.
RenameResult renameByLink(const QByteArray &from, const QByteArray &to, const QString &shownFrom)
{
    if (::link(from.constData(), to.constData()) != 0)
        return failed(errno, shownFrom);
    if (::unlink(from.constData()) != 0) {
        const int error = errno;
        ::unlink(to.constData()); // the old name stays the only one
        return failed(error, shownFrom);
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
        return renameByLink(source, target, from);
    return failed(error, from);
}

namespace {

// The home trash with its two folders. Without it the toolkit's trash falls back to folders
// named "files" and "info" in the working folder, which is no trash at all.
bool homeTrashReady(QString &error)
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty() || !QDir().mkpath(data + QStringLiteral("/Trash/files"))
        || !QDir().mkpath(data + QStringLiteral("/Trash/info"))) {
        error = QStringLiteral("there is no trash folder in '%1'").arg(data);
        return false;
    }
    return true;
}

bool inATrash(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    const QString trash = QFileInfo(folder).absolutePath();
    return QFileInfo(path).isAbsolute() && QFileInfo(folder).fileName() == u"files"
           && (QFileInfo(trash).fileName() == u"Trash" || QFileInfo(trash).fileName().startsWith(u".Trash"));
}

} // namespace

bool moveToTrash(const QString &path, QString &error)
{
    if (!homeTrashReady(error))
        return false;
    QFile file(path);
    if (!file.moveToTrash()) {
        error = file.errorString();
        return false;
    }
    if (inATrash(file.fileName())) {
        error.clear();
        return true;
    }
    // Somewhere that is not a trash: the file goes back where it was.
    QFile::rename(file.fileName(), path);
    error = QStringLiteral("the trash put the file in '%1'").arg(file.fileName());
    return false;
}

} // namespace zelvarion::filemoves
