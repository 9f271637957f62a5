// One input runs through the JPEG header and Exif orientation reader of the thumbnail fast path:
// as a whole file image, as the data of an APP1 segment, and wrapped as the APP1 segment of a
// small valid JPEG, so the orientation read through the JPEG library meets every input too.
#include "platform/JpegDecoder.h"

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace zelvarion;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkHeader(const std::optional<jpegDecoder::JpegHeader> &header)
{
    if (!header)
        return;
    check(header->storedSize.width() > 0 && header->storedSize.height() > 0);
    check(header->orientation >= 1 && header->orientation <= 8);
    const QSize shown = header->shownSize();
    check(shown == header->storedSize || shown == header->storedSize.transposed());
}

// A 16 by 8 baseline JPEG: the start marker, then everything after it.
const QByteArray &smallJpeg()
{
    static const QByteArray bytes = [] {
        QImage picture(16, 8, QImage::Format_RGB888);
        picture.fill(Qt::darkCyan);
        return jpegDecoder::encode(picture, 80);
    }();
    return bytes;
}

QByteArray withApp1(QByteArrayView data)
{
    const QByteArray &jpeg = smallJpeg();
    QByteArray wrapped = jpeg.first(2);
    const qsizetype length = data.size() + 2;
    wrapped += char(0xFF);
    wrapped += char(0xE1);
    wrapped += char(length >> 8);
    wrapped += char(length & 0xFF);
    wrapped += data;
    wrapped += QByteArrayView(jpeg).sliced(2);
    return wrapped;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkHeader(jpegDecoder::readHeader(bytes));

    const std::optional<int> orientation = jpegDecoder::exifOrientation(bytes);
    check(!orientation || (*orientation >= 1 && *orientation <= 8));
    if (bytes.size() + 2 > 0xFFFF)
        return 0;
    // One APP1 segment read through the JPEG library gives the orientation read directly; an
    // Exif block the reader refuses sends the file to the general decoder.
    const std::optional<jpegDecoder::JpegHeader> header = jpegDecoder::readHeader(withApp1(bytes));
    checkHeader(header);
    const bool exif = bytes.startsWith(QByteArrayView("Exif\0\0", 6));
    if (exif && !orientation) {
        check(!header);
        return 0;
    }
    check(header.has_value() && header->storedSize == QSize(16, 8));
    check(header->orientation == (exif ? *orientation : 1));
    return 0;
}
