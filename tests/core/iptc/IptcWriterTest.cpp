#include "IptcFieldSetPrinter.h"
#include "IptcTestBytes.h"

#include "core/iptc/IptcReader.h"
#include "core/iptc/IptcWriter.h"
#include "core/iptc/JpegSegments.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test::iptcbytes;

namespace {

struct Dataset
{
    int record;
    int number;
    QByteArray value;
};

// The datasets of a segment made by the writer (IPTC resource first, empty name).
std::vector<Dataset> datasetsOf(const IptcSegment &segment)
{
    std::vector<Dataset> datasets;
    const QByteArray &bytes = segment.bytes;
    if (bytes.size() < 30)
        return datasets;
    const int size = (uchar(bytes[28]) << 8) | uchar(bytes[29]);
    for (qsizetype p = 30; p + 5 <= 30 + size;) {
        const int length = (uchar(bytes[p + 3]) << 8) | uchar(bytes[p + 4]);
        datasets.push_back({bytes[p + 1], uchar(bytes[p + 2]), bytes.mid(p + 5, length)});
        p += 5 + length;
    }
    return datasets;
}

IptcSegment build(IptcFieldSet &values, const QStringList &keywords = {}, const QStringList &categories = {},
                  QByteArrayView others = {})
{
    return buildIptcSegment(values, keywords, categories, others);
}

IptcFieldSet withValue(int index, const QString &value)
{
    IptcFieldSet values;
    values.values[std::size_t(index)] = value;
    return values;
}

} // namespace

// --- segment layout ---

TEST(IptcSegmentLayout, singleDatasetGivesTheExactBytes)
{
    IptcFieldSet values = withValue(0, QStringLiteral("abc"));
    const IptcSegment segment = build(values);
    const QByteArray expected = QByteArray("\xFF\xED\x00\x24Photoshop 3.0\x00" "8BIM\x04\x04\x00\x00\x00\x00\x00\x08"
                                           "\x1C\x02\x05\x00\x03" "abc", 38);
    EXPECT_EQ(segment.bytes, expected);
    EXPECT_FALSE(segment.utf8);
}

TEST(IptcSegmentLayout, datasetsFollowNumericOrderWithListsInPlace)
{
    IptcFieldSet values;
    for (int i = 0; i < kIptcFieldCount; ++i)
        values.values[std::size_t(i)] = QStringLiteral("v");
    values.slots[0] = {220, QStringLiteral("s0")};
    values.slots[3] = {201, QStringLiteral("s3")};
    const IptcSegment segment = build(values, {QStringLiteral("k1"), QStringLiteral("k2")}, {QStringLiteral("c1")});
    QList<int> numbers;
    for (const Dataset &d : datasetsOf(segment))
        numbers << d.number;
    const QList<int> expected = {5, 7, 10, 15, 20, 22, 25, 25, 30, 35, 40, 45, 47, 50, 55, 60, 65, 70, 75, 80, 85,
                                 90, 95, 100, 101, 103, 105, 110, 115, 116, 118, 120, 121, 122, 130, 220, 201};
    EXPECT_EQ(numbers, expected);
}

TEST(IptcSegmentLayout, joinedListTextsAndCustomizedTextAreNotWritten)
{
    IptcFieldSet values;
    values.values[kKeywordsIndex] = QStringLiteral("joined; text");
    values.values[kSupplementalCategoryIndex] = QStringLiteral("also");
    values.values[kCustomizedIndex] = QStringLiteral("Field 200: x\r\n");
    EXPECT_TRUE(build(values).isEmpty());
}

TEST(IptcSegmentLayout, emptyValuesGiveNoSegmentButBlanksAreWritten)
{
    IptcFieldSet values;
    values.slots[0] = {200, QString()};                 // number without text
    values.slots[1] = {-1, QStringLiteral("orphan")};   // text without number
    EXPECT_TRUE(build(values).isEmpty());
    values.values[30] = QStringLiteral("  ");
    EXPECT_EQ(datasetsOf(build(values)).size(), 1u);
}

// --- write limits ---

TEST(IptcSegmentLimits, valueOverItsLimitInBytesIsRefusedNeverCut)
{
    const QString cjk(1, QChar(0x65E5)); // three bytes in UTF-8
    const QString eAcute(1, QChar(0xE9)); // one byte in Windows-1252, two in UTF-8
    struct Case
    {
        const char *what;
        int index;
        QString value;
        QString other; // City, which may turn the charset to UTF-8
        std::optional<qsizetype> refusedBytes;
    };
    const Case cases[] = {
        {"caption at its limit", 30, QString(2000, u'x'), {}, std::nullopt},
        {"caption one over", 30, QString(2001, u'x'), {}, 2001},
        {"1,200 CJK characters are 3,600 bytes", 30, cjk.repeated(1200), {}, 3600},
        {"666 CJK characters fit", 30, cjk.repeated(666), {}, std::nullopt},
        {"2,000 accented characters fit Windows-1252", 30, eAcute.repeated(2000), {}, std::nullopt},
        {"the same in UTF-8 take 4,000 bytes", 30, eAcute.repeated(2000), cjk, 4000},
        {"local caption over 512", 31, QString(513, u'x'), {}, 513},
        {"headline over 255", 25, QString(256, u'x'), {}, 256},
        {"object name over 255", 0, QString(300, u'x'), {}, 300},
    };
    for (const Case &c : cases) {
        IptcFieldSet values = withValue(c.index, c.value);
        values.values[kCityIndex] = c.other;
        const IptcFieldSet before = values;
        const IptcSegment segment = build(values);
        EXPECT_EQ(values, before) << c.what; // nothing is cut in place either
        if (!c.refusedBytes) {
            EXPECT_FALSE(segment.overLimit) << c.what;
            EXPECT_EQ(readIptcFromBytes(composeJpegContent(jpeg({}), std::nullopt, segment), QStringLiteral("a.jpg"),
                                        QStringLiteral("Field")).fields.values[std::size_t(c.index)], c.value) << c.what;
            continue;
        }
        ASSERT_TRUE(segment.overLimit) << c.what;
        EXPECT_TRUE(segment.isEmpty()) << c.what;
        EXPECT_EQ(segment.overLimit->fieldIndex, c.index) << c.what;
        EXPECT_EQ(segment.overLimit->bytes, *c.refusedBytes) << c.what;
        EXPECT_EQ(segment.overLimit->limit, iptcField(c.index).writeLimit) << c.what;
    }
}

TEST(IptcSegmentLimits, listEntriesAndCustomizedDatasetsAreHeldToTheirLimitsToo)
{
    IptcFieldSet values;
    EXPECT_EQ(build(values, {QStringLiteral("a"), QString(256, u'k')}).overLimit->fieldIndex, kKeywordsIndex);
    EXPECT_EQ(build(values, {}, {QString(256, u'c')}).overLimit->fieldIndex, kSupplementalCategoryIndex);
    values.slots[3] = {200, QString(256, u's')};
    const IptcSegment slot = build(values, {QString(255, u'k')});
    ASSERT_TRUE(slot.overLimit);
    EXPECT_EQ(slot.overLimit->fieldIndex, kCustomizedIndex);
    EXPECT_EQ(slot.overLimit->dataset, 200);
    EXPECT_TRUE(overLimitReason(*slot.overLimit).contains(QStringLiteral("2:200")));
}

TEST(IptcSegmentLimits, dataBeyondOneSegmentIsSplitOverConsecutiveSegments)
{
    // 251 datasets of 255 bytes plus one of x bytes: D = 65265 + x, L = D + 28.
    QStringList keywords(251, QString(255, u'k'));
    IptcFieldSet values;
    keywords << QString(242, u'k');
    const IptcSegment fits = build(values, keywords);
    EXPECT_EQ(fits.bytes.size(), kMaxSegmentLength + 2);
    keywords.last() += u'k';
    const IptcSegment split = build(values, keywords);
    ASSERT_FALSE(split.overLimit);
    const std::vector<JpegSegment> segments = walkJpegHeader(QByteArray("\xFF\xD8", 2) + split.bytes);
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[0].length, kMaxSegmentLength);
    EXPECT_EQ(segments[1].length, 2 + 14 + 1);
    const QByteArray file = composeJpegContent(jpeg({app0()}), std::nullopt, split);
    const IptcReadResult read = readIptcFromBytes(file, QStringLiteral("a.jpg"), QStringLiteral("Field"));
    EXPECT_EQ(read.keywordEntries, keywords);
    EXPECT_TRUE(read.damage.isEmpty());
}

// --- character sets ---

TEST(IptcSegmentCharset, writesWindows1252WhenEveryCharacterFits)
{
    IptcFieldSet values = withValue(30, QString::fromUtf8("Café €"));
    const IptcSegment segment = build(values);
    EXPECT_FALSE(segment.utf8);
    EXPECT_EQ(datasetsOf(segment).at(0).value, QByteArray("Caf\xe9 \x80"));
}

TEST(IptcSegmentCharset, writesUtf8BehindDeclarationWhenAnyCharacterDoesNotFit)
{
    IptcFieldSet values = withValue(30, QString::fromUtf8("日本"));
    values.values[0] = QString::fromUtf8("Café");
    const IptcSegment segment = build(values);
    EXPECT_TRUE(segment.utf8);
    const std::vector<Dataset> datasets = datasetsOf(segment);
    ASSERT_EQ(datasets.size(), 3u);
    EXPECT_EQ(datasets[0].record, 1);
    EXPECT_EQ(datasets[0].number, 90);
    EXPECT_EQ(datasets[0].value, QByteArray("\x1b%G"));
    EXPECT_EQ(datasets[1].value, QByteArray("Caf\xc3\xa9"));
    EXPECT_EQ(datasets[2].value, QString::fromUtf8("日本").toUtf8());
}

TEST(IptcSegmentCharset, valuesReadBackAsWritten)
{
    const QList<QString> captions = {QString::fromUtf8("plain"), QString::fromUtf8("Grüße ’quoted’ €"),
                                     QString::fromUtf8("Ã© stays two characters"), QString::fromUtf8("日本 and 😀")};
    for (const QString &caption : captions) {
        IptcFieldSet values = withValue(30, caption);
        values.values[20] = QString::fromUtf8("Zürich");
        values.slots[0] = {200, QString::fromUtf8("slot ü")};
        const IptcSegment segment = build(values, {QStringLiteral("a"), QString::fromUtf8("bé")});
        const QByteArray file = composeJpegContent(jpeg({app0()}), std::nullopt, segment);
        const IptcReadResult read = readIptcFromBytes(file, QStringLiteral("a.jpg"), QStringLiteral("Field"));
        EXPECT_EQ(read.fields.values[30], caption);
        EXPECT_EQ(read.fields.values[20], QString::fromUtf8("Zürich"));
        EXPECT_EQ(read.fields.values[kKeywordsIndex], QString::fromUtf8("a; bé"));
        EXPECT_EQ(read.fields.slots[0].value, QString::fromUtf8("slot ü"));
    }
}

// --- other Photoshop resources ---

TEST(IptcSegmentResources, carriesOtherResourcesAfterPaddedIptcData)
{
    const QByteArray resolution = resource(0x03ED, QByteArray(16, '\x01'));
    IptcFieldSet values = withValue(0, QStringLiteral("odd!")); // D = 9
    const IptcSegment segment = build(values, {}, {}, resolution);
    EXPECT_EQ(segment.bytes.mid(26, 4), QByteArray("\x00\x00\x00\x09", 4));
    EXPECT_EQ(segment.bytes.at(30 + 9), '\0');
    EXPECT_TRUE(segment.bytes.endsWith(resolution));
    const auto parsed = parsePhotoshopSegment(segment.bytes);
    ASSERT_TRUE(parsed.has_value());
    ASSERT_EQ(parsed->blocks.size(), 2u);
    EXPECT_EQ(parsed->blocks[1].id, 0x03ED);
    EXPECT_TRUE(parsed->unparsedTail.isEmpty());
}

TEST(IptcSegmentResources, otherResourcesAloneStillMakeASegment)
{
    const QByteArray resolution = resource(0x03ED, QByteArray(16, '\x01'));
    IptcFieldSet values;
    const IptcSegment segment = build(values, {}, {}, resolution);
    EXPECT_EQ(segment.bytes, app13(resolution));
}

TEST(IptcSegmentResources, keepsEveryResourceButTheIptcOneInOrder)
{
    const QByteArray a = resource(0x03ED, QByteArray(16, 'a'));
    const QByteArray b = resource(0x07D0, QByteArray(5, 'b'), "path");
    const QByteArray file = jpeg({app13(a + resource(0x0404, dataset2(5, "x")) + b)});
    EXPECT_EQ(otherPhotoshopResources(file, findIptcSegmentOnChain(file)), a + b);
}

TEST(IptcSegmentResources, keepsAResourceContinuedInTheNextSegmentAsItsBytes)
{
    const QByteArray cut = resource(0x0406, QByteArray(40, 'c')).left(20);
    const QByteArray file = jpeg({app13(resource(0x0404, dataset2(5, "x")) + cut)});
    EXPECT_EQ(otherPhotoshopResources(file, findIptcSegmentOnChain(file)), cut);
}
