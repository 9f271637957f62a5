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

// Moves a file to the user's trash (the freedesktop trash of its file system). False with the
// reason when the trash refused it, for example on a file system without a trash; the file is
// then left where it was, never removed by other means.
bool moveToTrash(const QString &path, QString &error);

} // namespace zelvarion::filemoves
