#pragma once

#include <cmath>

namespace zelvarion {

// Window positions and sizes are kept in twips, 15 to a logical pixel.
constexpr int kTwipsPerPixel = 15;

constexpr int twips(int pixels) { return pixels * kTwipsPerPixel; }
inline int pixels(double twipsValue) { return int(std::lround(twipsValue / kTwipsPerPixel)); }

} // namespace zelvarion
