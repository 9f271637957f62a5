#include "core/iptc/IimElsewhere.h"

#include "core/iptc/JpegSegments.h"
#include "platform/ByteReader.h"

namespace zelvarion {
namespace {

constexpr quint16 kIimTag = 33723;
constexpr quint8 kTagMarker = 0x1C;
constexpr auto kBig = ByteOrder::BigEndian;
const QByteArrayView kExifSignature("Exif\0\0", 6);

qint64 tiffTypeSize(quint16 type)
{
    switch (type) {
    case 1: case 2: case 6: case 7: return 1; // BYTE, ASCII, SBYTE, UNDEFINED
    case 3: case 8: return 2;                  // SHORT, SSHORT
    case 4: case 9: case 11: case 13: return 4; // LONG, SLONG, FLOAT, IFD
    default: return 0;
    }
}

std::optional<ByteOrder> tiffByteOrder(const ByteReader &tiff)
{
    if (tiff.matches(0, QByteArrayView("II*\0", 4)))
        return ByteOrder::LittleEndian;
    if (tiff.matches(0, QByteArrayView("MM\0*", 4)))
        return ByteOrder::BigEndian;
    return std::nullopt;
}

bool isStandaloneMarker(quint8 type) { return type == 0x00 || type == 0x01 || type == 0xFF || (type >= 0xD0 && type <= 0xD7); }

} // namespace

std::optional<QByteArrayView> tiffIimTag(QByteArrayView bytes)
{
    const ByteReader tiff(bytes);
    const std::optional<ByteOrder> order = tiffByteOrder(tiff);
    if (!order)
        return std::nullopt;
    const std::optional<quint32> directory = tiff.u32(4, *order);
    if (!directory)
        return std::nullopt;
    const std::optional<quint16> count = tiff.u16(qsizetype(*directory), *order);
    for (quint32 i = 0; count && i < *count; ++i) {
        const qsizetype entry = qsizetype(*directory) + 2 + qsizetype(i) * 12;
        const std::optional<quint16> tag = tiff.u16(entry, *order);
        if (!tag || !tiff.has(entry, 12))
            return std::nullopt;
        if (*tag != kIimTag)
            continue;
        const qint64 size = tiffTypeSize(*tiff.u16(entry + 2, *order)) * qint64(*tiff.u32(entry + 4, *order));
        if (size <= 0)
            return std::nullopt;
        const qsizetype at = size <= 4 ? entry + 8 : qsizetype(*tiff.u32(entry + 8, *order));
        return tiff.span(at, qsizetype(size));
    }
    return std::nullopt;
}

std::optional<QByteArrayView> exifIimTag(QByteArrayView jpeg)
{
    for (const JpegSegment &segment : walkJpegHeader(jpeg)) {
        if (segment.type != 0xE1)
            continue;
        const QByteArrayView payload = jpeg.sliced(segment.marker + 4, segment.length - 2);
        if (payload.startsWith(kExifSignature))
            return tiffIimTag(payload.sliced(kExifSignature.size()));
    }
    return std::nullopt;
}

std::optional<qsizetype> jpegEndOfImage(QByteArrayView jpeg)
{
    const ByteReader bytes(jpeg);
    const std::vector<JpegSegment> header = walkJpegHeader(jpeg);
    qsizetype p = header.empty() ? 2 : header.back().marker + 2 + header.back().length;
    if (bytes.u16(0, kBig) != 0xFFD8)
        return std::nullopt;
    // From the first scan on: entropy-coded data, where 0xFF is followed by 0x00 or a restart
    // marker, and between the scans of a progressive file segments with their lengths.
    while (true) {
        const qsizetype ff = jpeg.indexOf('\xFF', p);
        if (ff < 0)
            return std::nullopt;
        const std::optional<quint8> type = bytes.u8(ff + 1);
        if (!type)
            return std::nullopt;
        if (*type == 0xD9)
            return ff;
        if (isStandaloneMarker(*type) || *type == 0xD8) {
            p = ff + 1;
            continue;
        }
        const std::optional<quint16> length = bytes.u16(ff + 2, kBig);
        if (!length || *length < 2)
            return std::nullopt;
        p = ff + 2 + *length;
    }
}

IimRun iimRunAt(QByteArrayView view, qsizetype at)
{
    const ByteReader bytes(view);
    IimRun run;
    int lastRecord = 0;
    qsizetype p = at;
    while (bytes.u8(p) == kTagMarker) {
        const std::optional<quint8> record = bytes.u8(p + 1);
        const std::optional<quint16> length = bytes.u16(p + 3, kBig);
        if (!record || !length || *record < 1 || *record > 9 || *record < lastRecord || (*length & 0x8000)
            || !bytes.has(p + 5, *length))
            break;
        lastRecord = *record;
        run.hasRecord2 = run.hasRecord2 || *record == 2;
        p += 5 + *length;
    }
    run.length = p - at;
    return run;
}

std::optional<QByteArrayView> jpegTrailerIim(QByteArrayView jpeg)
{
    const std::optional<qsizetype> end = jpegEndOfImage(jpeg);
    if (!end)
        return std::nullopt;
    for (qsizetype p = jpeg.indexOf(char(kTagMarker), *end + 2); p >= 0; p = jpeg.indexOf(char(kTagMarker), p + 1)) {
        const IimRun run = iimRunAt(jpeg, p);
        if (run.hasRecord2)
            return jpeg.sliced(p, run.length);
        p += std::max<qsizetype>(0, run.length - 1);
    }
    return std::nullopt;
}

} // namespace zelvarion
