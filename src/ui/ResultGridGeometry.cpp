#include "ui/ResultGridGeometry.h"

#include "core/catalogue/ThumbnailSizing.h"
#include "core/session/Twips.h"

#include <algorithm>
#include <cmath>

namespace zelvarion::gridGeometry {
namespace {

// Label lefts and tops in twips relative to the frame, at the designed size.
constexpr int kCellLefts[] = {120, 2160, 4200, 6240, 8280};
constexpr int kCellTops[] = {1620, 3420};
constexpr int kLabelHeightTwips = 432;
constexpr int kFrameBottomMargin = 4;

int scaled(int pixelsAtDesign, double factor)
{
    return int(std::lround(pixelsAtDesign * factor));
}

QSize boxSize(GridScale scale)
{
    const QSize design = pixels(QRect(QPoint(), thumbnailSizing::kMaxBoxTwips)).size();
    return {scaled(design.width(), scale.size), scaled(design.height(), scale.size)};
}

} // namespace

QRect nameRect(int cell, GridScale scale)
{
    const int designWidth = pixels(thumbnailSizing::kMaxBoxTwips.width());
    const int designCentre = pixels(kCellLefts[cell % 5]) * 2 + designWidth; // twice the centre
    const int width = boxSize(scale).width();
    const int left = int(std::lround((designCentre * scale.across - width) / 2.0));
    // The name keeps its text size: only its top follows the rows.
    return {left, scaled(pixels(kCellTops[cell / 5]), scale.size), width, pixels(kLabelHeightTwips)};
}

QRect boxRect(int cell, GridScale scale)
{
    const QRect name = nameRect(cell, scale);
    const QSize box = boxSize(scale);
    return {QPoint(name.left(), name.top() - box.height()), box};
}

QSize frameSize(GridScale scale)
{
    return {scaled(kDesignFrameWidth, scale.across), nameRect(9, scale).bottom() + 1 + kFrameBottomMargin};
}

GridScale scaleFor(QSize room)
{
    const double across = std::max(1.0, double(room.width()) / kDesignFrameWidth);
    const int fixedPart = pixels(kLabelHeightTwips) + kFrameBottomMargin + 1;
    const double down = double(room.height() - fixedPart) / pixels(kCellTops[1]);
    return {across, std::clamp(down, 1.0, across)};
}

} // namespace zelvarion::gridGeometry
