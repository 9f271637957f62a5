// Damaged photos met by read, scan and write: truncated files, lengths that lie, IPTC split over
// two APP13 segments. Nothing hangs or crashes, nothing outside the metadata is read as metadata,
// and a write either leaves the file exactly as it was and names it, or rewrites it keeping every
// byte of the picture and every value it held.
#include "FaultWorkspace.h"

#include "core/iptc/IptcReader.h"
#include "support/GeneratedJpeg.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;
using namespace zelvarion::test::generated;

namespace {

// IIM of a caption that lies outside every IPTC segment: found only by a reader that overruns.
const QByteArray kGhost = "GHOST";

QByteArray app13(const QByteArray &resources) { return segment(0xED, QByteArray("Photoshop 3.0\0", 14) + resources); }

int bigEndian16At(const QByteArray &bytes, int at) { return (uchar(bytes[at]) << 8) | uchar(bytes[at + 1]); }

// The tables, frame and scan of a generated JPEG, without its start marker and APPn segments, led
// by a comment segment holding a ghost caption.
QByteArray pictureBody()
{
    const QByteArray jpeg = generatedJpeg(QSize(160, 120), 7, {});
    QByteArray body = segment(0xFE, iimDataset(120, kGhost));
    for (int at = 2; at + 4 <= jpeg.size();) {
        const int marker = uchar(jpeg[at + 1]);
        if (marker == 0xDA)
            return body + jpeg.mid(at);
        const int length = bigEndian16At(jpeg, at + 2);
        if (marker < 0xE0 || marker > 0xEF)
            body += jpeg.mid(at, 2 + length);
        at += 2 + length;
    }
    return {};
}

// A 0x0404 resource whose length field says `declared` whatever the datasets' size.
QByteArray resourceClaiming(int declared, const QByteArray &datasets)
{
    QByteArray block = photoshopResource(0x0404, datasets);
    block[10] = char((declared >> 8) & 0xFF);
    block[11] = char(declared & 0xFF);
    return block;
}

QByteArray keywordsFilling(int bytes)
{
    QByteArray datasets;
    for (int i = 0; datasets.size() < bytes; ++i)
        datasets += iimDataset(25, "keyword number " + QByteArray::number(i));
    return datasets;
}

enum class Expect { Write, WriteOrRefuse, Refuse };

struct DamagedFile
{
    const char *name;
    QByteArray bytes;
    Expect expect;
    QByteArray keptBody;   // the bytes a rewrite must keep at the end
    QByteArray sameValues; // a sound file whose values (but the headline) a rewrite must keep
};

std::vector<DamagedFile> damagedFiles()
{
    const QByteArray soi("\xFF\xD8", 2);
    const QByteArray body = pictureBody();
    const QByteArray whole = soi + app13(photoshopResource(0x0404, iimDataset(90, "Lyon") + iimDataset(120, "whole"))) + body;
    // IPTC too long for one segment continues in the next; the cut may fall inside a dataset.
    const QByteArray longIptc = photoshopResource(
        0x0404, iimDataset(90, "Lyon") + keywordsFilling(600) + iimDataset(120, "the caption lies in the second segment"));
    const QByteArray longWhole = soi + app13(longIptc) + body;
    auto splitAt = [&](qsizetype cut) { return soi + app13(longIptc.left(cut)) + app13(longIptc.mid(cut)) + body; };
    const qsizetype betweenDatasets = longIptc.indexOf("\x1C\x02\x78");
    QByteArray lengthPastEnd = app13(photoshopResource(0x0404, iimDataset(90, "Lyon")));
    lengthPastEnd[2] = char(0xFF);
    lengthPastEnd[3] = char(0xF0);
    QByteArray lengthBelowTwo = app13(photoshopResource(0x0404, iimDataset(90, "Lyon")));
    lengthBelowTwo[2] = 0;
    lengthBelowTwo[3] = 1;
    const QByteArray datasetPastResource = QByteArray("\x1C\x02\x78\x0B\xB8", 5) + "short";
    const qsizetype cut = whole.size() * 7 / 10;
    return {
        {"wellFormed.jpg", whole, Expect::Write, body, whole},
        {"splitBetweenDatasets.jpg", splitAt(betweenDatasets), Expect::Write, body, longWhole},
        {"splitInsideADataset.jpg", splitAt(betweenDatasets + 12), Expect::Write, body, longWhole},
        {"resourceLengthPastItsSegment.jpg", soi + app13(resourceClaiming(4000, iimDataset(90, "Lyon"))) + body,
         Expect::WriteOrRefuse, body, {}},
        {"datasetLengthPastTheResource.jpg", soi + app13(photoshopResource(0x0404, datasetPastResource)) + body,
         Expect::WriteOrRefuse, body, {}},
        {"segmentLengthPastTheEnd.jpg", soi + lengthPastEnd + body, Expect::WriteOrRefuse, body, {}},
        {"segmentLengthBelowTwo.jpg", soi + lengthBelowTwo + body, Expect::WriteOrRefuse, body, {}},
        {"truncatedInTheIptc.jpg", whole.left(30), Expect::WriteOrRefuse, {}, {}},
        {"truncatedInTheImageData.jpg", whole.left(cut), Expect::WriteOrRefuse, body.left(body.size() - (whole.size() - cut)), whole},
        {"empty.jpg", QByteArray(), Expect::Refuse, {}, {}},
        {"notAJpeg.jpg", "just some text, not a picture\n", Expect::Refuse, {}, {}},
    };
}

constexpr int kHeadlineIndex = 25;
static_assert(fieldIsNamed(kHeadlineIndex, "Headline"));

// Every value as the reader finds it, but the headline the write sets.
QStringList valuesButHeadline(const QByteArray &bytes)
{
    const IptcFieldSet fields = readIptcFromBytes(bytes, QStringLiteral("image.jpg"), QStringLiteral("Field")).fields;
    QStringList values(fields.values.begin(), fields.values.end());
    values.removeAt(kHeadlineIndex);
    return values;
}

bool finishedByItself(const CliRun &run) { return run.exitCode == 0 || run.exitCode == 1; }

} // namespace

TEST(DamagedFiles, areReadAndScannedWithoutOverrunAndRewrittenWholeOrNotAtAll)
{
    TempFolder folder;
    FaultWorkspace workspace(folder.path());
    const std::vector<DamagedFile> files = damagedFiles();
    QStringList paths;
    QStringList names;
    for (const DamagedFile &file : files) {
        names << QString::fromLatin1(file.name);
        paths << workspace.addPhoto(names.back(), file.bytes);
    }
    workspace.askForBackups();

    const CliRun scan = workspace.run({QStringLiteral("scan"), workspace.photos}, 60000);
    EXPECT_TRUE(finishedByItself(scan)) << "scan: " << scan.exitCode << " " << scan.err.toStdString();
    expectCatalogueIntact(workspace.catalogue(), "after the scan");
    EXPECT_EQ(catalogueRows(workspace.catalogue(), QStringLiteral("select File from Images;")).size(), files.size());
    const auto ghostRows = catalogueRows(workspace.catalogue(), QStringLiteral("select File from Images where "
                                                                               "Caption like '%GHOST%';"));
    for (const QStringList &row : ghostRows)
        ADD_FAILURE() << row[0].toStdString() << ": the scan read bytes outside the IPTC as its caption";

    for (const DamagedFile &file : files) {
        const QString path = workspace.photos + u'/' + QString::fromLatin1(file.name);
        SCOPED_TRACE(file.name);
        const CliRun read = workspace.run({QStringLiteral("read"), QStringLiteral("--json"), path}, 30000);
        EXPECT_TRUE(finishedByItself(read)) << "read: " << read.exitCode;
        EXPECT_FALSE(read.out.contains(QLatin1String(kGhost))) << "read overran the IPTC: " << read.out.toStdString();

        const CliRun write = workspace.run({QStringLiteral("write"), QStringLiteral("--yes"), QStringLiteral("--set"),
                                            QStringLiteral("Headline=Fresh"), path},
                                           30000);
        EXPECT_TRUE(finishedByItself(write)) << "write: " << write.exitCode;
        const QByteArray now = readWhole(path);
        if (write.exitCode != 0) {
            EXPECT_NE(file.expect, Expect::Write) << "refused: " << write.err.toStdString();
            EXPECT_EQ(now, file.bytes) << "a refused write changed the file";
            EXPECT_TRUE(write.err.contains(path)) << "the refusal does not name the file: " << write.err.toStdString();
            continue;
        }
        EXPECT_NE(file.expect, Expect::Refuse) << "a file that cannot be rewritten safely was rewritten";
        EXPECT_TRUE(now.endsWith(file.keptBody)) << "the rewrite lost bytes of the picture";
        EXPECT_EQ(iptcValue(now, "Headline"), u"Fresh");
        EXPECT_FALSE(iptcValue(now, "Caption").contains(QLatin1String(kGhost)));
        if (!file.sameValues.isEmpty()) {
            EXPECT_EQ(valuesButHeadline(now), valuesButHeadline(file.sameValues)) << "the rewrite lost values";
        }
        expectBackupsOfChangedFiles({{path, file.bytes}}, workspace.backups, file.name);
    }
    expectOnlyTheseFiles(workspace.photos, names, "after the writes");
    const CliRun rescan = workspace.run({QStringLiteral("scan"), workspace.photos}, 60000);
    EXPECT_TRUE(finishedByItself(rescan)) << rescan.err.toStdString();
    expectCatalogueIntact(workspace.catalogue(), "after the rescan");
    expectCatalogueAgreesWithFiles(workspace.catalogue(), paths, "after the rescan");
}
