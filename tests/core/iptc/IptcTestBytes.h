#pragma once

#include <QByteArray>
#include <QList>

// Builders of the byte structures the IPTC reader and writer meet, for hand-made test files.
namespace zelvarion::test::iptcbytes {

inline QByteArray bigEndian16(int value)
{
    QByteArray bytes;
    bytes += char((value >> 8) & 0xFF);
    bytes += char(value & 0xFF);
    return bytes;
}

inline QByteArray dataset(int record, int number, const QByteArray &value)
{
    return QByteArray(1, char(0x1C)) + char(record) + char(number) + bigEndian16(int(value.size())) + value;
}

inline QByteArray dataset2(int number, const QByteArray &value) { return dataset(2, number, value); }

// An image resource block: "8BIM", id, Pascal name padded to even, 32-bit size, data padded to even.
inline QByteArray resource(int id, const QByteArray &data, const QByteArray &name = {})
{
    QByteArray block = QByteArray("8BIM") + bigEndian16(id);
    block += char(name.size());
    block += name;
    if ((name.size() + 1) % 2 != 0)
        block += '\0';
    block += bigEndian16(int(data.size() >> 16)) + bigEndian16(int(data.size() & 0xFFFF)) + data;
    if (data.size() % 2 != 0)
        block += '\0';
    return block;
}

inline QByteArray segment(int type, const QByteArray &payload)
{
    return QByteArray(1, char(0xFF)) + char(type) + bigEndian16(int(payload.size()) + 2) + payload;
}

inline QByteArray app13(const QByteArray &resources)
{
    return segment(0xED, QByteArray("Photoshop 3.0", 14) + resources);
}

inline QByteArray app0() { return segment(0xE0, QByteArray("JFIF\0\x01\x02\0\0\x01\0\x01\0\0", 14)); }

// A header made of the segments, then a start of scan, a little entropy-coded data and the end.
inline QByteArray jpeg(const QList<QByteArray> &segments)
{
    QByteArray bytes("\xFF\xD8", 2);
    for (const QByteArray &s : segments)
        bytes += s;
    bytes += segment(0xDA, QByteArray("\x01\x01\x00\x00\x3F\x00", 6));
    bytes += QByteArray("\x12\x34\xFF\x00\x56", 5);
    bytes += QByteArray("\xFF\xD9", 2);
    return bytes;
}

inline QByteArray jpegWithIptc(const QByteArray &datasets) { return jpeg({app0(), app13(resource(0x0404, datasets))}); }

} // namespace zelvarion::test::iptcbytes
