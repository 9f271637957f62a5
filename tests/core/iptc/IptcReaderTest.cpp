#include "IptcFieldSetPrinter.h"
#include "IptcTestBytes.h"

#include "../../../fuzz/ReferenceIptcSearch.h"
#include "core/iptc/IptcReader.h"
#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>

using namespace zelvarion;
using namespace zelvarion::test;
using namespace zelvarion::test::iptcbytes;

namespace {

const QString kLabel = QStringLiteral("Field");

IptcReadResult readJpeg(const QByteArray &bytes) { return readIptcFromBytes(bytes, QStringLiteral("a.jpg"), kLabel); }

QString field(const IptcReadResult &result, int index) { return result.fields.values[std::size_t(index)]; }

} // namespace

// --- finding the 0x0404 resource ---

TEST(IptcReaderLocate, findsIptcAfterResolutionResource)
{
    const QByteArray bytes = jpeg({app0(), app13(resource(0x03ED, QByteArray(16, '\x01')) + resource(0x0404, dataset2(5, "title")))});
    EXPECT_EQ(field(readJpeg(bytes), 0), u"title");
}

TEST(IptcReaderLocate, readsOnlyTheFirstOfTwoIptcSegments)
{
    const QByteArray first = app13(resource(0x0404, dataset2(5, "first")));
    const QByteArray bytes = jpeg({first, app13(resource(0x0404, dataset2(5, "second") + dataset2(90, "Rome")))});
    const IptcReadResult result = readJpeg(bytes);
    EXPECT_EQ(field(result, 0), u"first");
    EXPECT_TRUE(field(result, 20).isEmpty());
}

TEST(IptcReaderLocate, reportsMarkerPositionAndLengthOfTheSegment)
{
    const QByteArray iptc = app13(resource(0x0404, dataset2(5, "x")));
    const QByteArray bytes = jpeg({app0(), iptc});
    const IptcReadResult result = readJpeg(bytes);
    ASSERT_TRUE(result.segment.has_value());
    EXPECT_EQ(result.segment->marker, 2 + app0().size());
    EXPECT_EQ(result.segment->length, iptc.size() - 2);
}

TEST(IptcReaderLocate, searchesOtherFilesFromPositionFourWithoutSegment)
{
    const QByteArray tiff = QByteArray("II*\0", 4) + QByteArray(10, '\0') + resource(0x0404, dataset2(5, "tif"));
    const IptcReadResult result = readIptcFromBytes(tiff, QStringLiteral("/x/photo.TIF"), kLabel);
    EXPECT_EQ(supportIptcCode(result.fileKind), u"2");
    EXPECT_TRUE(result.iptcCapable);
    EXPECT_EQ(field(result, 0), u"tif");
    EXPECT_FALSE(result.segment.has_value());
}

TEST(IptcReaderLocate, fileKindFollowsFirstBytesThenExtension)
{
    struct Case { QByteArray head; const char *path; const char *code; };
    const Case cases[] = {
        {QByteArray("\xFF\x00", 2), "notes.txt", "1"},  // first byte 0xFF suffices
        {QByteArray("\x00\xD8", 2), "notes.txt", "1"},  // so does a second byte 0xD8
        {QByteArray("II", 2), "photo.TIF", "2"},
        {QByteArray("II", 2), "image.jpg", "2"},
        {QByteArray("II", 2), "IMAGE.Jpeg", "2"},
        {QByteArray("8B", 2), "a.psd", "2"},
        {QByteArray("II", 2), "a.tiff", "2"},
        {QByteArray("II", 2), "notes.txt", "0"},
        {QByteArray("II", 2), "photo", "0"},
        {QByteArray("II", 2), "dir.jpg/photo", "0"}, // the text after the last dot is "jpg/photo"
        {QByteArray(), "empty.jpg", "0"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(supportIptcCode(iptcFileKind(c.head, QString::fromLatin1(c.path))), QLatin1String(c.code)) << c.path;
}

// The stored code reads back as the kind it was written from; a hand-edited cell is no kind.
TEST(IptcReaderLocate, storedFileKindCodeReadsBack)
{
    for (IptcFileKind kind : {IptcFileKind::NotSearched, IptcFileKind::Jpeg, IptcFileKind::ByExtension})
        EXPECT_EQ(fileKindFromSupportIptc(supportIptcCode(kind)), kind);
    for (const char *other : {"", "3", " 1", "01", "?"})
        EXPECT_FALSE(fileKindFromSupportIptc(QString::fromLatin1(other)).has_value()) << other;
}

TEST(IptcReaderLocate, nonCapableFileGivesEmptySet)
{
    const QByteArray text = QByteArray("hello ") + resource(0x0404, dataset2(5, "hidden"));
    const IptcReadResult result = readIptcFromBytes(text, QStringLiteral("notes.txt"), kLabel);
    EXPECT_EQ(supportIptcCode(result.fileKind), u"0");
    EXPECT_FALSE(result.iptcCapable);
    EXPECT_EQ(result.fields, IptcFieldSet{});
}

TEST(IptcReaderLocate, readsResourcesWithNamesOfEveryLength)
{
    for (const QByteArray &name : {QByteArray(), QByteArray("a"), QByteArray("ab"), QByteArray("abc")}) {
        const QByteArray bytes = jpeg({app13(resource(0x0404, dataset2(5, "named"), name))});
        EXPECT_EQ(field(readJpeg(bytes), 0), u"named") << name.constData();
    }
}

TEST(IptcReaderLocate, findsResourceInsideMarkerBytesOffTheSegmentChain)
{
    // The search looks at every 0xFF 0xED, even inside another segment's data.
    const QByteArray hidden = app13(resource(0x0404, dataset2(5, "inside")));
    const QByteArray bytes = jpeg({app0(), segment(0xE1, QByteArray("Exif\0\0", 6) + hidden)});
    const IptcReadResult result = readJpeg(bytes);
    EXPECT_EQ(field(result, 0), u"inside");
    ASSERT_TRUE(result.segment.has_value());
    EXPECT_EQ(result.segment->marker, 2 + app0().size() + 4 + 6);
}

TEST(IptcReaderLocate, resourceTagAtTheVeryEndIsNotFound)
{
    // The search stops at the first position k with k + 6 at the end of the buffer.
    QByteArray bytes = QByteArray("\xFF\xD8\xFF\xED\x00\x20", 6) + QByteArray("8BIM\x04\x04", 6);
    EXPECT_FALSE(readJpeg(bytes).segment.has_value());
    bytes += '\0';
    EXPECT_TRUE(readJpeg(bytes).segment.has_value());
}

// --- datasets ---

TEST(IptcReaderDatasets, joinsRepeatedKeywordsAndFillsCustomizedSlots)
{
    const IptcReadResult result =
        readJpeg(jpegWithIptc(dataset2(25, "a") + dataset2(25, " b ") + dataset2(25, "c") + dataset2(200, "x")));
    EXPECT_EQ(field(result, 6), u"a; b; c");
    EXPECT_EQ(result.fields.slots[0].number, 200);
    EXPECT_EQ(result.fields.slots[0].value, u"x");
    EXPECT_EQ(result.fields.slots[1].number, -1);
    EXPECT_EQ(field(result, 34), u"Field 200: x\r\n");
}

TEST(IptcReaderDatasets, lastOccurrenceOfSingleFieldWins)
{
    const IptcReadResult result = readJpeg(jpegWithIptc(dataset2(5, "first") + dataset2(5, " second ")));
    EXPECT_EQ(field(result, 0), u"second");
}

TEST(IptcReaderDatasets, everyJoinedFieldJoinsItsOccurrences)
{
    for (int number : {20, 25, 45, 47, 50, 80, 85, 122}) {
        const IptcReadResult result = readJpeg(jpegWithIptc(dataset2(number, "p") + dataset2(number, "q")));
        const int index = lookupDataset(number).index;
        EXPECT_EQ(field(result, index), u"p; q") << number;
    }
}

TEST(IptcReaderDatasets, twentyCustomizedDatasetsFillSixteenSlotsAndTwentyLines)
{
    QByteArray datasets;
    for (int i = 0; i < 20; ++i)
        datasets += dataset2(200 + i, QByteArray::number(i));
    const IptcReadResult result = readJpeg(jpegWithIptc(datasets));
    EXPECT_EQ(result.fields.slots[15].number, 215);
    EXPECT_EQ(field(result, 34).count(QStringLiteral("\r\n")), 20);
    EXPECT_TRUE(field(result, 34).endsWith(QStringLiteral("Field 219: 19\r\n")));
    // The four past the slots are kept for a rewrite that must not drop them.
    ASSERT_EQ(result.moreCustomized.size(), 4u);
    EXPECT_EQ(result.moreCustomized[3].number, 219);
    EXPECT_EQ(result.moreCustomized[3].value, u"19");
}

TEST(IptcReaderDatasets, listEntriesKeepOneEntryPerDatasetEvenWithSemicolons)
{
    const IptcReadResult result = readJpeg(
        jpegWithIptc(dataset2(25, " a;b ") + dataset2(20, "s1") + dataset2(25, "c") + dataset2(20, "s1")));
    EXPECT_EQ(result.keywordEntries, (QStringList{QStringLiteral("a;b"), QStringLiteral("c")}));
    EXPECT_EQ(result.supplementalCategoryEntries, (QStringList{QStringLiteral("s1"), QStringLiteral("s1")}));
}

TEST(IptcReaderDatasets, customizedLabelIsTheCallersText)
{
    const IptcReadResult result = readIptcFromBytes(jpegWithIptc(dataset2(92, " Soho ")), QStringLiteral("a.jpg"), QStringLiteral("Feld"));
    EXPECT_EQ(field(result, 34), u"Feld 92: Soho\r\n");
}

TEST(IptcReaderDatasets, localCaptionIsAFieldAndRecordVersionIsIgnored)
{
    const IptcReadResult result = readJpeg(jpegWithIptc(dataset2(0, "\x00\x04") + dataset2(121, "local")));
    EXPECT_EQ(field(result, 31), u"local");
    EXPECT_EQ(result.fields.slots[0].number, -1);
    EXPECT_TRUE(field(result, 34).isEmpty());
}

TEST(IptcReaderDatasets, skipsOtherRecordsAndBytesBetweenDatasets)
{
    const QByteArray data = dataset(1, 90, "\x1b%G") + QByteArray("\x00\x00", 2) + dataset(3, 5, "no") + dataset2(5, "yes");
    EXPECT_EQ(field(readJpeg(jpegWithIptc(data)), 0), u"yes");
}

TEST(IptcReaderDatasets, valueEndsAtItsFirstZeroByte)
{
    EXPECT_EQ(field(readJpeg(jpegWithIptc(dataset2(120, QByteArray("cap\0tion", 8)))), 30), u"cap");
}

TEST(IptcReaderDatasets, valueLongerThanTheBufferEndsAtTheBuffer)
{
    QByteArray bytes = QByteArray("\xFF\xD8", 2) + app13(resource(0x0404, dataset2(120, "caption")));
    bytes.chop(4); // the last four value bytes and beyond are missing; the declared length stays
    EXPECT_EQ(field(readJpeg(bytes), 30), u"cap");
}

TEST(IptcReaderDatasets, everyTruncationOfAFileReadsWithinItsBytes)
{
    const QByteArray whole = jpegWithIptc(dataset2(5, "name") + dataset2(25, "k1") + dataset2(25, "k2") + dataset2(200, "c"));
    for (qsizetype size = 0; size <= whole.size(); ++size) {
        // A copy of exactly `size` bytes, so a sanitizer sees any read past it.
        const QByteArray prefix(whole.constData(), size);
        const IptcReadResult result = readJpeg(prefix);
        EXPECT_TRUE(whole.contains(field(result, 0).toLatin1())) << size;
    }
    EXPECT_EQ(field(readJpeg(whole), 6), u"k1; k2");
}

// --- text decoding ---

TEST(IptcReaderText, decodesEightBitTextAsWindows1252)
{
    const IptcReadResult result = readJpeg(jpegWithIptc(dataset2(120, "\x92\x80 caf\xe9")));
    EXPECT_EQ(field(result, 30), QString::fromUtf8("’€ café"));
}

TEST(IptcReaderText, decodesValidUtf8WithoutDeclaration)
{
    const IptcReadResult result = readJpeg(jpegWithIptc(dataset2(120, "Gr\xc3\xbc\xc3\x9f" "e")));
    EXPECT_EQ(field(result, 30), QString::fromUtf8("Grüße"));
}

TEST(IptcReaderText, declarationMakesEveryValueUtf8)
{
    const QByteArray data = dataset(1, 90, "\x1b%G") + dataset2(120, "\xe6\x97\xa5") + dataset2(5, "ok");
    const IptcReadResult result = readJpeg(jpegWithIptc(data));
    EXPECT_EQ(field(result, 30), QString::fromUtf8("日"));
    EXPECT_EQ(field(result, 0), u"ok");
}

TEST(IptcReaderText, latinDeclarationKeepsWindows1252)
{
    const QByteArray data = dataset(1, 90, "\x1b-A") + dataset2(105, "pr\xe9sent");
    EXPECT_EQ(field(readJpeg(jpegWithIptc(data)), 25), QString::fromUtf8("présent"));
}

// --- files ---

TEST(IptcReaderFile, missingOrEmptyFileGivesCodeZeroWithoutMessage)
{
    TempFolder folder;
    RecordingFeedback feedback;
    const QString empty = folder.write(QStringLiteral("empty.jpg"), {});
    for (const QString &path : {empty, folder.file(QStringLiteral("missing.jpg"))}) {
        const IptcReadResult result = readImageIptc(path, kLabel, &feedback);
        EXPECT_EQ(supportIptcCode(result.fileKind), u"0");
        EXPECT_FALSE(result.iptcCapable);
        EXPECT_EQ(result.fields, IptcFieldSet{});
    }
    EXPECT_TRUE(feedback.messages.empty());
}

TEST(IptcReaderFile, fileAndBufferGiveTheSameResult)
{
    TempFolder folder;
    const QByteArray bytes = jpegWithIptc(dataset2(5, "same") + dataset2(25, "k"));
    const QString path = folder.write(QStringLiteral("a.jpg"), bytes);
    const IptcReadResult fromFile = readImageIptc(path, kLabel);
    const IptcReadResult fromBytes = readIptcFromBytes(bytes, path, kLabel);
    EXPECT_EQ(fromFile.fields, fromBytes.fields);
    EXPECT_EQ(supportIptcCode(fromFile.fileKind), u"1");
    EXPECT_EQ(fromFile.segment->marker, fromBytes.segment->marker);
    EXPECT_FALSE(fromFile.shortRead);
}

// --- the fast search against the literal one ---

TEST(IptcReaderSearch, findsWhatTheLiteralSearchFindsOnSamplesAndRandomFiles)
{
    const auto same = [](QByteArrayView bytes, bool jpeg) {
        const auto fast = findIptcResource(bytes, jpeg);
        const auto slow = reference::findIptcResource(bytes, jpeg);
        if (!fast || !slow)
            return !fast && !slow;
        return fast->resource == slow->resource && fast->segment.has_value() == slow->segment.has_value()
            && (!fast->segment || (fast->segment->marker == slow->segment->marker && fast->segment->length == slow->segment->length));
    };
    QDirIterator it(testDataFile(QStringLiteral("iptc")), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(same(bytes, true) && same(bytes, false)) << file.fileName().toStdString();
    }
    // Random files made of the pieces the search reacts to, with short lengths so segments overlap.
    QRandomGenerator random(20261209);
    const QByteArray pieces[] = {QByteArray("\xFF\xED", 2), QByteArray("8BIM\x04\x04", 6), QByteArray("8BIM", 4),
                                 QByteArray("\x00", 1), QByteArray("\x10", 1), QByteArray("\xFF", 1)};
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        const int count = random.bounded(1, 12);
        for (int i = 0; i < count; ++i) {
            const int piece = random.bounded(8);
            if (piece < 6)
                bytes += pieces[piece];
            else // a marker with a short length, so tags fall just inside and just outside it
                bytes += QByteArray("\xFF\xED\x00", 3) + char(random.bounded(20));
        }
        EXPECT_TRUE(same(bytes, true) && same(bytes, false)) << bytes.toHex().constData();
    }
}

// --- a resource split over segments, and a resource bounded by what holds it ---

namespace {

// The blocks as consecutive "Photoshop 3.0" APP13 segments, cut at the given offsets of the blocks
// and after them wherever a segment would be full.
QByteArray splitOverSegments(const QByteArray &blocks, QList<qsizetype> cuts)
{
    QByteArray segments;
    qsizetype from = 0;
    while (from < blocks.size()) {
        const qsizetype cut = !cuts.isEmpty() ? cuts.takeFirst() : std::min(from + 65519, blocks.size());
        segments += app13(blocks.mid(from, cut - from));
        from = cut;
    }
    return segments;
}

QStringList manyKeywords(int count)
{
    QStringList keywords;
    for (int i = 0; i < count; ++i)
        keywords << QStringLiteral("keyword %1").arg(i);
    return keywords;
}

QByteArray keywordDatasets(const QStringList &keywords)
{
    QByteArray data;
    for (const QString &keyword : keywords)
        data += dataset2(25, keyword.toLatin1());
    return data;
}

} // namespace

TEST(IptcReaderSplitResource, readsEveryDatasetOfAResourceSplitOverConsecutiveSegments)
{
    const QStringList keywords = manyKeywords(8000);
    const QByteArray blocks = resource(0x03ED, QByteArray(16, 'r')) + resource(0x0404, keywordDatasets(keywords))
                              + resource(0x0406, QByteArray(10, 'q'));
    // Cuts on the data's start, inside the size field, inside a dataset header or value, where the
    // writer cuts, and on a dataset's edge.
    const QList<QList<qsizetype>> cutSets = {{40, 65000, 130000}, {37}, {}, {40 + 14 * 10}};
    for (const QList<qsizetype> &cuts : cutSets) {
        const QByteArray file = jpeg({app0(), splitOverSegments(blocks, cuts), segment(0xE1, "Exif\0\0")});
        const IptcReadResult read = readJpeg(file);
        EXPECT_EQ(read.keywordEntries.size(), keywords.size()) << cuts.value(0);
        EXPECT_TRUE(read.keywordEntries == keywords) << cuts.value(0);
        EXPECT_TRUE(read.damage.isEmpty()) << damageText(read.damage).toStdString();
        EXPECT_FALSE(read.fields.values[kCustomizedIndex].contains(QStringLiteral("Field"))) << cuts.value(0);
        // A head that holds the whole run settles the same result; one that ends inside it does not.
        const auto head = readIptcFromHead(QByteArrayView(file).first(file.size() - 8), QStringLiteral("a.jpg"), kLabel);
        ASSERT_TRUE(head.has_value());
        EXPECT_TRUE(head->keywordEntries == keywords);
        EXPECT_FALSE(readIptcFromHead(QByteArrayView(file).first(file.size() / 2), QStringLiteral("a.jpg"), kLabel));
    }
}

TEST(IptcReaderSplitResource, aResourceLongerThanItsSegmentsIsDamagedAndReadOnlyWithinThem)
{
    const QByteArray data = dataset2(5, "kept") + dataset2(120, "caption");
    QByteArray block = resource(0x0404, data);
    // After the segment come the image data, holding bytes that look like a dataset 2:62.
    const QByteArray imageData = QByteArray("\x00\x1C\x02\x3E\x00\x04junk", 10);
    struct Case
    {
        const char *what;
        quint32 declared;
        QList<QByteArray> segmentsAfter;
    };
    const Case cases[] = {
        {"lying length", 0x7FFFFFFF, {}},
        {"more than held (the padding byte counts)", quint32(data.size() + 2), {}},
        {"next segment not Photoshop", 0x10000, {segment(0xE1, "Exif\0\0")}},
        {"next segment Photoshop but too short", 0x10000, {app13(QByteArray(20, '\0'))}},
    };
    for (const Case &c : cases) {
        QByteArray lying = block;
        for (int i = 0; i < 4; ++i)
            lying[8 + i] = char((c.declared >> (24 - 8 * i)) & 0xFF);
        QList<QByteArray> segments = {app0(), app13(lying)};
        segments += c.segmentsAfter;
        QByteArray file = jpeg(segments);
        file.insert(file.size() - 2, imageData);
        const IptcReadResult read = readJpeg(file);
        EXPECT_FALSE(read.damage.isEmpty()) << c.what;
        EXPECT_EQ(field(read, 0), u"kept") << c.what;
        EXPECT_EQ(field(read, 30), u"caption") << c.what;
        EXPECT_TRUE(field(read, kCustomizedIndex).isEmpty()) << c.what; // no "Field 62" from the image data
    }
}

TEST(IptcReaderSplitResource, aDatasetRunningPastTheResourceEndIsDamage)
{
    QByteArray data = dataset2(5, "kept") + dataset2(120, "caption");
    const IptcReadResult whole = readJpeg(jpegWithIptc(data));
    EXPECT_TRUE(whole.damage.isEmpty());
    data.chop(2); // the caption's declared length now runs past the data
    const IptcReadResult cut = readJpeg(jpegWithIptc(data));
    EXPECT_FALSE(cut.damage.isEmpty());
    EXPECT_EQ(field(cut, 0), u"kept");
}

TEST(IptcReaderSplitResource, otherFilesBoundTheResourceByTheirEnd)
{
    QByteArray block = resource(0x0404, dataset2(5, "kept"));
    block[8] = char(0x7F);
    const QByteArray file = QByteArray("II*\0\0\0\0\0", 8) + block;
    const IptcReadResult read = readIptcFromBytes(file, QStringLiteral("a.tif"), kLabel);
    EXPECT_EQ(field(read, 0), u"kept");
    EXPECT_FALSE(read.damage.isEmpty());
}
