// One input runs through both byte parsers of the IPTC layer: the reader's resource search and
// dataset walk (also over heads of the input, which must settle only what the whole settles),
// and the writer's segment-chain walk, resource split and recomposition.
#include "core/iptc/IptcReader.h"
#include "core/iptc/IptcWriter.h"
#include "core/iptc/JpegSegments.h"
#include "ReferenceIptcSearch.h"

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

void exerciseWriter(QByteArrayView bytes, IptcFieldSet fields)
{
    const std::optional<JpegSegmentPosition> old = findIptcSegmentOnChain(bytes);
    const QByteArray others = otherPhotoshopResources(bytes, old);
    const QStringList keywords = splitList(fields.values[kKeywordsIndex]);
    const QStringList categories = splitList(fields.values[kSupplementalCategoryIndex]);
    const IptcSegment segment = buildIptcSegment(fields, keywords, categories, others);
    check(segment.bytes.size() <= kMaxSegmentLength + 2);
    if (!bytes.startsWith(QByteArrayView("\xFF\xD8", 2)))
        return;
    const QByteArray rewritten = composeJpegContent(bytes, old, segment);
    const qsizetype removed = old ? old->length + 2 : 0;
    check(rewritten.size() == bytes.size() - removed + segment.bytes.size());
    // A new segment with IPTC data comes first after the start of image, so it is what is found.
    const auto parsed = parsePhotoshopSegment(segment.bytes);
    check(segment.isEmpty() || parsed.has_value());
    if (parsed && !parsed->blocks.empty() && parsed->blocks.front().id == 0x0404) {
        const auto again = findIptcSegmentOnChain(rewritten);
        check(!again || again->marker == 2);
    }
}

bool sameLocation(const std::optional<IptcResourceLocation> &a, const std::optional<IptcResourceLocation> &b)
{
    if (!a || !b)
        return !a && !b;
    if (a->resource != b->resource || a->segment.has_value() != b->segment.has_value())
        return false;
    return !a->segment || (a->segment->marker == b->segment->marker && a->segment->length == b->segment->length);
}

bool sameResult(const IptcReadResult &a, const IptcReadResult &b)
{
    const bool sameSegment = a.segment.has_value() == b.segment.has_value()
                             && (!a.segment || (a.segment->marker == b.segment->marker && a.segment->length == b.segment->length));
    return a.fields == b.fields && a.fileKind == b.fileKind && a.iptcCapable == b.iptcCapable && sameSegment;
}

// Whatever a head of the input settles is what the whole input gives.
void checkHeads(QByteArrayView bytes, const QString &name, const IptcReadResult &whole)
{
    const qsizetype n = bytes.size();
    for (qsizetype length : {qsizetype(2), n / 4, n / 2, n - n / 8, n - 1, n}) {
        if (length < 0 || length > n)
            continue;
        if (const auto head = readIptcFromHead(bytes.first(length), name, QStringLiteral("Field")))
            check(sameResult(*head, whole));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString label = QStringLiteral("Field");
    const IptcReadResult asJpeg = readIptcFromBytes(bytes, QStringLiteral("fuzz.jpg"), label);
    const IptcReadResult asTiff = readIptcFromBytes(bytes, QStringLiteral("fuzz.tif"), label);
    check(asJpeg.fileKind == asTiff.fileKind); // both names may hold IPTC
    checkHeads(bytes, QStringLiteral("fuzz.jpg"), asJpeg);
    checkHeads(bytes, QStringLiteral("fuzz.tif"), asTiff);
    check(!asJpeg.segment || (asJpeg.segment->marker >= 0 && asJpeg.segment->marker + 1 < bytes.size()));
    for (const JpegSegment &segment : walkJpegHeader(bytes)) {
        check(segment.marker + 2 + segment.length <= bytes.size());
        if (segment.type == 0xED)
            (void)parsePhotoshopSegment(bytes.sliced(segment.marker, segment.length + 2));
    }
    // The literal search costs up to 64 KiB per marker; keep it to inputs where that stays quick.
    if (size <= 8192) {
        for (bool jpeg : {true, false})
            check(sameLocation(findIptcResource(bytes, jpeg), reference::findIptcResource(bytes, jpeg)));
    }
    exerciseWriter(bytes, asJpeg.fields);
    return 0;
}
