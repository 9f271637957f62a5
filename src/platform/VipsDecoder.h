#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

namespace zelvarion {

// The general image decoder over libvips, for the files the JPEG fast path leaves to it. It lives
// in a module of its own (libzelvarion_vips.so beside the executables) that is loaded at its first
// use: libvips pulls in about a hundred libraries whose loading costs every process tens of
// milliseconds, and most runs (searches, reads, scans of JPEG files) never need it.
//
// Callers check sizes and file kinds first; every failure gives an empty result. Safe to use on
// several threads at once.
class VipsDecoder
{
public:
    // "libvips 8.14.1".
    virtual QString version() const = 0;
    // Files are named by the bytes of their path (filenames::encode), which need not be UTF-8.
    // Pixel size as shown (turned upright by the orientation tag), from the header only.
    virtual QSize imageSize(const QByteArray &nativePath) const = 0;
    virtual QSize imageSizeFromBytes(QByteArrayView fileImage) const = 0;
    // The picture scaled into width by height (force: to exactly that size), decoded at the
    // smallest resolution that serves, turned upright.
    virtual QImage loadScaled(const QByteArray &nativePath, int width, int height, bool force) const = 0;
    virtual QImage loadScaledFromBytes(QByteArrayView fileImage, int width, int height, bool force) const = 0;
    // A picture in memory scaled to exactly width by height.
    virtual QImage scaled(const QImage &picture, int width, int height) const = 0;
    // A picture held in memory (a stored thumbnail), turned upright.
    virtual QImage decode(QByteArrayView fileImage) const = 0;
    // Frees what the library keeps for the calling thread.
    virtual void releaseThread() const = 0;

protected:
    ~VipsDecoder() = default;
};

// The decoder, loading its module on the first call; nothing when the module cannot be loaded or
// the library cannot start (said once on the error stream).
const VipsDecoder *vipsDecoder();

// The decoder, only when an earlier call loaded it.
const VipsDecoder *loadedVipsDecoder();

} // namespace zelvarion

// What the module exports: its one decoder.
extern "C" const zelvarion::VipsDecoder *zelvarion_vips_decoder();
