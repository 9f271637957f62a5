#include "CliRunner.h"

#include "../core/iptc/IptcFieldSetPrinter.h"
#include "core/iptc/IptcReader.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

const char *const kSample = "iptc/metadata-extractor-images/jpg/Canon EOS 7D.jpg";

QString copySample(const TempFolder &folder, const char *sample, const QString &name)
{
    QFile in(testDataFile(QLatin1String(sample)));
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    return folder.write(name, in.readAll());
}

IptcFieldSet readFields(const QString &path) { return readImageIptc(path, defaultCustomizedLabel()).fields; }

} // namespace

// --- read ---

TEST(IptcCliRead, jsonGivesEveryColumnAndTheCustomizedSlots)
{
    const QString path = testDataFile(QLatin1String(kSample));
    const CliRun run = runCli({QStringLiteral("read"), QStringLiteral("--json"), path});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject file = QJsonDocument::fromJson(run.out.toUtf8()).array().first().toObject();
    EXPECT_EQ(file[QStringLiteral("path")].toString(), path);
    EXPECT_EQ(file[QStringLiteral("fileKind")].toString(), u"1");
    const QJsonObject fields = file[QStringLiteral("fields")].toObject();
    const IptcFieldSet expected = readFields(path);
    ASSERT_EQ(fields.size(), kIptcFieldCount);
    for (const IptcField &field : kIptcFields)
        EXPECT_EQ(fields[QLatin1String(field.column)].toString(), expected.values[std::size_t(field.index)]) << field.column;
    EXPECT_EQ(fields[QStringLiteral("Copyright")].toString(), QString::fromUtf8("© Peter Bemmann"));
    const QJsonArray customized = file[QStringLiteral("customized")].toArray();
    ASSERT_EQ(customized.size(), 1);
    EXPECT_EQ(customized[0].toObject()[QStringLiteral("dataset")].toInt(), 92);
    EXPECT_EQ(customized[0].toObject()[QStringLiteral("value")].toString(), u"Fotostudio HS");
}

TEST(IptcCliRead, textNamesTheFieldsAndReportsMissingFiles)
{
    TempFolder folder;
    const QString path = testDataFile(QLatin1String(kSample));
    const CliRun run = runCli({QStringLiteral("read"), path, folder.file(QStringLiteral("missing.jpg"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains(QStringLiteral("  City: Mainz\n")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("  SupportIPTC: 0\n")));
    EXPECT_TRUE(run.err.contains(QStringLiteral("missing.jpg")));
}

// --- write ---

TEST(IptcCliWrite, badArgumentsChangeNothing)
{
    TempFolder folder;
    const QString path = copySample(folder, kSample, QStringLiteral("a.jpg"));
    const QByteArray before = folder.read(QStringLiteral("a.jpg"));
    const QList<QStringList> cases = {
        {QStringLiteral("--set"), QStringLiteral("NoSuchColumn=x")},
        {QStringLiteral("--set"), QStringLiteral("Caption")},
        {QStringLiteral("--set"), QStringLiteral("Customized=x")},
        {QStringLiteral("--customized"), QStringLiteral("25=x")},  // a catalogue number
        {QStringLiteral("--customized"), QStringLiteral("255=x")},
        {QStringLiteral("--customized"), QStringLiteral("x=1")},
        {QStringLiteral("--bogus")},
    };
    for (const QStringList &arguments : cases) {
        const CliRun run = runCli(QStringList{QStringLiteral("write")} + arguments + QStringList{path});
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
    EXPECT_EQ(runCli({QStringLiteral("write"), QStringLiteral("--set"), QStringLiteral("City=x")}).exitCode, 2);
    EXPECT_EQ(folder.read(QStringLiteral("a.jpg")), before);
}

TEST(IptcCliWrite, reportsEveryFileNotWrittenAndWritesTheOthers)
{
    TempFolder folder;
    const QString jpeg = copySample(folder, kSample, QStringLiteral("a.jpg"));
    const QString tiff = copySample(folder, "iptc/pillow/Tests/images/hopper.Lab.tif", QStringLiteral("b.tif"));
    const QString missing = folder.file(QStringLiteral("c.jpg"));
    const CliRun run = runCli({QStringLiteral("write"), QStringLiteral("--set"), QStringLiteral("City=Bonn"), tiff, jpeg, missing});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("not written: ") + tiff + QStringLiteral(": not a JPEG file")));
    EXPECT_TRUE(run.err.contains(QStringLiteral("not written: ") + missing));
    EXPECT_EQ(readFields(jpeg).values[20], u"Bonn");
}

TEST(IptcCliWrite, keepsCustomizedDatasetsPastTheSixteenSlots)
{
    TempFolder folder;
    QByteArray datasets;
    for (int i = 0; i < 17; ++i)
        datasets += QByteArray("\x1C\x02", 2) + char(200 + i) + QByteArray("\x00\x01", 2) + 'v';
    const QByteArray resource = QByteArray("8BIM\x04\x04\x00\x00\x00\x00", 10) + char(datasets.size() >> 8)
                                + char(datasets.size() & 0xFF) + datasets;
    const QByteArray payload = QByteArray("Photoshop 3.0", 14) + resource;
    const QByteArray file = QByteArray("\xFF\xD8\xFF\xED", 4) + char((payload.size() + 2) >> 8)
                            + char((payload.size() + 2) & 0xFF) + payload + QByteArray("\xFF\xD9", 2);
    const QString path = folder.write(QStringLiteral("a.jpg"), file);
    const CliRun run = runCli({QStringLiteral("write"), QStringLiteral("--set"), QStringLiteral("City=x"), path});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const IptcFieldSet after = readFields(path);
    EXPECT_EQ(after.values[kCityIndex], u"x");
    EXPECT_EQ(after.values[kCustomizedIndex].count(QStringLiteral("\r\n")), 17);
}

TEST(IptcCliWrite, replacesNamedFieldsAndKeepsTheRest)
{
    TempFolder folder;
    const QString path = copySample(folder, kSample, QStringLiteral("a.jpg"));
    IptcFieldSet expected = readFields(path);
    const CliRun run = runCli({QStringLiteral("write"),
                               QStringLiteral("--set"), QStringLiteral("keywords= one ;two;; "),
                               QStringLiteral("--set"), QStringLiteral("Headline="),
                               QStringLiteral("--set"), QStringLiteral("Caption=Über den Wolken"),
                               QStringLiteral("--customized"), QStringLiteral("92="),
                               QStringLiteral("--customized"), QStringLiteral("201=extra"), path});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    expected.values[kKeywordsIndex] = QStringLiteral("one; two");
    expected.values[25].clear();
    expected.values[30] = QString::fromUtf8("Über den Wolken");
    expected.values[kCustomizedIndex] = QStringLiteral("Field 201: extra\r\n");
    expected.slots[0] = {201, QStringLiteral("extra")};
    EXPECT_EQ(readFields(path), expected);
}

// --- write on a catalogue: checked values, the row, the undo journal ---

namespace {

class IptcCliCatalogueTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = copySample(folder, kSample, QStringLiteral("photos/a.jpg"));
        original = folder.read(QStringLiteral("photos/a.jpg"));
        ASSERT_EQ(cli({QStringLiteral("scan"), folder.file(QStringLiteral("photos"))}).exitCode, 0);
    }
    CliRun cli(QStringList arguments)
    {
        arguments = QStringList{QStringLiteral("--program-folder"), folder.path()} + arguments;
        return runCli(arguments);
    }
    CliRun write(const QStringList &sets)
    {
        QStringList arguments{QStringLiteral("write"), QStringLiteral("--yes")};
        for (const QString &set : sets)
            arguments << QStringLiteral("--set") << set;
        return cli(arguments << path);
    }
    TempFolder folder;
    QString path;
    QByteArray original;
};

} // namespace

TEST_F(IptcCliCatalogueTest, writeRefusesWhatTemplateSetRefuses)
{
    const QString cjk(1, QChar(0x65E5));
    const QStringList refused[] = {
        {QStringLiteral("City=") + QString(80, u'c')},        // over the dialog's 32
        {QStringLiteral("CreatedDate=2026-01-01")},           // not yyyymmdd
        {QStringLiteral("CreatedTime=25:00")},
        {QStringLiteral("Caption=") + cjk.repeated(1200)},    // 3,600 bytes in UTF-8
        {QStringLiteral("Keywords=a; ") + QString(65, u'k')}, // one entry over 64
    };
    for (const QStringList &sets : refused) {
        const CliRun run = write(sets);
        EXPECT_EQ(run.exitCode, 2) << sets.join(u' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
    const CliRun bytes = write({QStringLiteral("Caption=") + cjk.repeated(1200)});
    EXPECT_TRUE(bytes.err.contains(QStringLiteral("3600 bytes"))) << bytes.err.toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("photos/a.jpg")), original);
    EXPECT_EQ(cli({QStringLiteral("undo"), QStringLiteral("--list")}).out.count(u'\n'), 0);
}

TEST_F(IptcCliCatalogueTest, writeUpdatesTheRowAndIsAnUndoRun)
{
    const CliRun run = write({QStringLiteral("City=Quimper")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("undo run 1")));
    const CliRun found = cli({QStringLiteral("search"), QStringLiteral("Quimper")});
    EXPECT_TRUE(found.out.contains(QStringLiteral("a.jpg"))) << found.out.toStdString() << found.err.toStdString();

    const CliRun list = cli({QStringLiteral("undo"), QStringLiteral("--list"), QStringLiteral("--json")});
    const QJsonArray runs = QJsonDocument::fromJson(list.out.toUtf8()).array();
    ASSERT_EQ(runs.size(), 1) << list.out.toStdString();
    EXPECT_EQ(runs[0].toObject()[QStringLiteral("kind")].toString(), u"write");
    // "undo the last template run" is about templates; the write is undone by its number.
    EXPECT_NE(cli({QStringLiteral("undo"), QStringLiteral("--yes")}).exitCode, 0);
    const CliRun undo = cli({QStringLiteral("undo"), QStringLiteral("--yes"), QStringLiteral("--run"), QStringLiteral("1")});
    ASSERT_EQ(undo.exitCode, 0) << undo.err.toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("photos/a.jpg")), original);
    EXPECT_FALSE(cli({QStringLiteral("search"), QStringLiteral("Quimper")}).out.contains(QStringLiteral("a.jpg")));
}

TEST(IptcCliRead, damagedResourceIsReportedAndNeverWritten)
{
    TempFolder folder;
    QByteArray payload = QByteArray("Photoshop 3.0", 14) + QByteArray("8BIM\x04\x04\x00\x00\x7F\xFF\xFF\xFF", 12)
                         + QByteArray("\x1C\x02\x05\x00\x04kept", 9);
    QByteArray file = QByteArray("\xFF\xD8\xFF\xED", 4) + char((payload.size() + 2) >> 8) + char((payload.size() + 2) & 0xFF)
                      + payload + QByteArray("\xFF\xDA\x00\x02\x1C\x02\x3E\x00\x03" "abc\xFF\xD9", 14);
    const QString path = folder.write(QStringLiteral("a.jpg"), file);
    const CliRun read = runCli({QStringLiteral("read"), path});
    EXPECT_EQ(read.exitCode, 1);
    EXPECT_TRUE(read.err.contains(QStringLiteral("damaged IPTC"))) << read.err.toStdString();
    EXPECT_TRUE(read.out.contains(QStringLiteral("ObjectName: kept")));
    EXPECT_FALSE(read.out.contains(QStringLiteral("Field 62")));
    const CliRun write = runCli({QStringLiteral("write"), QStringLiteral("--yes"), QStringLiteral("--set"),
                                 QStringLiteral("City=x"), path});
    EXPECT_EQ(write.exitCode, 1);
    EXPECT_EQ(folder.read(QStringLiteral("a.jpg")), file);
}
