#pragma once

#include <QByteArrayView>
#include <optional>

namespace zelvarion {

// IIM data that files keep outside an image resource 0x0404. Each finder reads only the bytes it
// is given, gives the IIM block as a view into them, and nothing when there is none.

// The value of tag 33723 in the first directory of a TIFF structure (a TIFF file, or the Exif
// data of a JPEG file after their "Exif\0\0").
std::optional<QByteArrayView> tiffIimTag(QByteArrayView tiff);

// The tag 33723 of a JPEG file's Exif segment.
std::optional<QByteArrayView> exifIimTag(QByteArrayView jpeg);

// Where the image data of a JPEG file end: the position of its end-of-image marker, found by
// walking the header and then the scans (so markers inside an embedded preview do not count).
std::optional<qsizetype> jpegEndOfImage(QByteArrayView jpeg);

// An IIM block after the end-of-image marker, as archive programs append it: the first run of
// well-formed datasets (records in ascending order) holding at least one of record 2.
std::optional<QByteArrayView> jpegTrailerIim(QByteArrayView jpeg);

// The longest run of well-formed datasets starting at `at`: its length in bytes (0 when none
// starts there), and whether it holds a record-2 dataset.
struct IimRun
{
    qsizetype length = 0;
    bool hasRecord2 = false;
};
IimRun iimRunAt(QByteArrayView bytes, qsizetype at);

} // namespace zelvarion
