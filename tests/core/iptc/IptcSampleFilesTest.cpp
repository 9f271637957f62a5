// The reader against exiftool's readings of real files (F.exiftool.json beside every sample F,
// run with -charset iptc=Latin). Only the group "IPTC" is compared: it is the first IIM block
// exiftool meets, which for every sample is the 0x0404 resource this reader takes. The blocks
// exiftool reports as IPTC2 lie elsewhere (an Exif tag, a trailer) and are not read here.
#include "core/iptc/IptcReader.h"
#include "support/TempFolder.h"

#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

// exiftool's names of the record-2 datasets, catalogue fields and customized ones alike.
const QMap<QString, int> &exiftoolDatasets()
{
    static const QMap<QString, int> names = {
        {"ObjectName", 5}, {"EditStatus", 7}, {"Urgency", 10}, {"Category", 15}, {"SupplementalCategories", 20},
        {"FixtureIdentifier", 22}, {"Keywords", 25}, {"ReleaseDate", 30}, {"ReleaseTime", 35},
        {"SpecialInstructions", 40}, {"ReferenceService", 45}, {"ReferenceDate", 47}, {"ReferenceNumber", 50},
        {"DateCreated", 55}, {"TimeCreated", 60}, {"OriginatingProgram", 65}, {"ProgramVersion", 70},
        {"ObjectCycle", 75}, {"By-line", 80}, {"By-lineTitle", 85}, {"City", 90}, {"Province-State", 95},
        {"Country-PrimaryLocationCode", 100}, {"Country-PrimaryLocationName", 101},
        {"OriginalTransmissionReference", 103}, {"Headline", 105}, {"Credit", 110}, {"Source", 115},
        {"CopyrightNotice", 116}, {"Contact", 118}, {"Caption-Abstract", 120}, {"LocalCaption", 121},
        {"Writer-Editor", 122}, {"ImageType", 130},
        // customized datasets met in the samples; 2:221 Prefs is left out because exiftool
        // prints it rewritten ("Tagged:0, ...") rather than as stored ("0:0:0:-00001")
        {"ObjectAttributeReference", 4}, {"SubjectReference", 12}, {"DigitalCreationDate", 62},
        {"DigitalCreationTime", 63}, {"Sub-location", 92}, {"LanguageIdentifier", 135}, {"DocumentHistory", 231},
    };
    return names;
}

QString digitsOnly(const QString &text)
{
    QString digits;
    for (QChar c : text)
        if (c.isDigit())
            digits += c;
    return digits;
}

// Undoes exiftool's print conversions so stored and printed forms compare.
QString comparable(int dataset, const QString &value)
{
    switch (dataset) {
    case 30: case 55: case 62: // dates: "2019:10:14" printed for "20191014"
        return digitsOnly(value);
    case 35: case 60: case 63: // times: "15:00:20+00:00" printed for "150020+0000"
        return QString(value).remove(u':');
    case 10: // urgency: "5 (normal urgency)"
        return value.section(u' ', 0, 0);
    case 75: {
        static const QMap<QString, QString> cycles = {{"Morning", "a"}, {"Evening", "p"}, {"Both Morning and Evening", "b"}};
        return cycles.value(value, value);
    }
    default:
        return value;
    }
}

QString joinedExiftoolValue(const QJsonValue &value)
{
    const QJsonArray items = value.isArray() ? value.toArray() : QJsonArray{value};
    QStringList texts;
    for (const QJsonValue &item : items)
        texts << trimBlanks(item.isDouble() ? QString::number(item.toDouble(), 'g', 15) : item.toString());
    return texts.join(QStringLiteral("; "));
}

// dataset -> value as this reader gives it: catalogue fields, and slots of one number joined.
QMap<int, QString> ourValues(const IptcReadResult &read)
{
    QMap<int, QString> values;
    for (const IptcField &field : kIptcFields)
        if (field.dataset >= 0 && !read.fields.values[std::size_t(field.index)].isEmpty())
            values[field.dataset] = read.fields.values[std::size_t(field.index)];
    for (const CustomizedDataset &slot : read.fields.slots)
        if (slot.number != -1 && exiftoolDatasets().values().contains(slot.number))
            values[slot.number] = values.contains(slot.number) ? values[slot.number] + QStringLiteral("; ") + slot.value : slot.value;
    return values;
}

QMap<int, QString> exiftoolValues(const QJsonObject &output)
{
    QMap<int, QString> values;
    for (auto it = output.begin(); it != output.end(); ++it) {
        if (!it.key().startsWith(QStringLiteral("IPTC:")))
            continue;
        const int dataset = exiftoolDatasets().value(it.key().mid(5), -1);
        const QString value = joinedExiftoolValue(it.value());
        if (dataset >= 0 && !value.isEmpty())
            values[dataset] = value;
    }
    return values;
}

QStringList sampleFiles()
{
    QStringList files;
    QDirIterator it(testDataFile(QStringLiteral("iptc")), {QStringLiteral("*.exiftool.json")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next().chopped(int(qstrlen(".exiftool.json")));
    files.sort();
    return files;
}

QJsonObject exiftoolReading(const QString &file, const char *run)
{
    QFile json(file + QStringLiteral(".exiftool.json"));
    if (!json.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(json.readAll()).object()[QLatin1String(run)].toObject()[QStringLiteral("output")]
        .toArray().first().toObject();
}

} // namespace

TEST(IptcSampleFiles, agreesWithExiftoolOnEveryFieldOfTheSameBlock)
{
    const QStringList files = sampleFiles();
    ASSERT_GE(files.size(), 50) << "sample files missing under " << testDataFile(QStringLiteral("iptc")).toStdString();
    int filesWithIptc = 0;
    for (const QString &file : files) {
        const IptcReadResult read = readImageIptc(file, defaultCustomizedLabel());
        const QMap<int, QString> ours = ourValues(read);
        const QMap<int, QString> theirs = exiftoolValues(exiftoolReading(file, "latin"));
        filesWithIptc += ours.isEmpty() ? 0 : 1;
        QList<int> datasets = ours.keys() + theirs.keys();
        std::sort(datasets.begin(), datasets.end());
        datasets.erase(std::unique(datasets.begin(), datasets.end()), datasets.end());
        for (int dataset : datasets)
            EXPECT_EQ(comparable(dataset, ours.value(dataset)), comparable(dataset, theirs.value(dataset)))
                << file.toStdString() << " dataset 2:" << dataset;
    }
    EXPECT_GE(filesWithIptc, 30);
}

// Files where exiftool reports IIM that this reader does not read, and why.
TEST(IptcSampleFiles, blocksOutsideThe0404ResourceAreNotRead)
{
    struct Case { const char *file; const char *why; };
    const Case cases[] = {
        {"metadata-extractor-images/jpg/Issue 122.jpg", "second block in the Exif IFD0 tag 33723 (IPTC2)"},
        {"metadata-extractor-images/jpg/Nikon E995 (iptc).jpg", "second block in a trailer after the image (IPTC2)"},
    };
    for (const Case &c : cases) {
        const QString file = testDataFile(QStringLiteral("iptc/") + QLatin1String(c.file));
        const QJsonObject latin = exiftoolReading(file, "latin");
        bool hasSecondBlock = false;
        for (const QString &key : latin.keys())
            hasSecondBlock |= key.startsWith(QStringLiteral("IPTC2:"));
        EXPECT_TRUE(hasSecondBlock) << c.file << ": " << c.why;
        // What we read is exactly exiftool's first block, compared in the test above.
        EXPECT_FALSE(ourValues(readImageIptc(file, defaultCustomizedLabel())).isEmpty()) << c.file;
    }
    // IIM only inside TIFF tag 33723, no 0x0404 resource in the Photoshop tag: nothing is read.
    const QString lab = testDataFile(QStringLiteral("iptc/pillow/Tests/images/hopper.Lab.tif"));
    const IptcReadResult read = readImageIptc(lab, defaultCustomizedLabel());
    EXPECT_EQ(supportIptcCode(read.fileKind), u"2");
    EXPECT_EQ(read.fields, IptcFieldSet{});
}

TEST(IptcSampleFiles, decodesEightBitAndUtf8SamplesLikeExiftool)
{
    struct Case { const char *file; int index; const char *expected; };
    const Case cases[] = {
        // 1:90 declares ISO 8859-1; the bytes are 8-bit Latin text
        {"metadata-extractor-images/jpg/Issue 614.jpg", 25, "l'Affiche présentait étaient"},
        // 0x92 alone: the Windows-1252 right quote
        {"commons-imaging/src/test/resources/data/images/iptc/1/Oregon Scientific DS6639 - DSC_0307 - iptc added with irfanview.jpg", 30, "’"},
        // Mac Roman bytes read as Windows-1252, as exiftool does
        {"frameright/tests/Fixtures/metapm.jpg", 30, "JosŽ Mourinho"},
    };
    for (const Case &c : cases) {
        const QString file = testDataFile(QStringLiteral("iptc/") + QLatin1String(c.file));
        const QString value = readImageIptc(file, defaultCustomizedLabel()).fields.values[std::size_t(c.index)];
        EXPECT_TRUE(value.contains(QString::fromUtf8(c.expected))) << c.file << ": " << value.toStdString();
    }
}
