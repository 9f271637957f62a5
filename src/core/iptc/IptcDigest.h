#pragma once

#include "core/iptc/IptcResourceSearch.h"

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace zelvarion {

// The 0x0425 resource of the IPTC segment: the MD5 of the IIM data, by which readers of both
// IIM and XMP tell whether the XMP was written with the IIM as it stands.
enum class IptcDigestState {
    Missing, // no digest resource in the segment (or no segment)
    Matches, // the digest is the MD5 of the segment's IIM data
    Stale,   // the digest is of other data: a writer changed the IIM without the XMP
};
IptcDigestState iptcDigestState(QByteArrayView content, std::optional<JpegSegmentPosition> segment);

// Where the 16 digest bytes lie in a Photoshop segment on the chain that holds no IIM (an editor
// removed the IIM and left the digest); nothing when there is none.
std::optional<qsizetype> digestWithoutIptcSegment(QByteArrayView content);

// The MD5 of IIM data, as the digest resource holds it.
QByteArray iimDigest(QByteArrayView iimData);

// The resource blocks with the digest resource set to digest (replaced where it stood, else
// appended), or without it when digest is empty. Every other block stays as it was.
QByteArray withIptcDigest(QByteArrayView resourceBlocks, QByteArrayView digest);

} // namespace zelvarion
