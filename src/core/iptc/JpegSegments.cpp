#include "core/iptc/JpegSegments.h"

#include "platform/ByteReader.h"

#include <QByteArray>

namespace zelvarion {
namespace {

const QByteArrayView kPhotoshopSignature("Photoshop 3.0\0", 14);
const QByteArrayView kXmpSignature("http://ns.adobe.com/xap/1.0/\0", 29);
constexpr int kApp1 = 0xE1;
constexpr int kIptcResourceId = 0x0404;

constexpr auto kBig = ByteOrder::BigEndian;

bool isStandalone(int type) { return type == 0x01 || (type >= 0xD0 && type <= 0xD7); }

// The size of the block starting at `at`, or 0 when it does not fit in the bytes.
qsizetype blockSize(const ByteReader &blocks, qsizetype at)
{
    const qsizetype available = blocks.size() - at;
    if (!blocks.has(at, 8) || !blocks.matches(at, QByteArrayView("8BIM")))
        return 0;
    const qsizetype nameField = (*blocks.u8(at + 6) + 2) / 2 * 2;
    const qsizetype sizeAt = 6 + nameField;
    const std::optional<quint32> declared = blocks.u32(at + sizeAt, kBig);
    if (!declared)
        return 0;
    const qint64 dataSize = *declared;
    const qint64 total = sizeAt + 4 + dataSize + (dataSize & 1);
    // A block whose padding byte is missing at the very end is still whole.
    if (total - (dataSize & 1) > available)
        return 0;
    return qsizetype(std::min<qint64>(total, available));
}

} // namespace

std::vector<JpegSegment> walkJpegHeader(QByteArrayView fileBytes)
{
    const ByteReader bytes(fileBytes);
    std::vector<JpegSegment> segments;
    if (bytes.u16(0, kBig) != 0xFFD8)
        return segments;
    qsizetype p = 2;
    while (bytes.u8(p) == 0xFF && bytes.has(p + 1, 1)) {
        const int type = *bytes.u8(p + 1);
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
        const std::optional<quint16> length = bytes.u16(p + 2, kBig);
        if (!length || *length < 2 || !bytes.has(p + 2, *length))
            break;
        segments.push_back({p, type, *length});
        p += 2 + *length;
    }
    return segments;
}

std::optional<QSize> jpegFrameSize(QByteArrayView fileBytes)
{
    const ByteReader bytes(fileBytes);
    for (const JpegSegment &segment : walkJpegHeader(fileBytes)) {
        // C0 to CF are the frames, but for the Huffman tables (C4), JPG (C8) and arithmetic
        // conditioning (CC). Precision, height, then width follow the length.
        const bool frame = segment.type >= 0xC0 && segment.type <= 0xCF && segment.type != 0xC4
                           && segment.type != 0xC8 && segment.type != 0xCC;
        if (!frame || segment.length < 7)
            continue;
        const std::optional<quint16> height = bytes.u16(segment.marker + 5, kBig);
        const std::optional<quint16> width = bytes.u16(segment.marker + 7, kBig);
        if (!height || !width || *height == 0 || *width == 0)
            return std::nullopt;
        return QSize(*width, *height);
    }
    return std::nullopt;
}

std::optional<PhotoshopResources> parsePhotoshopSegment(QByteArrayView segmentBytes)
{
    const ByteReader segment(segmentBytes);
    if (segment.u16(0, kBig) != 0xFFED || !segment.matches(4, kPhotoshopSignature))
        return std::nullopt;
    return parseResourceBlocks(segmentBytes.sliced(4 + kPhotoshopSignature.size()));
}

PhotoshopResources parseResourceBlocks(QByteArrayView blockBytes)
{
    const ByteReader blocks(blockBytes);
    PhotoshopResources resources;
    qsizetype at = 0;
    while (at < blocks.size()) {
        const qsizetype size = blockSize(blocks, at);
        if (size == 0)
            break;
        resources.blocks.push_back({*blocks.u16(at + 4, kBig), blocks.bytes().sliced(at, size)});
        at += size;
    }
    resources.unparsedTail = blocks.bytes().sliced(at);
    return resources;
}

namespace {

bool isPhotoshopSegment(QByteArrayView bytes, const JpegSegment &segment)
{
    return segment.type == 0xED && segment.length >= 2 + kPhotoshopSignature.size()
           && bytes.sliced(segment.marker + 4).startsWith(kPhotoshopSignature);
}

QByteArrayView payloadOf(QByteArrayView bytes, const JpegSegment &segment)
{
    return bytes.sliced(segment.marker + 4 + kPhotoshopSignature.size(), segment.length - 2 - kPhotoshopSignature.size());
}

// True when the blocks end in one cut short, whose rest lies in the next segment (as opposed to
// junk, which is no block at all).
bool endsInCutBlock(const PhotoshopResources &resources)
{
    const QByteArrayView tail = resources.unparsedTail;
    return !tail.isEmpty() && QByteArrayView("8BIM").startsWith(tail.first(std::min<qsizetype>(4, tail.size())));
}

// True when the blocks go on in the next segment's payload: the last one is cut short, or only its
// padding byte is missing and the next payload starts with it (a split made right before it).
bool runsOnInto(const PhotoshopResources &resources, QByteArrayView nextPayload)
{
    if (endsInCutBlock(resources))
        return true;
    return resources.unparsedTail.isEmpty() && !resources.blocks.empty() && resources.blocks.back().bytes.size() % 2 != 0
           && nextPayload.startsWith('\0');
}

} // namespace

std::optional<JpegSegmentPosition> findIptcSegmentOnChain(QByteArrayView bytes)
{
    const std::vector<JpegSegment> segments = walkJpegHeader(bytes);
    for (std::size_t first = 0; first < segments.size(); ++first) {
        if (!isPhotoshopSegment(bytes, segments[first]))
            continue;
        // A block cut short at the end of a segment goes on in the Photoshop segment right after
        // it; the segments of such a run are one stream of blocks and are replaced together.
        QByteArray stream = payloadOf(bytes, segments[first]).toByteArray();
        std::size_t last = first;
        PhotoshopResources resources = parseResourceBlocks(stream);
        while (last + 1 < segments.size() && isPhotoshopSegment(bytes, segments[last + 1])
               && segments[last + 1].marker == segments[last].marker + 2 + segments[last].length
               && runsOnInto(resources, payloadOf(bytes, segments[last + 1]))) {
            stream += payloadOf(bytes, segments[++last]);
            resources = parseResourceBlocks(stream);
        }
        for (const PhotoshopResourceBlock &block : resources.blocks)
            if (block.id == kIptcResourceId)
                return JpegSegmentPosition{segments[first].marker,
                                           segments[last].marker + segments[last].length - segments[first].marker};
        first = last;
    }
    return std::nullopt;
}

std::optional<PhotoshopRun> photoshopRunAt(QByteArrayView content, std::optional<JpegSegmentPosition> run)
{
    if (!run || run->marker < 0 || run->length < 0 || run->marker + 2 + run->length > content.size())
        return std::nullopt;
    const QByteArrayView bytes = content.sliced(run->marker, run->length + 2);
    PhotoshopRun joined;
    for (qsizetype at = 0; at < bytes.size();) {
        const ByteReader reader(bytes);
        const std::optional<quint16> length = reader.u16(at + 2, kBig);
        if (reader.u16(at, kBig) != quint16(0xFFED) || !length || *length < 2 + kPhotoshopSignature.size()
            || !reader.matches(at + 4, kPhotoshopSignature) || !reader.has(at + 2, *length))
            return std::nullopt;
        joined.blocks += bytes.sliced(at + 4 + kPhotoshopSignature.size(), *length - 2 - kPhotoshopSignature.size());
        at += 2 + *length;
    }
    joined.resources = parseResourceBlocks(joined.blocks);
    return joined;
}

bool resourcesContinueInNextSegment(QByteArrayView content, std::optional<JpegSegmentPosition> segment)
{
    const auto run = photoshopRunAt(content, segment);
    return run && !run->resources.unparsedTail.isEmpty();
}

QByteArray otherPhotoshopResources(QByteArrayView content, std::optional<JpegSegmentPosition> segment)
{
    QByteArray kept;
    const auto run = photoshopRunAt(content, segment);
    if (!run)
        return kept;
    for (const PhotoshopResourceBlock &block : run->resources.blocks) {
        if (block.id == kIptcResourceId)
            continue;
        kept += block.bytes.toByteArray();
        if (block.bytes.size() % 2 != 0)
            kept += '\0'; // the block's padding byte was missing at the segment's end
    }
    kept += run->resources.unparsedTail.toByteArray();
    return kept;
}

QByteArrayView resourceData(const PhotoshopResourceBlock &block)
{
    const ByteReader bytes(block.bytes);
    const std::optional<quint8> nameLength = bytes.u8(6);
    if (!nameLength)
        return {};
    const qsizetype sizeAt = 6 + (*nameLength + 2) / 2 * 2;
    const std::optional<quint32> size = bytes.u32(sizeAt, kBig);
    if (!size)
        return {};
    return bytes.spanUpTo(sizeAt + 4, qsizetype(std::min<quint32>(*size, quint32(block.bytes.size()))));
}

std::optional<XmpSegment> findXmpSegment(QByteArrayView bytes)
{
    for (const JpegSegment &segment : walkJpegHeader(bytes)) {
        if (segment.type != kApp1)
            continue;
        const QByteArrayView payload = bytes.sliced(segment.marker + 4, segment.length - 2);
        if (payload.startsWith(kXmpSignature))
            return XmpSegment{segment, payload.sliced(kXmpSignature.size())};
    }
    return std::nullopt;
}

std::optional<QByteArray> buildXmpSegment(QByteArrayView packet)
{
    const qsizetype length = 2 + kXmpSignature.size() + packet.size();
    if (length > 65535)
        return std::nullopt;
    QByteArray segment("\xFF\xE1", 2);
    segment += char(length >> 8);
    segment += char(length & 0xFF);
    segment += kXmpSignature;
    segment += packet;
    return segment;
}

} // namespace zelvarion
