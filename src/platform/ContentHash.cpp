#include "platform/ContentHash.h"

#include <QCryptographicHash>

#include <xxhash.h>

namespace zelvarion::contentHash {

std::optional<Kind> kindFromNumber(int number)
{
    switch (number) {
    case int(Kind::Sha256):
        return Kind::Sha256;
    case int(Kind::Xxh3_128):
        return Kind::Xxh3_128;
    }
    return std::nullopt;
}

QByteArray hexDigest(QByteArrayView bytes, Kind kind)
{
    if (kind == Kind::Sha256)
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    XXH128_canonical_t canonical; // big-endian, the same text on every machine
    XXH128_canonicalFromHash(&canonical, XXH3_128bits(bytes.data(), size_t(bytes.size())));
    return QByteArray::fromRawData(reinterpret_cast<const char *>(canonical.digest), sizeof canonical.digest).toHex();
}

} // namespace zelvarion::contentHash
