#include "platform/JpegDecoder.h"

#include "platform/ByteReader.h"

#include <QTransform>

#include <csetjmp>
#include <cstdlib>
#include <cstdio> // jpeglib.h needs FILE declared first

#include <jpeglib.h>

namespace zelvarion::jpegDecoder {
namespace {

constexpr int kOrientationTag = 0x0112;
constexpr int kShortType = 3;

// Every error and every warning ends the fast path: libjpeg's default handlers would exit the
// process or carry on over damaged data that the general decoder refuses.
struct ErrorJump
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void leaveOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorJump *>(info->err)->jump, 1);
}

void leaveOnWarning(j_common_ptr info, int level)
{
    if (level < 0) // traces (level >= 0) are harmless
        leaveOnError(info);
}

void stayQuiet(j_common_ptr) {}

void jumpOnEveryMessage(ErrorJump &errors)
{
    errors.manager.error_exit = leaveOnError;
    errors.manager.emit_message = leaveOnWarning;
    errors.manager.output_message = stayQuiet;
}

// One libjpeg decompressor over a buffer, destroyed on every way out. Made only for a buffer that
// starts with a JPEG marker: the memory source refuses an empty one with an error, and no jump
// target is set yet here.
class Decompressor
{
public:
    explicit Decompressor(QByteArrayView fileImage)
    {
        info.err = jpeg_std_error(&errors.manager);
        jumpOnEveryMessage(errors);
        jpeg_create_decompress(&info);
        // The memory source never reads past the buffer: at its end it reports a warning.
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(fileImage.data()),
                     static_cast<unsigned long>(fileImage.size()));
        jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor &) = delete;
    Decompressor &operator=(const Decompressor &) = delete;

    ErrorJump errors;
    jpeg_decompress_struct info{};
};

// One libjpeg compressor writing to a buffer it allocates, both freed on every way out.
class Compressor
{
public:
    Compressor()
    {
        info.err = jpeg_std_error(&errors.manager);
        jumpOnEveryMessage(errors);
        jpeg_create_compress(&info);
        jpeg_mem_dest(&info, &buffer, &length);
    }
    ~Compressor()
    {
        jpeg_destroy_compress(&info);
        std::free(buffer);
    }
    Compressor(const Compressor &) = delete;
    Compressor &operator=(const Compressor &) = delete;

    ErrorJump errors;
    jpeg_compress_struct info{};
    unsigned char *buffer = nullptr;
    unsigned long length = 0;
};

// The steps below run under setjmp; between it and libjpeg's longjmp there are only C frames and
// trivially destructible locals, so the jump skips no destructor.
bool readHeaderGuarded(Decompressor &d)
{
    if (setjmp(d.errors.jump))
        return false;
    return jpeg_read_header(&d.info, TRUE) == JPEG_HEADER_OK;
}

bool decodeGuarded(Decompressor &d, QImage &picture)
{
    if (setjmp(d.errors.jump))
        return false;
    jpeg_start_decompress(&d.info);
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = picture.scanLine(int(d.info.output_scanline));
        jpeg_read_scanlines(&d.info, &row, 1);
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

// The smallest of the JPEG's own scales (1/8, 1/4, 1/2, 1) that still gives at least `stored`
// pixels on each side; the rest is scaled by Qt.
bool chooseScaleGuarded(Decompressor &d, QSize stored)
{
    if (setjmp(d.errors.jump))
        return false;
    for (unsigned denominator : {8u, 4u, 2u, 1u}) {
        d.info.scale_num = 1;
        d.info.scale_denom = denominator;
        jpeg_calc_output_dimensions(&d.info);
        if (int(d.info.output_width) >= stored.width() && int(d.info.output_height) >= stored.height())
            break;
    }
    return true;
}

bool encodeGuarded(Compressor &c, const QImage &rgb, int quality)
{
    if (setjmp(c.errors.jump))
        return false;
    c.info.image_width = JDIMENSION(rgb.width());
    c.info.image_height = JDIMENSION(rgb.height());
    c.info.input_components = 3;
    c.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c.info); // baseline, 2 by 2 chroma subsampling
    jpeg_set_quality(&c.info, quality, TRUE);
    jpeg_start_compress(&c.info, TRUE);
    while (c.info.next_scanline < c.info.image_height) {
        auto row = const_cast<JSAMPROW>(rgb.constScanLine(int(c.info.next_scanline)));
        jpeg_write_scanlines(&c.info, &row, 1);
    }
    jpeg_finish_compress(&c.info);
    return true;
}

const QByteArrayView kExifHeader("Exif\0\0", 6);

// The orientation tag of the first directory of the TIFF structure of an Exif block.
std::optional<int> orientationOfTiff(const ByteReader &tiff)
{
    const bool bigEndian = tiff.matches(0, "MM");
    if (!bigEndian && !tiff.matches(0, "II"))
        return std::nullopt;
    const ByteOrder order = bigEndian ? ByteOrder::BigEndian : ByteOrder::LittleEndian;
    const std::optional<quint32> directory = tiff.u32(4, order);
    if (tiff.u16(2, order) != 42 || !directory)
        return std::nullopt;
    const std::optional<quint16> entries = tiff.u16(qsizetype(*directory), order);
    if (!entries)
        return std::nullopt;
    for (quint32 i = 0; i < *entries; ++i) {
        const qsizetype entry = qsizetype(*directory) + 2 + qsizetype(i) * 12;
        const auto tag = tiff.u16(entry, order);
        const auto type = tiff.u16(entry + 2, order);
        const auto count = tiff.u32(entry + 4, order);
        const auto value = tiff.u16(entry + 8, order);
        if (!tag || !type || !count || !value)
            return std::nullopt;
        if (*tag != kOrientationTag)
            continue;
        if (*type != kShortType || *count != 1 || *value < 1 || *value > 8)
            return std::nullopt;
        return int(*value);
    }
    return 1;
}

// The orientation of the picture; nothing when the general decoder might read it differently
// (a damaged block, or several Exif blocks).
std::optional<int> orientationOf(const jpeg_decompress_struct &info)
{
    std::optional<int> found = 1;
    int blocks = 0;
    for (jpeg_saved_marker_ptr m = info.marker_list; m; m = m->next) {
        const QByteArrayView data(reinterpret_cast<const char *>(m->data), qsizetype(m->data_length));
        if (m->marker != JPEG_APP0 + 1 || !data.startsWith(kExifHeader))
            continue;
        if (++blocks > 1)
            return std::nullopt;
        found = exifOrientation(data);
    }
    return found;
}

bool swapsSides(int orientation)
{
    return orientation >= 5;
}

// Grey, YCbCr and RGB only: CMYK and YCCK need ink conversion, which the general decoder does.
bool handledColourSpace(J_COLOR_SPACE space)
{
    return space == JCS_GRAYSCALE || space == JCS_YCbCr || space == JCS_RGB;
}

std::optional<JpegHeader> headerOf(Decompressor &d)
{
    if (!readHeaderGuarded(d) || !handledColourSpace(d.info.jpeg_color_space))
        return std::nullopt;
    const std::optional<int> orientation = orientationOf(d.info);
    if (!orientation)
        return std::nullopt;
    return JpegHeader{QSize(int(d.info.image_width), int(d.info.image_height)), *orientation};
}

QImage turnedUpright(const QImage &picture, int orientation)
{
    switch (orientation) {
    case 2: return picture.mirrored(true, false);
    case 3: return picture.mirrored(true, true);
    case 4: return picture.mirrored(false, true);
    case 5: return picture.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6: return picture.transformed(QTransform().rotate(90));
    case 7: return picture.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8: return picture.transformed(QTransform().rotate(270));
    default: return picture;
    }
}

} // namespace

std::optional<int> exifOrientation(QByteArrayView app1Data)
{
    if (!app1Data.startsWith(kExifHeader))
        return std::nullopt;
    return orientationOfTiff(ByteReader(app1Data.sliced(kExifHeader.size())));
}

QSize JpegHeader::shownSize() const
{
    return swapsSides(orientation) ? storedSize.transposed() : storedSize;
}

std::optional<JpegHeader> readHeader(QByteArrayView fileImage)
{
    if (!fileImage.startsWith("\xFF\xD8\xFF"))
        return std::nullopt;
    Decompressor d(fileImage);
    return headerOf(d);
}

QImage decodeAtSize(QByteArrayView fileImage, QSize shown)
{
    if (!fileImage.startsWith("\xFF\xD8\xFF"))
        return {};
    Decompressor d(fileImage);
    const std::optional<JpegHeader> header = headerOf(d);
    if (!header || shown.isEmpty())
        return {};
    const QSize stored = swapsSides(header->orientation) ? shown.transposed() : shown;
    // Qt's 32-bit RGB is B, G, R, X in memory on little-endian machines.
    d.info.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    if (!chooseScaleGuarded(d, stored))
        return {};
    QImage picture(int(d.info.output_width), int(d.info.output_height), QImage::Format_RGB32);
    if (picture.isNull() || !decodeGuarded(d, picture))
        return {};
    if (picture.size() != stored)
        picture = picture.scaled(stored, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return turnedUpright(picture, header->orientation).convertToFormat(QImage::Format_RGB888);
}

QByteArray encode(const QImage &picture, int quality)
{
    if (picture.isNull())
        return {};
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    Compressor c;
    if (!encodeGuarded(c, rgb, quality) || !c.buffer)
        return {};
    return QByteArray(reinterpret_cast<const char *>(c.buffer), qsizetype(c.length));
}

} // namespace zelvarion::jpegDecoder
