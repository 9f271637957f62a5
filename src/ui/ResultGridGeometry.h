#pragma once

#include <QRect>
#include <QSize>

// Where the ten result cells lie in the frame of the grid. At the designed size every cell keeps
// its twips position; a larger window spreads the cells across the frame's width and enlarges
// their thumbnail boxes, so the page stays ten images and no band of the frame stays empty.
namespace zelvarion::gridGeometry {

struct GridScale
{
    double across = 1.0; // how much wider the frame is than designed; the cells' centres follow
    double size = 1.0;   // how much larger the thumbnail boxes and row spacing are; at most `across`
    bool operator==(const GridScale &other) const = default;
};

constexpr int kDesignFrameWidth = 699;

// The file name label under the thumbnail box of `cell` (0 to 9).
QRect nameRect(int cell, GridScale scale);
// The box the thumbnail of `cell` is centred in.
QRect boxRect(int cell, GridScale scale);
QSize frameSize(GridScale scale);

// The largest scale whose frame fits in `room` (the frame's width and height allowed), never
// below the designed size; the boxes grow no faster than the frame widens.
GridScale scaleFor(QSize room);

} // namespace zelvarion::gridGeometry
