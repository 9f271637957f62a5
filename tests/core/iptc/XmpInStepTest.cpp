// Writes keep a file's XMP in step with its IIM, and reading finds IIM where other programs keep
// it. exiftool, run as a process on files made in a temporary folder, is the outside reader.
#include "IptcTestBytes.h"

#include "core/iptc/IimElsewhere.h"
#include "core/iptc/IptcDigest.h"
#include "core/iptc/IptcReader.h"
#include "core/iptc/IptcWriter.h"
#include "core/iptc/JpegSegments.h"
#include "core/iptc/XmpMirror.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;
using namespace zelvarion::test::iptcbytes;

namespace {

QString exiftool() { return QStandardPaths::findExecutable(QStringLiteral("exiftool")); }

// exiftool's JSON reading of one file with the given tag arguments.
QJsonObject exiftoolReads(const QString &path, QStringList tags)
{
    QProcess process;
    process.start(exiftool(), QStringList{QStringLiteral("-j"), QStringLiteral("-G1"), QStringLiteral("-struct")} + tags << path);
    process.waitForFinished(30000);
    return QJsonDocument::fromJson(process.readAllStandardOutput()).array().at(0).toObject();
}

// exiftool's reading of one tag, lists joined as the reader joins repeated datasets.
QString exiftoolValue(const QJsonObject &tags, const char *tag)
{
    for (auto it = tags.begin(); it != tags.end(); ++it)
        if (it.key().endsWith(u':' + QLatin1String(tag)))
            return it.value().isArray() ? it.value().toVariant().toStringList().join(QStringLiteral("; "))
                                        : it.value().toVariant().toString();
    return {};
}


bool exiftoolWrites(const QString &path, const QStringList &arguments)
{
    QProcess process;
    process.start(exiftool(), QStringList{QStringLiteral("-q"), QStringLiteral("-overwrite_original")} + arguments << path);
    return process.waitForFinished(30000) && process.exitCode() == 0;
}

// A packet with what other programs keep beside the mirrored fields: a rating and a label, a
// history, a namespace of its own.
const char *kPacket = R"(<x:xmpmeta xmlns:x="adobe:ns:meta/"><rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#">
<rdf:Description rdf:about="" xmlns:xmp="http://ns.adobe.com/xap/1.0/" xmlns:dc="http://purl.org/dc/elements/1.1/"
 xmlns:xmpMM="http://ns.adobe.com/xap/1.0/mm/" xmlns:stEvt="http://ns.adobe.com/xap/1.0/sType/ResourceEvent#"
 xmlns:zv="http://example.org/zv/1.0/" xmp:Rating="4" xmp:Label="Red" zv:Shelf="B12">
<dc:description><rdf:Alt><rdf:li xml:lang="x-default">old caption</rdf:li></rdf:Alt></dc:description>
<dc:title><rdf:Alt><rdf:li xml:lang="x-default">only in the XMP</rdf:li></rdf:Alt></dc:title>
<dc:subject><rdf:Bag><rdf:li>old</rdf:li></rdf:Bag></dc:subject>
<xmpMM:History><rdf:Seq><rdf:li rdf:parseType="Resource"><stEvt:action>saved</stEvt:action>
<stEvt:when>2020-01-02T03:04:05</stEvt:when></rdf:li></rdf:Seq></xmpMM:History>
</rdf:Description></rdf:RDF></x:xmpmeta>)";

enum class Digest { None, Matching, Stale };

// A JPEG with an old caption in its IIM (with the digest asked for), the packet above unless
// withXmp is false, and an Exif-like APP1 and a comment that must stay byte for byte.
QByteArray fileWithOldValues(Digest digest, bool withXmp)
{
    IptcFieldSet old;
    old.values[kCaptionIndex] = QStringLiteral("old caption");
    QByteArray resources;
    if (digest != Digest::None) {
        const QByteArray iim = buildIptcSegment(old, {QStringLiteral("old")}, {}).iimData;
        resources = withIptcDigest({}, digest == Digest::Matching ? iimDigest(iim) : iimDigest("other data"));
    }
    const IptcSegment segment = buildIptcSegment(old, {QStringLiteral("old")}, {}, resources);
    QList<QByteArray> segments{app0(), segment.bytes, iptcbytes::segment(0xE1, QByteArray("Exif\0\0MM\0*\0\0\0\x08\0\0", 16))};
    if (withXmp)
        segments << *buildXmpSegment(QByteArray(kPacket));
    segments << iptcbytes::segment(0xFE, "a comment");
    return jpeg(segments);
}

struct Written
{
    QByteArray before;
    QByteArray after;
    QString path;
};

Written writeNewValues(const TempFolder &folder, Digest digest, bool withXmp = true)
{
    Written written;
    written.before = fileWithOldValues(digest, withXmp);
    written.path = folder.write(QStringLiteral("photo.jpg"), written.before);
    IptcFieldSet values;
    values.values[kCaptionIndex] = QStringLiteral("Nouvelle légende");
    values.values[kBylineIndex] = QStringLiteral("Ann Author");
    values.values[29] = QStringLiteral("(c) 2026 Ann");
    const IptcWriteResult result = writeImageIptc(written.path, values, {QStringLiteral("harbour"), QStringLiteral("été")}, {}, {});
    EXPECT_TRUE(result.written) << result.reason.toStdString();
    written.after = folder.read(QStringLiteral("photo.jpg"));
    return written;
}

// Every header segment but the IPTC and XMP ones, and the bytes after the header.
QList<QByteArray> untouchedParts(const QByteArray &file)
{
    QList<QByteArray> parts;
    const std::vector<JpegSegment> header = walkJpegHeader(file);
    for (const JpegSegment &segment : header) {
        const QByteArray bytes = file.mid(segment.marker, segment.length + 2);
        if (segment.type != 0xED && !bytes.mid(4).startsWith("http://ns.adobe.com/xap/1.0/"))
            parts << bytes;
    }
    parts << file.mid(header.back().marker + 2 + header.back().length);
    return parts;
}

QJsonObject withoutMirroredTags(QJsonObject tags)
{
    for (const char *mirrored : {"XMP-dc:Description", "XMP-dc:Subject", "XMP-dc:Creator", "XMP-dc:Rights",
                                 "XMP-x:XMPToolkit", "SourceFile"})
        tags.remove(QLatin1String(mirrored));
    return tags;
}

} // namespace

class XmpInStep : public ::testing::TestWithParam<Digest>
{
};

TEST_P(XmpInStep, outsideReadersSeeTheNewValuesAndEverythingElseStays)
{
    if (exiftool().isEmpty())
        GTEST_SKIP() << "exiftool is not installed";
    TempFolder folder;
    const QString beforePath = folder.write(QStringLiteral("before.jpg"), fileWithOldValues(GetParam(), true));
    const QJsonObject xmpBefore = exiftoolReads(beforePath, {QStringLiteral("-XMP:all")});
    const QJsonObject digestBefore = exiftoolReads(beforePath, {QStringLiteral("-IPTCDigest")});
    const Written written = writeNewValues(folder, GetParam());

    const QJsonObject mwg = exiftoolReads(written.path, {QStringLiteral("-MWG:Description"), QStringLiteral("-MWG:Keywords"),
                                                         QStringLiteral("-MWG:Creator"), QStringLiteral("-MWG:Copyright")});
    EXPECT_EQ(exiftoolValue(mwg, "Description"), QStringLiteral("Nouvelle légende"));
    EXPECT_EQ(exiftoolValue(mwg, "Keywords"), QStringLiteral("harbour; été"));
    EXPECT_EQ(exiftoolValue(mwg, "Creator"), QStringLiteral("Ann Author"));
    EXPECT_EQ(exiftoolValue(mwg, "Copyright"), QStringLiteral("(c) 2026 Ann"));

    // Rating, label, history, the own namespace and the title the IIM never held stay.
    const QJsonObject xmpAfter = exiftoolReads(written.path, {QStringLiteral("-XMP:all")});
    EXPECT_EQ(withoutMirroredTags(xmpAfter), withoutMirroredTags(xmpBefore));
    EXPECT_EQ(xmpAfter.value(QStringLiteral("XMP-zv:Shelf")).toString(), QStringLiteral("B12"));

    const QJsonObject digest = exiftoolReads(written.path, {QStringLiteral("-IPTCDigest"), QStringLiteral("-CurrentIPTCDigest")});
    const QString stored = exiftoolValue(digest, "IPTCDigest");
    if (GetParam() == Digest::Stale)
        EXPECT_EQ(stored, exiftoolValue(digestBefore, "IPTCDigest"));
    else
        EXPECT_EQ(stored, exiftoolValue(digest, "CurrentIPTCDigest"));
    EXPECT_FALSE(stored.isEmpty());

    EXPECT_EQ(untouchedParts(written.after), untouchedParts(written.before));
}

INSTANTIATE_TEST_SUITE_P(EveryDigest, XmpInStep, ::testing::Values(Digest::None, Digest::Matching, Digest::Stale));

TEST(XmpInStepWrite, fileWithoutXmpGainsNeitherPacketNorDigest)
{
    TempFolder folder;
    const Written written = writeNewValues(folder, Digest::None, false);
    EXPECT_FALSE(findXmpSegment(written.after));
    EXPECT_EQ(iptcDigestState(written.after, findIptcSegmentOnChain(written.after)), IptcDigestState::Missing);
    EXPECT_EQ(untouchedParts(written.after), untouchedParts(written.before));
}

TEST(XmpInStepWrite, emptiedFieldRemovesItsPropertyAndUnchangedPacketStaysByteForByte)
{
    TempFolder folder;
    const QString path = folder.write(QStringLiteral("photo.jpg"), fileWithOldValues(Digest::Matching, true));
    IptcFieldSet same = readImageIptc(path, {}).fields;
    ASSERT_TRUE(writeImageIptc(path, same, {QStringLiteral("old")}, {}, {}).written);
    const QByteArray unchanged = folder.read(QStringLiteral("photo.jpg"));
    EXPECT_EQ(findXmpSegment(unchanged)->packet, QByteArrayView(kPacket));

    IptcFieldSet emptied; // caption and keyword gone
    ASSERT_TRUE(writeImageIptc(path, emptied, {}, {}, {}).written);
    const QByteArray after = folder.read(QStringLiteral("photo.jpg"));
    const std::optional<XmpDocument> xmp = XmpDocument::parse(findXmpSegment(after)->packet);
    ASSERT_TRUE(xmp);
    EXPECT_TRUE(xmp->values({"http://purl.org/dc/elements/1.1/", "description"}, XmpForm::LangAlt).isEmpty());
    EXPECT_TRUE(xmp->values({"http://purl.org/dc/elements/1.1/", "subject"}, XmpForm::Bag).isEmpty());
    EXPECT_EQ(xmp->values({"http://purl.org/dc/elements/1.1/", "title"}, XmpForm::LangAlt), QStringList{"only in the XMP"});
    // No IIM is left, so no digest either; the reader now finds the title in the XMP.
    EXPECT_FALSE(findIptcSegmentOnChain(after));
    EXPECT_EQ(readImageIptc(path, {}).source, IptcSource::Xmp);
}

TEST(XmpInStepWrite, propertiesOfFieldsTheWriteLeavesStayAsAnotherProgramLeftThem)
{
    // Another program changed the XMP city after the IIM was written, and left no digest.
    const char *packet = R"(<x:xmpmeta xmlns:x="adobe:ns:meta/"><rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#">
<rdf:Description rdf:about="" xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:photoshop="http://ns.adobe.com/photoshop/1.0/"
 photoshop:City="Oldtown">
<dc:description><rdf:Alt><rdf:li xml:lang="x-default">old caption</rdf:li></rdf:Alt></dc:description>
</rdf:Description></rdf:RDF></x:xmpmeta>)";
    IptcFieldSet old;
    old.values[0] = QStringLiteral("Title");
    old.values[kCityIndex] = QString::fromUtf8("Besançon");
    old.values[kCaptionIndex] = QStringLiteral("old caption");
    old.values[13] = QStringLiteral("20200102");
    const QByteArray original = jpeg({app0(), buildIptcSegment(old, {QStringLiteral("k")}, {}).bytes, *buildXmpSegment(packet)});
    TempFolder folder;
    const QString path = folder.write(QStringLiteral("photo.jpg"), original);
    struct Case
    {
        const char *what;
        int index;
        QString value;
    };
    const Case cases[] = {{"caption changed", kCaptionIndex, QStringLiteral("new caption")},
                          {"nothing changed", kCaptionIndex, QStringLiteral("old caption")}};
    for (const Case &c : cases) {
        ASSERT_TRUE(folder.write(QStringLiteral("photo.jpg"), original) == path);
        IptcFieldSet values = old;
        values.values[std::size_t(c.index)] = c.value;
        ASSERT_TRUE(writeImageIptc(path, values, {QStringLiteral("k")}, {}, {}).written) << c.what;
        const QByteArray after = folder.read(QStringLiteral("photo.jpg"));
        const std::optional<XmpDocument> xmp = XmpDocument::parse(findXmpSegment(after)->packet);
        ASSERT_TRUE(xmp) << c.what;
        EXPECT_EQ(xmp->values({"http://ns.adobe.com/photoshop/1.0/", "City"}, XmpForm::Simple), QStringList{"Oldtown"}) << c.what;
        EXPECT_TRUE(xmp->values({"http://purl.org/dc/elements/1.1/", "title"}, XmpForm::LangAlt).isEmpty()) << c.what;
        EXPECT_TRUE(xmp->values({"http://purl.org/dc/elements/1.1/", "subject"}, XmpForm::Bag).isEmpty()) << c.what;
        EXPECT_TRUE(xmp->values({"http://ns.adobe.com/photoshop/1.0/", "DateCreated"}, XmpForm::Simple).isEmpty()) << c.what;
        EXPECT_EQ(xmp->values({"http://purl.org/dc/elements/1.1/", "description"}, XmpForm::LangAlt), QStringList{c.value})
            << c.what;
    }
}

TEST(XmpInStepWrite, packetThatWouldOutgrowItsSegmentRefusesTheWriteAndLeavesTheFile)
{
    TempFolder folder;
    const QString path = folder.write(QStringLiteral("photo.jpg"), fileWithOldValues(Digest::None, true));
    const QByteArray before = folder.read(QStringLiteral("photo.jpg"));
    IptcFieldSet values;
    QStringList keywords;
    for (int i = 0; i < 600; ++i) // 63 000 bytes fit the IIM segment, not the XMP one with its markup
        keywords << QStringLiteral("k%1").arg(i, 3, 10, QLatin1Char('0')) + QString(96, u'x');
    const IptcWriteResult result = writeImageIptc(path, values, keywords, {}, {});
    EXPECT_FALSE(result.written);
    EXPECT_TRUE(result.reason.contains(QStringLiteral("XMP")));
    EXPECT_EQ(folder.read(QStringLiteral("photo.jpg")), before);
}

TEST(XmpDates, iimDateAndTimeMakeOneXmpDateAndBack)
{
    EXPECT_EQ(xmpDateFromIim(QStringLiteral("20240131"), QStringLiteral("101500+0100")), QStringLiteral("2024-01-31T10:15:00+01:00"));
    EXPECT_EQ(xmpDateFromIim(QStringLiteral("20240131"), {}), QStringLiteral("2024-01-31"));
    EXPECT_TRUE(xmpDateFromIim(QStringLiteral("31.01.2024"), {}).isEmpty());
    const auto back = iimDateTimeFromXmp(QStringLiteral("2024-01-31T10:15:00.25Z"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->date, QStringLiteral("20240131"));
    EXPECT_EQ(back->time, QStringLiteral("101500+0000"));
    EXPECT_FALSE(iimDateTimeFromXmp(QStringLiteral("yesterday")));
}

// --- reading IIM kept elsewhere ---


TEST(IimElsewhere, tiffTag33723ReadsAsExiftoolReadsIt)
{
    if (exiftool().isEmpty())
        GTEST_SKIP() << "exiftool is not installed";
    // A real TIFF whose Photoshop resources hold no 0x0404: exiftool puts the IIM in tag 33723.
    QFile sample(QStringLiteral(ZELVARION_TESTDATA_DIR "/iptc/pillow/Tests/images/hopper.Lab.tif"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    TempFolder folder;
    const QString path = folder.write(QStringLiteral("hopper.tif"), sample.readAll());
    ASSERT_TRUE(exiftoolWrites(path, {QStringLiteral("-IPTC:Caption-Abstract=Hopper, en été"), QStringLiteral("-IPTC:Keywords=a"),
                                      QStringLiteral("-IPTC:Keywords=b"), QStringLiteral("-IPTC:By-line=Grace")}));
    ASSERT_FALSE(findIptcResource(folder.read(QStringLiteral("hopper.tif")), false));

    const IptcReadResult read = readImageIptc(path, {});
    EXPECT_EQ(read.source, IptcSource::TiffTag);
    const QJsonObject tags = exiftoolReads(path, {QStringLiteral("-IPTC:all")});
    EXPECT_EQ(read.fields.values[kCaptionIndex], exiftoolValue(tags, "Caption-Abstract"));
    EXPECT_EQ(read.fields.values[kKeywordsIndex], exiftoolValue(tags, "Keywords"));
    EXPECT_EQ(read.fields.values[kBylineIndex], exiftoolValue(tags, "By-line"));
    EXPECT_EQ(read.fields.values[kCaptionIndex], QStringLiteral("Hopper, en été"));
}

TEST(IimElsewhere, trailerBlockAfterTheImageReadsAsExiftoolReadsIt)
{
    // The trailer of a real file, appended to a JPEG with an embedded preview in its header
    // whose end-of-image marker must not count.
    QFile nikon(QStringLiteral(ZELVARION_TESTDATA_DIR "/iptc/metadata-extractor-images/jpg/Nikon E995 (iptc).jpg"));
    ASSERT_TRUE(nikon.open(QIODevice::ReadOnly));
    const QByteArray trailer = nikon.readAll().right(1359);
    const QByteArray preview = QByteArray("\xFF\xD8\xFF\xD9\x1C\x02\x78\x00\x01x", 10);
    TempFolder folder;
    const QString path = folder.write(QStringLiteral("trailer.jpg"),
                                      jpeg({app0(), iptcbytes::segment(0xE2, preview)}) + trailer);
    const IptcReadResult read = readImageIptc(path, {});
    EXPECT_EQ(read.source, IptcSource::JpegTrailer);
    EXPECT_TRUE(read.fields.values[kCaptionIndex].startsWith(QStringLiteral("Dateiname : DSCN1767.JPG")));
    if (exiftool().isEmpty())
        return;
    const QJsonObject tags = exiftoolReads(path, {QStringLiteral("-IPTC:all"), QStringLiteral("-charset"), QStringLiteral("iptc=Latin")});
    EXPECT_EQ(read.fields.values[kCaptionIndex], exiftoolValue(tags, "Caption-Abstract").trimmed());
}

TEST(IimElsewhere, xmpOnlyFileFillsTheSameColumns)
{
    if (exiftool().isEmpty())
        GTEST_SKIP() << "exiftool is not installed";
    TempFolder folder;
    const QString path = folder.write(QStringLiteral("xmp.jpg"), jpeg({app0()}));
    ASSERT_TRUE(exiftoolWrites(path, {QStringLiteral("-XMP-dc:Description=Quai du port"), QStringLiteral("-XMP-dc:Subject=harbour"),
                                      QStringLiteral("-XMP-dc:Subject=boats"), QStringLiteral("-XMP-dc:Creator=Ann"),
                                      QStringLiteral("-XMP-photoshop:City=Brest"),
                                      QStringLiteral("-XMP-photoshop:DateCreated=2024:05:06 07:08:09+02:00"),
                                      QStringLiteral("-XMP-iptcCore:CountryCode=FR")}));
    const IptcReadResult read = readImageIptc(path, {});
    EXPECT_EQ(read.source, IptcSource::Xmp);
    EXPECT_EQ(read.fields.values[kCaptionIndex], QStringLiteral("Quai du port"));
    EXPECT_EQ(read.keywordEntries, QStringList({"harbour", "boats"}));
    EXPECT_EQ(read.fields.values[kKeywordsIndex], QStringLiteral("harbour; boats"));
    EXPECT_EQ(read.fields.values[kBylineIndex], QStringLiteral("Ann"));
    EXPECT_EQ(read.fields.values[kCityIndex], QStringLiteral("Brest"));
    EXPECT_EQ(read.fields.values[13], QStringLiteral("20240506"));
    EXPECT_EQ(read.fields.values[14], QStringLiteral("070809+0200"));
    EXPECT_EQ(read.fields.values[22], QStringLiteral("FR"));
}

TEST(IimElsewhere, imageResourceWinsOverEveryOtherPlace)
{
    const QByteArray withBoth = jpegWithIptc(dataset2(120, "from the resource")) + QByteArray("\x1C\x02\x78\x00\x03" "end", 8);
    const IptcReadResult read = readIptcFromBytes(withBoth, QStringLiteral("a.jpg"), {});
    EXPECT_EQ(read.source, IptcSource::ImageResource);
    EXPECT_EQ(read.fields.values[kCaptionIndex], QStringLiteral("from the resource"));
}

TEST(IimElsewhere, brokenStructuresGiveNothingAndNeverReadPastTheirBytes)
{
    // A directory entry whose data offset lies past the end, and one with a huge count.
    QByteArray tiff("II*\0\x08\0\0\0\x01\0\xBB\x83\x07\0\x10\0\0\0\xF0\0\0\0", 22);
    EXPECT_FALSE(tiffIimTag(tiff));
    tiff.replace(14, 4, QByteArray("\xFF\xFF\xFF\xFF", 4));
    EXPECT_FALSE(tiffIimTag(tiff));
    // A trailer dataset whose length runs past the end is no block.
    EXPECT_FALSE(jpegTrailerIim(jpeg({app0()}) + QByteArray("\x1C\x02\x78\x10\x00" "short", 10)));
    EXPECT_EQ(iimRunAt(QByteArray("\x1C\x01\x5A\x00\x00\x1C\x02\x78\x00\x01x\x1C\x01", 13), 0).length, 11);
}
