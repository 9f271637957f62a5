#pragma once

#include "core/session/Twips.h"

#include <QSize>

// Size rules for thumbnails. Sizes on screen are measured in twips (kTwipsPerPixel); the rules are
// written in twips because the preview area, the result cells and the thumbnail box share them.
namespace zelvarion::thumbnailSizing {

// The largest box a scan thumbnail, the preview or a result cell's thumbnail may take, in twips
// (120 by 80 pixels).
constexpr QSize kMaxBoxTwips{1800, 1200};

// A scan thumbnail is its box in twips divided by this: 1.5 pixels of thumbnail per pixel of a
// small source, at most 180 by 120 pixels.
constexpr int kTwipsPerThumbnailPixel = 10;

// The box the thumbnail maker fits a picture into when it makes one directly (fallback of the
// scan, the result grid, the template application), in pixels.
constexpr QSize kFallbackBox{210, 140};

// The box for a picture of `twips` size: left alone when it fits in 1800 by 1200, otherwise 1200
// high and as wide as its proportions give, at most 1800 (a picture wider than 3 to 2 is
// squeezed); never below 1 by 1, and an empty size stays empty. The scan sizes its thumbnails
// from it, and the database dialog's preview shows the last thumbnail at this size (it never enlarges a picture that fits).
QSize fitBoxTwips(QSize twips);

// The size of the thumbnail the scan makes from a source picture of `pixels` size:
// 1.5 P by 1.5 Q for P <= 120 and Q <= 80, otherwise 120 high and P * 120 / Q wide, at most 180
// (a source wider than 3 to 2 is squeezed to 180 by 120). Each side rounded half up, at least 1.
// An empty size (unreadable image) gives an empty size.
QSize scanThumbnailSize(QSize pixels);

} // namespace zelvarion::thumbnailSizing
