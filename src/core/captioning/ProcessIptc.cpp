#include "core/captioning/ProcessIptc.h"

#include "core/iptc/IptcReader.h"
#include "platform/FileNames.h"

namespace zelvarion {

ProcessResult processIptc(const QString &path, const MergeRequest &request,
                          const IptcWriteOptions &options, bool dryRun, Feedback *feedback)
{
    const ValuesChange merge = [&request](WorkingValues &values) {
        mergeTemplate(values, request.templ, request.mode, request.keywords, request.customizedLabel);
    };
    return rewriteIptcValues(path, request.customizedLabel, merge, options, dryRun, feedback);
}

ProcessResult rewriteIptcValues(const QString &path, const QString &customizedLabel,
                                const ValuesChange &change, const IptcWriteOptions &options, bool dryRun,
                                Feedback *feedback)
{
    ProcessResult result;
    const filenames::FileFacts facts = filenames::fileFacts(path); // by the name's own bytes
    if (!facts.isFile) {
        result.status = facts.exists ? ProcessResult::Status::NotProcessed : ProcessResult::Status::Missing;
        result.reason = QStringLiteral("not a file");
        return result;
    }
    const JpegForRewrite read = readJpegForRewrite(path, feedback);
    if (!read.failure.isEmpty()) {
        result.reason = read.failure;
        result.shortRead = read.shortRead;
        return result;
    }
    const IptcReadResult current = readIptcFromBytes(read.content, path, customizedLabel);
    result.before = current.fields;
    if (!dryRun) {
        const BackupResult backup = backupOriginalContent(path, read.content, options);
        if (!backup.ok) {
            result.reason = backup.error;
            return result;
        }
    }
    WorkingValues values = workingValuesFrom(current);
    change(values);
    const IptcWriteResult written = rewriteImageIptc(path, read, values.fields, values.keywords,
                                                     values.supplementalCategories, values.moreCustomized,
                                                     options, dryRun);
    if (!written.written) {
        result.reason = written.reason;
        return result;
    }
    result.status = ProcessResult::Status::Written;
    result.lastModifiedBefore = read.lastModified;
    result.content = written.content.isEmpty() ? read.content : written.content;
    result.after = readIptcFromBytes(result.content, path, customizedLabel).fields;
    return result;
}

std::vector<FieldChange> changedFields(const IptcFieldSet &before, const IptcFieldSet &after)
{
    std::vector<FieldChange> changes;
    for (const IptcField &field : kIptcFields) {
        const QString &old = before.values[std::size_t(field.index)];
        const QString &now = after.values[std::size_t(field.index)];
        if (old != now)
            changes.push_back({QLatin1String(field.column), old, now});
    }
    return changes;
}

} // namespace zelvarion
