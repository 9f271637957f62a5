// zelvarion-cli undo after a real apply run over 50 generated JPEG files: the files come back byte
// for byte with their modification times, the rows equal those before the run, a file touched
// since the run is skipped and listed; an undo killed at random moments leaves every file old or
// new, and the next undo finishes the work.
#include "CliRunner.h"

#include "core/catalogue/CatalogueDb.h"
#include "support/GeneratedJpeg.h"
#include "support/TempFolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>

#include <map>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

struct Original
{
    QByteArray bytes;
    QDateTime modified;
};

class UndoCliTest : public ::testing::Test
{
protected:
    void prepare(int images, QSize size)
    {
        for (int i = 0; i < images; ++i) {
            const QByteArray bytes = generated::generatedJpeg(
                size, i + 1, generated::iimDataset(90, "Lyon") + generated::iimDataset(120, "caption " + QByteArray::number(i)));
            const QString path = folder.write(QStringLiteral("photos/img%1.jpg").arg(i, 2, 10, QLatin1Char('0')), bytes);
            originals[path] = {bytes, QFileInfo(path).lastModified()};
        }
        ASSERT_EQ(cli({QStringLiteral("scan"), folder.file(QStringLiteral("photos"))}).exitCode, 0);
        ASSERT_EQ(cli({QStringLiteral("template"), QStringLiteral("add"), QStringLiteral("Desk")}).exitCode, 0);
        ASSERT_EQ(cli({QStringLiteral("template"), QStringLiteral("set"), QStringLiteral("Desk"), QStringLiteral("City=Zürich"),
                       QStringLiteral("Headline=Undo me")}).exitCode, 0);
        ASSERT_EQ(cli({QStringLiteral("template"), QStringLiteral("use"), QStringLiteral("Desk")}).exitCode, 0);
        rowsBefore = rows();
    }

    CliRun cli(QStringList arguments)
    {
        arguments = QStringList{QStringLiteral("--program-folder"), folder.path()} + arguments;
        return runCli(arguments);
    }
    void applyModeTwo()
    {
        const CliRun run = cli({QStringLiteral("apply"), QStringLiteral("--yes"), QStringLiteral("--mode"), QStringLiteral("2"),
                                QStringLiteral("photos")});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        for (const auto &[path, original] : originals)
            ASSERT_NE(read(path), original.bytes);
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Every Images row by path: the IPTC columns and the revision date and time.
    std::map<QString, QStringList> rows()
    {
        CatalogueDb db;
        db.path = folder.file(QStringLiteral("Images.db"));
        std::map<QString, QStringList> found;
        if (!db.open() || db.execute(QStringLiteral("select * from Images;")) != 0)
            return found;
        for (int r = 1; r <= db.rowCount(); ++r) {
            QStringList cells;
            for (int c = 2; c < db.columnCount(); ++c)
                cells << db.cell(c, r);
            found[db.cell(0, r) + db.cell(1, r)] = cells;
        }
        return found;
    }
    QJsonArray listRuns()
    {
        const CliRun run = cli({QStringLiteral("undo"), QStringLiteral("--list"), QStringLiteral("--json")});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return QJsonDocument::fromJson(run.out.toUtf8()).array();
    }

    TempFolder folder;
    std::map<QString, Original> originals;
    std::map<QString, QStringList> rowsBefore;
};

} // namespace

TEST_F(UndoCliTest, undoGivesBackFilesAndRowsAndListsTheTouchedFile)
{
    prepare(50, QSize(320, 240));
    applyModeTwo();
    const QString touched = originals.begin()->first;
    const QByteArray touchedNow = read(touched);
    {
        QFile file(touched);
        ASSERT_TRUE(file.open(QIODevice::Append));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(90), QFileDevice::FileModificationTime));
    }
    QJsonArray runs = listRuns();
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs[0][QStringLiteral("template")].toString(), u"Desk");
    EXPECT_EQ(runs[0][QStringLiteral("files")].toInt(), 50);
    EXPECT_FALSE(runs[0][QStringLiteral("undone")].toBool());

    EXPECT_EQ(cli({QStringLiteral("undo"), QStringLiteral("--run"), QStringLiteral("x")}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("undo"), QStringLiteral("--list"), QStringLiteral("--run"), QStringLiteral("1")}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("undo")}).exitCode, 2); // no terminal and no --yes: nothing is done
    EXPECT_NE(read(std::next(originals.begin())->first), std::next(originals.begin())->second.bytes);

    const CliRun undo = cli({QStringLiteral("undo"), QStringLiteral("--yes")});
    EXPECT_EQ(undo.exitCode, 1) << undo.err.toStdString();
    EXPECT_TRUE(undo.out.contains(QStringLiteral("skipped: ") + touched + QStringLiteral(": changed since the run\n")))
        << undo.out.toStdString();
    EXPECT_TRUE(undo.out.endsWith(QStringLiteral("49 files restored, 1 skipped\n"))) << undo.out.toStdString();
    const std::map<QString, QStringList> rowsAfter = rows();
    for (const auto &[path, original] : originals) {
        if (path == touched) {
            EXPECT_EQ(read(path), touchedNow);
            continue;
        }
        EXPECT_EQ(read(path), original.bytes) << path.toStdString();
        EXPECT_EQ(QFileInfo(path).lastModified(), original.modified) << path.toStdString();
        EXPECT_EQ(rowsAfter.at(path), rowsBefore.at(path)) << path.toStdString();
    }
    EXPECT_NE(rowsAfter.at(touched), rowsBefore.at(touched)); // still the run's row, as its file is
    runs = listRuns();
    EXPECT_TRUE(runs[0][QStringLiteral("undone")].toBool());
    const CliRun again = cli({QStringLiteral("undo"), QStringLiteral("--yes")});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("no run left to undo"))) << again.err.toStdString();
}

TEST_F(UndoCliTest, aKilledUndoLeavesEveryFileWholeAndTheNextOneFinishes)
{
    prepare(40, QSize(1600, 1200));
    QRandomGenerator random(20261209);
    int killedMidUndo = 0;
    for (int round = 0; round < 5; ++round) {
        applyModeTwo();
        std::map<QString, QByteArray> rewritten;
        for (const auto &[path, original] : originals)
            rewritten[path] = read(path);
        QProcess undo;
        undo.start(QStringLiteral(ZELVARION_CLI_PATH), {QStringLiteral("--program-folder"), folder.path(),
                                                        QStringLiteral("undo"), QStringLiteral("--yes")});
        ASSERT_TRUE(undo.waitForStarted());
        // Killed once a few files have their old size back, however fast this machine starts it.
        const int killAfter = 1 + int(random.bounded(quint32(originals.size() / 2)));
        const auto restoredSoFar = [&] {
            int count = 0;
            for (const auto &[path, original] : originals)
                count += QFileInfo(path).size() == original.bytes.size() ? 1 : 0;
            return count;
        };
        QElapsedTimer waited;
        waited.start();
        while (undo.state() == QProcess::Running && restoredSoFar() < killAfter && waited.elapsed() < 60000)
            QThread::usleep(300);
        undo.kill(); // SIGKILL: no destructor, no flush
        undo.waitForFinished();
        int restored = 0;
        for (const auto &[path, original] : originals) {
            const QByteArray now = read(path);
            restored += now == original.bytes ? 1 : 0;
            EXPECT_TRUE(now == original.bytes || now == rewritten.at(path)) << "round " << round << " " << path.toStdString();
        }
        killedMidUndo += restored > 0 && restored < int(originals.size()) ? 1 : 0;
        const CliRun finish = cli({QStringLiteral("undo"), QStringLiteral("--yes")});
        // An undo that had ended before the kill has nothing left to do, and says so.
        const bool endedBeforeKill = restored == int(originals.size()) && finish.exitCode == 1
                                     && finish.err.contains(QStringLiteral("no run left to undo"));
        ASSERT_TRUE(finish.exitCode == 0 || endedBeforeKill)
            << "round " << round << finish.out.toStdString() << finish.err.toStdString();
        const std::map<QString, QStringList> rowsAfter = rows();
        for (const auto &[path, original] : originals) {
            ASSERT_EQ(read(path), original.bytes) << "round " << round << " " << path.toStdString();
            EXPECT_EQ(rowsAfter.at(path), rowsBefore.at(path)) << "round " << round << " " << path.toStdString();
        }
    }
    EXPECT_GT(killedMidUndo, 0) << "no undo was killed while it was restoring";
}
