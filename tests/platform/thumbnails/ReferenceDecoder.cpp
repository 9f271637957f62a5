#include "ReferenceDecoder.h"

#include <vips/vips.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace zelvarion::test {
namespace {

struct Unref
{
    void operator()(VipsImage *image) const { g_object_unref(image); }
};
using Image = std::unique_ptr<VipsImage, Unref>;

// `out` by reference: read after the operation in the same call has filled it.
Image adopt(int status, VipsImage *&out)
{
    if (status != 0) {
        vips_error_clear();
        return {};
    }
    return Image(out);
}

QImage toRgbPicture(Image image)
{
    VipsImage *out = nullptr;
    Image rgb = adopt(vips_colourspace(image.get(), &out, VIPS_INTERPRETATION_sRGB, nullptr), out);
    if (!rgb || vips_image_get_bands(rgb.get()) != 3)
        return {};
    size_t size = 0;
    const std::unique_ptr<void, decltype(&g_free)> pixels(vips_image_write_to_memory(rgb.get(), &size), &g_free);
    const int width = vips_image_get_width(rgb.get());
    const int height = vips_image_get_height(rgb.get());
    if (!pixels || size != size_t(width) * size_t(height) * 3)
        return {};
    QImage picture(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        std::memcpy(picture.scanLine(y), static_cast<const uchar *>(pixels.get()) + size_t(y) * width * 3,
                    size_t(width) * 3);
    return picture;
}

} // namespace

QImage patternPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int wave = int(127 + 100 * std::sin(x / 23.0) * std::cos(y / 31.0));
            picture.setPixel(x, y, qRgb(x * 255 / std::max(1, width - 1), y * 255 / std::max(1, height - 1), wave));
        }
    }
    return picture;
}

QByteArray encodeReferenceJpeg(const QImage &picture, int orientation, int quality)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    QByteArray packed;
    for (int y = 0; y < rgb.height(); ++y)
        packed.append(reinterpret_cast<const char *>(rgb.constScanLine(y)), rgb.width() * 3);
    Image image(vips_image_new_from_memory_copy(packed.constData(), size_t(packed.size()), rgb.width(), rgb.height(), 3,
                                                VIPS_FORMAT_UCHAR));
    if (!image)
        return {};
    image->Type = VIPS_INTERPRETATION_sRGB;
    if (orientation > 1)
        vips_image_set_int(image.get(), VIPS_META_ORIENTATION, orientation);
    void *buffer = nullptr;
    size_t length = 0;
    if (vips_jpegsave_buffer(image.get(), &buffer, &length, "Q", quality, "strip", orientation == 0, nullptr) != 0) {
        vips_error_clear();
        return {};
    }
    QByteArray bytes(static_cast<const char *>(buffer), qsizetype(length));
    g_free(buffer);
    return bytes;
}

QSize referenceSize(const QByteArray &fileImage)
{
    const Image image(vips_image_new_from_buffer(fileImage.constData(), size_t(fileImage.size()), "", nullptr));
    if (!image) {
        vips_error_clear();
        return {};
    }
    const QSize size(vips_image_get_width(image.get()), vips_image_get_height(image.get()));
    return vips_image_get_orientation_swap(image.get()) ? size.transposed() : size;
}

QImage referenceThumbnail(const QByteArray &fileImage, QSize box, bool exact)
{
    VipsImage *out = nullptr;
    const int status = vips_thumbnail_buffer(const_cast<char *>(fileImage.constData()), size_t(fileImage.size()), &out,
                                             box.width(), "height", box.height(), "size",
                                             exact ? VIPS_SIZE_FORCE : VIPS_SIZE_DOWN, "fail_on",
                                             VIPS_FAIL_ON_TRUNCATED, nullptr);
    Image image = adopt(status, out);
    return image ? toRgbPicture(std::move(image)) : QImage();
}

double meanDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return -1;
    const QImage left = a.convertToFormat(QImage::Format_RGB888);
    const QImage right = b.convertToFormat(QImage::Format_RGB888);
    double sum = 0;
    for (int y = 0; y < left.height(); ++y) {
        const uchar *p = left.constScanLine(y);
        const uchar *q = right.constScanLine(y);
        for (int i = 0; i < left.width() * 3; ++i)
            sum += std::abs(int(p[i]) - int(q[i]));
    }
    return sum / (double(left.width()) * left.height() * 3);
}

} // namespace zelvarion::test
