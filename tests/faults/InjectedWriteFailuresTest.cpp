// Every step of the atomic replacement made to fail under a whole template run, with and without
// backups: no photo, backup, row or journal entry changes, no temporary file stays, each photo is
// reported not processed; once the fault is gone the same run rewrites them all.
#include "FaultWorkspace.h"

#include "core/captioning/ApplyTemplateRun.h"
#include "core/captioning/UndoJournal.h"
#include "platform/AtomicFile.h"
#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

constexpr int kPhotos = 6;

struct InjectedStep
{
    const char *name;
    atomicfile::Step step;
};

const InjectedStep kSteps[] = {
    {"CreateTemporary", atomicfile::Step::CreateTemporary}, {"Write", atomicfile::Step::Write},
    {"Flush", atomicfile::Step::Flush},                     {"CopyAttributes", atomicfile::Step::CopyAttributes},
    {"Rename", atomicfile::Step::Rename},
};

// A template run as the apply command makes it, with the undo journal beside the catalogue.
ApplySummary applyInProcess(const FaultWorkspace &workspace, bool backups)
{
    std::vector<ResultRow> rows;
    for (const auto &[path, bytes] : workspace.originals)
        rows.push_back({workspace.photos + u'/', QFileInfo(path).fileName(), {}});
    CatalogueDb db;
    db.path = workspace.catalogue();
    RecordingFeedback feedback;
    UndoJournal journal(UndoJournal::pathBeside(db.path));
    ApplyOptions options;
    options.mode = MergeMode::OverwriteNonEmpty;
    options.keywords = KeywordOption::Add;
    options.writeOptions = {backups, true, workspace.backups + u'/', false};
    options.journal = &journal;
    return runApplyTemplate(db, feedback, rows, options, nullptr);
}

class InjectedWriteFailures : public ::testing::TestWithParam<InjectedStep>
{
protected:
    void TearDown() override { atomicfile::setInjectedFailure(atomicfile::Step::None); }
};

void PrintTo(const InjectedStep &injected, std::ostream *out) { *out << injected.name; }

} // namespace

TEST_P(InjectedWriteFailures, leavePhotosRowsBackupsAndJournalAsTheyWere)
{
    for (const bool backups : {true, false}) {
        const std::string when = std::string(GetParam().name) + (backups ? " with backups" : " without backups");
        TempFolder folder;
        FaultWorkspace workspace(folder.path());
        QStringList names;
        for (const auto &[name, bytes] : generatedPhotos(kPhotos, 320, 240)) {
            workspace.addPhoto(name, bytes);
            names << name;
        }
        workspace.scanAndChooseTemplate();
        const auto rowsBefore = catalogueRows(workspace.catalogue(), QStringLiteral("select * from Images order by File;"));

        atomicfile::setInjectedFailure(GetParam().step);
        const ApplySummary failed = applyInProcess(workspace, backups);
        atomicfile::setInjectedFailure(atomicfile::Step::None);
        EXPECT_EQ(failed.processed, 0) << when;
        EXPECT_EQ(failed.notProcessed.size(), std::size_t(kPhotos)) << when;
        expectEachFileOldOrNew(workspace.originals, {}, when);
        expectOnlyTheseFiles(workspace.photos, names, when);
        // No copy; the index keeps the names the run claimed for these files, which stay theirs.
        expectOnlyTheseFiles(workspace.backups, backups ? QStringList{QStringLiteral(".zelvarion-backups")} : QStringList{}, when);
        EXPECT_EQ(catalogueRows(workspace.catalogue(), QStringLiteral("select * from Images order by File;")), rowsBefore) << when;
        const CliRun runs = workspace.run({QStringLiteral("undo"), QStringLiteral("--list"), QStringLiteral("--json")});
        EXPECT_EQ(QJsonDocument::fromJson(runs.out.toUtf8()).array().size(), 0) << when << ": a run that rewrote nothing is listed";

        const ApplySummary again = applyInProcess(workspace, backups);
        EXPECT_EQ(again.processed, kPhotos) << when;
        for (const auto &[path, original] : workspace.originals)
            EXPECT_EQ(iptcValue(readWhole(path), "City"), u"Paris") << when << " " << path.toStdString();
        if (backups) {
            expectBackupsOfChangedFiles(workspace.originals, workspace.backups, when);
        }
        QStringList paths;
        for (const auto &[path, bytes] : workspace.originals)
            paths << path;
        expectCatalogueAgreesWithFiles(workspace.catalogue(), paths, when + ", after the run without faults", RowSize::NotChecked);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryStep, InjectedWriteFailures, ::testing::ValuesIn(kSteps),
                         [](const ::testing::TestParamInfo<InjectedStep> &injected) { return std::string(injected.param.name); });
