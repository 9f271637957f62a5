#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QFileDevice>
#include <QString>
#include <QStringView>
#include <QUrl>

#include <optional>
#include <vector>

class QFile;

namespace zelvarion::filenames {

// File names on disk are bytes and need not be UTF-8: old archives hold Latin-1 names such as
// "caf\xE9.jpg". Qt decodes them lossily, so such a file could be listed but never opened again.
// Here every name has one text and every text from a name gives its bytes back:
// valid UTF-8 decodes as usual; a byte outside valid UTF-8 becomes its Windows-1252 character
// followed by U+034F COMBINING GRAPHEME JOINER, which draws nothing, so "caf\xE9" reads
// "café" wherever it is shown and still differs from the UTF-8 "café".
QString decode(QByteArrayView bytes);

// One folder of a file server that machines mount at different places: the catalogue keeps
// every path under `stored`, this machine reaches it under `local`. Both are absolute folders,
// kept without a trailing "/".
struct PathMapping
{
    QString stored;
    QString local;
};

// This machine's mappings, for the whole process (read from the configuration at start). A
// mapping with a relative or empty side, or one of the root folder, is left out; the longest
// stored prefix wins. Safe to call while other threads reach files.
void setPathMappings(const std::vector<PathMapping> &mappings);
std::vector<PathMapping> pathMappings();

// A catalogue path as this machine reaches it, and a path of this machine as the catalogue keeps
// it; a path outside every mapping is returned as it is. A prefix matches whole folders only:
// "/mnt/photos" maps "/mnt/photos/a.jpg", never "/mnt/photos2/a.jpg".
QString localPath(const QString &stored);
QString storedPath(const QString &local);

// The bytes of a path decoded above (any other text: its UTF-8), after localPath: every file
// this program reaches by name goes through here, so a catalogue path finds its file on every
// machine.
QByteArray encode(QStringView path);

// Whether a path's name needs encode to give its bytes (a name that is not UTF-8). A catalogue
// path under a mapping also needs encode (or localPath) to reach its file.
bool needsEncoding(QStringView path);

// A path made absolute against the working folder as the user's shell names it: $PWD when that
// is the current folder, so a folder reached through a link keeps the link's name (the name the
// catalogue holds when it was scanned that way), else the folder the system resolves. Cleaned of
// "." and "..", then named as the catalogue keeps it (storedPath).
QString absolutePath(const QString &path);

// The path with every link resolved, as this machine names it; empty when it does not exist.
QString canonicalPath(const QString &path);

struct FolderEntry
{
    enum class Kind { File, Folder, Other };
    QString name;
    Kind kind = Kind::Other; // of what a link points to; Other for devices, pipes and broken links
    bool symLink = false;
};

// The entries of a folder except "." and "..", in no particular order; nothing when the folder
// cannot be listed.
std::optional<std::vector<FolderEntry>> listFolder(const QString &folder);

// Opens a path for reading by its real bytes into a QFile without a name. On failure, reason
// holds the system's text ("Permission denied").
bool openForReading(QFile &file, const QString &path, QString *reason = nullptr);

struct FileFacts
{
    bool exists = false;
    bool isFile = false;   // a regular file, after links
    bool isFolder = false; // a folder, after links
    bool writable = false; // this process may write it and it carries a write permission bit
    qint64 size = 0; // 64-bit: files of 2 GiB and more keep their true size
    QDateTime lastWrite;
    QDateTime created; // the last write on file systems that keep no creation time
};

FileFacts fileFacts(const QString &path);

// The permission bits and the names of the owner and group of a path, after links, for a file's
// properties; nothing when the path cannot be reached.
struct FileOwnership
{
    QFileDevice::Permissions permissions;
    QString owner; // the number when the system knows no name for it
    QString group;
};

std::optional<FileOwnership> fileOwnership(const QString &path);

// A file:// address carrying the real bytes of a path, percent-encoded, so a program that gets it
// reaches the same file (QUrl::fromLocalFile would send the UTF-8 of the text). A relative path is
// taken from the current folder.
QUrl fileUrl(const QString &path);

// Sets the last-write time of a path by its real bytes, leaving the access time; false on failure.
bool setLastWrite(const QString &path, const QDateTime &lastWrite);

} // namespace zelvarion::filenames
