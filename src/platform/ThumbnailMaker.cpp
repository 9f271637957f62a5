#include "platform/ThumbnailMaker.h"

#include "platform/JpegDecoder.h"

#include <QFile>
#include <QSaveFile>

#include <vips/vips.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

namespace zelvarion {
namespace {

// Largest side the program asks for; far above any thumbnail, well below the library's limit.
constexpr int kMaxSide = 10000;
constexpr int kJpegQuality = 85;
// A JPEG's header, with its Exif and colour profile blocks, nearly always lies in this many first
// bytes; one that does not is read by the general decoder.
constexpr qint64 kJpegHeadBytes = 256 * 1024;

struct ImageUnref
{
    void operator()(VipsImage *image) const { g_object_unref(image); }
};
using Image = std::unique_ptr<VipsImage, ImageUnref>;

void dropLibraryWarning(const gchar *, GLogLevelFlags, const gchar *, gpointer) {}

// Starts the library on first use; false when it could not start, and every operation then
// gives its empty result.
bool libraryReady()
{
    static std::once_flag started;
    static bool ready = false;
    std::call_once(started, [] {
        if (VIPS_INIT("zelvarion") != 0)
            return;
        // Callers run one file per thread; inner threads would only compete with them.
        vips_concurrency_set(1);
        // Thumbnails of thousands of files: nothing is worth keeping between files.
        vips_cache_set_max(0);
        // Unreadable files are reported by an empty result; the library's own warnings about
        // them would only flood the terminal of a long scan.
        g_log_set_handler("VIPS", G_LOG_LEVEL_WARNING, dropLibraryWarning, nullptr);
        ready = true;
    });
    return ready;
}

// JPEG, TIFF (classic and big) and Photoshop files only: other formats would reach general
// purpose loaders that were never meant for untrusted files.
bool isCataloguedKind(QByteArrayView head)
{
    return head.startsWith("\xFF\xD8\xFF") || head.startsWith(QByteArrayView("II*\0", 4))
           || head.startsWith(QByteArrayView("MM\0*", 4)) || head.startsWith(QByteArrayView("II+\0", 4))
           || head.startsWith(QByteArrayView("MM\0+", 4)) || head.startsWith("8BPS");
}

bool isCataloguedFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && isCataloguedKind(file.read(4));
}

// The library reads load options from a trailing "[...]" of a file name, and would take
// "photo[2]" for "photo" with options; such files are handed over as bytes instead.
bool nameReadAsOptions(const QString &path)
{
    return path.endsWith(u']');
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Takes ownership of an operation's result; on failure clears the library's error text, which
// nobody reads (the caller reports failure by an empty result).
Image adopt(VipsImage *image, int status = 0)
{
    if (status != 0 || !image) {
        vips_error_clear();
        return {};
    }
    return Image(image);
}

bool validSide(int side)
{
    return side >= 1 && side <= kMaxSide;
}

// Replaces `image` by the result of the operation that returned `status` and `out`. `out` is taken
// by reference: it is read only after the operation in the same call has filled it.
bool advance(Image &image, int status, VipsImage *&out)
{
    image = adopt(out, status);
    return bool(image);
}

// Any decoded picture (grey, CMYK, Lab, 16-bit, with alpha) as three 8-bit sRGB bands, with
// transparent parts laid on white as a viewer would show them.
Image toDisplayRgb(Image image)
{
    VipsImage *out = nullptr;
    // Loaders may leave a generic interpretation that the colour conversion has no route from.
    const VipsInterpretation guessed = vips_image_guess_interpretation(image.get());
    if (guessed != vips_image_get_interpretation(image.get())
        && !advance(image, vips_copy(image.get(), &out, "interpretation", guessed, nullptr), out))
        return {};
    if (!advance(image, vips_colourspace(image.get(), &out, VIPS_INTERPRETATION_sRGB, nullptr), out))
        return {};
    if (vips_image_hasalpha(image.get())) {
        double white[] = {255, 255, 255};
        VipsArrayDouble *background = vips_array_double_new(white, 3);
        const int status = vips_flatten(image.get(), &out, "background", background, nullptr);
        vips_area_unref(VIPS_AREA(background));
        if (!advance(image, status, out))
            return {};
    }
    if (vips_image_get_bands(image.get()) > 3
        && !advance(image, vips_extract_band(image.get(), &out, 0, "n", 3, nullptr), out))
        return {};
    if (vips_image_get_format(image.get()) != VIPS_FORMAT_UCHAR
        && !advance(image, vips_cast(image.get(), &out, VIPS_FORMAT_UCHAR, nullptr), out))
        return {};
    return vips_image_get_bands(image.get()) == 3 ? std::move(image) : Image();
}

// Runs the decoding pipeline into a picture; truncated or corrupt data fails here.
QImage toPicture(Image image)
{
    if (!image || !(image = toDisplayRgb(std::move(image))))
        return {};
    size_t size = 0;
    const std::unique_ptr<void, decltype(&g_free)> pixels(
        vips_image_write_to_memory(image.get(), &size), &g_free);
    if (!pixels) {
        vips_error_clear();
        return {};
    }
    const int width = vips_image_get_width(image.get());
    const int height = vips_image_get_height(image.get());
    const size_t rowBytes = size_t(width) * 3;
    if (size != rowBytes * size_t(height))
        return {};
    QImage picture(width, height, QImage::Format_RGB888);
    if (picture.isNull())
        return {};
    const auto *source = static_cast<const uchar *>(pixels.get());
    for (int y = 0; y < height; ++y)
        std::memcpy(picture.scanLine(y), source + rowBytes * size_t(y), rowBytes);
    return picture;
}

Image fromPicture(const QImage &picture)
{
    if (picture.isNull() || !libraryReady())
        return {};
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    const int width = rgb.width();
    const int height = rgb.height();
    const size_t rowBytes = size_t(width) * 3;
    QByteArray packed(qsizetype(rowBytes * size_t(height)), Qt::Uninitialized);
    for (int y = 0; y < height; ++y)
        std::memcpy(packed.data() + rowBytes * size_t(y), rgb.constScanLine(y), rowBytes);
    VipsImage *image = vips_image_new_from_memory_copy(packed.constData(), size_t(packed.size()),
                                                       width, height, 3, VIPS_FORMAT_UCHAR);
    if (!image) {
        vips_error_clear();
        return {};
    }
    image->Type = VIPS_INTERPRETATION_sRGB;
    return Image(image);
}

bool validBox(QSize box)
{
    return validSide(box.width()) && validSide(box.height());
}

// The first `limit` bytes of a JPEG file (all of it by default); empty for any other file, which
// the fast path leaves to the general decoder.
QByteArray jpegFileBytes(const QString &path, qint64 limit = -1)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.peek(3).startsWith("\xFF\xD8\xFF"))
        return {};
    return limit < 0 ? file.readAll() : file.read(limit);
}

QImage loadScaledBuffer(QByteArrayView bytes, int width, int height, VipsSize mode)
{
    if (!validSide(width) || !validSide(height) || !isCataloguedKind(bytes.first(std::min<qsizetype>(bytes.size(), 4)))
        || !libraryReady())
        return {};
    VipsImage *out = nullptr; // reads `bytes` until toPicture returns
    const int status = vips_thumbnail_buffer(const_cast<char *>(bytes.data()), size_t(bytes.size()), &out, width,
                                             "height", height, "size", mode, "fail_on", VIPS_FAIL_ON_TRUNCATED, nullptr);
    return toPicture(adopt(out, status));
}

QImage loadScaled(const QString &path, int width, int height, VipsSize mode)
{
    if (nameReadAsOptions(path))
        return loadScaledBuffer(fileBytes(path), width, height, mode);
    if (!validSide(width) || !validSide(height) || !isCataloguedFile(path) || !libraryReady())
        return {};
    VipsImage *out = nullptr;
    // The loader decodes at the smallest scale that still covers the box (JPEG's own 1/2, 1/4,
    // 1/8 decoding, or a TIFF's smaller page), and turns the picture upright.
    const int status = vips_thumbnail(QFile::encodeName(path).constData(), &out, width, "height", height, "size",
                                      mode, "fail_on", VIPS_FAIL_ON_TRUNCATED, nullptr);
    return toPicture(adopt(out, status));
}

QSize sizeFromBuffer(QByteArrayView bytes)
{
    if (!isCataloguedKind(bytes.first(std::min<qsizetype>(bytes.size(), 4))) || !libraryReady())
        return {0, 0};
    const Image image = adopt(vips_image_new_from_buffer(bytes.data(), size_t(bytes.size()), "", nullptr));
    if (!image)
        return {0, 0};
    const int width = vips_image_get_width(image.get());
    const int height = vips_image_get_height(image.get());
    return vips_image_get_orientation_swap(image.get()) ? QSize(height, width) : QSize(width, height);
}

} // namespace

ThumbnailMaker::ThumbnailMaker()
{
    libraryReady();
}

// Frees the library's buffers kept for the calling thread, which it cannot know has finished.
ThumbnailMaker::~ThumbnailMaker()
{
    vips_thread_shutdown();
}

QSize ThumbnailMaker::imageSize(const QString &path) const
{
    if (const auto header = jpegDecoder::readHeader(jpegFileBytes(path, kJpegHeadBytes)))
        return header->shownSize();
    if (!isCataloguedFile(path) || !libraryReady())
        return {0, 0};
    if (nameReadAsOptions(path))
        return sizeFromBuffer(fileBytes(path));
    // Opening only reads the header; the pixels are decoded when first asked for, which never
    // happens here.
    const Image image = adopt(vips_image_new_from_file(QFile::encodeName(path).constData(), nullptr));
    if (!image)
        return {0, 0};
    const int width = vips_image_get_width(image.get());
    const int height = vips_image_get_height(image.get());
    return vips_image_get_orientation_swap(image.get()) ? QSize(height, width) : QSize(width, height);
}

QSize ThumbnailMaker::imageSizeFromBytes(QByteArrayView fileImage) const
{
    if (const auto header = jpegDecoder::readHeader(fileImage))
        return header->shownSize();
    return sizeFromBuffer(fileImage);
}

QImage ThumbnailMaker::loadThumbnail(const QString &path, int boxWidth, int boxHeight) const
{
    return loadScaled(path, boxWidth, boxHeight, VIPS_SIZE_DOWN);
}

// JPEG files go through the fast path first; whatever it declines, the general decoder decides.
QImage ThumbnailMaker::loadAtSize(const QString &path, QSize size) const
{
    if (!validBox(size))
        return {};
    QImage picture = jpegDecoder::decodeAtSize(jpegFileBytes(path), size);
    return picture.isNull() ? loadScaled(path, size.width(), size.height(), VIPS_SIZE_FORCE) : picture;
}

QImage ThumbnailMaker::loadAtSizeFromBytes(QByteArrayView fileImage, QSize size) const
{
    if (!validBox(size))
        return {};
    QImage picture = jpegDecoder::decodeAtSize(fileImage, size);
    return picture.isNull() ? loadScaledBuffer(fileImage, size.width(), size.height(), VIPS_SIZE_FORCE) : picture;
}

QImage ThumbnailMaker::makeThumbnail(const QImage &picture, int width, int height) const
{
    if (!validSide(width) || !validSide(height))
        return {};
    const Image source = fromPicture(picture);
    if (!source)
        return {};
    VipsImage *out = nullptr;
    const int status = vips_thumbnail_image(source.get(), &out, width, "height", height,
                                            "size", VIPS_SIZE_FORCE, nullptr);
    return toPicture(adopt(out, status));
}

QImage ThumbnailMaker::decode(QByteArrayView bytes) const
{
    if (!isCataloguedKind(bytes.first(std::min<qsizetype>(bytes.size(), 4))) || !libraryReady())
        return {};
    VipsImage *raw = vips_image_new_from_buffer(bytes.data(), size_t(bytes.size()), "",
                                                "fail_on", VIPS_FAIL_ON_TRUNCATED, nullptr);
    Image image = adopt(raw);
    VipsImage *out = nullptr;
    if (!image || !advance(image, vips_autorot(image.get(), &out, nullptr), out))
        return {};
    return toPicture(std::move(image));
}

// Straight through libjpeg: the general library's setup would cost more than encoding a
// thumbnail.
QByteArray ThumbnailMaker::encodeJpeg(const QImage &picture) const
{
    return jpegDecoder::encode(picture, kJpegQuality);
}

bool ThumbnailMaker::saveJpeg(const QImage &picture, const QString &path) const
{
    const QByteArray bytes = encodeJpeg(picture);
    if (bytes.isEmpty())
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

QString ThumbnailMaker::libraryVersion()
{
    return QStringLiteral("libvips ") + QString::fromLatin1(vips_version_string());
}

} // namespace zelvarion
