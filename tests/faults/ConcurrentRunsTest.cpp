// Two and four zelvarion-cli processes changing the photos of one catalogue at the same moment: an
// apply of the template in use and writes of other fields, with a scan among the four. Each may
// wait for the others or refuse, but none may lose another's change: a file holds the value of
// every command that reported it written and of no other, and the catalogue ends whole and in step
// with the files.
#include "FaultWorkspace.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

constexpr int kPhotos = 12;
constexpr int kRounds = 3;

// One of the processes: its arguments and the field it sets in every photo it reports written.
struct Writer
{
    QStringList arguments;
    const char *column = nullptr; // nullptr: changes no photo (a scan)
    QString value;
};

std::vector<Writer> writersFor(const FaultWorkspace &workspace, int count)
{
    QStringList photos;
    for (const auto &[path, bytes] : workspace.originals)
        photos << path;
    auto write = [&](const char *column, const QString &value) {
        return Writer{QStringList{QStringLiteral("write"), QStringLiteral("--yes"), QStringLiteral("--set"),
                                  QString::fromLatin1(column) + u'=' + value}
                          + photos,
                      column, value};
    };
    std::vector<Writer> writers{{FaultWorkspace::applyArguments(), "City", QStringLiteral("Paris")},
                                write("Source", QStringLiteral("first writer"))};
    if (count == 4) {
        writers.push_back(write("Credit", QStringLiteral("second writer")));
        writers.push_back({{QStringLiteral("scan"), workspace.photos}, nullptr, {}});
    }
    return writers;
}

class ProcessesAtOnce : public ::testing::TestWithParam<int>
{
};

} // namespace

TEST_P(ProcessesAtOnce, loseNoChangeAndLeaveTheCatalogueInStep)
{
    const int count = GetParam();
    for (int round = 0; round < kRounds; ++round) {
        const std::string when = std::to_string(count) + " processes, round " + std::to_string(round);
        SCOPED_TRACE(when);
        TempFolder folder;
        FaultWorkspace workspace(folder.path());
        for (const auto &[name, bytes] : generatedPhotos(kPhotos, 800, 600))
            workspace.addPhoto(name, bytes);
        workspace.askForBackups();
        workspace.scanAndChooseTemplate();
        const std::vector<Writer> writers = writersFor(workspace, count);

        std::vector<std::unique_ptr<QProcess>> processes;
        for (const Writer &writer : writers)
            processes.push_back(workspace.start(writer.arguments));
        std::vector<CliRun> runs;
        for (const auto &process : processes) {
            EXPECT_TRUE(process->waitForFinished(120000)) << when;
            runs.push_back({process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1,
                            QString::fromUtf8(process->readAllStandardOutput()), QString::fromUtf8(process->readAllStandardError())});
        }

        for (std::size_t w = 0; w < writers.size(); ++w) {
            const CliRun &run = runs[w];
            const std::string who = when + ", " + writers[w].arguments.first().toStdString() + " " + std::to_string(w);
            EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 1) << who << " ended with " << run.exitCode;
            if (run.exitCode != 0) {
                EXPECT_FALSE(run.err.trimmed().isEmpty() && !run.out.contains(QStringLiteral("not processed")))
                    << who << " failed without a word";
            }
            if (!writers[w].column)
                continue;
            for (const auto &[path, original] : workspace.originals) {
                const bool reported = run.out.contains(QStringLiteral("written: ") + path + u'\n');
                const bool holds = iptcValue(readWhole(path), writers[w].column) == writers[w].value;
                EXPECT_EQ(holds, reported) << who << ": " << path.toStdString()
                                           << (reported ? " lost the change it reported" : " changed without a report");
                if (run.exitCode == 0) {
                    EXPECT_TRUE(reported) << who << " succeeded without writing " << path.toStdString();
                }
            }
        }
        expectBackupsOfChangedFiles(workspace.originals, workspace.backups, when);
        expectCatalogueIntact(workspace.catalogue(), when);
        QStringList paths;
        for (const auto &[path, bytes] : workspace.originals)
            paths << path;
        expectCatalogueAgreesWithFiles(workspace.catalogue(), paths, when + ", as the commands left it", RowSize::NotChecked);
        const CliRun rescan = workspace.run({QStringLiteral("scan"), workspace.photos});
        EXPECT_EQ(rescan.exitCode, 0) << when << ": " << rescan.err.toStdString();
        expectCatalogueAgreesWithFiles(workspace.catalogue(), paths, when + ", after the rescan");
    }
}

INSTANTIATE_TEST_SUITE_P(TwoAndFour, ProcessesAtOnce, ::testing::Values(2, 4),
                         [](const ::testing::TestParamInfo<int> &processes) { return std::to_string(processes.param) + "Processes"; });

// Two apply runs with different templates over the same photos, the second started while the
// first is writing: the photos end with both templates' values wherever both runs reported them.
TEST(TwoApplyRuns, withDifferentTemplatesLoseNoChange)
{
    int overlapped = 0;
    for (int round = 0; round < kRounds; ++round) {
        const std::string when = "round " + std::to_string(round);
        SCOPED_TRACE(when);
        TempFolder folder;
        FaultWorkspace workspace(folder.path());
        for (const auto &[name, bytes] : generatedPhotos(24, 1200, 900))
            workspace.addPhoto(name, bytes);
        workspace.scanAndChooseTemplate();
        ASSERT_EQ(workspace.run({QStringLiteral("template"), QStringLiteral("add"), QStringLiteral("Second")}).exitCode, 0);
        ASSERT_EQ(workspace.run({QStringLiteral("template"), QStringLiteral("set"), QStringLiteral("Second"),
                                 QStringLiteral("Source=second run")})
                      .exitCode,
                  0);

        const std::unique_ptr<QProcess> first = workspace.start(FaultWorkspace::applyArguments());
        QByteArray firstOut;
        while (!firstOut.contains("written: ") && first->waitForReadyRead(30000))
            firstOut += first->readAllStandardOutput();
        overlapped += first->state() != QProcess::NotRunning ? 1 : 0;
        // The choice of template may wait for the first run, or be refused while it writes.
        const bool secondChosen =
            workspace.run({QStringLiteral("template"), QStringLiteral("use"), QStringLiteral("Second")}).exitCode == 0;
        const std::unique_ptr<QProcess> second = workspace.start(FaultWorkspace::applyArguments());
        EXPECT_TRUE(first->waitForFinished(120000));
        EXPECT_TRUE(second->waitForFinished(120000));
        firstOut += first->readAllStandardOutput();
        const QString secondOut = QString::fromUtf8(second->readAllStandardOutput());

        const std::pair<const char *, QString> firstValue{"City", QStringLiteral("Paris")};
        const std::pair<const char *, QString> secondValue =
            secondChosen ? std::pair<const char *, QString>{"Source", QStringLiteral("second run")} : firstValue;
        for (const auto &[path, original] : workspace.originals) {
            const QByteArray now = readWhole(path);
            const QString line = QStringLiteral("written: ") + path + u'\n';
            if (QString::fromUtf8(firstOut).contains(line)) {
                EXPECT_EQ(iptcValue(now, firstValue.first), firstValue.second) << path.toStdString() << " lost the first run's change";
            }
            if (secondOut.contains(line)) {
                EXPECT_EQ(iptcValue(now, secondValue.first), secondValue.second) << path.toStdString() << " lost the second run's change";
            }
        }
        expectCatalogueIntact(workspace.catalogue(), when);
    }
    EXPECT_GT(overlapped, 0) << "the first run had always ended before the second was prepared";
}
