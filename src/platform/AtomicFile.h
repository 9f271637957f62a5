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

// Writes content to a temporary file in the target's folder, flushes it to the disk, gives it
// the target's permissions and extended attributes and renames it over the target. On any
// failure the temporary file is removed and the target is left exactly as it was.
Result replaceFileContent(const QString &path, QByteArrayView content);

// Copies source to target the same way: through a temporary file in the target's folder, flushed
// and renamed over the target, so a failed copy leaves no part file and an existing target exactly
// as it was. The copy gets the source's permissions and modification time.
Result copyFile(const QString &source, const QString &target);

// Test hook: every later replacement fails at this step until it is set back to Step::None.
void setInjectedFailure(Step step);

} // namespace zelvarion::atomicfile
