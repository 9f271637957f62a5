#pragma once

#include <QRect>

#include <cmath>

namespace zelvarion {

// Window positions and sizes, and the sizes of the thumbnail rules, are kept in twips: 15 to a
// logical pixel (96 dots per inch).
constexpr int kTwipsPerPixel = 15;

constexpr int twips(int pixels) { return pixels * kTwipsPerPixel; }
inline int pixels(double twipsValue) { return int(std::lround(twipsValue / kTwipsPerPixel)); }

inline QRect twips(const QRect &pixelRect)
{
    return {twips(pixelRect.x()), twips(pixelRect.y()), twips(pixelRect.width()), twips(pixelRect.height())};
}

inline QRect pixels(const QRect &twipsRect)
{
    return {pixels(twipsRect.x()), pixels(twipsRect.y()), pixels(twipsRect.width()), pixels(twipsRect.height())};
}

} // namespace zelvarion
