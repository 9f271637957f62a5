#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

namespace zelvarion {

// The image component through which the program decodes image files (JPEG, TIFF and Photoshop
// files, recognised by their first bytes) and writes JPEG thumbnails. Files are only read, never
// changed. Every failure (unreadable, truncated or foreign file) gives an empty result. Each
// caller keeps its own instance; instances may be used on several threads at once.
class ThumbnailMaker
{
public:
    ThumbnailMaker();

    // "libvips 8.14.1", for the About box.
    static QString libraryVersion();
    ~ThumbnailMaker();
    ThumbnailMaker(const ThumbnailMaker &) = delete;
    ThumbnailMaker &operator=(const ThumbnailMaker &) = delete;

    // Pixel size as the picture is shown (turned upright by its orientation tag), read from the
    // file's header without decoding the pixels; 0 by 0 when the file cannot be read.
    QSize imageSize(const QString &path) const;

    // The same for a whole file image held in memory, so a caller reading the file once can give
    // its bytes to both steps.
    QSize imageSizeFromBytes(QByteArrayView fileImage) const;

    // The picture scaled down to fit in boxWidth by boxHeight, keeping its proportions; a picture
    // that already fits keeps its size. The decoder skips the pixels it does not need.
    QImage loadThumbnail(const QString &path, int boxWidth, int boxHeight) const;

    // The picture scaled to exactly `size` (the scan's thumbnail), decoded at the smallest
    // resolution that still gives that size.
    QImage loadAtSize(const QString &path, QSize size) const;
    QImage loadAtSizeFromBytes(QByteArrayView fileImage, QSize size) const;

    // The picture scaled to exactly width by height.
    QImage makeThumbnail(const QImage &picture, int width, int height) const;

    // A picture held in memory, such as a stored thumbnail.
    QImage decode(QByteArrayView bytes) const;

    // The picture as a baseline JPEG file image; empty for an empty picture.
    QByteArray encodeJpeg(const QImage &picture) const;

    // Writes the picture as a JPEG file through a temporary file renamed into place, so a failed
    // save leaves no file (and an existing one untouched).
    bool saveJpeg(const QImage &picture, const QString &path) const;
};

} // namespace zelvarion
