#pragma once

#include "core/iptc/IptcField.h"
#include "core/iptc/IptcResourceSearch.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace zelvarion {

class Feedback;
struct AppSettings;

// The edit options that govern a rewrite (SaveOriginalFile, SaveFirstVersion, SaveFolder,
// KeepCreationDate).
struct IptcWriteOptions
{
    bool saveOriginalFile = false;
    bool saveFirstVersion = false;
    QString saveFolder; // ends with a path separator
    bool keepCreationDate = false;
};

// The new APP13 segment, marker included; empty when there is nothing to write.
struct IptcSegment
{
    QByteArray bytes;
    bool utf8 = false;    // values written as UTF-8 behind the 1:90 declaration
    bool tooLong = false; // the data would not fit in one segment: nothing may be written

    bool isEmpty() const { return bytes.isEmpty(); }
};

// The edit options of the configuration file (section EditIPTCOptions) as the writer uses them.
IptcWriteOptions iptcWriteOptionsFrom(const AppSettings &settings);

// The longest segment a JPEG length field can describe.
constexpr qsizetype kMaxSegmentLength = 65535;

// Copies the file to SaveFolder + fileName when the options ask for it (before any rewrite):
// SaveOriginalFile on and the folder there; with SaveFirstVersion an earlier copy is kept.
enum class BackupOutcome {
    NotAsked, // the option is off or the folder does not exist
    Kept,     // the first version is kept and already there
    Copied,
    Failed,   // asked for and the copy could not be made
};
BackupOutcome backupOriginalFile(const QString &path, const QString &fileName, const IptcWriteOptions &options);

// Builds the segment from the working values. Field values (other than Keywords and
// SupplementalCategory) and slot texts come back cut to their write limits, so the caller
// stores what the file holds; list entries are cut only in the file. otherResources are the
// old segment's other image resource blocks, carried on after the IPTC resource.
IptcSegment buildIptcSegment(IptcFieldSet &values, const QStringList &keywords,
                             const QStringList &supplementalCategories, QByteArrayView otherResources = {});

// Where the new segment goes. It normally comes right after the start-of-image marker; when the
// old segment's resources run on into the next APP13 segment, it takes the old one's place so
// the two stay adjacent and the split resource stays whole.
enum class SegmentPlacement { AfterStartOfImage, InPlaceOfOld };

// The file's new bytes: the old segment cut out, the new one put in. content must start with
// 0xFF 0xD8.
QByteArray composeJpegContent(QByteArrayView content, std::optional<JpegSegmentPosition> oldSegment,
                              const IptcSegment &newSegment,
                              SegmentPlacement placement = SegmentPlacement::AfterStartOfImage);

// Replaces the file by its new content through a temporary file in the same folder; true only
// when the whole new content is in place. error receives the reason otherwise.
bool rewriteJpegFile(const QString &path, QByteArrayView content, std::optional<JpegSegmentPosition> oldSegment,
                     const IptcSegment &newSegment, QString *error = nullptr,
                     SegmentPlacement placement = SegmentPlacement::AfterStartOfImage);

// Gives the file its old creation time back. The file systems this build runs on keep no
// settable creation time, so this has no effect here.
void restoreCreationTime(const QString &path, const QDateTime &creationTime);

struct IptcWriteResult
{
    bool written = false;
    QString reason; // why the file was not written
};

// The whole rewrite of one JPEG file: backup, read, build, replace, creation time. values come
// back cut as the file holds them. A short read is also reported through feedback. A file whose
// backup was asked for and could not be made is not rewritten: the user counts on that copy.
IptcWriteResult writeImageIptc(const QString &path, IptcFieldSet &values, const QStringList &keywordList,
                               const QStringList &supplementalCategoryList, const IptcWriteOptions &options,
                               Feedback *feedback = nullptr);

} // namespace zelvarion
