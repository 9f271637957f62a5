// One input as a TIFF structure and as the Exif data of a JPEG: the tag 33723 found lies inside
// the bytes, and the reader takes the same IIM from a TIFF file as from the tag's block alone.
#include "core/iptc/IimElsewhere.h"
#include "core/iptc/IptcReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace zelvarion;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool inside(QByteArrayView part, QByteArrayView whole)
{
    return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

QByteArray asExifJpeg(QByteArrayView tiff)
{
    QByteArray jpeg("\xFF\xD8\xFF\xE1", 4);
    const qsizetype length = std::min<qsizetype>(tiff.size(), 60000) + 8;
    jpeg += char(length >> 8);
    jpeg += char(length & 0xFF);
    jpeg += QByteArrayView("Exif\0\0", 6);
    jpeg += tiff.first(length - 8);
    jpeg += QByteArrayView("\xFF\xDA\x00\x02\x12\x34\xFF\xD9", 8);
    return jpeg;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<QByteArrayView> block = tiffIimTag(bytes);
    check(!block || inside(*block, bytes));
    const IptcReadResult read = readIptcFromBytes(bytes, QStringLiteral("fuzz.tif"), QStringLiteral("Field"));
    // The tag counts only where no image resource was found.
    check(read.source != IptcSource::TiffTag || (block && !read.segment));
    const QByteArray jpeg = asExifJpeg(bytes);
    const std::optional<QByteArrayView> exif = exifIimTag(jpeg);
    check(!exif || inside(*exif, jpeg));
    (void)readIptcFromBytes(jpeg, QStringLiteral("fuzz.jpg"), QStringLiteral("Field"));
    return 0;
}
