#pragma once

// The search for the 0x0404 resource written the slow, literal way: every 0xFF 0xED, every
// position of its segment, one by one. The fast search must give the same answer on any input.

#include "core/iptc/IptcResourceSearch.h"

#include <QByteArrayView>
#include <optional>

namespace zelvarion::reference {

inline bool isResourceTagAt(QByteArrayView bytes, qsizetype k)
{
    return bytes.sliced(k, 6) == QByteArrayView("8BIM\x04\x04", 6);
}

inline std::optional<IptcResourceLocation> findIptcResource(QByteArrayView bytes, bool jpeg)
{
    const qsizetype n = bytes.size();
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    if (!jpeg) {
        for (qsizetype k = 4;; ++k) {
            if (k + 6 >= n)
                return std::nullopt;
            if (isResourceTagAt(bytes, k))
                return IptcResourceLocation{k, std::nullopt};
        }
    }
    for (qsizetype j = 0; j <= n - 2; ++j) {
        if (byte(j) != 0xFF || byte(j + 1) != 0xED)
            continue;
        if (j + 3 >= n)
            return std::nullopt; // the length bytes are missing
        const int length = byte(j + 2) << 8 | byte(j + 3);
        for (qsizetype k = j + 4; k <= j + length; ++k) {
            if (k + 6 >= n)
                return std::nullopt;
            if (isResourceTagAt(bytes, k))
                return IptcResourceLocation{k, JpegSegmentPosition{j, length}};
        }
    }
    return std::nullopt;
}

} // namespace zelvarion::reference
