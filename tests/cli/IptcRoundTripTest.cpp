// Every sample JPEG rewritten by zelvarion-cli write, then checked three ways: this reader sees
// the same values with the new caption, the file's other segments are byte-identical, and
// exiftool (when installed) reads the new values and the other Photoshop resources.
#include "CliRunner.h"
#include "UnchangedParts.h"

#include "../core/iptc/IptcFieldSetPrinter.h"
#include "core/iptc/IptcReader.h"
#include "core/iptc/JpegSegments.h"
#include "support/TempFolder.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

struct Sample
{
    QString path;      // the copy that gets rewritten
    QByteArray before; // its bytes before
    IptcFieldSet fieldsBefore;
};

std::vector<Sample> copyJpegSamples(const TempFolder &folder)
{
    std::vector<Sample> samples;
    QDirIterator it(testDataFile(QStringLiteral("iptc")), QDir::Files, QDirIterator::Subdirectories);
    int count = 0;
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.fileName().endsWith(QStringLiteral(".json")) || !file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = file.readAll();
        if (!bytes.startsWith(QByteArrayView("\xFF\xD8", 2)))
            continue;
        const QString copy = folder.write(QString::number(++count) + u'-' + QFileInfo(file.fileName()).fileName(), bytes);
        samples.push_back({copy, bytes, readImageIptc(copy, defaultCustomizedLabel()).fields});
    }
    return samples;
}


QList<int> otherResourceIds(const QByteArray &bytes)
{
    QList<int> ids;
    // The blocks of the whole run of segments: a block may run on from one into the next.
    const auto run = photoshopRunAt(bytes, findIptcSegmentOnChain(bytes));
    if (!run)
        return ids;
    for (const PhotoshopResourceBlock &block : run->resources.blocks) {
        if (block.id != 0x0404 && block.id != 0x0425) // the digest follows its own rule
            ids << block.id;
    }
    return ids;
}

QJsonArray exiftoolJson(const QStringList &arguments)
{
    const CliRun run = runProgram(exiftoolPath(), QStringList{QStringLiteral("-j"), QStringLiteral("-G1")} + arguments);
    return QJsonDocument::fromJson(run.out.toUtf8()).array();
}

// What the file reads as after the rewrite: the new caption, and no slot without text (a slot
// with an empty text writes no dataset).
IptcFieldSet expectedAfterRewrite(const IptcFieldSet &before, const QString &caption)
{
    IptcFieldSet expected;
    expected.values = before.values;
    expected.values[30] = caption;
    expected.values[kCustomizedIndex].clear();
    int slot = 0;
    for (const CustomizedDataset &kept : before.slots) {
        if (kept.number == -1 || kept.value.isEmpty())
            continue;
        expected.slots[std::size_t(slot++)] = kept;
        expected.values[kCustomizedIndex] += customizedLine(defaultCustomizedLabel(), kept.number, kept.value) + QStringLiteral("\r\n");
    }
    return expected;
}

// Tags exiftool may read differently after a rewrite by design: the record-1 envelope and the
// record version are not carried over, the character set declaration follows the new text.
bool changesByDesign(const QString &key)
{
    static const QStringList tags = {
        "CodedCharacterSet", "ApplicationRecordVersion", "EnvelopeRecordVersion", "Destination", "FileFormat",
        "FileVersion", "ServiceIdentifier", "EnvelopeNumber", "ProductID", "EnvelopePriority", "DateSent",
        "TimeSent", "SizeMode", "MaxSubfileSize", "Caption-Abstract"};
    if (key == u"Photoshop:IPTCDigest")
        return true; // renewed when it matched the old IIM
    return key.startsWith(QStringLiteral("IPTC:")) && tags.contains(key.mid(5));
}

// A tag's value with the blanks around each text removed, as the reader trims them.
std::string trimmedJson(const QJsonValue &value)
{
    if (value.isArray()) {
        std::string joined;
        for (const QJsonValue &item : value.toArray())
            joined += trimmedJson(item) + ";";
        return joined;
    }
    if (value.isString())
        return trimBlanks(value.toString()).toStdString();
    return value.isUndefined() || value.isNull() ? std::string() : QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).toStdString();
}

// exiftool's IPTC and Photoshop resources of the originals and of the rewritten files agree but
// for the new caption.
void checkWithExiftool(const std::vector<Sample> &samples, const QString &caption)
{
    TempFolder originals;
    QStringList before;
    QStringList after;
    for (const Sample &sample : samples) {
        before << originals.write(QFileInfo(sample.path).fileName(), sample.before);
        after << sample.path;
    }
    const QStringList options = {QStringLiteral("-charset"), QStringLiteral("iptc=Latin"), QStringLiteral("-IPTC:all"),
                                 QStringLiteral("-Photoshop:all")};
    const QJsonArray was = exiftoolJson(options + before);
    const QJsonArray is = exiftoolJson(options + after);
    ASSERT_EQ(was.size(), is.size());
    for (qsizetype i = 0; i < was.size(); ++i) {
        const QJsonObject old = was[i].toObject();
        const QJsonObject now = is[i].toObject();
        const std::string name = now[QStringLiteral("SourceFile")].toString().toStdString();
        EXPECT_EQ(now[QStringLiteral("IPTC:Caption-Abstract")].toString(), caption) << name;
        for (const QString &key : old.keys()) {
            // values are trimmed when read, and a dataset left without text is not written
            const std::string oldValue = trimmedJson(old[key]);
            if (key != u"SourceFile" && !changesByDesign(key) && !oldValue.empty()) {
                EXPECT_EQ(trimmedJson(now[key]), oldValue) << name << " " << key.toStdString();
            }
        }
    }
}

void checkRoundTrip(const QString &caption)
{
    TempFolder folder;
    std::vector<Sample> samples = copyJpegSamples(folder);
    ASSERT_GE(samples.size(), 40u);
    QStringList paths;
    for (const Sample &sample : samples)
        paths << sample.path;
    const CliRun run = runCli(QStringList{QStringLiteral("write"), QStringLiteral("--set"), QStringLiteral("Caption=") + caption} + paths);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    for (Sample &sample : samples) {
        QFile file(sample.path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray after = file.readAll();
        const std::string name = sample.path.toStdString();
        EXPECT_EQ(readImageIptc(sample.path, defaultCustomizedLabel()).fields,
                  expectedAfterRewrite(sample.fieldsBefore, caption)) << name;
        EXPECT_EQ(withoutIptcXmpAndDigest(after), withoutIptcXmpAndDigest(sample.before)) << name;
        EXPECT_EQ(otherResourceIds(after), otherResourceIds(sample.before)) << name;
    }
    if (!exiftoolPath().isEmpty())
        checkWithExiftool(samples, caption);
}

} // namespace

TEST(IptcRoundTrip, windows1252CaptionReadsBackWithEveryOtherValueAndSegment)
{
    checkRoundTrip(QString::fromUtf8("Café ’quoted’ for 5 €"));
}

TEST(IptcRoundTrip, utf8CaptionReadsBackWithEveryOtherValueAndSegment)
{
    checkRoundTrip(QString::fromUtf8("東京 Straße ✓"));
}

TEST(IptcRoundTrip, exiftoolReadsWrittenValuesAndKeptResources)
{
    if (exiftoolPath().isEmpty())
        GTEST_SKIP() << "exiftool is not on PATH";
    TempFolder folder;
    QFile in(testDataFile(QStringLiteral("iptc/metadata-extractor-images/jpg/Canon EOS 7D.jpg")));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray original = in.readAll();
    const QString latin = folder.write(QStringLiteral("latin.jpg"), original);
    const QString utf8 = folder.write(QStringLiteral("utf8.jpg"), original);
    const QString caption = QString::fromUtf8("Café ’€");
    const QString wide = QString::fromUtf8("東京 café");
    ASSERT_EQ(runCli({QStringLiteral("write"), QStringLiteral("--set"), QStringLiteral("Caption=") + caption,
                      QStringLiteral("--set"), QStringLiteral("Keywords=a; b"), latin}).exitCode, 0);
    ASSERT_EQ(runCli({QStringLiteral("write"), QStringLiteral("--set"), QStringLiteral("Caption=") + wide,
                      QStringLiteral("--customized"), QStringLiteral("12=IPTC:01000000"), utf8}).exitCode, 0);

    const QString originalPath = folder.write(QStringLiteral("original.jpg"), original);
    const QJsonArray read = exiftoolJson({QStringLiteral("-charset"), QStringLiteral("iptc=Latin"),
                                          QStringLiteral("-IPTC:all"), QStringLiteral("-Photoshop:all"),
                                          QStringLiteral("-CurrentIPTCDigest"), latin, utf8, originalPath});
    ASSERT_EQ(read.size(), 3);
    const QJsonObject l = read[0].toObject(), u = read[1].toObject(), o = read[2].toObject();
    EXPECT_EQ(l[QStringLiteral("IPTC:Caption-Abstract")].toString(), caption);
    EXPECT_EQ(l[QStringLiteral("IPTC:Keywords")].toArray(), (QJsonArray{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_FALSE(l.contains(QStringLiteral("IPTC:CodedCharacterSet")));
    EXPECT_EQ(u[QStringLiteral("IPTC:Caption-Abstract")].toString(), wide);
    EXPECT_EQ(u[QStringLiteral("IPTC:CodedCharacterSet")].toString(), u"UTF8");
    EXPECT_EQ(u[QStringLiteral("IPTC:SubjectReference")].toString(), u"IPTC:01000000");
    EXPECT_EQ(u[QStringLiteral("IPTC:City")], o[QStringLiteral("IPTC:City")]);
    // The digest that matched the old IIM matches the new one; a stale one would have stayed.
    const QString digest = QStringLiteral("Photoshop:IPTCDigest"), current = QStringLiteral("File:CurrentIPTCDigest");
    ASSERT_FALSE(o[digest].toString().isEmpty());
    EXPECT_EQ(l[digest], o[digest] == o[current] ? l[current] : o[digest]);
    // The other Photoshop resources are still there and still parse.
    for (const QString &key : o.keys()) {
        if (key.startsWith(QStringLiteral("Photoshop:")) && key != digest) {
            EXPECT_EQ(l[key], o[key]) << key.toStdString();
        }
    }
}
