// One input as a JPEG file and as the trailer of a small valid one: the end of the image lies
// inside the bytes, the trailer block after it, made of whole datasets in record order.
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

void checkTrailer(QByteArrayView jpeg)
{
    const std::optional<qsizetype> end = jpegEndOfImage(jpeg);
    check(!end || (*end >= 2 && *end + 2 <= jpeg.size()));
    const std::optional<QByteArrayView> block = jpegTrailerIim(jpeg);
    if (!block)
        return;
    check(end.has_value());
    const qsizetype at = block->data() - jpeg.data();
    check(at >= *end + 2 && at + block->size() <= jpeg.size());
    const IimRun run = iimRunAt(jpeg, at);
    check(run.length == block->size() && run.hasRecord2);
    const IptcReadResult read = readIptcFromBytes(jpeg, QStringLiteral("fuzz.jpg"), QStringLiteral("Field"));
    check(read.source == IptcSource::ImageResource || read.source == IptcSource::ExifTag
          || read.source == IptcSource::JpegTrailer);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkTrailer(bytes);
    QByteArray appended("\xFF\xD8\xFF\xDA\x00\x02\x12\xFF\x00\x34\xFF\xD9", 12);
    appended += bytes;
    checkTrailer(appended);
    for (qsizetype at : {qsizetype(0), bytes.size() / 2})
        check(iimRunAt(bytes, at).length <= bytes.size() - at);
    return 0;
}
