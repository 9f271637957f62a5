#include "core/captioning/ProcessIptc.h"

#include "core/session/Result.h"

#include "core/captioning/TemplateVariables.h"
#include "core/iptc/IptcReader.h"
#include "core/iptc/JpegSegments.h"
#include "core/session/Result.h"
#include "platform/FileNames.h"

namespace zelvarion {
namespace {

// The template's variables take this image's facts before the merge, so the merge rules meet
// the values the image would get; a value they make too long leaves the image as it was.
std::optional<QString> mergeExpanded(WorkingValues &values, const MergeRequest &request, const FileBeingChanged &file,
                                     int sequence, const LanguagePack *language)
{
    const IptcFieldSet before = values.fields;
    const TemplateRecord templ =
        request.expansion->expanded(captionFactsOf(file, before, sequence, request.runStart, request.locale));
    mergeTemplate(values, templ, request.mode, request.keywords, request.customizedLabel);
    if (const std::optional<ValueOverLimit> over = request.expansion->takenValueOverLimit(values, templ))
        return overLimitReason(*over, language);
    return std::nullopt;
}

} // namespace

CaptionFacts captionFactsOf(const FileBeingChanged &file, const IptcFieldSet &fields, int sequence, const QDateTime &now,
                        const QLocale &locale)
{
    return {file.path, file.lastModified, now, sequence, jpegFrameSize(file.content).value_or(QSize()), &fields, locale};
}

ProcessResult processIptc(const QString &path, const MergeRequest &request,
                          const IptcWriteOptions &options, bool dryRun, Feedback *feedback, int sequence)
{
    const CheckedValuesChange merge = [&request, &options, sequence](WorkingValues &values,
                                                                     const FileBeingChanged &file) -> std::optional<QString> {
        if (request.expansion)
            return mergeExpanded(values, request, file, sequence, options.language);
        mergeTemplate(values, request.templ, request.mode, request.keywords, request.customizedLabel);
        return std::nullopt;
    };
    return rewriteIptcValuesChecked(path, request.customizedLabel, merge, options, dryRun, feedback);
}

ProcessResult rewriteIptcValues(const QString &path, const QString &customizedLabel,
                                const ValuesChange &change, const IptcWriteOptions &options, bool dryRun,
                                Feedback *feedback)
{
    const CheckedValuesChange always = [&change](WorkingValues &values, const FileBeingChanged &) {
        change(values);
        return std::optional<QString>();
    };
    return rewriteIptcValuesChecked(path, customizedLabel, always, options, dryRun, feedback);
}

ProcessResult rewriteIptcValuesChecked(const QString &path, const QString &customizedLabel,
                                       const CheckedValuesChange &change, const IptcWriteOptions &options,
                                       bool dryRun, Feedback *feedback)
{
    ProcessResult result;
    const filenames::FileFacts facts = filenames::fileFacts(path); // by the name's own bytes
    if (!facts.isFile) {
        result.status = facts.exists ? ProcessResult::Status::NotProcessed : ProcessResult::Status::Missing;
        result.reason = messageText(options.language, Message::ReasonNotAFile);
        return result;
    }
    const JpegForRewrite read = readJpegForRewrite(path, feedback, options.language);
    if (!read.failure.isEmpty()) {
        result.reason = read.failure;
        result.shortRead = read.shortRead;
        return result;
    }
    const IptcReadResult current = readIptcFromBytes(read.content, path, customizedLabel);
    result.before = current.fields;
    WorkingValues values = workingValuesFrom(current);
    if (std::optional<QString> refused = change(values, {path, read.content, read.lastModified})) {
        result.reason = std::move(*refused);
        return result;
    }
    if (!dryRun) {
        const BackupResult backup = backupOriginalContent(path, read.content, options);
        if (!backup.ok) {
            result.reason = backup.error;
            return result;
        }
    }
    const IptcWriteResult written = rewriteImageIptc(path, read, values.fields, values.keywords,
                                                     values.supplementalCategories, values.moreCustomized,
                                                     options, dryRun);
    if (!written.written) {
        result.reason = written.reason;
        return result;
    }
    result.status = ProcessResult::Status::Written;
    result.lastModifiedBefore = read.lastModified;
    result.content = written.content.isEmpty() ? NewJpegContent(read.content) : written.content;
    // The metadata stands in the header, which is all of it a rewrite changed.
    const QByteArrayView newHeader = written.content.isEmpty() ? QByteArrayView(read.content) : written.content.header;
    result.after = readIptcFromBytes(newHeader, path, customizedLabel).fields;
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
