// One input as a JPEG file given new IPTC, the whole write path in a dry run: the XMP packet
// found, parsed, brought in step and serialised again, the digest resource decided, the file
// composed. The packet also goes to the XMP reader on its own.
#include "core/iptc/IptcDigest.h"
#include "core/iptc/IptcReader.h"
#include "core/iptc/IptcWriter.h"
#include "core/iptc/JpegSegments.h"
#include "core/iptc/XmpMirror.h"

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

// A caption this write changed is in the written XMP; one it left is not its business.
void checkWrittenXmp(QByteArrayView original, QByteArrayView written, const IptcFieldSet &values)
{
    const IptcReadResult before = readIptcFromBytes(original, QStringLiteral("fuzz.jpg"), QStringLiteral("Field"));
    if (before.fields.values[kCaptionIndex] == values.values[kCaptionIndex])
        return;
    const std::optional<XmpSegment> xmp = findXmpSegment(written);
    if (!xmp)
        return;
    const std::optional<XmpDocument> document = XmpDocument::parse(xmp->packet);
    if (!document)
        return; // a packet the write left untouched may still be unreadable
    IptcReadResult fromXmp;
    readIimFieldsFromXmp(*document, fromXmp);
    check(fromXmp.fields.values[kCaptionIndex] == values.values[kCaptionIndex]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<XmpDocument> document = XmpDocument::parse(bytes)) {
        IptcReadResult read;
        readIimFieldsFromXmp(*document, read);
    }
    (void)withIptcDigest(bytes, iimDigest(bytes));
    if (!bytes.startsWith(QByteArrayView("\xFF\xD8", 2)))
        return 0;
    (void)iptcDigestState(bytes, findIptcSegmentOnChain(bytes));
    JpegForRewrite read;
    read.content = bytes.toByteArray();
    IptcFieldSet values;
    values.values[kCaptionIndex] = QStringLiteral("caption in step");
    const IptcWriteResult result = rewriteImageIptc(QStringLiteral("/nonexistent/fuzz.jpg"), read, values,
                                                    {QStringLiteral("k")}, {}, {}, {}, true);
    if (result.written && !result.content.isEmpty()) {
        const QByteArray written = result.content.joined();
        check(written.startsWith(QByteArrayView("\xFF\xD8", 2)));
        checkWrittenXmp(bytes, written, values);
    }
    return 0;
}
