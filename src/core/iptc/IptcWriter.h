#pragma once

#include "core/iptc/IptcField.h"
#include "core/iptc/IptcResourceSearch.h"
#include "core/iptc/IptcValueCheck.h"
#include "core/iptc/OriginalBackups.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>

namespace zelvarion::atomicfile {
class DeferredFolderFlushes;
}

namespace zelvarion {

class Feedback;
class LanguagePack;
class RewriteRecorder;
struct AppSettings;

// The edit options that govern a rewrite (SaveOriginalFile, SaveFirstVersion, SaveFolder,
// KeepCreationDate).
struct IptcWriteOptions
{
    bool saveOriginalFile = false;
    bool saveFirstVersion = false;
    QString saveFolder; // ends with a path separator
    bool keepCreationDate = false;
    RewriteRecorder *recorder = nullptr; // told of each rewrite, which it may refuse
    const LanguagePack *language = nullptr; // the words of the reasons a file is refused (English when none)
    // A run's renames made durable together at its end; none: each file's at once.
    atomicfile::DeferredFolderFlushes *folderFlushes = nullptr;
};

// The new APP13 segment, marker included, or the consecutive segments the resource blocks are
// split over when one cannot hold them; empty when there is nothing to write.
struct IptcSegment
{
    QByteArray bytes;
    QByteArray iimData; // the data of the 0x0404 resource: the datasets the digest covers
    bool utf8 = false;  // values written as UTF-8 behind the 1:90 declaration
    std::optional<ValueOverLimit> overLimit; // a value its dataset cannot hold: nothing may be written

    bool isEmpty() const { return bytes.isEmpty(); }
};

// The edit options of the configuration file (section EditIPTCOptions) as the writer uses them.
IptcWriteOptions iptcWriteOptionsFrom(const AppSettings &settings);

// The longest segment a JPEG length field can describe.
constexpr qsizetype kMaxSegmentLength = 65535;

struct BackupResult
{
    bool ok = true;   // false: a backup was asked for and does not exist; the file must stay
    QString error;
};

// Copies the file to its own backup in SaveFolder when the options ask for it (before any rewrite):
// the file's name there, unless another source has it (OriginalBackups.h). With SaveFirstVersion
// the copy the file already has is kept. A backup that was asked for and could not be made (no
// folder, disk full, no permission) is a failure: the caller must not rewrite the file.
BackupResult backupOriginalFile(const QString &path, const IptcWriteOptions &options);
// The same for a file already read whole: the bytes are the copy.
BackupResult backupOriginalContent(const QString &path, QByteArrayView content, const IptcWriteOptions &options);
// The place of the file's backup in SaveFolder, claimed for it from now on; empty with the reason
// when none can be made there. A run claims in result order, so the first image of a name keeps it.
BackupSlot claimBackupSlot(const QString &path, const IptcWriteOptions &options);

// Builds the segment from the working values. A value longer than its dataset takes, counted in
// the bytes written, is never cut: the segment then holds nothing and says which value it was.
// otherResources are the old segment's other image resource blocks, carried on after the IPTC
// resource. moreCustomized are customized datasets beyond the 16 slots, written after them.
IptcSegment buildIptcSegment(const IptcFieldSet &values, const QStringList &keywords,
                             const QStringList &supplementalCategories, QByteArrayView otherResources = {},
                             std::span<const CustomizedDataset> moreCustomized = {});

// Where the new segment goes. It normally comes right after the start-of-image marker; when the
// old segment's resources run on into the next APP13 segment, it takes the old one's place so
// the two stay adjacent and the split resource stays whole.
enum class SegmentPlacement { AfterStartOfImage, InPlaceOfOld };

// The file's new bytes: the old segment cut out, the new one put in. content must start with
// 0xFF 0xD8; it may be the file's header alone.
QByteArray composeJpegContent(QByteArrayView content, std::optional<JpegSegmentPosition> oldSegment,
                              const IptcSegment &newSegment,
                              SegmentPlacement placement = SegmentPlacement::AfterStartOfImage);

// Replaces the file by its new content through a temporary file in the same folder; true only
// when the whole new content is in place. error receives the reason otherwise.
bool rewriteJpegFile(const QString &path, QByteArrayView content, std::optional<JpegSegmentPosition> oldSegment,
                     const IptcSegment &newSegment, QString *error = nullptr,
                     SegmentPlacement placement = SegmentPlacement::AfterStartOfImage);

// "Keep original creation date": the file systems here keep no settable creation time, so the
// rewritten file gets its old modification time back, the date file managers show.
bool restoreModificationTime(const QString &path, const QDateTime &modificationTime);

// A JPEG file read whole for a rewrite, or the reason it may not be rewritten.
struct JpegForRewrite
{
    QByteArray content;
    QDateTime lastModified;
    QString failure;        // empty when the file may be rewritten
    bool shortRead = false; // fewer bytes came than the file's size
};
// Refuses a missing, unreadable, read-only, empty or short-read file and one that does not start
// with 0xFF 0xD8, the reason in the words of language (English when none); a short read is also
// reported through feedback.
JpegForRewrite readJpegForRewrite(const QString &path, Feedback *feedback = nullptr,
                                  const LanguagePack *language = nullptr);

// A rewritten file's new bytes: its new header, then the old content from tailStart on. The
// picture's megabytes are shared with the old content, never copied: they are written from it.
struct NewJpegContent
{
    NewJpegContent() = default;
    // Content held whole, such as a file left as it was.
    NewJpegContent(QByteArray whole) : old(std::move(whole)) {}
    NewJpegContent(QByteArray newHeader, QByteArray oldContent, qsizetype oldHeaderEnd)
        : header(std::move(newHeader)), old(std::move(oldContent)), tailStart(oldHeaderEnd)
    {
    }

    QByteArrayView tail() const { return QByteArrayView(old).sliced(tailStart); }
    qsizetype size() const { return header.size() + old.size() - tailStart; }
    bool isEmpty() const { return size() == 0; }
    // Only for a reader that needs the bytes in one piece, such as the thumbnail maker.
    QByteArray joined() const
    {
        if (header.isEmpty() && tailStart == 0)
            return old;
        QByteArray whole;
        whole.reserve(size());
        whole.append(header).append(tail());
        return whole;
    }

    QByteArray header;
    QByteArray old;
    qsizetype tailStart = 0;
};

struct IptcWriteResult
{
    bool written = false;
    QString reason;         // why the file was not written
    NewJpegContent content; // the file's new bytes (also for a dry run); empty when nothing changed
};

// The new IPTC of a file already read: builds the segment, and unless dryRun replaces the file
// and keeps its modification time when asked. A value over its limit, or a damaged IPTC resource
// in the file, refuses the write with the reason.
// Other programs read the file's XMP before its IIM when the IPTC digest allows it, so a file
// with an XMP packet gets the mirroring properties set to the values written and the digest
// renewed (when it was missing or matched the old IIM; a stale one stays). A file without XMP
// gains none. An XMP packet that cannot be read or would outgrow its segment refuses the write.
IptcWriteResult rewriteImageIptc(const QString &path, const JpegForRewrite &read, const IptcFieldSet &values,
                                 const QStringList &keywordList, const QStringList &supplementalCategoryList,
                                 std::span<const CustomizedDataset> moreCustomized,
                                 const IptcWriteOptions &options, bool dryRun = false);

// The whole rewrite of one JPEG file: backup, read, build, replace, modification time. A short read is also reported through feedback. A file whose
// backup was asked for and could not be made is not rewritten: the user counts on that copy.
IptcWriteResult writeImageIptc(const QString &path, const IptcFieldSet &values, const QStringList &keywordList,
                               const QStringList &supplementalCategoryList, const IptcWriteOptions &options,
                               Feedback *feedback = nullptr);

} // namespace zelvarion
