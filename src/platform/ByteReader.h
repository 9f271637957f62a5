#pragma once

// The one way parsers read untrusted bytes (image files, their segments and resources). Every
// read names its position and gives the value, or nothing ("not enough data") when the bytes
// there do not reach that far; nothing ever reads past the end. Positions are checked without
// overflow, so a length taken from the file cannot wrap a sum around.
//
// A reader also remembers whether some read ran out of data. A parse over the beginning of a
// file that never ran out saw only bytes that the whole file holds in the same places, so it
// gives what a parse of the whole file would give; the IPTC reader relies on that to read most
// files only in part.

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>
#include <cstring>
#include <optional>

namespace zelvarion {

enum class ByteOrder { BigEndian, LittleEndian };

class ByteReader
{
public:
    explicit ByteReader(QByteArrayView bytes) : m_bytes(bytes) {}

    qsizetype size() const { return m_bytes.size(); }
    QByteArrayView bytes() const { return m_bytes; }

    // True when count bytes lie at `at`; a false answer is remembered as running out.
    bool has(qsizetype at, qsizetype count) const
    {
        // prevent a position beyond the end (or an overflowing sum) from reading past it
        const bool fits = at >= 0 && count >= 0 && at <= m_bytes.size() && count <= m_bytes.size() - at;
        m_ranOut = m_ranOut || !fits;
        return fits;
    }

    std::optional<quint8> u8(qsizetype at) const
    {
        if (!has(at, 1))
            return std::nullopt;
        return byteAt(at);
    }

    std::optional<quint16> u16(qsizetype at, ByteOrder order) const
    {
        if (!has(at, 2))
            return std::nullopt;
        const quint16 first = byteAt(at);
        const quint16 second = byteAt(at + 1);
        return order == ByteOrder::BigEndian ? quint16(first << 8 | second) : quint16(second << 8 | first);
    }

    std::optional<quint32> u32(qsizetype at, ByteOrder order) const
    {
        if (!has(at, 4))
            return std::nullopt;
        const quint32 high = *u16(at, order);
        const quint32 low = *u16(at + 2, order);
        return order == ByteOrder::BigEndian ? high << 16 | low : low << 16 | high;
    }

    std::optional<QByteArrayView> span(qsizetype at, qsizetype count) const
    {
        if (!has(at, count))
            return std::nullopt;
        return m_bytes.sliced(at, count);
    }

    // At most count bytes from `at` on: the span cut at the end of the bytes (a cut is
    // remembered as running out), empty when `at` lies past the end.
    QByteArrayView spanUpTo(qsizetype at, qsizetype count) const
    {
        if (has(at, count))
            return m_bytes.sliced(at, count);
        if (at < 0 || at >= m_bytes.size())
            return {};
        return m_bytes.sliced(at);
    }

    // True when the bytes at `at` are exactly `expected`.
    bool matches(qsizetype at, QByteArrayView expected) const
    {
        const std::optional<QByteArrayView> found = span(at, expected.size());
        return found && *found == expected;
    }

    // The first position at or after `from` where needle starts; nothing (remembered as running
    // out: it may lie further on) when it is not in the bytes.
    std::optional<qsizetype> find(QByteArrayView needle, qsizetype from) const
    {
        const qsizetype found = from >= 0 && from <= m_bytes.size() ? m_bytes.indexOf(needle, from) : -1;
        if (found < 0) {
            m_ranOut = true;
            return std::nullopt;
        }
        return found;
    }

    // The first position at or after `from` of the two bytes first, second. memchr skips the
    // bytes between candidates of the first byte several times faster than a general search.
    std::optional<qsizetype> findPair(quint8 first, quint8 second, qsizetype from) const
    {
        const char *begin = m_bytes.data();
        const char *end = begin + m_bytes.size();
        for (const char *at = begin + std::clamp<qsizetype>(from, 0, m_bytes.size()); end - at >= 2;) {
            const auto *candidate = static_cast<const char *>(std::memchr(at, first, std::size_t(end - 1 - at)));
            if (!candidate)
                break;
            if (static_cast<quint8>(candidate[1]) == second)
                return candidate - begin;
            at = candidate + 1;
        }
        m_ranOut = true;
        return std::nullopt;
    }

    // Whether some read since the reader was made lacked data.
    bool ranOut() const { return m_ranOut; }

private:
    quint8 byteAt(qsizetype at) const { return static_cast<quint8>(m_bytes[at]); }

    QByteArrayView m_bytes;
    mutable bool m_ranOut = false; // an observation of the reads, not part of the bytes read
};

// Appends value as two bytes in the given order (segment and dataset lengths).
inline void appendUint16(QByteArray &bytes, quint16 value, ByteOrder order = ByteOrder::BigEndian)
{
    const char high = char(value >> 8);
    const char low = char(value & 0xFF);
    bytes += order == ByteOrder::BigEndian ? high : low;
    bytes += order == ByteOrder::BigEndian ? low : high;
}

} // namespace zelvarion
