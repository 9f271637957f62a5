#include "core/iptc/IptcResourceSearch.h"

#include "core/iptc/IptcText.h"
#include "core/session/Result.h"

#include <algorithm>

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

namespace {

const QByteArrayView kPhotoshopSignature("Photoshop 3.0\0", 14);

// Where the payload after the signature of a "Photoshop 3.0" APP13 segment at `at` lies, and
// where the segment ends; nothing when no such segment starts there.
struct Payload
{
    qsizetype begin;
    qsizetype end;
};
std::optional<Payload> photoshopPayloadAt(const ByteReader &bytes, qsizetype at)
{
    if (bytes.u16(at, kBig) != quint16(0xFFED))
        return std::nullopt;
    const std::optional<quint16> length = bytes.u16(at + 2, kBig);
    if (!length || *length < 2 + kPhotoshopSignature.size() || !bytes.matches(at + 4, kPhotoshopSignature))
        return std::nullopt;
    return Payload{at + 4 + kPhotoshopSignature.size(), at + 2 + *length};
}

// Up to `wanted` bytes from `from` on: the rest of the segment ending at segmentEnd, then the
// payloads of the Photoshop segments that directly follow it, one after another.
QByteArray joinedUpTo(const ByteReader &bytes, qsizetype from, qsizetype segmentEnd, qint64 wanted)
{
    QByteArray joined = bytes.spanUpTo(from, qsizetype(std::min<qint64>(wanted, segmentEnd - from))).toByteArray();
    for (qsizetype next = segmentEnd; joined.size() < wanted;) {
        const std::optional<Payload> payload = photoshopPayloadAt(bytes, next);
        if (!payload)
            break;
        const qint64 missing = wanted - joined.size();
        joined += bytes.spanUpTo(payload->begin, qsizetype(std::min<qint64>(missing, payload->end - payload->begin)));
        next = payload->end; // always past `next`: a payload is preceded by its 18 header bytes
    }
    return joined;
}

// The resource's name and size fields: how many bytes precede the data, and the declared size.
struct ResourceHeader
{
    qsizetype size;
    quint32 declaredDataSize;
};
std::optional<ResourceHeader> resourceHeader(const ByteReader &resource)
{
    const std::optional<quint8> nameLength = resource.u8(6);
    if (!nameLength)
        return std::nullopt;
    const qsizetype nameField = (*nameLength + 2) / 2 * 2; // length byte + characters, made even
    const std::optional<quint32> size = resource.u32(6 + nameField, kBig);
    if (!size)
        return std::nullopt;
    return ResourceHeader{6 + nameField + 4, *size};
}

IptcDamage claimsMoreThanHeld(qint64 declared, qsizetype held)
{
    return {Message::DamageClaimsMoreThanHeld, {QString::number(declared), QString::number(held)}};
}

const IptcDamage kHeaderCut{Message::DamageHeaderCut, {}};

IptcResourceData dataInJpeg(const ByteReader &bytes, qsizetype resource, JpegSegmentPosition segment)
{
    const qsizetype segmentEnd = segment.marker + 2 + segment.length;
    // 6 + 256 + 4 covers the longest name and the size field.
    const QByteArray head = joinedUpTo(bytes, resource, segmentEnd, 266);
    const std::optional<ResourceHeader> header = resourceHeader(ByteReader(head));
    if (!header)
        return {{}, kHeaderCut};
    const qint64 wanted = header->size + qint64(header->declaredDataSize);
    QByteArray whole = joinedUpTo(bytes, resource, segmentEnd, wanted);
    IptcResourceData data{whole.mid(header->size), {}};
    if (whole.size() < wanted)
        data.damage = claimsMoreThanHeld(header->declaredDataSize, data.bytes.size());
    return data;
}

IptcResourceData dataInFile(const ByteReader &bytes, qsizetype resource)
{
    const std::optional<ResourceHeader> header = resourceHeader(ByteReader(bytes.bytes().sliced(resource)));
    if (!header) {
        (void)bytes.has(resource, 266); // the whole file may hold what its beginning lacks
        return {{}, kHeaderCut};
    }
    const qsizetype count = qsizetype(std::min<qint64>(header->declaredDataSize, bytes.size()));
    const QByteArrayView data = bytes.spanUpTo(resource + header->size, count);
    IptcResourceData result{data.toByteArray(), {}};
    if (data.size() < qint64(header->declaredDataSize))
        result.damage = claimsMoreThanHeld(header->declaredDataSize, data.size());
    return result;
}

} // namespace

QString damageText(const IptcDamage &damage, const LanguagePack *language)
{
    return damage.isEmpty() ? QString() : messageText(language, damage.message, damage.arguments);
}

IptcResourceData boundedIptcData(const ByteReader &bytes, const IptcResourceLocation &location)
{
    if (location.segment)
        return dataInJpeg(bytes, location.resource, *location.segment);
    return dataInFile(bytes, location.resource);
}

bool forEachRecord2Dataset(QByteArrayView data, const std::function<void(int, QByteArrayView)> &visit)
{
    const ByteReader bytes(data);
    for (qsizetype p = 0; bytes.has(p, 3); ++p) {
        if (*bytes.u8(p) != kTagMarker || *bytes.u8(p + 1) != 2)
            continue;
        const std::optional<quint16> length = bytes.u16(p + 3, kBig);
        if (!length)
            return false;
        QByteArrayView value = bytes.spanUpTo(p + 5, *length);
        const bool whole = value.size() == *length;
        if (const qsizetype zero = value.indexOf('\0'); zero >= 0)
            value = value.first(zero);
        visit(*bytes.u8(p + 2), value);
        if (!whole)
            return false;
        p += 4 + *length;
    }
    return true;
}

bool declaresUtf8(QByteArrayView data)
{
    const ByteReader bytes(data);
    for (qsizetype p = 0; bytes.has(p, 5);) {
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
