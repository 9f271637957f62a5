#pragma once

#include <QString>

namespace zelvarion::test {

enum class SampleKind { Rgb8, Grey8, Rgb16, Grey16, RgbWithClearAlpha, Cmyk };

// Writes a picture of one flat colour in the format the file name's extension asks for (.jpg,
// .tif, .png). Colour bands hold `value` (scaled up for 16-bit kinds; ink amount for CMYK); the
// alpha band of RgbWithClearAlpha is fully transparent. `orientation` (1-8) is stored in the EXIF
// block of a JPEG. Returns whether the file was written.
bool writeSample(const QString &path, int width, int height, SampleKind kind, int value = 128,
                 int orientation = 1);

} // namespace zelvarion::test
