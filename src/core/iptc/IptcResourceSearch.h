#pragma once

#include "platform/ByteReader.h"

#include <QByteArrayView>
#include <functional>
#include <optional>

namespace zelvarion {

// Position j of the bytes 0xFF 0xED of an APP13 segment and the length L that follows them.
struct JpegSegmentPosition
{
    qsizetype marker;
    int length;
};

// Where the first "8BIM" 0x0404 resource lies, and for JPEG files the segment it was found in.
struct IptcResourceLocation
{
    qsizetype resource; // position k of "8BIM"
    std::optional<JpegSegmentPosition> segment;
};

// The first 0x0404 resource. JPEG files are searched inside every 0xFF 0xED candidate, in file
// order, whether or not it lies on the segment chain; other files from position 4 on. The
// search only moves forward and gives up at the end of the bytes, so a resource found in the
// beginning of a file is the one the whole file gives; not finding it there says nothing.
std::optional<IptcResourceLocation> findIptcResource(QByteArrayView bytes, bool jpeg);

// The resource's data: start d and declared size S (only the low 16 bits of the size are used).
struct IptcDataSpan
{
    qsizetype begin;
    qsizetype declaredSize;
};
// Nothing when the name or the size field reaches past the end of the bytes.
std::optional<IptcDataSpan> iptcDataSpan(const ByteReader &bytes, qsizetype resource);

// Calls visit(number, value bytes) for every record-2 dataset that starts within the span, in
// file order. A value ends at the end of the bytes and at its first zero byte.
void forEachRecord2Dataset(const ByteReader &bytes, IptcDataSpan span,
                           const std::function<void(int number, QByteArrayView value)> &visit);

// True when the data carry the record-1 dataset 1:90 with ESC % G (the UTF-8 declaration).
bool declaresUtf8(const ByteReader &bytes, IptcDataSpan span);

} // namespace zelvarion
