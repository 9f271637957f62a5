#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSize>

#include <optional>

// A fast path for the commonest catalogued files, baseline and progressive JPEG in grey or
// colour: the header and a decode at the JPEG's own 1/8, 1/4 or 1/2 scale straight from memory,
// without the general decoder's per-picture setup. Anything it is not sure to show exactly as the
// general decoder does (CMYK, an unreadable orientation tag, any error or warning of the JPEG
// library, truncated data included) gives no result, and the caller falls back to the general
// decoder, which then decides. Also the thumbnails' encoder, for the same setup cost. Safe to use
// on several threads at once.
namespace zelvarion::jpegDecoder {

struct JpegHeader
{
    QSize storedSize; // as coded in the file
    int orientation = 1; // 1-8, from the Exif block

    // The size as the picture is shown, turned upright.
    QSize shownSize() const;
};

// The header of a JPEG file image; nothing when the fast path cannot handle it.
std::optional<JpegHeader> readHeader(QByteArrayView fileImage);

// The orientation that the data of an APP1 segment give when they are an Exif block ("Exif\0\0"
// and a TIFF structure): the tag of the first directory, 1 without it; nothing when the block is
// no Exif block, is damaged, or the tag is odd.
std::optional<int> exifOrientation(QByteArrayView app1Data);

// The picture turned upright and scaled to exactly `shown`, decoded at the smallest of the JPEG's
// own scales that still covers it; null when the fast path cannot.
QImage decodeAtSize(QByteArrayView fileImage, QSize shown);

// The picture as a baseline JPEG file image at `quality` (1-100), without metadata; empty for an
// empty picture or on failure.
QByteArray encode(const QImage &picture, int quality);

} // namespace zelvarion::jpegDecoder
