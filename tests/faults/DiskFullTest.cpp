// Writes that meet a full disk part-way, on a small tmpfs the test mounts: the photos, their
// backups, the catalogue and the undo journal all share too little room. Each photo is old or
// new, a rewritten one has its backup, the run names every photo it left and exits 1, the
// catalogue stays whole; with room again a rerun finishes and a rescan agrees with the files.
#include "FaultWorkspace.h"

#include "support/GeneratedJpeg.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

constexpr int kPhotos = 12;

struct FullDiskCase
{
    const char *name;
    bool apply;       // else write
    double roomInPhotos; // free room left, in photo sizes
};

const FullDiskCase kFullDiskCases[] = {
    {"applyWithNoRoom", true, 0.0},      {"applyWithRoomForOne", true, 1.5}, {"applyWithRoomForSome", true, 5.0},
    {"writeWithNoRoom", false, 0.0},     {"writeWithRoomForOne", false, 1.5}, {"writeWithRoomForSome", false, 5.0},
};

QStringList commandFor(const FaultWorkspace &workspace, bool apply)
{
    if (apply)
        return FaultWorkspace::applyArguments();
    QStringList write{QStringLiteral("write"), QStringLiteral("--yes"), QStringLiteral("--set"), QStringLiteral("Headline=Written")};
    for (const auto &[path, bytes] : workspace.originals)
        write << path;
    return write;
}

void prepare(FaultWorkspace &workspace)
{
    for (const auto &[name, bytes] : generatedPhotos(kPhotos, 800, 600))
        workspace.addPhoto(name, bytes);
    workspace.askForBackups();
    workspace.scanAndChooseTemplate();
}

QStringList namesOf(const Contents &contents)
{
    QStringList names;
    for (const auto &[path, bytes] : contents)
        names << QFileInfo(path).fileName();
    return names;
}

void PrintTo(const FullDiskCase &fullDisk, std::ostream *out) { *out << fullDisk.name; }

class RewritesOnAFullDisk : public ::testing::TestWithParam<FullDiskCase>
{
};

} // namespace

TEST_P(RewritesOnAFullDisk, leaveEveryFileWholeAndNameTheOnesLeft)
{
    const FullDiskCase &fault = GetParam();
    TempFolder referenceFolder;
    FaultWorkspace reference(referenceFolder.path());
    prepare(reference);
    ASSERT_EQ(reference.run(commandFor(reference, fault.apply)).exitCode, 0);

    TempFolder folder;
    TmpfsMount disk(folder.file(QStringLiteral("disk")), 8 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << disk.whyNot().toStdString();
    FaultWorkspace workspace(folder.file(QStringLiteral("disk")));
    prepare(workspace);
    Contents expectedNew;
    for (const auto &[path, bytes] : workspace.originals)
        expectedNew[path] = readWhole(reference.photos + u'/' + QFileInfo(path).fileName());
    const qint64 photoSize = workspace.originals.begin()->second.size();
    disk.fill(qint64(fault.roomInPhotos * double(photoSize)));
    const std::string when = std::string(fault.name) + " with " + std::to_string(freeBytes(workspace.root)) + " bytes free";

    const CliRun run = workspace.run(commandFor(workspace, fault.apply));
    const int changed = expectEachFileOldOrNew(workspace.originals, expectedNew, when);
    EXPECT_LT(changed, kPhotos) << when << ": the disk was not full";
    EXPECT_EQ(run.exitCode, 1) << when << ": " << run.err.toStdString();
    EXPECT_EQ(run.out.count(QStringLiteral("written: ")), changed) << when << ": " << run.out.toStdString();
    // A run that refuses before the first photo says why once; a run stopped part-way names each photo left.
    const bool refusedWhole = changed == 0 && !run.err.trimmed().isEmpty();
    for (const auto &[path, original] : workspace.originals) {
        const bool rewritten = readWhole(path) != original;
        EXPECT_EQ(run.out.contains(QStringLiteral("written: ") + path + u'\n'), rewritten) << when << " " << path.toStdString();
        if (!rewritten && !refusedWhole) {
            EXPECT_TRUE((run.out + run.err).contains(path)) << when << ": the photo left is not named: " << path.toStdString()
                                                            << "\n" << run.out.toStdString() << run.err.toStdString();
        }
    }
    expectBackupsOfChangedFiles(workspace.originals, workspace.backups, when);
    expectCatalogueIntact(workspace.catalogue(), when);
    if (fault.apply) {
        // The journal lists exactly the photos rewritten, so an undo takes back this run and no other.
        const QJsonArray runs = QJsonDocument::fromJson(
                                    workspace.run({QStringLiteral("undo"), QStringLiteral("--list"), QStringLiteral("--json")}).out.toUtf8())
                                    .array();
        EXPECT_LE(runs.size(), 1) << when; // this is the catalogue's first run
        const int journaled = runs.isEmpty() ? 0 : runs.first()[QStringLiteral("files")].toInt();
        EXPECT_EQ(journaled, changed) << when << ": the undo journal lists photos that were not rewritten";
    }
    // A write that failed takes its temporary file with it.
    expectOnlyTheseFiles(workspace.photos, namesOf(workspace.originals), when);

    disk.dropFiller();
    const CliRun rerun = workspace.run(commandFor(workspace, fault.apply));
    EXPECT_EQ(rerun.exitCode, 0) << when << ": " << rerun.err.toStdString();
    EXPECT_EQ(expectEachFileOldOrNew(workspace.originals, expectedNew, when + ", rerun"), kPhotos);
    expectBackupsOfChangedFiles(workspace.originals, workspace.backups, when + ", rerun");
    const CliRun rescan = workspace.run({QStringLiteral("scan"), workspace.photos});
    EXPECT_EQ(rescan.exitCode, 0) << when << ": " << rescan.err.toStdString();
    QStringList paths;
    for (const auto &[path, bytes] : workspace.originals)
        paths << path;
    expectCatalogueAgreesWithFiles(workspace.catalogue(), paths, when + ", after the rescan");
}

INSTANTIATE_TEST_SUITE_P(ApplyAndWrite, RewritesOnAFullDisk, ::testing::ValuesIn(kFullDiskCases),
                         [](const ::testing::TestParamInfo<FullDiskCase> &fullDisk) { return std::string(fullDisk.param.name); });

// The catalogue alone lies on the small disk; the photos have room. A scan that runs out of room
// in the middle, the first of a folder or a rescan, stops, takes its changes back and says so:
// the rows of the last good scan stay, once each.
class ScanOnAFullDisk : public ::testing::TestWithParam<int>
{
};

TEST_P(ScanOnAFullDisk, stopsTakesItsChangesBackAndSaysSo)
{
    const int scannedBefore = GetParam();
    TempFolder folder;
    FaultWorkspace workspace(folder.path());
    // Room for every row once the filler is gone: a row of these captions takes some 7 KiB with its indexes.
    TmpfsMount disk(workspace.program, 16 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << disk.whyNot().toStdString();
    const QByteArray longCaption(1800, 'w');
    auto photo = [&](int i) {
        return generated::generatedJpeg(QSize(32, 24), i,
                                        generated::iimDataset(90, "Lyon") + generated::iimDataset(120, longCaption + QByteArray::number(i)));
    };
    for (int i = 0; i < scannedBefore; ++i)
        workspace.addPhoto(QStringLiteral("first%1.jpg").arg(i, 3, 10, QLatin1Char('0')), photo(i));
    ASSERT_TRUE(QDir().mkpath(workspace.root + QStringLiteral("/empty")));
    ASSERT_EQ(workspace.run({QStringLiteral("scan"), workspace.root + QStringLiteral("/empty")}).exitCode, 0);
    if (scannedBefore > 0) {
        ASSERT_EQ(workspace.run({QStringLiteral("scan"), workspace.photos}).exitCode, 0);
    }
    const auto rowsBefore = catalogueRows(workspace.catalogue(), QStringLiteral("select * from Images order by Folder, File;"));
    ASSERT_EQ(rowsBefore.size(), std::size_t(scannedBefore));
    for (int i = 0; i < 400; ++i)
        workspace.addPhoto(QStringLiteral("later%1.jpg").arg(i, 3, 10, QLatin1Char('0')), photo(1000 + i));
    disk.fill(48 * 1024);

    const CliRun full = workspace.run({QStringLiteral("scan"), workspace.photos});
    EXPECT_EQ(full.exitCode, 1) << full.out.toStdString() << full.err.toStdString();
    EXPECT_FALSE(full.err.trimmed().isEmpty()) << "a scan that ran out of room says nothing";
    expectCatalogueIntact(workspace.catalogue(), "after the full scan");
    const auto duplicates = catalogueRows(workspace.catalogue(),
                                          QStringLiteral("select Folder, File from Images group by Folder, File having count(*) > 1;"));
    EXPECT_TRUE(duplicates.empty()) << duplicates.size() << " images have more than one row";
    EXPECT_EQ(catalogueRows(workspace.catalogue(), QStringLiteral("select * from Images order by Folder, File;")), rowsBefore)
        << "the stopped scan did not take its changes back";

    disk.dropFiller();
    const CliRun again = workspace.run({QStringLiteral("scan"), workspace.photos});
    EXPECT_EQ(again.exitCode, 0) << again.out.toStdString() << again.err.toStdString();
    QStringList paths;
    for (const auto &[path, bytes] : workspace.originals)
        paths << path;
    expectCatalogueAgreesWithFiles(workspace.catalogue(), paths, "after the scan with room");
}

INSTANTIATE_TEST_SUITE_P(FirstScanAndRescan, ScanOnAFullDisk, ::testing::Values(0, 100),
                         [](const ::testing::TestParamInfo<int> &before) {
                             return before.param == 0 ? std::string("firstScan") : std::string("rescan");
                         });
