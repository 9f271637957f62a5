#pragma once

#include <QString>

namespace zelvarion {

class LanguagePack;

// Where the backup of one source file lies in the backup folder. The folder's index
// (".zelvarion-backups", one line per backup: its name and the full path of its source) ties each
// copy to its source, so two images of one name from different folders never share a copy, across
// runs, processes, the window and the command line. A source keeps the copy it was given; a new
// source takes its own file name, or "name (2).jpg", "name (3).jpg" … when that name belongs to
// another source or to a file the index does not know (a copy made before the index existed is
// never replaced nor taken for another file's original). Names compare without regard to case:
// the backup folder may be on a file system that ignores it.
struct BackupSlot
{
    QString path;  // empty when the index cannot be used (see error)
    QString error;
};

// The slot of `source` in `folder`, claimed in the index before any copy is written, so a copy
// interrupted half-way is never owned by nobody. Safe from several threads and processes at once.
// The error is in the words of language (English when none).
BackupSlot backupSlotFor(const QString &folder, const QString &source, const LanguagePack *language = nullptr);

// The index's file name inside a backup folder.
QString backupIndexName();

} // namespace zelvarion
