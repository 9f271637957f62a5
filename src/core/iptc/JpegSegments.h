#pragma once

#include "core/iptc/IptcResourceSearch.h"

#include <QByteArrayView>
#include <QSize>
#include <optional>
#include <vector>

namespace zelvarion {

// One marker segment of the JPEG header: 0xFF, type, then length bytes that count themselves.
struct JpegSegment
{
    qsizetype marker; // position of 0xFF
    int type;         // second marker byte, e.g. 0xED for APP13
    int length;       // L: bytes after the two marker bytes
};

// The header segments from the start-of-image marker up to the start of scan, in file order.
// The walk stops early at a broken chain or a segment running past the end; it never reads
// past the buffer.
std::vector<JpegSegment> walkJpegHeader(QByteArrayView bytes);

// The picture's width and height as its start-of-frame segment codes them (before any Exif
// orientation); nothing without a frame segment on the header's chain or with a zero side.
std::optional<QSize> jpegFrameSize(QByteArrayView bytes);

// The "Photoshop 3.0" APP13 segments on the chain that hold the 0x0404 resource: the one it
// starts in, with the Photoshop segments right after it that its blocks run on into (other
// programs split large IIM blocks so). The position covers them all: the writer replaces them
// together. Marker bytes inside other segments (embedded previews) are never considered.
std::optional<JpegSegmentPosition> findIptcSegmentOnChain(QByteArrayView bytes);

// The image resource blocks of a Photoshop APP13 segment, bytes after "Photoshop 3.0\0".
struct PhotoshopResourceBlock
{
    int id;
    QByteArrayView bytes; // the whole block, data padding included
};
struct PhotoshopResources
{
    std::vector<PhotoshopResourceBlock> blocks;
    QByteArrayView unparsedTail; // a block cut short (continued in a later segment) or junk
};
// segment starts at the marker; nothing when it is not a Photoshop APP13 segment.
std::optional<PhotoshopResources> parsePhotoshopSegment(QByteArrayView segment);
// The blocks of a run of resource blocks (a segment's bytes after its signature).
PhotoshopResources parseResourceBlocks(QByteArrayView blocks);
// The data of a block: after its name and size fields, as long as its size says (cut at the
// end of the block's bytes).
QByteArrayView resourceData(const PhotoshopResourceBlock &block);

// The resource blocks of a run of Photoshop segments (a position findIptcSegmentOnChain gave):
// their payloads joined, and the blocks parsed from them. Nothing when the position does not
// cover whole Photoshop segments.
struct PhotoshopRun
{
    QByteArray blocks;
    PhotoshopResources resources; // views into blocks
};
std::optional<PhotoshopRun> photoshopRunAt(QByteArrayView content, std::optional<JpegSegmentPosition> run);

// The XMP packet of a JPEG file: the first APP1 segment on the chain that starts with the XMP
// signature, and the packet bytes after that signature.
struct XmpSegment
{
    JpegSegment segment;
    QByteArrayView packet;
};
std::optional<XmpSegment> findXmpSegment(QByteArrayView bytes);
// An APP1 segment holding packet; nothing when it would exceed the segment length limit.
std::optional<QByteArray> buildXmpSegment(QByteArrayView packet);

// The blocks of the segment other than 0x0404, in their order, followed by any unparsed tail;
// what the new IPTC segment carries on so nothing but the IPTC data changes.
QByteArray otherPhotoshopResources(QByteArrayView content, std::optional<JpegSegmentPosition> segment);

// True when the run's last resource block is cut short: its rest lies in a segment after the run.
bool resourcesContinueInNextSegment(QByteArrayView content, std::optional<JpegSegmentPosition> segment);

} // namespace zelvarion
