#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// The general decoder called directly, as the reference the JPEG fast path is held to.
namespace zelvarion::test {

// A picture with a gradient on each axis and soft waves: every turn and flip of it differs, and
// resampling it gives nearly the same pixels whatever the filter.
QImage patternPicture(int width, int height);

// The picture as a JPEG file image, with `orientation` in its Exif block; 0 writes no metadata.
QByteArray encodeReferenceJpeg(const QImage &picture, int orientation = 1, int quality = 92);

// The general decoder's header size (upright) and thumbnail of a file image; `exact` forces the
// size, otherwise the picture is fitted in the box without enlarging. Empty on failure.
QSize referenceSize(const QByteArray &fileImage);
QImage referenceThumbnail(const QByteArray &fileImage, QSize box, bool exact);

// Mean absolute difference per colour channel of two pictures of the same size; -1 otherwise.
double meanDifference(const QImage &a, const QImage &b);

} // namespace zelvarion::test
