// One input runs through both byte parsers of the IPTC layer: the reader's resource search and
// dataset walk (also over heads of the input, which must settle only what the whole settles),
// and the writer's segment-chain walk, resource split and recomposition.
#include "core/iptc/IptcReader.h"
#include "core/iptc/IptcWriter.h"
#include "core/iptc/JpegSegments.h"
#include "ReferenceIptcSearch.h"

#include <algorithm>
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
    if (segment.overLimit)
        check(segment.isEmpty()); // a value is refused, never cut
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
    return a.fields == b.fields && a.fileKind == b.fileKind && a.iptcCapable == b.iptcCapable && sameSegment
           && a.damage == b.damage;
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

// The writer's blocks split over Photoshop segments at a place the input chooses read back as
// the one segment does: the multi-segment path joins them, and nothing beyond them is read.
void exerciseSplitRead(QByteArrayView bytes, const IptcFieldSet &fields)
{
    const IptcSegment segment = buildIptcSegment(fields, splitList(fields.values[kKeywordsIndex]),
                                                 splitList(fields.values[kSupplementalCategoryIndex]));
    if (segment.isEmpty() || segment.bytes.size() > kMaxSegmentLength + 2)
        return;
    const QByteArray blocks = segment.bytes.sliced(18);
    // At least 6 bytes first, so the resource tag the search looks for stays whole.
    const qsizetype part = 6 + (bytes.isEmpty() ? 0 : static_cast<unsigned char>(bytes.back()) % 97);
    QByteArray whole("\xFF\xD8", 2);
    QByteArray split = whole;
    whole += segment.bytes;
    for (qsizetype at = 0; at < blocks.size(); at += part) {
        const QByteArrayView piece = QByteArrayView(blocks).sliced(at, std::min(part, blocks.size() - at));
        split += QByteArrayView("\xFF\xED", 2);
        split += char((piece.size() + 16) >> 8);
        split += char((piece.size() + 16) & 0xFF);
        split += QByteArrayView("Photoshop 3.0\0", 14);
        split += piece;
    }
    const QByteArray tail("\xFF\xDA\x00\x04\x1C\x02\xFF\xD9", 8); // image data that looks like a dataset
    whole += tail;
    split += tail;
    const QString name = QStringLiteral("fuzz.jpg");
    const IptcReadResult one = readIptcFromBytes(whole, name, QStringLiteral("Field"));
    const IptcReadResult many = readIptcFromBytes(split, name, QStringLiteral("Field"));
    check(one.damage.isEmpty() && many.damage.isEmpty());
    check(one.fields == many.fields);
    check(one.keywordEntries == many.keywordEntries);
    checkHeads(split, name, many);
    // The writer finds the whole run and replaces it with what it carries.
    const auto run = findIptcSegmentOnChain(split);
    check(run && run->marker == 2 && run->length + 2 == split.size() - 2 - tail.size());
    check(otherPhotoshopResources(split, run).isEmpty());
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
    if (const std::optional<QSize> frame = jpegFrameSize(bytes)) // the {Width} and {Height} of a template
        check(frame->width() > 0 && frame->height() > 0);
    // The literal search costs up to 64 KiB per marker; keep it to inputs where that stays quick.
    if (size <= 8192) {
        for (bool jpeg : {true, false})
            check(sameLocation(findIptcResource(bytes, jpeg), reference::findIptcResource(bytes, jpeg)));
    }
    exerciseWriter(bytes, asJpeg.fields);
    exerciseSplitRead(bytes, asJpeg.fields);
    return 0;
}
