#include "core/iptc/IptcDigest.h"

#include "core/iptc/JpegSegments.h"

#include <QCryptographicHash>

namespace zelvarion {
namespace {

constexpr int kIptcResourceId = 0x0404;
constexpr int kDigestResourceId = 0x0425;

QByteArray digestBlock(QByteArrayView digest)
{
    QByteArray block("8BIM\x04\x25\x00\x00", 8);
    const auto size = quint32(digest.size());
    for (int shift : {24, 16, 8, 0})
        block += char((size >> shift) & 0xFF);
    block += digest;
    if (digest.size() % 2 != 0)
        block += '\0';
    return block;
}

} // namespace

IptcDigestState iptcDigestState(QByteArrayView content, std::optional<JpegSegmentPosition> segment)
{
    const std::optional<PhotoshopRun> run = photoshopRunAt(content, segment);
    if (!run)
        return IptcDigestState::Missing;
    std::optional<QByteArrayView> iim;
    std::optional<QByteArrayView> digest;
    for (const PhotoshopResourceBlock &block : run->resources.blocks) {
        if (block.id == kIptcResourceId && !iim)
            iim = resourceData(block);
        else if (block.id == kDigestResourceId && !digest)
            digest = resourceData(block);
    }
    if (!digest)
        return IptcDigestState::Missing;
    return iim && iimDigest(*iim) == *digest ? IptcDigestState::Matches : IptcDigestState::Stale;
}

std::optional<qsizetype> digestWithoutIptcSegment(QByteArrayView content)
{
    for (const JpegSegment &segment : walkJpegHeader(content)) {
        if (segment.type != 0xED)
            continue;
        const auto resources = parsePhotoshopSegment(content.sliced(segment.marker, segment.length + 2));
        if (!resources)
            continue;
        for (const PhotoshopResourceBlock &block : resources->blocks) {
            if (block.id == kIptcResourceId)
                break;
            const QByteArrayView data = resourceData(block);
            if (block.id == kDigestResourceId && data.size() == 16)
                return data.data() - content.data();
        }
    }
    return std::nullopt;
}

QByteArray iimDigest(QByteArrayView iimData)
{
    return QCryptographicHash::hash(iimData, QCryptographicHash::Md5);
}

QByteArray withIptcDigest(QByteArrayView resourceBlocks, QByteArrayView digest)
{
    const PhotoshopResources resources = parseResourceBlocks(resourceBlocks);
    QByteArray kept;
    bool placed = false;
    for (const PhotoshopResourceBlock &block : resources.blocks) {
        if (block.id != kDigestResourceId) {
            kept += block.bytes;
            if (block.bytes.size() % 2 != 0)
                kept += '\0';
            continue;
        }
        if (!placed && !digest.isEmpty())
            kept += digestBlock(digest);
        placed = true;
    }
    if (!placed && !digest.isEmpty())
        kept += digestBlock(digest);
    return kept + resources.unparsedTail.toByteArray();
}

} // namespace zelvarion
