#include "core/iptc/IptcWriter.h"
#include "core/iptc/JpegSegments.h"
#include "core/iptc/RewriteRecorder.h"
#include "core/shell/Feedback.h"
#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

namespace zelvarion {

JpegForRewrite readJpegForRewrite(const QString &path, Feedback *feedback)
{
    JpegForRewrite read;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.failure = QFileInfo::exists(path) ? QStringLiteral("the file cannot be opened")
                                               : QStringLiteral("the file does not exist");
        return read;
    }
    // The temporary-file rename would pass over a read-only mark; the user's mark wins, also for
    // an administrator who could write anything.
    const QFileInfo info(path);
    if (!info.isWritable() || !(info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther))) {
        read.failure = QStringLiteral("the file is read-only");
        return read;
    }
    read.lastModified = info.lastModified();
    const qint64 size = file.size();
    if (size < 1) {
        read.failure = QStringLiteral("the file is empty");
        return read;
    }
    read.content = file.read(size);
    if (read.content.size() < size) {
        read.shortRead = true;
        if (feedback)
            feedback->showMessage(QStringLiteral("Error reading file ") + path, MessageIcon::None);
        read.failure = QStringLiteral("the file could not be read completely");
        return read;
    }
    if (!read.content.startsWith(QByteArrayView("\xFF\xD8", 2)))
        read.failure = QStringLiteral("not a JPEG file");
    return read;
}

IptcWriteResult rewriteImageIptc(const QString &path, const JpegForRewrite &read, IptcFieldSet &values,
                                 const QStringList &keywordList, const QStringList &supplementalCategoryList,
                                 std::span<const CustomizedDataset> moreCustomized,
                                 const IptcWriteOptions &options, bool dryRun)
{
    const std::optional<JpegSegmentPosition> oldSegment = findIptcSegmentOnChain(read.content);
    const QByteArray otherResources = otherPhotoshopResources(read.content, oldSegment);
    const IptcSegment segment =
        buildIptcSegment(values, keywordList, supplementalCategoryList, otherResources, moreCustomized);
    if (segment.tooLong)
        return {false, QStringLiteral("the IPTC data would exceed the %1 bytes of one JPEG segment").arg(kMaxSegmentLength), {}};
    if (!oldSegment && segment.isEmpty())
        return {true, {}, {}}; // nothing to remove and nothing to add: the file already says this

    const SegmentPlacement placement = resourcesContinueInNextSegment(read.content, oldSegment)
                                           ? SegmentPlacement::InPlaceOfOld
                                           : SegmentPlacement::AfterStartOfImage;
    IptcWriteResult result{true, {}, composeJpegContent(read.content, oldSegment, segment, placement)};
    if (dryRun)
        return result;
    QString notRecorded;
    if (options.recorder && !options.recorder->beforeRewrite(path, read.content, result.content, read.lastModified, notRecorded))
        return {false, notRecorded, {}};
    const atomicfile::Result replaced = atomicfile::replaceFileContent(path, result.content);
    if (!replaced.ok)
        return {false, replaced.error, {}};
    if (options.keepCreationDate)
        restoreModificationTime(path, read.lastModified);
    if (options.recorder)
        options.recorder->afterRewrite(path, result.content.size(), QFileInfo(path).lastModified());
    return result;
}

IptcWriteResult writeImageIptc(const QString &path, IptcFieldSet &values, const QStringList &keywordList,
                               const QStringList &supplementalCategoryList, const IptcWriteOptions &options,
                               Feedback *feedback)
{
    // The file is read first: a file that cannot be written needs no copy.
    const JpegForRewrite read = readJpegForRewrite(path, feedback);
    if (!read.failure.isEmpty())
        return {false, read.failure, {}};
    const BackupResult backup = backupOriginalContent(path, read.content, QFileInfo(path).fileName(), options);
    if (!backup.ok)
        return {false, backup.error, {}};
    return rewriteImageIptc(path, read, values, keywordList, supplementalCategoryList, {}, options);
}

} // namespace zelvarion
