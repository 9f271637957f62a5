#include "SampleImages.h"

#include <QFile>

#include <vips/vips.h>

#include <memory>

namespace zelvarion::test {
namespace {

struct Unref
{
    void operator()(VipsImage *image) const { g_object_unref(image); }
};
using Image = std::unique_ptr<VipsImage, Unref>;

// `out` by reference: read after the operation in the same call has filled it.
Image next(int status, VipsImage *&out)
{
    return status == 0 ? Image(out) : Image();
}

Image flat(int width, int height, int bands, double value, VipsBandFormat format)
{
    VipsImage *out = nullptr;
    Image black = next(vips_black(&out, width, height, "bands", bands, nullptr), out);
    if (!black)
        return {};
    Image filled = next(vips_linear1(black.get(), &out, 1.0, value, nullptr), out);
    if (!filled)
        return {};
    return next(vips_cast(filled.get(), &out, format, nullptr), out);
}

Image withInterpretation(Image image, VipsInterpretation interpretation)
{
    VipsImage *out = nullptr;
    return image ? next(vips_copy(image.get(), &out, "interpretation", interpretation, nullptr), out)
                 : Image();
}

Image makeSample(int width, int height, SampleKind kind, int value)
{
    switch (kind) {
    case SampleKind::Rgb8:
        return withInterpretation(flat(width, height, 3, value, VIPS_FORMAT_UCHAR), VIPS_INTERPRETATION_sRGB);
    case SampleKind::Grey8:
        return withInterpretation(flat(width, height, 1, value, VIPS_FORMAT_UCHAR), VIPS_INTERPRETATION_B_W);
    case SampleKind::Rgb16:
        return withInterpretation(flat(width, height, 3, value * 257.0, VIPS_FORMAT_USHORT),
                                  VIPS_INTERPRETATION_RGB16);
    case SampleKind::Grey16:
        return withInterpretation(flat(width, height, 1, value * 257.0, VIPS_FORMAT_USHORT),
                                  VIPS_INTERPRETATION_GREY16);
    case SampleKind::Cmyk:
        return withInterpretation(flat(width, height, 4, value, VIPS_FORMAT_UCHAR), VIPS_INTERPRETATION_CMYK);
    case SampleKind::RgbWithClearAlpha: {
        const Image colour = flat(width, height, 3, value, VIPS_FORMAT_UCHAR);
        const Image alpha = flat(width, height, 1, 0, VIPS_FORMAT_UCHAR);
        VipsImage *out = nullptr;
        if (!colour || !alpha || vips_bandjoin2(colour.get(), alpha.get(), &out, nullptr) != 0)
            return {};
        return withInterpretation(Image(out), VIPS_INTERPRETATION_sRGB);
    }
    }
    return {};
}

} // namespace

bool writeSample(const QString &path, int width, int height, SampleKind kind, int value, int orientation)
{
    if (VIPS_INIT("zelvarion-test") != 0)
        return false;
    Image image = makeSample(width, height, kind, value);
    if (!image)
        return false;
    VipsImage *out = nullptr;
    image = next(vips_copy(image.get(), &out, nullptr), out); // a private copy to tag
    if (!image)
        return false;
    if (orientation != 1)
        vips_image_set_int(image.get(), VIPS_META_ORIENTATION, orientation);
    const bool written = vips_image_write_to_file(image.get(), QFile::encodeName(path).constData(), nullptr) == 0;
    vips_error_clear();
    return written;
}

} // namespace zelvarion::test
