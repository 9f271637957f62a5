#pragma once

// JPEG files as cameras and editors leave them: a picture, then Exif, XMP, an ICC profile and a
// Photoshop segment holding a resolution resource beside the IPTC one. For the end-to-end tests,
// the crash test and the benchmarks (header only: the includer links Qt Gui).

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSize>

#include <algorithm>

namespace zelvarion::test::generated {

inline QByteArray bigEndian16(int value) { return QByteArray(1, char((value >> 8) & 0xFF)) + char(value & 0xFF); }

inline QByteArray segment(int type, const QByteArray &payload)
{
    return QByteArray(1, char(0xFF)) + char(type) + bigEndian16(int(payload.size()) + 2) + payload;
}

inline QByteArray iimDataset(int number, const QByteArray &value)
{
    return QByteArray("\x1C\x02", 2) + char(number) + bigEndian16(int(value.size())) + value;
}

inline QByteArray photoshopResource(int id, const QByteArray &data)
{
    QByteArray block = QByteArray("8BIM") + bigEndian16(id) + QByteArray(2, '\0') + bigEndian16(0)
                       + bigEndian16(int(data.size())) + data;
    if (data.size() % 2 != 0)
        block += '\0';
    return block;
}

// A minimal little-endian Exif block with one IFD0 entry (Orientation = 1).
inline QByteArray exifSegment()
{
    const QByteArray tiff("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x01\0\0\0\0\0\0\0", 26);
    return segment(0xE1, QByteArray("Exif\0\0", 6) + tiff);
}

inline QByteArray xmpSegment(int seed)
{
    const QByteArray packet = "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?><x:xmpmeta xmlns:x='adobe:ns:meta/'>"
                              "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
                              "xmlns:xmp='http://ns.adobe.com/xap/1.0/' xmp:Rating='"
                              + QByteArray::number(seed % 5) + "'/></rdf:RDF></x:xmpmeta><?xpacket end='w'?>";
    return segment(0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + packet);
}

inline QByteArray iccSegment()
{
    QByteArray profile(128, '\0');
    profile.replace(0, 4, bigEndian16(0) + bigEndian16(128));
    profile.replace(36, 4, "acsp");
    return segment(0xE2, QByteArray("ICC_PROFILE\0\x01\x01", 14) + profile);
}

inline QByteArray photoshopSegment(const QByteArray &datasets)
{
    const QByteArray resolution("\0\x48\0\0\0\x01\0\x01\0\x48\0\0\0\x01\0\x01", 16);
    return segment(0xED, QByteArray("Photoshop 3.0\0", 14) + photoshopResource(0x03ED, resolution)
                             + photoshopResource(0x0404, datasets));
}

// A picture of the given size (a gradient with some texture, so it compresses like a photograph)
// with Exif, XMP, ICC and the Photoshop segment after its start-of-image marker.
inline QByteArray generatedJpeg(QSize size, int seed, const QByteArray &datasets)
{
    QImage picture(size, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, QColor::fromHsv((seed * 37) % 360, 160, 220));
    gradient.setColorAt(1, QColor::fromHsv((seed * 91 + 120) % 360, 200, 90));
    painter.fillRect(picture.rect(), gradient);
    painter.setPen(QColor(255, 255, 255, 90));
    for (int y = 0; y < size.height(); y += 7)
        painter.drawLine(0, y, size.width(), (y * seed) % (size.height() + 1));
    painter.end();
    // Fine grain, so the file is as large as a photograph of that size, not a flat gradient.
    quint32 state = quint32(seed) * 2654435761u + 1;
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            const int grain = int(state >> 28) - 8;
            const QRgb p = line[x];
            line[x] = qRgb(std::clamp(qRed(p) + grain, 0, 255), std::clamp(qGreen(p) + grain, 0, 255),
                           std::clamp(qBlue(p) + grain, 0, 255));
        }
    }
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(85);
    writer.write(picture);
    const QByteArray extra = exifSegment() + xmpSegment(seed) + iccSegment() + photoshopSegment(datasets);
    // After the JFIF segment, which readers expect first.
    qsizetype at = 2;
    if (encoded.size() > 6 && uchar(encoded[2]) == 0xFF && uchar(encoded[3]) == 0xE0)
        at = 4 + ((uchar(encoded[4]) << 8) | uchar(encoded[5]));
    return encoded.left(at) + extra + encoded.mid(at);
}

} // namespace zelvarion::test::generated
