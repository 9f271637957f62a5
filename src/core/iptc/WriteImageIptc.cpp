#include "core/iptc/IptcWriter.h"
#include "core/iptc/JpegSegments.h"
#include "core/shell/Feedback.h"

#include <QFile>
#include <QFileInfo>

namespace zelvarion {
namespace {

struct ReadForRewrite
{
    QByteArray content;
    QDateTime creationTime;
    QString failure; // empty when the file may be rewritten
};

ReadForRewrite readForRewrite(const QString &path, Feedback *feedback)
{
    ReadForRewrite read;
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
    read.creationTime = info.birthTime();
    const qint64 size = file.size();
    if (size < 1) {
        read.failure = QStringLiteral("the file is empty");
        return read;
    }
    read.content = file.read(size);
    if (read.content.size() < size) {
        if (feedback)
            feedback->showMessage(QStringLiteral("Error reading file ") + path, MessageIcon::None);
        read.failure = QStringLiteral("the file could not be read completely");
        return read;
    }
    if (!read.content.startsWith(QByteArrayView("\xFF\xD8", 2)))
        read.failure = QStringLiteral("not a JPEG file");
    return read;
}

} // namespace

IptcWriteResult writeImageIptc(const QString &path, IptcFieldSet &values, const QStringList &keywordList,
                               const QStringList &supplementalCategoryList, const IptcWriteOptions &options,
                               Feedback *feedback)
{
    const BackupOutcome backup = backupOriginalFile(path, QFileInfo(path).fileName(), options);
    const ReadForRewrite read = readForRewrite(path, feedback);
    if (!read.failure.isEmpty())
        return {false, read.failure};
    if (backup == BackupOutcome::Failed)
        return {false, QStringLiteral("the backup copy in %1 could not be made").arg(options.saveFolder)};

    const std::optional<JpegSegmentPosition> oldSegment = findIptcSegmentOnChain(read.content);
    const QByteArray otherResources = otherPhotoshopResources(read.content, oldSegment);
    const IptcSegment segment = buildIptcSegment(values, keywordList, supplementalCategoryList, otherResources);
    if (segment.tooLong)
        return {false, QStringLiteral("the IPTC data would exceed the %1 bytes of one JPEG segment").arg(kMaxSegmentLength)};
    if (!oldSegment && segment.isEmpty())
        return {true, {}}; // nothing to remove and nothing to add: the file already says this

    const SegmentPlacement placement = resourcesContinueInNextSegment(read.content, oldSegment)
                                           ? SegmentPlacement::InPlaceOfOld
                                           : SegmentPlacement::AfterStartOfImage;
    QString error;
    if (!rewriteJpegFile(path, read.content, oldSegment, segment, &error, placement))
        return {false, error};
    if (options.keepCreationDate)
        restoreCreationTime(path, read.creationTime);
    return {true, {}};
}

} // namespace zelvarion
