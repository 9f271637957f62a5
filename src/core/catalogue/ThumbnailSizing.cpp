#include "core/catalogue/ThumbnailSizing.h"

#include <algorithm>
#include <cmath>

namespace zelvarion::thumbnailSizing {
namespace {

// Half up, as the sizes are positive; a side never vanishes.
int roundedSide(double value)
{
    return std::max(1, int(std::floor(value + 0.5)));
}

struct Extent
{
    double width;
    double height;
};

// The box as exact fractions, rounded only at the end so the two rounding steps of the scan
// (box, then thumbnail) cannot add up to a second pixel of error.
Extent fitBox(double width, double height)
{
    const double maxWidth = kMaxBoxTwips.width();
    const double maxHeight = kMaxBoxTwips.height();
    if (width <= maxWidth && height <= maxHeight)
        return {width, height};
    // Always the full height: a picture wider than 3 to 2 is squeezed to the full width, so every
    // thumbnail of a larger picture fills the 180 by 120 cell in height.
    return {std::min(width * maxHeight / height, maxWidth), maxHeight};
}

bool isEmpty(QSize size)
{
    return size.width() <= 0 || size.height() <= 0;
}

} // namespace

QSize fitBoxTwips(QSize twips)
{
    if (isEmpty(twips))
        return {};
    const Extent box = fitBox(twips.width(), twips.height());
    return {roundedSide(box.width), roundedSide(box.height)};
}

QSize scanThumbnailSize(QSize pixels)
{
    if (isEmpty(pixels))
        return {};
    const Extent box = fitBox(double(pixels.width()) * kTwipsPerPixel,
                              double(pixels.height()) * kTwipsPerPixel);
    return {roundedSide(box.width / kTwipsPerThumbnailPixel),
            roundedSide(box.height / kTwipsPerThumbnailPixel)};
}

} // namespace zelvarion::thumbnailSizing
