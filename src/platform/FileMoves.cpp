#include "platform/FileMoves.h"

#include <QFile>

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
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return {RenameStatus::Renamed, {}};
    const int error = errno;
    // File systems without the flag say so with EINVAL (or ENOSYS on an old kernel).
    if (error == EINVAL || error == ENOSYS)
        return renameByLink(source, target, from);
    return failed(error, from);
}

bool moveToTrash(const QString &path, QString &error)
{
    QFile file(path);
    if (file.moveToTrash()) {
        error.clear();
        return true;
    }
    error = file.errorString();
    return false;
}

} // namespace zelvarion::filemoves
