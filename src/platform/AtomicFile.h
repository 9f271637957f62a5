#pragma once

#include <QByteArrayView>
#include <QString>

namespace zelvarion::atomicfile {

// The steps of a replacement, in order; tests name one to make it fail.
enum class Step { None, CreateTemporary, Write, Flush, CopyAttributes, Rename };

struct Result
{
    bool ok = false;
    QString error; // what failed, for the user
};

// Whether the new content is flushed to the disk before the rename. Files the program can make
// again (the thumbnail copies of an export) skip it: a reader still sees the old file or the new
// one, never a part, and ten thousand of them do not wait for the disk one by one.
enum class Durability { Synced, RenameOnly };

// Writes content to a temporary file in the target's folder, flushes it to the disk, gives it
// the target's permissions and extended attributes and renames it over the target. On any
// failure the temporary file is removed and the target is left exactly as it was.
Result replaceFileContent(const QString &path, QByteArrayView content, Durability durability = Durability::Synced);

// Test hook: every later replacement fails at this step until it is set back to Step::None.
void setInjectedFailure(Step step);

} // namespace zelvarion::atomicfile
