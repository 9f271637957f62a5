#include "core/iptc/IptcResourceSearch.h"

#include "core/iptc/IptcText.h"

#include <cstring>

namespace zelvarion {
namespace {

const QByteArrayView kIptcResourceTag("8BIM\x04\x04", 6);

int byteAt(QByteArrayView bytes, qsizetype i) { return static_cast<unsigned char>(bytes[i]); }

int bigEndian16(QByteArrayView bytes, qsizetype i) { return byteAt(bytes, i) << 8 | byteAt(bytes, i + 1); }

// The next 0xFF 0xED at or after `from`, or -1. memchr skips the bytes between the 0xFF bytes
// several times faster than a general two-byte search, and large photographs without IPTC are
// searched to their end.
qsizetype indexOfApp13Marker(QByteArrayView bytes, qsizetype from)
{
    if (bytes.size() - from < 2)
        return -1;
    const char *begin = bytes.data();
    const char *end = begin + bytes.size();
    for (const char *at = begin + from; at < end - 1;) {
        const auto *ff = static_cast<const char *>(std::memchr(at, 0xFF, std::size_t(end - 1 - at)));
        if (!ff)
            return -1;
        if (static_cast<unsigned char>(ff[1]) == 0xED)
            return ff - begin;
        at = ff + 1;
    }
    return -1;
}

std::optional<IptcResourceLocation> findInJpeg(QByteArrayView bytes)
{
    const qsizetype n = bytes.size();
    const qsizetype lastK = n - 7; // the search gives up at the first k with k + 6 >= n
    qsizetype nextTag = -1;        // first tag at or after the current candidate's start
    qsizetype searchedFrom = -1;
    for (qsizetype j = indexOfApp13Marker(bytes, 0); j >= 0; j = indexOfApp13Marker(bytes, j + 1)) {
        if (j + 3 >= n)
            return std::nullopt; // no length bytes: every search position would lie past the end
        const int length = bigEndian16(bytes, j + 2);
        const qsizetype first = j + 4;
        const qsizetype last = j + length;
        if (first > last)
            continue;
        // Candidates only move forward, so the tag found for an earlier one serves later ones
        // until they start past it; this keeps the whole search linear in the file size.
        if (searchedFrom < 0 || (nextTag >= 0 && nextTag < first)) {
            nextTag = first <= lastK ? bytes.indexOf(kIptcResourceTag, first) : -1;
            searchedFrom = first;
        }
        if (nextTag >= 0 && nextTag <= last && nextTag <= lastK)
            return IptcResourceLocation{nextTag, JpegSegmentPosition{j, length}};
        if (last > lastK)
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

std::optional<IptcResourceLocation> findIptcResource(QByteArrayView bytes, bool jpeg)
{
    if (jpeg)
        return findInJpeg(bytes);
    const qsizetype k = bytes.size() > 4 ? bytes.indexOf(kIptcResourceTag, 4) : -1;
    if (k < 0 || k + 6 >= bytes.size())
        return std::nullopt;
    return IptcResourceLocation{k, std::nullopt};
}

std::optional<IptcDataSpan> iptcDataSpan(QByteArrayView bytes, qsizetype resource)
{
    const qsizetype n = bytes.size();
    if (resource < 0 || resource + 6 >= n)
        return std::nullopt;
    const int nameLength = byteAt(bytes, resource + 6);
    const qsizetype nameField = (nameLength + 2) / 2 * 2; // length byte + characters, made even
    const qsizetype sizeLow = resource + 8 + nameField;
    // prevent out-of-bounds read of the two low size bytes on the next line
    if (sizeLow + 1 >= n)
        return std::nullopt;
    return IptcDataSpan{resource + 10 + nameField, bigEndian16(bytes, sizeLow)};
}

void forEachRecord2Dataset(QByteArrayView bytes, IptcDataSpan span,
                           const std::function<void(int, QByteArrayView)> &visit)
{
    const qsizetype n = bytes.size();
    const qsizetype end = span.begin + span.declaredSize; // inclusive, as the walk has always been
    for (qsizetype p = span.begin; p <= end; ++p) {
        if (p + 2 >= n)
            return;
        if (byteAt(bytes, p) != 0x1C || byteAt(bytes, p + 1) != 2)
            continue;
        // prevent out-of-bounds read of the length bytes
        if (p + 4 >= n)
            return;
        const int number = byteAt(bytes, p + 2);
        const qsizetype length = bigEndian16(bytes, p + 3);
        QByteArrayView value = bytes.sliced(p + 5, std::min(length, n - (p + 5)));
        if (const qsizetype zero = value.indexOf('\0'); zero >= 0)
            value = value.first(zero);
        visit(number, value);
        p += 4 + length;
    }
}

bool declaresUtf8(QByteArrayView bytes, IptcDataSpan span)
{
    const qsizetype n = bytes.size();
    const qsizetype end = std::min(span.begin + span.declaredSize, n);
    for (qsizetype p = span.begin; p + 4 < end;) {
        if (byteAt(bytes, p) != 0x1C) {
            ++p;
            continue;
        }
        const qsizetype length = bigEndian16(bytes, p + 3);
        if (byteAt(bytes, p + 1) == 1 && byteAt(bytes, p + 2) == 90) {
            const QByteArrayView value = bytes.sliced(p + 5, std::min(length, n - (p + 5)));
            return value.startsWith(iptctext::utf8Declaration());
        }
        p += 5 + length;
    }
    return false;
}

} // namespace zelvarion
