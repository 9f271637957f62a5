#include "core/iptc/IptcDigest.h"
#include "core/iptc/IptcReader.h"
#include "core/iptc/IptcWriter.h"
#include "core/iptc/JpegSegments.h"
#include "core/iptc/XmpMirror.h"
#include "core/iptc/RewriteRecorder.h"
#include "core/session/Feedback.h"
#include "core/session/FileFailure.h"
#include "core/session/Result.h"
#include "platform/AtomicFile.h"
#include "platform/FileNames.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace zelvarion {
namespace {

// Room left in a rewritten packet for editors that change it in place.
constexpr int kXmpPadding = 2048;

struct XmpUpdate
{
    bool refused = false;
    QString reason;
    std::optional<QByteArray> segment; // the new APP1 segment; nothing when the packet stays as it is
};

// The file's XMP with the properties of the fields this write changes set to their new values.
XmpUpdate updatedXmp(const XmpSegment &xmp, const IptcReadResult &before, const IimValues &after,
                     const LanguagePack *language)
{
    std::optional<XmpDocument> document = XmpDocument::parse(xmp.packet);
    if (!document)
        return {true, messageText(language, Message::ReasonXmpUnreadable), {}};
    const IimValues seen{before.fields, before.keywordEntries, before.supplementalCategoryEntries};
    const XmpMirrorResult mirrored = mirrorIimIntoXmp(*document, seen, after);
    if (mirrored.failed)
        return {true, messageText(language, Message::ReasonXmpRefusesValues), {}};
    if (!mirrored.changed)
        return {};
    // With its padding first; a packet that only fits without padding is still whole.
    for (int padding : {kXmpPadding, 0}) {
        const std::optional<QByteArray> packet = document->serialize(padding);
        if (!packet)
            return {true, messageText(language, Message::ReasonXmpUnwritable), {}};
        if (std::optional<QByteArray> segment = buildXmpSegment(*packet))
            return {false, {}, std::move(segment)};
    }
    return {true, messageText(language, Message::ReasonXmpTooLarge, {QString::number(kMaxSegmentLength)}), {}};
}

// The digest the new segment carries: renewed when the old one was missing or matched the old
// IIM (none when no IIM is left), kept when it was stale.
QByteArray resourcesWithDigest(QByteArrayView content, std::optional<JpegSegmentPosition> oldSegment,
                               const QByteArray &otherResources, const QByteArray &newIimData)
{
    if (iptcDigestState(content, oldSegment) == IptcDigestState::Stale)
        return otherResources;
    return withIptcDigest(otherResources, newIimData.isEmpty() ? QByteArray() : iimDigest(newIimData));
}

// The digest of a segment without IIM was of no IIM; unless stale, it becomes the new IIM's.
void renewDigestInPlace(QByteArray &content, const QByteArray &newIimData)
{
    const std::optional<qsizetype> at = digestWithoutIptcSegment(content);
    if (!at || newIimData.isEmpty() || content.mid(*at, 16) != iimDigest({}))
        return;
    content.replace(*at, 16, iimDigest(newIimData));
}

bool readFromRun(const IptcReadResult &read, const JpegSegmentPosition &run)
{
    return read.source == IptcSource::ImageResource && read.segment && read.segment->marker >= run.marker
           && read.segment->marker < run.marker + 2 + run.length;
}

// Where the header's chain of segments ends: the start of scan, or where the chain breaks. Every
// segment a rewrite changes lies before it.
qsizetype headerChainEnd(QByteArrayView content)
{
    const std::vector<JpegSegment> segments = walkJpegHeader(content);
    if (segments.empty())
        return content.size();
    const JpegSegment &last = segments.back();
    return std::min(content.size(), last.marker + 2 + qsizetype(last.length));
}

QByteArray withSegmentReplaced(QByteArrayView whole, const JpegSegment &old, const QByteArray &replacement)
{
    const qsizetype start = std::min(old.marker, whole.size());
    const QByteArrayView after = whole.sliced(std::min(start + qsizetype(old.length) + 2, whole.size()));
    QByteArray result;
    result.reserve(start + replacement.size() + after.size());
    result += whole.first(start);
    result += replacement;
    result += after;
    return result;
}

// Puts the new content in place of the file: written beside it and flushed, recorded (undo can
// give the old bytes back), then renamed over it, then the record told how the file ended. The
// record waits for the disk after the new content did, so the records of workers whose files
// reached the disk together go to the journal together.
IptcWriteResult replaceRecorded(const QString &path, const JpegForRewrite &read, IptcWriteResult result,
                                const IptcWriteOptions &options)
{
    atomicfile::StreamingReplacement replacement(path, atomicfile::Durability::Synced, options.folderFlushes);
    replacement.append(result.content.header);
    replacement.append(result.content.tail());
    if (const atomicfile::Result settled = replacement.settle(); !settled.ok)
        return {false, fileFailureText(settled, options.language), {}};
    QString notRecorded;
    if (options.recorder && !options.recorder->beforeRewrite(path, read.content, result.content.header,
                                                                 result.content.tail().size(), read.lastModified,
                                                                 notRecorded))
        return {false, messageText(options.language, Message::ReasonNotRecorded, {notRecorded}), {}};
    const atomicfile::Result replaced = replacement.commit();
    if (!replaced.ok) {
        if (options.recorder)
            options.recorder->rewriteFailed(path);
        return {false, fileFailureText(replaced, options.language), {}};
    }
    if (options.keepCreationDate)
        restoreModificationTime(path, read.lastModified);
    if (options.recorder)
        options.recorder->afterRewrite(path, result.content.size(), filenames::fileFacts(path).lastWrite);
    return result;
}

} // namespace

JpegForRewrite readJpegForRewrite(const QString &path, Feedback *feedback, const LanguagePack *language)
{
    JpegForRewrite read;
    QFile file;
    const filenames::FileFacts facts = filenames::fileFacts(path);
    if (!filenames::openForReading(file, path)) {
        read.failure = messageText(language, facts.exists ? Message::ReasonCannotOpen : Message::ReasonFileMissing);
        return read;
    }
    // The temporary-file rename would pass over a read-only mark; the user's mark wins, also for
    // an administrator who could write anything.
    if (!facts.writable) {
        read.failure = messageText(language, Message::ReasonReadOnly);
        return read;
    }
    read.lastModified = facts.lastWrite;
    const qint64 size = file.size();
    if (size < 1) {
        read.failure = messageText(language, Message::ReasonEmpty);
        return read;
    }
    read.content = file.read(size);
    if (read.content.size() < size) {
        read.shortRead = true;
        if (feedback)
            feedback->showMessage(messageText(language, Message::ErrorReadingFile, {path}), MessageIcon::None);
        read.failure = messageText(language, Message::ReasonReadIncomplete);
        return read;
    }
    if (!read.content.startsWith(QByteArrayView("\xFF\xD8", 2)))
        read.failure = messageText(language, Message::ReasonNotJpeg);
    return read;
}

IptcWriteResult rewriteImageIptc(const QString &path, const JpegForRewrite &read, const IptcFieldSet &values,
                                 const QStringList &keywordList, const QStringList &supplementalCategoryList,
                                 std::span<const CustomizedDataset> moreCustomized,
                                 const IptcWriteOptions &options, bool dryRun)
{
    // What a reader of this file sees now: a field emptied by this write is found in it, and a
    // damaged resource is never rewritten, which would make its damage lasting.
    const IptcReadResult before = readIptcFromBytes(read.content, path, defaultCustomizedLabel());
    if (!before.damage.isEmpty())
        return {false, messageText(options.language, Message::ReasonDamagedIptc, {damageText(before.damage, options.language)}), {}};
    const std::optional<JpegSegmentPosition> oldSegment = findIptcSegmentOnChain(read.content);
    // The segments replaced must be those whose resource was read, or its datasets would be lost.
    if (oldSegment && !readFromRun(before, *oldSegment))
        return {false, messageText(options.language, Message::ReasonOtherIptcResource), {}};
    QByteArray otherResources = otherPhotoshopResources(read.content, oldSegment);
    IptcSegment segment =
        buildIptcSegment(values, keywordList, supplementalCategoryList, otherResources, moreCustomized);
    const std::optional<XmpSegment> xmp = findXmpSegment(read.content);
    // A digest left in a Photoshop segment without IIM is the one readers see; it is renewed there.
    const std::optional<qsizetype> digestElsewhere = oldSegment ? std::nullopt : digestWithoutIptcSegment(read.content);
    // The digest belongs to files that hold XMP or already carry one; others keep the plain segment.
    if (!segment.overLimit && !digestElsewhere
        && (xmp || iptcDigestState(read.content, oldSegment) != IptcDigestState::Missing)) {
        const QByteArray withDigest = resourcesWithDigest(read.content, oldSegment, otherResources, segment.iimData);
        if (withDigest != otherResources) {
            otherResources = withDigest;
            segment = buildIptcSegment(values, keywordList, supplementalCategoryList, otherResources, moreCustomized);
        }
    }
    if (segment.overLimit)
        return {false, overLimitReason(*segment.overLimit, options.language), {}};

    XmpUpdate xmpUpdate;
    if (xmp) {
        xmpUpdate = updatedXmp(*xmp, before, {values, keywordList, supplementalCategoryList}, options.language);
        if (xmpUpdate.refused)
            return {false, xmpUpdate.reason, {}};
    }
    if (!oldSegment && segment.isEmpty() && !xmpUpdate.segment)
        return {true, {}, {}}; // nothing to remove and nothing to add: the file already says this

    // Every change is made on the header alone; the picture's bytes after it are written from the
    // old content as they are.
    const QByteArrayView whole(read.content);
    const qsizetype headerEnd = headerChainEnd(whole);
    // The XMP segment is replaced first: the IPTC change before it would move it.
    QByteArray header = xmpUpdate.segment ? withSegmentReplaced(whole.first(headerEnd), xmp->segment, *xmpUpdate.segment)
                                          : whole.first(headerEnd).toByteArray();
    if (digestElsewhere)
        renewDigestInPlace(header, segment.iimData);
    const std::optional<JpegSegmentPosition> headerSegment =
        xmpUpdate.segment && oldSegment && oldSegment->marker > xmp->segment.marker
            ? findIptcSegmentOnChain(header)
            : oldSegment;
    const SegmentPlacement placement = resourcesContinueInNextSegment(header, headerSegment)
                                           ? SegmentPlacement::InPlaceOfOld
                                           : SegmentPlacement::AfterStartOfImage;
    IptcWriteResult result{true, {}, NewJpegContent(composeJpegContent(header, headerSegment, segment, placement),
                                                    read.content, headerEnd)};
    return dryRun ? result : replaceRecorded(path, read, std::move(result), options);
}

IptcWriteResult writeImageIptc(const QString &path, const IptcFieldSet &values, const QStringList &keywordList,
                               const QStringList &supplementalCategoryList, const IptcWriteOptions &options,
                               Feedback *feedback)
{
    // The file is read first: a file that cannot be written needs no copy.
    const JpegForRewrite read = readJpegForRewrite(path, feedback, options.language);
    if (!read.failure.isEmpty())
        return {false, read.failure, {}};
    const BackupResult backup = backupOriginalContent(path, read.content, options);
    if (!backup.ok)
        return {false, backup.error, {}};
    return rewriteImageIptc(path, read, values, keywordList, supplementalCategoryList, {}, options);
}

} // namespace zelvarion
