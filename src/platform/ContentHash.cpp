#include "platform/ContentHash.h"

#include <QCryptographicHash>

#include <xxhash.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace zelvarion::contentHash {
namespace {

using Canonical = std::array<unsigned char, sizeof(XXH128_canonical_t)>;

// Big-endian: the same bytes, and so the same text, on every machine.
Canonical canonicalHash(QByteArrayView bytes)
{
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits(bytes.data(), size_t(bytes.size())));
    Canonical out;
    std::memcpy(out.data(), canonical.digest, out.size());
    return out;
}

QByteArray hexOf(const Canonical &hash)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(hash.data()), qsizetype(hash.size())).toHex();
}

void appendSize(QByteArray &to, qsizetype size)
{
    for (int shift = 0; shift < 64; shift += 8)
        to.append(char((quint64(size) >> shift) & 0xff));
}

// The three parts' hashes and sizes, hashed again.
QByteArray combined(const Canonical &first, QByteArrayView span, const Canonical &last, qsizetype firstSize,
                    qsizetype lastSize)
{
    QByteArray parts;
    for (const Canonical &hash : {first, canonicalHash(span), last})
        parts.append(reinterpret_cast<const char *>(hash.data()), qsizetype(hash.size()));
    for (qsizetype size : {firstSize, span.size(), lastSize})
        appendSize(parts, size);
    return hexOf(canonicalHash(parts));
}

} // namespace

std::optional<Kind> kindFromNumber(int number)
{
    switch (number) {
    case int(Kind::Sha256):
        return Kind::Sha256;
    case int(Kind::Xxh3_128):
        return Kind::Xxh3_128;
    case int(Kind::Xxh3_128Parts):
        return Kind::Xxh3_128Parts;
    }
    return std::nullopt;
}

QByteArray hexDigest(QByteArrayView bytes, Kind kind, Cut cut)
{
    if (kind == Kind::Sha256)
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    if (kind == Kind::Xxh3_128)
        return hexOf(canonicalHash(bytes));
    const qsizetype offset = std::clamp<qsizetype>(cut.offset, 0, bytes.size());
    const qsizetype length = std::clamp<qsizetype>(cut.length, 0, bytes.size() - offset);
    const QByteArrayView last = bytes.sliced(offset + length);
    return combined(canonicalHash(bytes.first(offset)), bytes.sliced(offset, length), canonicalHash(last), offset,
                    last.size());
}

std::pair<QByteArray, QByteArray> rewriteDigests(QByteArrayView before, QByteArrayView after, qsizetype offset,
                                                 qsizetype oldLength, qsizetype newLength)
{
    const Canonical first = canonicalHash(before.first(offset));
    const QByteArrayView last = before.sliced(offset + oldLength);
    const Canonical lastHash = canonicalHash(last);
    return {combined(first, before.sliced(offset, oldLength), lastHash, offset, last.size()),
            combined(first, after.sliced(offset, newLength), lastHash, offset, last.size())};
}

} // namespace zelvarion::contentHash
