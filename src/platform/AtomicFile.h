#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <chrono>
#include <mutex>
#include <set>

namespace zelvarion::atomicfile {

// The steps of a replacement, in order; tests name one to make it fail.
enum class Step { None, CreateTemporary, Write, Flush, CopyAttributes, Rename };

// What failed: the caller tells it in its own words (core/session/FileFailure).
enum class Problem {
    None,
    ReadSource,              // the copy's source
    CreateTemporary,         // beside the target
    Copy,                    // source to target
    Write,                   // the temporary file
    Flush,                   // the temporary file
    KeepPermissionsAndDates, // of the copy's source
    KeepPermissions,         // of the target
    Close,                   // the temporary file
    Replace,                 // the target
};

struct Result
{
    bool ok = false;
    Problem problem = Problem::None;
    QStringList paths;  // the file the problem names; a copy names its source, then its target
    QString systemText; // the system's own words
};

// Whether the new content is flushed to the disk before the rename. Files the program can make
// again (the thumbnail copies of an export) skip it: a reader still sees the old file or the new
// one, never a part, and ten thousand of them do not wait for the disk one by one.
enum class Durability { Synced, RenameOnly };

// Writes content to a temporary file in the target's folder, flushes it to the disk, gives it
// the target's permissions and extended attributes and renames it over the target. On any
// failure the temporary file is removed and the target is left exactly as it was.
Result replaceFileContent(const QString &path, QByteArrayView content, Durability durability = Durability::Synced);

// The folders of replacements whose renames are made durable together, once each, by flush
// (or the destructor), instead of one flush of the folder per file: for a run that replaces
// thousands of files in a few folders. Each file's content is still on the disk before its rename,
// so a file is old or new whenever the power fails; only a rename not yet flushed may be undone
// by it. Not for a copy that must outlast its original (a backup): that one flushes at once.
class DeferredFolderFlushes
{
public:
    DeferredFolderFlushes() = default;
    ~DeferredFolderFlushes();
    DeferredFolderFlushes(const DeferredFolderFlushes &) = delete;
    DeferredFolderFlushes &operator=(const DeferredFolderFlushes &) = delete;

    void add(const QString &folder); // from any thread
    void flush();

private:
    std::mutex m_mutex;
    std::set<QString> m_folders;
};

// The same replacement for content written piece by piece (an export of a hundred thousand
// images): the pieces go to the temporary file as they come, and only commit puts the file in
// place. Without commit, or when a piece failed, the temporary file is removed and the target
// stays as it was.
class StreamingReplacement
{
public:
    explicit StreamingReplacement(const QString &path, Durability durability = Durability::Synced,
                                  DeferredFolderFlushes *folderFlushes = nullptr);
    ~StreamingReplacement();
    StreamingReplacement(const StreamingReplacement &) = delete;
    StreamingReplacement &operator=(const StreamingReplacement &) = delete;

    // False once a piece could not be written; later pieces are then ignored.
    bool append(QByteArrayView piece);
    // The content on the disk with the target's permissions, not yet in place: what must be
    // done before the rename, for a caller that records something between the two. commit
    // settles first when this was not called.
    Result settle();
    Result commit();

private:
    QString m_path;
    Durability m_durability;
    DeferredFolderFlushes *m_folderFlushes;
    QByteArray m_temporaryPath;
    int m_fd = -1;
    int m_lock = -1; // held until the rename: the temporary file is still being written
    Result m_failure; // ok until something failed
    bool m_settled = false;
};

// Copies source to target the same way: through a temporary file in the target's folder, flushed
// and renamed over the target, so a failed copy leaves no part file and an existing target exactly
// as it was. The copy gets the source's permissions and modification time.
Result copyFile(const QString &source, const QString &target);

// The temporary files above are named "." + the target's name + ".zelvarion-" + six letters or
// digits (the target's name shortened when the whole would pass 255 bytes), and locked by their
// writer until the rename. A process killed before its rename leaves one behind, unlocked; this
// removes those in the folders, so a file still being written by another run stays. Where the file
// system has no locks, only a file no process has touched for minimumAge (its status-change time,
// which no one can set back) is removed. Nothing else is touched: other names, links, folders. The
// number removed.
inline constexpr std::chrono::seconds kStaleTemporaryAge{3600};
int removeStaleTemporaryFiles(const QStringList &folders, std::chrono::seconds minimumAge = kStaleTemporaryAge);

// Writes every byte to an open file, going on after short writes and interruptions; false, with
// errno set, when the system refuses.
bool writeAll(int fd, QByteArrayView content);

// Whether a file name is one of those temporary files.
bool isTemporaryFileName(QByteArrayView name);

// Test hook: every later replacement fails at this step until it is set back to Step::None.
void setInjectedFailure(Step step);

} // namespace zelvarion::atomicfile
