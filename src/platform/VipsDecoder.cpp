// The module libzelvarion_vips.so: the only place that includes the libvips headers.
#include "platform/VipsDecoder.h"

#include <vips/vips.h>

#include <cstring>
#include <memory>
#include <mutex>

namespace zelvarion {
namespace {

struct ImageUnref
{
    void operator()(VipsImage *image) const { g_object_unref(image); }
};
using Image = std::unique_ptr<VipsImage, ImageUnref>;

void dropLibraryWarning(const gchar *, GLogLevelFlags, const gchar *, gpointer) {}

// Starts the library once; false when it could not start.
bool startLibrary()
{
    if (VIPS_INIT("zelvarion") != 0)
        return false;
    // Callers run one file per thread; inner threads would only compete with them.
    vips_concurrency_set(1);
    // Thumbnails of thousands of files: nothing is worth keeping between files.
    vips_cache_set_max(0);
    // Unreadable files are reported by an empty result; the library's own warnings about them
    // would only flood the terminal of a long scan.
    g_log_set_handler("VIPS", G_LOG_LEVEL_WARNING, dropLibraryWarning, nullptr);
    return true;
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
    if (picture.isNull())
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

QSize shownSize(const Image &image)
{
    if (!image)
        return {0, 0};
    const int width = vips_image_get_width(image.get());
    const int height = vips_image_get_height(image.get());
    return vips_image_get_orientation_swap(image.get()) ? QSize(height, width) : QSize(width, height);
}

VipsSize sizeMode(bool force) { return force ? VIPS_SIZE_FORCE : VIPS_SIZE_DOWN; }

class LibvipsDecoder final : public VipsDecoder
{
public:
    QString version() const override
    {
        return QStringLiteral("libvips ") + QString::fromLatin1(vips_version_string());
    }

    QSize imageSize(const QByteArray &nativePath) const override
    {
        // Opening only reads the header; the pixels are decoded when first asked for, which
        // never happens here.
        return shownSize(adopt(vips_image_new_from_file(nativePath.constData(), nullptr)));
    }

    QSize imageSizeFromBytes(QByteArrayView bytes) const override
    {
        return shownSize(adopt(vips_image_new_from_buffer(bytes.data(), size_t(bytes.size()), "", nullptr)));
    }

    QImage loadScaled(const QByteArray &nativePath, int width, int height, bool force) const override
    {
        VipsImage *out = nullptr;
        // The loader decodes at the smallest scale that still covers the box (JPEG's own 1/2,
        // 1/4, 1/8 decoding, or a TIFF's smaller page), and turns the picture upright.
        const int status = vips_thumbnail(nativePath.constData(), &out, width, "height", height, "size",
                                          sizeMode(force), "fail_on", VIPS_FAIL_ON_TRUNCATED, nullptr);
        return toPicture(adopt(out, status));
    }

    QImage loadScaledFromBytes(QByteArrayView bytes, int width, int height, bool force) const override
    {
        VipsImage *out = nullptr; // reads `bytes` until toPicture returns
        const int status = vips_thumbnail_buffer(const_cast<char *>(bytes.data()), size_t(bytes.size()), &out, width,
                                                 "height", height, "size", sizeMode(force), "fail_on",
                                                 VIPS_FAIL_ON_TRUNCATED, nullptr);
        return toPicture(adopt(out, status));
    }

    QImage scaled(const QImage &picture, int width, int height) const override
    {
        const Image source = fromPicture(picture);
        if (!source)
            return {};
        VipsImage *out = nullptr;
        const int status = vips_thumbnail_image(source.get(), &out, width, "height", height, "size",
                                                VIPS_SIZE_FORCE, nullptr);
        return toPicture(adopt(out, status));
    }

    QImage decode(QByteArrayView bytes) const override
    {
        VipsImage *raw = vips_image_new_from_buffer(bytes.data(), size_t(bytes.size()), "", "fail_on",
                                                    VIPS_FAIL_ON_TRUNCATED, nullptr);
        Image image = adopt(raw);
        VipsImage *out = nullptr;
        if (!image || !advance(image, vips_autorot(image.get(), &out, nullptr), out))
            return {};
        return toPicture(std::move(image));
    }

    void releaseThread() const override { vips_thread_shutdown(); }
};

} // namespace
} // namespace zelvarion

extern "C" __attribute__((visibility("default"))) const zelvarion::VipsDecoder *zelvarion_vips_decoder()
{
    static std::once_flag started;
    static bool ready = false;
    std::call_once(started, [] { ready = zelvarion::startLibrary(); });
    static const zelvarion::LibvipsDecoder decoder;
    return ready ? &decoder : nullptr;
}
