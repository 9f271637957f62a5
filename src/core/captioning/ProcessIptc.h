#pragma once

#include "core/iptc/IptcField.h"
#include "core/iptc/IptcWriter.h"
#include "core/captioning/CaptionVariables.h"
#include "core/captioning/MergeTemplate.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace zelvarion {

class Feedback;
class TemplateExpansion;

// How one run applies its template to each image.
struct MergeRequest
{
    TemplateRecord templ;
    MergeMode mode = MergeMode::KeepOriginal;
    KeywordOption keywords = KeywordOption::None;
    QString customizedLabel = defaultCustomizedLabel();
    // The template's variables, expanded for each image before the merge; none: taken as it is.
    std::shared_ptr<const TemplateExpansion> expansion;
    QDateTime runStart = QDateTime::currentDateTime(); // {Today}
    QLocale locale = QLocale::system();                // names in date formats
};

struct ProcessResult
{
    enum class Status {
        Written,      // the file holds the merged values (or a dry run would write them)
        NotProcessed, // the file was left as it was; see reason
        Missing,      // no file at the path: skipped silently
    };
    Status status = Status::NotProcessed;
    QString reason;
    bool shortRead = false; // fewer bytes came than the file's size ("Error reading file ...")
    IptcFieldSet before; // what the file held
    IptcFieldSet after;  // what the file holds now, read back from the new bytes: the catalogue row
    NewJpegContent content; // the file's new bytes
    QDateTime lastModifiedBefore; // the file's modification time before the rewrite
};

// Merges the template into one JPEG file and rewrites it in place: read once, back up (to the
// file's own backup in SaveFolder, before anything is written; a backup that was asked for and
// fails leaves the file alone), merge, build the segment and replace the file atomically. With dryRun
// nothing is written and `after` says what would be. The file is read and written once. Safe to
// call for different files on several threads at once (with no feedback).
// `sequence` is the image's rank in the run, for the template's {Seq}. An image whose variables
// give a value over its limit is not processed, with the reason.
ProcessResult processIptc(const QString &path, const MergeRequest &request,
                          const IptcWriteOptions &options, bool dryRun, Feedback *feedback = nullptr,
                          int sequence = 1);

// The one per-file rewrite behind processIptc and the edit of a single image: read once, back up,
// let `change` set the working values the file is to hold, build the segment and replace the file
// atomically (keeping its date when asked). `after` is read back from the new bytes.
using ValuesChange = std::function<void(WorkingValues &values)>;
ProcessResult rewriteIptcValues(const QString &path, const QString &customizedLabel,
                                const ValuesChange &change, const IptcWriteOptions &options, bool dryRun,
                                Feedback *feedback = nullptr);

// What a change sees of the file besides its values: the name, the bytes read and their date.
struct FileBeingChanged
{
    const QString &path;
    QByteArrayView content;
    QDateTime lastModified;
};
// A change that may leave the file as it was: the reason, or nothing when the values are set.
// It runs before the backup, so a file it refuses gets none.
using CheckedValuesChange = std::function<std::optional<QString>(WorkingValues &values, const FileBeingChanged &file)>;
ProcessResult rewriteIptcValuesChecked(const QString &path, const QString &customizedLabel,
                                       const CheckedValuesChange &change, const IptcWriteOptions &options,
                                       bool dryRun, Feedback *feedback = nullptr);

// The facts of a file being changed that variables name; fields are its values before the change.
CaptionFacts captionFactsOf(const FileBeingChanged &file, const IptcFieldSet &fields, int sequence,
                        const QDateTime &now, const QLocale &locale);

// The columns whose value differs between two field sets, in catalogue order: what a dry run shows.
struct FieldChange
{
    QString column;
    QString before;
    QString after;
};
std::vector<FieldChange> changedFields(const IptcFieldSet &before, const IptcFieldSet &after);

} // namespace zelvarion
