#include "platform/ThumbnailMaker.h"

#include "platform/FileNames.h"
#include "platform/JpegDecoder.h"
#include "platform/VipsDecoder.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace zelvarion {
namespace {

// Largest side the program asks for; far above any thumbnail, well below the library's limit.
constexpr int kMaxSide = 10000;
constexpr int kJpegQuality = 85;
// A JPEG's header, with its Exif and colour profile blocks, nearly always lies in this many first
// bytes; one that does not is read by the general decoder.
constexpr qint64 kJpegHeadBytes = 256 * 1024;

// JPEG, TIFF (classic and big) and Photoshop files only: other formats would reach general
// purpose loaders that were never meant for untrusted files.
bool isCataloguedKind(QByteArrayView head)
{
    return head.startsWith("\xFF\xD8\xFF") || head.startsWith(QByteArrayView("II*\0", 4))
           || head.startsWith(QByteArrayView("MM\0*", 4)) || head.startsWith(QByteArrayView("II+\0", 4))
           || head.startsWith(QByteArrayView("MM\0+", 4)) || head.startsWith("8BPS");
}

bool isCataloguedBytes(QByteArrayView bytes)
{
    return isCataloguedKind(bytes.first(std::min<qsizetype>(bytes.size(), 4)));
}

// Catalogued paths may name files whose names are not UTF-8: they are opened by their own bytes.
bool isCataloguedFile(const QString &path)
{
    QFile file;
    return filenames::openForReading(file, path) && isCataloguedKind(file.read(4));
}

// The general decoder reads load options from a trailing "[...]" of a file name, and would take
// "photo[2]" for "photo" with options; such files are handed over as bytes instead.
bool nameReadAsOptions(const QString &path)
{
    return path.endsWith(u']');
}

QByteArray fileBytes(const QString &path)
{
    QFile file;
    return filenames::openForReading(file, path) ? file.readAll() : QByteArray();
}

bool validSide(int side)
{
    return side >= 1 && side <= kMaxSide;
}

bool validBox(QSize box)
{
    return validSide(box.width()) && validSide(box.height());
}

// The first `limit` bytes of a JPEG file (all of it by default); empty for any other file, which
// the fast path leaves to the general decoder.
QByteArray jpegFileBytes(const QString &path, qint64 limit = -1)
{
    QFile file;
    if (!filenames::openForReading(file, path) || !file.peek(3).startsWith("\xFF\xD8\xFF"))
        return {};
    return limit < 0 ? file.readAll() : file.read(limit);
}

QImage loadScaledBuffer(QByteArrayView bytes, int width, int height, bool force)
{
    if (!validSide(width) || !validSide(height) || !isCataloguedBytes(bytes))
        return {};
    const VipsDecoder *general = vipsDecoder();
    return general ? general->loadScaledFromBytes(bytes, width, height, force) : QImage();
}

QImage loadScaled(const QString &path, int width, int height, bool force)
{
    if (nameReadAsOptions(path))
        return loadScaledBuffer(fileBytes(path), width, height, force);
    if (!validSide(width) || !validSide(height) || !isCataloguedFile(path))
        return {};
    const VipsDecoder *general = vipsDecoder();
    return general ? general->loadScaled(filenames::encode(path), width, height, force) : QImage();
}

QSize sizeFromBuffer(QByteArrayView bytes)
{
    const VipsDecoder *general = isCataloguedBytes(bytes) ? vipsDecoder() : nullptr;
    return general ? general->imageSizeFromBytes(bytes) : QSize(0, 0);
}

} // namespace

// The general decoder is loaded when a file first needs it, not here.
ThumbnailMaker::ThumbnailMaker() = default;

// Frees the general decoder's buffers kept for the calling thread, which it cannot know has
// finished.
ThumbnailMaker::~ThumbnailMaker()
{
    if (const VipsDecoder *general = loadedVipsDecoder())
        general->releaseThread();
}

QSize ThumbnailMaker::imageSize(const QString &path) const
{
    if (const auto header = jpegDecoder::readHeader(jpegFileBytes(path, kJpegHeadBytes)))
        return header->shownSize();
    if (!isCataloguedFile(path))
        return {0, 0};
    if (nameReadAsOptions(path))
        return sizeFromBuffer(fileBytes(path));
    const VipsDecoder *general = vipsDecoder();
    return general ? general->imageSize(filenames::encode(path)) : QSize(0, 0);
}

QSize ThumbnailMaker::imageSizeFromBytes(QByteArrayView fileImage) const
{
    if (const auto header = jpegDecoder::readHeader(fileImage))
        return header->shownSize();
    return sizeFromBuffer(fileImage);
}

QImage ThumbnailMaker::loadThumbnail(const QString &path, int boxWidth, int boxHeight) const
{
    return loadScaled(path, boxWidth, boxHeight, false);
}

// JPEG files go through the fast path first; whatever it declines, the general decoder decides.
QImage ThumbnailMaker::loadAtSize(const QString &path, QSize size) const
{
    if (!validBox(size))
        return {};
    QImage picture = jpegDecoder::decodeAtSize(jpegFileBytes(path), size);
    return picture.isNull() ? loadScaled(path, size.width(), size.height(), true) : picture;
}

QImage ThumbnailMaker::loadAtSizeFromBytes(QByteArrayView fileImage, QSize size) const
{
    if (!validBox(size))
        return {};
    QImage picture = jpegDecoder::decodeAtSize(fileImage, size);
    return picture.isNull() ? loadScaledBuffer(fileImage, size.width(), size.height(), true) : picture;
}

QImage ThumbnailMaker::makeThumbnail(const QImage &picture, int width, int height) const
{
    if (!validSide(width) || !validSide(height) || picture.isNull())
        return {};
    const VipsDecoder *general = vipsDecoder();
    return general ? general->scaled(picture, width, height) : QImage();
}

QImage ThumbnailMaker::decode(QByteArrayView bytes) const
{
    if (!isCataloguedBytes(bytes))
        return {};
    const VipsDecoder *general = vipsDecoder();
    return general ? general->decode(bytes) : QImage();
}

// Straight through libjpeg: the general library's setup would cost more than encoding a
// thumbnail.
QByteArray ThumbnailMaker::encodeJpeg(const QImage &picture) const
{
    return jpegDecoder::encode(picture, kJpegQuality);
}

bool ThumbnailMaker::saveJpeg(const QImage &picture, const QString &path) const
{
    const QByteArray bytes = encodeJpeg(picture);
    if (bytes.isEmpty())
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

QString ThumbnailMaker::libraryVersion()
{
    const VipsDecoder *general = vipsDecoder();
    return general ? general->version() : QStringLiteral("libvips (not loaded)");
}

} // namespace zelvarion
