#pragma once

#include <QString>

namespace zelvarion::filemoves {

enum class RenameStatus { Renamed, TargetExists, Failed };

struct RenameResult
{
    RenameStatus status = RenameStatus::Failed;
    QString error; // why it failed, for the user
};

// Renames a file without ever replacing another: the check and the rename are one step of the
// file system (renameat2 with RENAME_NOREPLACE; where the file system lacks it, a hard link under
// the new name and the removal of the old one). A file that appears under the new name at the
// last moment is reported as TargetExists and both files stay as they were.
RenameResult renameWithoutReplacing(const QString &from, const QString &to);

enum class TrashStatus {
    Trashed,
    NameTooLong, // the trash's info file of this name would be longer than the file system allows
    NoTrash,     // the file system of the file has no trash and none can be made
    Failed,
};

struct TrashResult
{
    TrashStatus status = TrashStatus::Failed;
    QString error;       // why it was refused, for the user
    int longestName = 0; // with NameTooLong: the longest name in bytes the trash takes

    bool trashed() const { return status == TrashStatus::Trashed; }
};

// Moves a file to the user's trash as the freedesktop trash does: the home trash for a file on
// its file system, else the trash of the file's own file system; an info file with the original
// path escaped as in a URL and the deletion date, then the file moved beside it without replacing
// anything. Whatever the trash cannot take is refused, and the file is then left where it was,
// never removed by other means.
TrashResult moveToTrash(const QString &path);

} // namespace zelvarion::filemoves
