#include "core/iptc/JpegSegments.h"

#include <QByteArray>

namespace zelvarion {
namespace {

const QByteArrayView kPhotoshopSignature("Photoshop 3.0\0", 14);
constexpr int kIptcResourceId = 0x0404;

int byteAt(QByteArrayView bytes, qsizetype i) { return static_cast<unsigned char>(bytes[i]); }
int bigEndian16(QByteArrayView bytes, qsizetype i) { return byteAt(bytes, i) << 8 | byteAt(bytes, i + 1); }

qint64 bigEndian32(QByteArrayView bytes, qsizetype i)
{
    return qint64(bigEndian16(bytes, i)) << 16 | bigEndian16(bytes, i + 2);
}

bool isStandalone(int type) { return type == 0x01 || (type >= 0xD0 && type <= 0xD7); }

// The size of the block starting at `at`, or 0 when it does not fit in the bytes.
qsizetype blockSize(QByteArrayView blocks, qsizetype at)
{
    const qsizetype available = blocks.size() - at;
    if (available < 8 || blocks.sliced(at, 4) != QByteArrayView("8BIM"))
        return 0;
    const qsizetype nameField = (byteAt(blocks, at + 6) + 2) / 2 * 2;
    const qsizetype sizeAt = 6 + nameField;
    if (sizeAt + 4 > available)
        return 0;
    const qint64 dataSize = bigEndian32(blocks, at + sizeAt);
    const qint64 total = sizeAt + 4 + dataSize + (dataSize & 1);
    // A block whose padding byte is missing at the very end is still whole.
    if (total - (dataSize & 1) > available)
        return 0;
    return qsizetype(std::min<qint64>(total, available));
}

} // namespace

std::vector<JpegSegment> walkJpegHeader(QByteArrayView bytes)
{
    std::vector<JpegSegment> segments;
    if (bytes.size() < 2 || byteAt(bytes, 0) != 0xFF || byteAt(bytes, 1) != 0xD8)
        return segments;
    qsizetype p = 2;
    while (p + 1 < bytes.size() && byteAt(bytes, p) == 0xFF) {
        const int type = byteAt(bytes, p + 1);
        if (type == 0xFF) { // fill byte before a marker
            ++p;
            continue;
        }
        if (type == 0xDA || type == 0xD9 || type == 0x00)
            break;
        if (isStandalone(type)) {
            p += 2;
            continue;
        }
        if (p + 3 >= bytes.size())
            break;
        const int length = bigEndian16(bytes, p + 2);
        if (length < 2 || p + 2 + length > bytes.size())
            break;
        segments.push_back({p, type, length});
        p += 2 + length;
    }
    return segments;
}

std::optional<PhotoshopResources> parsePhotoshopSegment(QByteArrayView segment)
{
    if (segment.size() < 4 + kPhotoshopSignature.size() || bigEndian16(segment, 0) != 0xFFED)
        return std::nullopt;
    const QByteArrayView payload = segment.sliced(4);
    if (!payload.startsWith(kPhotoshopSignature))
        return std::nullopt;
    const QByteArrayView blocks = payload.sliced(kPhotoshopSignature.size());
    PhotoshopResources resources;
    qsizetype at = 0;
    while (at < blocks.size()) {
        const qsizetype size = blockSize(blocks, at);
        if (size == 0)
            break;
        resources.blocks.push_back({bigEndian16(blocks, at + 4), blocks.sliced(at, size)});
        at += size;
    }
    resources.unparsedTail = blocks.sliced(at);
    return resources;
}

std::optional<JpegSegmentPosition> findIptcSegmentOnChain(QByteArrayView bytes)
{
    for (const JpegSegment &segment : walkJpegHeader(bytes)) {
        if (segment.type != 0xED)
            continue;
        const auto resources = parsePhotoshopSegment(bytes.sliced(segment.marker, segment.length + 2));
        if (!resources)
            continue;
        for (const PhotoshopResourceBlock &block : resources->blocks)
            if (block.id == kIptcResourceId)
                return JpegSegmentPosition{segment.marker, segment.length};
    }
    return std::nullopt;
}

namespace {

std::optional<PhotoshopResources> resourcesAt(QByteArrayView content, std::optional<JpegSegmentPosition> segment)
{
    if (!segment || segment->marker < 0 || segment->marker + 2 + segment->length > content.size())
        return std::nullopt;
    return parsePhotoshopSegment(content.sliced(segment->marker, segment->length + 2));
}

} // namespace

bool resourcesContinueInNextSegment(QByteArrayView content, std::optional<JpegSegmentPosition> segment)
{
    const auto resources = resourcesAt(content, segment);
    return resources && !resources->unparsedTail.isEmpty();
}

QByteArray otherPhotoshopResources(QByteArrayView content, std::optional<JpegSegmentPosition> segment)
{
    QByteArray kept;
    const auto resources = resourcesAt(content, segment);
    if (!resources)
        return kept;
    for (const PhotoshopResourceBlock &block : resources->blocks) {
        if (block.id == kIptcResourceId)
            continue;
        kept += block.bytes.toByteArray();
        if (block.bytes.size() % 2 != 0)
            kept += '\0'; // the block's padding byte was missing at the segment's end
    }
    kept += resources->unparsedTail.toByteArray();
    return kept;
}

} // namespace zelvarion
