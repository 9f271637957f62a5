#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace zelvarion::contentHash {

// Hashes that tell whether a file still holds the bytes it held: against another program's
// change or a restored copy, not against an adversary, so the fast one serves.
enum class Kind {
    Sha256 = 0,  // what undo journals held before; read, never written
    Xxh3_128 = 1 // a tenth of the cost on whole photographs
};
constexpr Kind kCurrent = Kind::Xxh3_128;

// The kind stored as this number; nothing for a number this version does not know.
std::optional<Kind> kindFromNumber(int number);

// The hash of bytes as lowercase hexadecimal text.
QByteArray hexDigest(QByteArrayView bytes, Kind kind = kCurrent);

} // namespace zelvarion::contentHash
