#include "core/iptc/IptcWriter.h"

#include "core/iptc/IptcText.h"
#include "core/iptc/IptcValueCheck.h"
#include "core/iptc/JpegSegments.h"
#include "core/session/AppSettings.h"
#include "core/session/FileFailure.h"
#include "core/session/Result.h"
#include "platform/AtomicFile.h"
#include "platform/ByteReader.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zelvarion {
namespace {

using iptctext::Charset;

void appendDataset(QByteArray &data, int record, int number, QByteArrayView value)
{
    data += char(0x1C);
    data += char(record);
    data += char(number);
    appendUint16(data, quint16(value.size()));
    data += value;
}

QByteArray encodeDatasets(const std::vector<DatasetToWrite> &datasets, Charset charset)
{
    QByteArray data;
    for (const DatasetToWrite &dataset : datasets)
        appendDataset(data, 2, dataset.dataset, iptctext::encodeValue(*dataset.text, charset));
    if (!data.isEmpty() && charset == Charset::Utf8)
        data.prepend([] {
            QByteArray declaration;
            appendDataset(declaration, 1, 90, iptctext::utf8Declaration());
            return declaration;
        }());
    return data;
}

QByteArray iptcResourceBlock(const QByteArray &data, bool padToEven)
{
    QByteArray block("8BIM\x04\x04\x00\x00", 8);
    const auto size = quint32(data.size());
    appendUint16(block, quint16(size >> 16));
    appendUint16(block, quint16(size & 0xFFFF));
    block += data;
    if (padToEven && data.size() % 2 != 0)
        block += '\0';
    return block;
}

const QByteArrayView kPhotoshopSignature("Photoshop 3.0\0", 14);

// The blocks as one APP13 segment, or split over consecutive ones when they need more room than
// one holds, as other programs split large IIM blocks: each segment carries the signature and
// the next part of the blocks, and readers join the parts again.
QByteArray photoshopSegments(QByteArrayView blocks)
{
    constexpr qsizetype kPartSize = kMaxSegmentLength - 2 - 14;
    QByteArray segments;
    for (qsizetype at = 0; at < blocks.size(); at += kPartSize) {
        const QByteArrayView part = blocks.sliced(at, std::min(kPartSize, blocks.size() - at));
        segments += QByteArrayView("\xFF\xED", 2);
        appendUint16(segments, quint16(2 + kPhotoshopSignature.size() + part.size()));
        segments += kPhotoshopSignature;
        segments += part;
    }
    return segments;
}

} // namespace

IptcSegment buildIptcSegment(const IptcFieldSet &values, const QStringList &keywords,
                             const QStringList &supplementalCategories, QByteArrayView otherResources,
                             std::span<const CustomizedDataset> moreCustomized)
{
    IptcSegment segment;
    const ValuesToWrite toWrite{values, keywords, supplementalCategories, moreCustomized};
    segment.overLimit = firstValueOverLimit(toWrite);
    if (segment.overLimit)
        return segment;
    const Charset charset = writeCharset(toWrite);
    segment.utf8 = charset == Charset::Utf8;
    const QByteArray data = encodeDatasets(datasetsToWrite(toWrite), charset);
    segment.iimData = data;
    if (data.isEmpty() && otherResources.isEmpty())
        return segment;
    QByteArray resources = data.isEmpty() ? QByteArray() : iptcResourceBlock(data, !otherResources.isEmpty());
    resources += otherResources;
    segment.bytes = photoshopSegments(resources);
    return segment;
}

QByteArray composeJpegContent(QByteArrayView content, std::optional<JpegSegmentPosition> oldSegment,
                              const IptcSegment &newSegment, SegmentPlacement placement)
{
    const bool oldIsValid =
        oldSegment && oldSegment->marker >= 2 && oldSegment->marker + 2 + oldSegment->length <= content.size();
    // The bytes before and after the old segment, copied once: a photograph is megabytes.
    QByteArrayView before = oldIsValid ? content.first(oldSegment->marker) : content;
    const QByteArrayView after = oldIsValid ? content.sliced(oldSegment->marker + 2 + oldSegment->length) : QByteArrayView();
    QByteArray composed;
    composed.reserve(before.size() + newSegment.bytes.size() + after.size());
    if (!newSegment.isEmpty() && !(oldIsValid && placement == SegmentPlacement::InPlaceOfOld)) {
        composed += QByteArrayView("\xFF\xD8", 2);
        composed += newSegment.bytes;
        before = before.sliced(std::min<qsizetype>(2, before.size()));
        composed += before;
    } else {
        composed += before;
        composed += newSegment.bytes;
    }
    composed += after;
    return composed;
}

bool rewriteJpegFile(const QString &path, QByteArrayView content, std::optional<JpegSegmentPosition> oldSegment,
                     const IptcSegment &newSegment, QString *error, SegmentPlacement placement)
{
    const atomicfile::Result result =
        atomicfile::replaceFileContent(path, composeJpegContent(content, oldSegment, newSegment, placement));
    if (!result.ok && error)
        *error = fileFailureText(result);
    return result.ok;
}

bool restoreModificationTime(const QString &path, const QDateTime &modificationTime)
{
    if (!modificationTime.isValid())
        return false;
    return filenames::setLastWrite(path, modificationTime);
}

IptcWriteOptions iptcWriteOptionsFrom(const AppSettings &settings)
{
    return {settings.saveOriginalFile, settings.saveFirstVersion, settings.saveFolder, settings.keepCreationDate};
}

BackupSlot claimBackupSlot(const QString &path, const IptcWriteOptions &options)
{
    if (options.saveFolder.isEmpty())
        return {{}, messageText(options.language, Message::ReasonNoBackupFolder)};
    if (!QFileInfo(options.saveFolder).isDir())
        return {{}, messageText(options.language, Message::ReasonBackupFolderMissing, {options.saveFolder})};
    // A backup folder that is the image's own folder would fill it with copies that a scan takes for images.
    if (filenames::canonicalPath(options.saveFolder) == filenames::canonicalPath(QFileInfo(path).absolutePath()))
        return {{}, messageText(options.language, Message::ReasonBackupOverImage)};
    BackupSlot slot = backupSlotFor(options.saveFolder, path, options.language);
    if (slot.path.isEmpty())
        slot.error = messageText(options.language, Message::ReasonNoBackup, {slot.error});
    return slot;
}

BackupResult backupOriginalContent(const QString &path, QByteArrayView content, const IptcWriteOptions &options)
{
    if (!options.saveOriginalFile)
        return {};
    const BackupSlot slot = claimBackupSlot(path, options);
    if (slot.path.isEmpty())
        return {false, slot.error};
    if (options.saveFirstVersion && QFileInfo::exists(slot.path))
        return {};
    // An earlier backup stays whole when the new copy fails.
    const atomicfile::Result copied = atomicfile::replaceFileContent(slot.path, content);
    if (!copied.ok)
        return {false, messageText(options.language, Message::ReasonNoBackup,
                                   {fileFailureText(copied, options.language)})};
    return {};
}

BackupResult backupOriginalFile(const QString &path, const IptcWriteOptions &options)
{
    if (!options.saveOriginalFile)
        return {};
    QFile original;
    if (!filenames::openForReading(original, path))
        return {false, messageText(options.language, Message::ReasonUnreadableForBackup)};
    const QByteArray bytes = original.readAll();
    if (bytes.size() != original.size())
        return {false, messageText(options.language, Message::ReasonUnreadableForBackup)};
    return backupOriginalContent(path, bytes, options);
}

} // namespace zelvarion
