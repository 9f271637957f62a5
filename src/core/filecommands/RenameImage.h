#pragma once

#include "core/filecommands/FileCommandContext.h"

#include <QString>

namespace zelvarion {

class ResultList;

// A name holds one of the nine characters no file name of the program may hold:
// / \ : * ? " < > |
bool holdsRefusedFileNameCharacter(const QString &name);

struct RenameResult
{
    bool renamed = false;
    QString newName;     // the answer without leading and trailing spaces
    int changedRank = 0; // the result row that took the new name, 0 when none matched
};

// Renames an image of the result to answer (trimmed) in its own folder. Refused with a warning:
// a refused character (message 29), a file or a catalogue row of that name in the folder
// (message 30, also when such a file appears at the last moment: the rename never replaces),
// a failed rename (message 31 and the old name). An empty answer does nothing. After the rename
// the catalogue row, the first matching result row and the stored thumbnail take the new name;
// a failed catalogue update is reported and the rest still follows.
RenameResult renameImage(const FileCommandContext &context, ResultList &results, const ImageRef &image,
                         const QString &answer);

} // namespace zelvarion
