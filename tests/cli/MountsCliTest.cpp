// One shared folder mounted at two places: a catalogue scanned through one mount and used through
// the other reaches the same files, and its rows keep the one path the mapping stores.
#include "CliRunner.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using namespace zelvarion::test;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

class MountsCliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QStringList samples;
        QDirIterator it(testDataFile(u8("iptc")), {u8("*.jpg")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext() && samples.size() < 2)
            samples << it.next();
        ASSERT_EQ(samples.size(), 2);
        ASSERT_TRUE(QDir().mkpath(work.file(u8("share/photos/a"))));
        ASSERT_TRUE(QFile::copy(samples[0], work.file(u8("share/photos/a/img1.jpg"))));
        ASSERT_TRUE(QFile::copy(samples[1], work.file(u8("share/photos/a/img2.jpg"))));
        // Two mounts of one folder, and a stored prefix that no machine has as a folder.
        ASSERT_TRUE(QFile::link(work.file(u8("share")), work.file(u8("mountA"))));
        ASSERT_TRUE(QFile::link(work.file(u8("share")), work.file(u8("mountB"))));
        stored = u8("/zelvarion-shared-") + QFileInfo(work.path()).fileName();
        machine(u8("A"), u8("[PathMapping]\nStored1=%1\nLocal1=%2\n").arg(stored, work.file(u8("mountA"))));
        machine(u8("B"), u8("[PathMapping]\nStored1=%1/\nLocal1=%2/\n").arg(stored, work.file(u8("mountB"))));
        machine(u8("plain"), QString());
    }

    void machine(const QString &name, const QString &ini) const
    {
        ASSERT_TRUE(QDir().mkpath(work.file(u8("program") + name)));
        work.write(u8("program") + name + u8("/Zelvarion.ini"), ini.toUtf8());
    }

    CliRun on(const QString &machineName, QStringList arguments) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u8("XDG_CACHE_HOME"), work.file(u8("cache")));
        environment.insert(u8("XDG_DATA_HOME"), work.file(u8("data")));
        process.setProcessEnvironment(environment);
        process.setStandardInputFile(QProcess::nullDevice());
        arguments << u8("--catalogue") << work.file(u8("shared.db"));
        if (arguments.first() == u8("read"))
            arguments.removeLast(), arguments.removeLast(); // read takes no catalogue
        process.start(QStringLiteral(ZELVARION_CLI_PATH),
                      QStringList({u8("--program-folder"), work.file(u8("program") + machineName)}) + arguments);
        process.waitForFinished(120000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }

    QString rows(const QString &machineName) const
    {
        const CliRun run = on(machineName, {u8("sql"), u8("select Folder, File, Caption from Images order by File")});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return run.out;
    }

    QString captionOf(const QString &realPath) const
    {
        const CliRun run = on(u8("plain"), {u8("read"), u8("--json"), realPath});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return run.out;
    }

    TempFolder work;
    QString stored;
};

} // namespace

TEST_F(MountsCliTest, aCatalogueScannedThroughOneMountIsUsedThroughTheOther)
{
    const CliRun scan = on(u8("A"), {u8("scan"), work.file(u8("mountA/photos"))});
    ASSERT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    const QString folder = stored + u8("/photos/a/");
    const QString before = rows(u8("A"));
    EXPECT_TRUE(before.contains(folder + u8("\timg1.jpg"))) << before.toStdString();
    EXPECT_TRUE(before.contains(folder + u8("\timg2.jpg"))) << before.toStdString();
    EXPECT_FALSE(before.contains(work.path())) << before.toStdString();
    EXPECT_EQ(rows(u8("B")), before); // the rows are the same whatever the machine

    // A row's path reaches its file only where a mapping says where the share is.
    EXPECT_EQ(on(u8("B"), {u8("read"), folder + u8("img1.jpg")}).exitCode, 0);
    EXPECT_NE(on(u8("plain"), {u8("read"), folder + u8("img1.jpg")}).exitCode, 0);

    const CliRun search = on(u8("B"), {u8("search"), u8("--with-iptc"), u8("--without-iptc"), u8("--json")});
    ASSERT_EQ(search.exitCode, 0) << search.err.toStdString();
    const QJsonArray found = QJsonDocument::fromJson(search.out.toUtf8()).array();
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0][u8("folder")].toString(), folder);

    // Written and renamed through mount B: the shared file changes and the row keeps its stored folder.
    const CliRun write = on(u8("B"), {u8("write"), u8("--yes"), u8("--set"), u8("Caption=Shared caption"),
                                      work.file(u8("mountB/photos/a/img1.jpg"))});
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    EXPECT_TRUE(captionOf(work.file(u8("share/photos/a/img1.jpg"))).contains(u8("Shared caption")));
    const CliRun renamed = on(u8("B"), {u8("rename"), work.file(u8("mountB/photos/a/img2.jpg")), u8("moved.jpg")});
    ASSERT_EQ(renamed.exitCode, 0) << renamed.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(work.file(u8("share/photos/a/moved.jpg"))));
    EXPECT_FALSE(QFileInfo::exists(work.file(u8("share/photos/a/img2.jpg"))));

    const QString after = rows(u8("A"));
    EXPECT_TRUE(after.contains(folder + u8("\timg1.jpg\tShared caption"))) << after.toStdString();
    EXPECT_TRUE(after.contains(folder + u8("\tmoved.jpg"))) << after.toStdString();
    EXPECT_FALSE(after.contains(u8("img2.jpg"))) << after.toStdString();
    EXPECT_FALSE(after.contains(work.path())) << after.toStdString();

    // A rescan through mount A finds the same two files under the same rows, none added.
    const CliRun rescan = on(u8("A"), {u8("scan"), work.file(u8("mountA/photos"))});
    ASSERT_EQ(rescan.exitCode, 0) << rescan.err.toStdString();
    EXPECT_EQ(rows(u8("B")), after);
}
