#pragma once

#include "core/iptc/IptcField.h"
#include "core/iptc/IptcWriter.h"
#include "core/captioning/MergeTemplate.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

namespace zelvarion {

class Feedback;

// How one run applies its template to each image.
struct MergeRequest
{
    TemplateRecord templ;
    MergeMode mode = MergeMode::KeepOriginal;
    KeywordOption keywords = KeywordOption::None;
    QString customizedLabel = defaultCustomizedLabel();
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
    QByteArray content;  // the file's new bytes
    QDateTime lastModifiedBefore; // the file's modification time before the rewrite
};

// Merges the template into one JPEG file and rewrites it in place: read once, back up (to the
// file's own backup in SaveFolder, before anything is written; a backup that was asked for and
// fails leaves the file alone), merge, build the segment and replace the file atomically. With dryRun
// nothing is written and `after` says what would be. The file is read and written once. Safe to
// call for different files on several threads at once (with no feedback).
ProcessResult processIptc(const QString &path, const MergeRequest &request,
                          const IptcWriteOptions &options, bool dryRun, Feedback *feedback = nullptr);

// The one per-file rewrite behind processIptc and the edit of a single image: read once, back up,
// let `change` set the working values the file is to hold, build the segment and replace the file
// atomically (keeping its date when asked). `after` is read back from the new bytes.
using ValuesChange = std::function<void(WorkingValues &values)>;
ProcessResult rewriteIptcValues(const QString &path, const QString &customizedLabel,
                                const ValuesChange &change, const IptcWriteOptions &options, bool dryRun,
                                Feedback *feedback = nullptr);

// The columns whose value differs between two field sets, in catalogue order: what a dry run shows.
struct FieldChange
{
    QString column;
    QString before;
    QString after;
};
std::vector<FieldChange> changedFields(const IptcFieldSet &before, const IptcFieldSet &after);

} // namespace zelvarion
