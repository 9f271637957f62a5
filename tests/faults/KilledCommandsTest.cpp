// zelvarion-cli apply, write, undo and scan killed with SIGKILL at random moments: every photo is
// as it was or as the whole command leaves it, every rewritten photo has its backup, the catalogue
// passes its integrity check; the command run again finishes the work, and a rescan agrees with
// the files, keeps the check marks and leaves no temporary file behind.
#include "FaultWorkspace.h"

#include "core/catalogue/CatalogueTables.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

constexpr int kPhotos = 24;
constexpr int kRounds = 8;

enum class Command { Apply, Write, Undo, Scan };

struct KillCase
{
    const char *name;
    Command command;
};

const KillCase kKillCases[] = {
    {"apply", Command::Apply},
    {"write", Command::Write},
    {"undo", Command::Undo},
    {"scan", Command::Scan},
};

void PrintTo(const KillCase &killCase, std::ostream *out) { *out << killCase.name; }

class KilledCommands : public ::testing::TestWithParam<KillCase>
{
protected:
    // Photos scanned with backups asked for, the template chosen, some photos marked; an undo
    // gets a finished apply run to take back.
    static void prepare(FaultWorkspace &workspace, Command command)
    {
        for (const auto &[name, bytes] : generatedPhotos(kPhotos, 1200, 900))
            workspace.addPhoto(name, bytes);
        workspace.askForBackups();
        workspace.scanAndChooseTemplate();
        ASSERT_EQ(workspace.run({QStringLiteral("mark"), QStringLiteral("caption 1")}).exitCode, 0);
        if (command == Command::Undo) {
            ASSERT_EQ(workspace.run(FaultWorkspace::applyArguments()).exitCode, 0);
        }
    }

    static QStringList arguments(const FaultWorkspace &workspace, Command command)
    {
        switch (command) {
        case Command::Apply:
            return FaultWorkspace::applyArguments();
        case Command::Write: {
            QStringList write{QStringLiteral("write"), QStringLiteral("--yes"), QStringLiteral("--set"), QStringLiteral("Headline=Written")};
            for (const auto &[path, bytes] : workspace.originals)
                write << path;
            return write;
        }
        case Command::Undo:
            return {QStringLiteral("undo"), QStringLiteral("--yes")};
        case Command::Scan:
            return {QStringLiteral("scan"), workspace.photos};
        }
        return {};
    }

    static QStringList markedImages(const FaultWorkspace &workspace)
    {
        QStringList marked;
        for (const QStringList &row : catalogueRows(workspace.catalogue(), QStringLiteral("select Folder || File from Images "
                                                                                          "where CheckMark <> '' order by 1;")))
            marked << row[0];
        return marked;
    }

    // A rescan after the work is done: rows agree with the files, marks stay, no temporary file is left.
    static void expectRescanInStep(const FaultWorkspace &workspace, const QStringList &marked, const QStringList &names,
                                   const std::string &when)
    {
        const CliRun rescan = workspace.run({QStringLiteral("scan"), workspace.photos});
        EXPECT_EQ(rescan.exitCode, 0) << when << ": " << rescan.err.toStdString();
        expectCatalogueIntact(workspace.catalogue(), when);
        QStringList paths;
        for (const QString &name : names)
            paths << workspace.photos + u'/' + name;
        expectCatalogueAgreesWithFiles(workspace.catalogue(), paths, when);
        EXPECT_EQ(markedImages(workspace), marked) << when << ": check marks after the rescan";
        expectOnlyTheseFiles(workspace.photos, names, when + ", after the rerun and the rescan");
    }

    static Contents byName(const Contents &byPath)
    {
        Contents named;
        for (const auto &[path, bytes] : byPath)
            named[QFileInfo(path).fileName()] = bytes;
        return named;
    }
    static Contents inWorkspace(const Contents &named, const FaultWorkspace &workspace)
    {
        Contents byPath;
        for (const auto &[name, bytes] : named)
            byPath[workspace.photos + u'/' + name] = bytes;
        return byPath;
    }
};

} // namespace

TEST_P(KilledCommands, leaveEveryFileOldOrNewAndTheCatalogueWholeAndARerunFinishes)
{
    const Command command = GetParam().command;
    // An uninterrupted run gives the "new" content of every file and how long a run takes.
    TempFolder referenceFolder;
    FaultWorkspace reference(referenceFolder.path());
    prepare(reference, command);
    const Contents referenceOld = filesUnder(reference.photos);
    QElapsedTimer clock;
    clock.start();
    const CliRun whole = reference.run(arguments(reference, command));
    const qint64 runMicroseconds = clock.nsecsElapsed() / 1000;
    ASSERT_EQ(whole.exitCode, 0) << whole.err.toStdString();
    if (command == Command::Apply || command == Command::Write) {
        EXPECT_EQ(whole.out.count(QStringLiteral("written: ")), kPhotos) << whole.out.toStdString();
    }
    const Contents expectedNew = byName(filesUnder(reference.photos));
    if (command != Command::Scan) {
        ASSERT_NE(expectedNew, byName(referenceOld)) << "the command changed nothing";
    }

    QStringList names;
    for (const auto &[name, bytes] : expectedNew)
        names << name;
    const quint32 seed = 20261210u + quint32(command);
    QRandomGenerator random(seed);
    int killedMidway = 0;
    for (int round = 0; round < kRounds; ++round) {
        TempFolder folder;
        FaultWorkspace workspace(folder.path());
        prepare(workspace, command);
        const QStringList marked = markedImages(workspace);
        ASSERT_FALSE(marked.isEmpty());
        const Contents before = filesUnder(workspace.photos);
        const Contents after = inWorkspace(expectedNew, workspace);
        const int killAfter = int(random.bounded(quint32(runMicroseconds + runMicroseconds / 10)));
        const std::string when = std::string(GetParam().name) + " seed " + std::to_string(seed) + " round "
                                 + std::to_string(round) + " killed after " + std::to_string(killAfter) + " us of "
                                 + std::to_string(runMicroseconds);
        const KilledRun killed = runAndKill(workspace, arguments(workspace, command), killAfter);
        SCOPED_TRACE(when);

        const int changed = expectEachFileOldOrNew(before, after, when);
        killedMidway += killed.killed && changed > 0 && changed < kPhotos ? 1 : 0;
        expectBackupsOfChangedFiles(workspace.originals, workspace.backups, when);
        expectCatalogueIntact(workspace.catalogue(), when);
        // A kill may leave a hidden temporary file, never a visible one.
        EXPECT_EQ(QDir(workspace.photos).entryList(QDir::Files, QDir::Name), names) << when;

        if (killed.killed) {
            const CliRun rerun = workspace.run(arguments(workspace, command));
            // An undo killed after it marked its run undone has nothing left to do, and says so.
            const bool undoneBefore = command == Command::Undo && changed == kPhotos && rerun.exitCode == 1
                                      && rerun.err.contains(QStringLiteral("no run left to undo"));
            EXPECT_TRUE(rerun.exitCode == 0 || undoneBefore) << when << ": " << rerun.err.toStdString();
        } else {
            EXPECT_EQ(killed.run.exitCode, 0) << when << ": " << killed.run.err.toStdString();
        }
        for (const auto &[path, bytes] : after)
            EXPECT_EQ(readWhole(path), bytes) << when << ": after the rerun " << path.toStdString();
        expectBackupsOfChangedFiles(workspace.originals, workspace.backups, when);

        expectRescanInStep(workspace, marked, names, when);
    }
    if (command != Command::Scan) {
        EXPECT_GT(killedMidway, 0) << "no run was killed while it was writing";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryRewritingCommand, KilledCommands, ::testing::ValuesIn(kKillCases),
                         [](const ::testing::TestParamInfo<KillCase> &killCase) { return std::string(killCase.param.name); });
