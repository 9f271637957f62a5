#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>
#include <utility>

namespace zelvarion::contentHash {

// Hashes that tell whether a file still holds the bytes it held: against another program's
// change or a restored copy, not against an adversary, so the fast one serves.
enum class Kind {
    Sha256 = 0,   // what undo journals held before; read, never written
    Xxh3_128 = 1, // a tenth of the cost on whole photographs; read, never written
    // The content cut in three at the span a rewrite changed, each part hashed, and the three
    // hashes with the parts' sizes hashed again: the old and the new content of a rewrite share
    // their first and last parts, so a photograph's megabytes are hashed once for both.
    Xxh3_128Parts = 2
};
constexpr Kind kCurrent = Kind::Xxh3_128Parts;

// Where Xxh3_128Parts cuts a content: the span from offset of length bytes. The other kinds
// ignore it. A cut past the content's end takes what there is (and so tells another content).
struct Cut
{
    qsizetype offset = 0;
    qsizetype length = 0;
};

// The kind stored as this number; nothing for a number this version does not know.
std::optional<Kind> kindFromNumber(int number);

// The hash of bytes as lowercase hexadecimal text.
QByteArray hexDigest(QByteArrayView bytes, Kind kind, Cut cut = {});

// The current kind's hashes of a rewrite's old and new content, which differ only in the span
// from offset (oldLength bytes before, newLength after); each byte is hashed once.
std::pair<QByteArray, QByteArray> rewriteDigests(QByteArrayView before, QByteArrayView after, qsizetype offset,
                                                 qsizetype oldLength, qsizetype newLength);

} // namespace zelvarion::contentHash
