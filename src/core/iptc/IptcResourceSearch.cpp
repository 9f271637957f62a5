#include "core/iptc/IptcResourceSearch.h"

#include "core/iptc/IptcText.h"

namespace zelvarion {
namespace {

const QByteArrayView kIptcResourceTag("8BIM\x04\x04", 6);
constexpr quint8 kMarkerByte = 0xFF;
constexpr quint8 kApp13 = 0xED;
constexpr quint8 kTagMarker = 0x1C;
constexpr auto kBig = ByteOrder::BigEndian;

std::optional<IptcResourceLocation> findInJpeg(const ByteReader &bytes)
{
    const qsizetype lastK = bytes.size() - 7; // the search gives up at the first k with k + 6 >= n
    std::optional<qsizetype> nextTag;          // first tag at or after the current candidate's start
    bool searched = false;
    for (auto j = bytes.findPair(kMarkerByte, kApp13, 0); j; j = bytes.findPair(kMarkerByte, kApp13, *j + 1)) {
        const std::optional<quint16> length = bytes.u16(*j + 2, kBig);
        if (!length)
            return std::nullopt; // no length bytes: every search position would lie past the end
        const qsizetype first = *j + 4;
        const qsizetype last = *j + *length;
        if (first > last)
            continue;
        // Candidates only move forward, so the tag found for an earlier one serves later ones
        // until they start past it; this keeps the whole search linear in the file size.
        if (!searched || (nextTag && *nextTag < first)) {
            nextTag = first <= lastK ? bytes.find(kIptcResourceTag, first) : std::nullopt;
            searched = true;
        }
        if (nextTag && *nextTag <= last && *nextTag <= lastK)
            return IptcResourceLocation{*nextTag, JpegSegmentPosition{*j, *length}};
        if (last > lastK)
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

std::optional<IptcResourceLocation> findIptcResource(QByteArrayView bytes, bool jpeg)
{
    const ByteReader reader(bytes);
    if (jpeg)
        return findInJpeg(reader);
    const std::optional<qsizetype> k = reader.find(kIptcResourceTag, 4);
    if (!k || *k + 6 >= reader.size())
        return std::nullopt;
    return IptcResourceLocation{*k, std::nullopt};
}

std::optional<IptcDataSpan> iptcDataSpan(const ByteReader &bytes, qsizetype resource)
{
    const std::optional<quint8> nameLength = bytes.u8(resource + 6);
    if (resource < 0 || !nameLength)
        return std::nullopt;
    const qsizetype nameField = (*nameLength + 2) / 2 * 2; // length byte + characters, made even
    const std::optional<quint16> size = bytes.u16(resource + 8 + nameField, kBig); // the low size bytes
    if (!size)
        return std::nullopt;
    return IptcDataSpan{resource + 10 + nameField, *size};
}

void forEachRecord2Dataset(const ByteReader &bytes, IptcDataSpan span,
                           const std::function<void(int, QByteArrayView)> &visit)
{
    const qsizetype end = span.begin + span.declaredSize; // inclusive, as the walk has always been
    for (qsizetype p = span.begin; p <= end; ++p) {
        if (!bytes.has(p, 3))
            return;
        if (*bytes.u8(p) != kTagMarker || *bytes.u8(p + 1) != 2)
            continue;
        const std::optional<quint16> length = bytes.u16(p + 3, kBig);
        if (!length)
            return;
        QByteArrayView value = bytes.spanUpTo(p + 5, *length);
        if (const qsizetype zero = value.indexOf('\0'); zero >= 0)
            value = value.first(zero);
        visit(*bytes.u8(p + 2), value);
        p += 4 + *length;
    }
}

bool declaresUtf8(const ByteReader &bytes, IptcDataSpan span)
{
    qsizetype end = span.begin + span.declaredSize;
    if (!bytes.has(span.begin, span.declaredSize))
        end = std::min(end, bytes.size());
    for (qsizetype p = span.begin; p + 4 < end;) {
        if (*bytes.u8(p) != kTagMarker) {
            ++p;
            continue;
        }
        const quint16 length = *bytes.u16(p + 3, kBig);
        if (*bytes.u8(p + 1) == 1 && *bytes.u8(p + 2) == 90)
            return bytes.spanUpTo(p + 5, length).startsWith(iptctext::utf8Declaration());
        p += 5 + length;
    }
    return false;
}

} // namespace zelvarion
