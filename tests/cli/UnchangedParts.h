#pragma once

// What a rewrite of a file's IPTC leaves byte for byte: everything but the IPTC segment, the XMP
// packet (its mirroring properties follow the IIM) and the IPTC digest (renewed by its rule).
#include "core/iptc/IptcDigest.h"
#include "core/iptc/JpegSegments.h"

#include <QByteArray>

namespace zelvarion::test {

inline QByteArray withoutIptcXmpAndDigest(const QByteArray &bytes)
{
    QByteArray rest = bytes;
    if (const auto at = digestWithoutIptcSegment(rest))
        rest.replace(*at, 16, QByteArray(16, '\0'));
    const auto xmp = findXmpSegment(rest);
    const auto iptc = findIptcSegmentOnChain(rest);
    // The later one first, so the earlier position still holds.
    if (xmp && (!iptc || xmp->segment.marker > iptc->marker))
        rest.remove(xmp->segment.marker, xmp->segment.length + 2);
    if (iptc)
        rest.remove(iptc->marker, iptc->length + 2);
    if (xmp && iptc && xmp->segment.marker < iptc->marker)
        rest.remove(xmp->segment.marker, xmp->segment.length + 2);
    return rest;
}

// The IPTC segment's other resources without the digest.
inline QByteArray otherResourcesWithoutDigest(const QByteArray &bytes)
{
    return withIptcDigest(otherPhotoshopResources(bytes, findIptcSegmentOnChain(bytes)), {});
}

} // namespace zelvarion::test
