// The command line as a user meets it: --help of every command, refused options, options after
// the operands, and the write command under the edit options of Zelvarion.ini.
#include "CliRunner.h"

#include "core/iptc/IptcReader.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

const char *const kSample = "iptc/metadata-extractor-images/jpg/Canon EOS 7D.jpg";

QString u8(const char *text) { return QString::fromUtf8(text); }

QByteArray sampleBytes()
{
    QFile in(testDataFile(QLatin1String(kSample)));
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    return in.readAll();
}

QString caption(const QString &path) { return readImageIptc(path, defaultCustomizedLabel()).fields.values[kCaptionIndex]; }

} // namespace

TEST(CliArguments, everyCommandAnswersHelpWithItsUsage)
{
    for (const char *command : {"read", "write", "scan", "search", "mark", "marks", "unmark-all", "selection", "doubles",
                                "rename", "delete", "copy", "sql"}) {
        for (const char *help : {"--help", "-h"}) {
            const CliRun run = runCli({u8(command), u8("--bogus"), u8(help)});
            EXPECT_EQ(run.exitCode, 0) << command;
            EXPECT_TRUE(run.out.startsWith(u8("Usage: zelvarion-cli %1 [OPTIONS] ").arg(u8(command)))) << run.out.toStdString();
            EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        }
    }
    const CliRun overview = runCli({u8("--help")});
    EXPECT_EQ(overview.exitCode, 0);
    for (const char *command : {"read FILE...", "write FILE...", "scan FOLDER...", "search [TEXT]", "mark [TEXT]",
                                "delete FILE...", "rename FILE NEWNAME", "copy [TEXT]"})
        EXPECT_TRUE(overview.out.contains(u8(command))) << command;
}

// An unknown option is refused before anything is done, where it was once taken for a file or
// folder name.
TEST(CliArguments, unknownOptionsAreRefusedWithExitTwoAndNothingDone)
{
    TempFolder folder;
    const QString image = folder.write(u8("a.jpg"), sampleBytes());
    const QString catalogue = folder.file(u8("new.db"));
    const QList<QStringList> cases = {
        {u8("read"), u8("--jsn"), image},
        {u8("write"), u8("--set"), u8("Caption=x"), u8("--yse"), image},
        {u8("scan"), u8("--catalogue"), catalogue, u8("--thumbnail"), folder.path()},
        {u8("search"), u8("--catalogue"), catalogue, u8("-x"), u8("paris")},
        {u8("read"), image, u8("--json=yes")},
        {u8("delete"), u8("--yse"), image},
        {u8("rename"), image, u8("b.jpg"), u8("--force")},
        {u8("copy"), u8("--to"), folder.path(), u8("--yess"), u8("paris")},
        {u8("mark"), u8("--catalogue"), catalogue, u8("--sql"), u8("paris")},
        {u8("sql"), u8("--catalogue"), catalogue, u8("--tsv"), u8("select 1")},
    };
    for (const QStringList &arguments : cases) {
        const CliRun run = runCli(QStringList{u8("--program-folder"), folder.path()} + arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_TRUE(run.err.contains(u8("--help"))) << run.err.toStdString();
    }
    EXPECT_EQ(folder.read(u8("a.jpg")), sampleBytes());
    EXPECT_FALSE(QFileInfo::exists(catalogue));
}

TEST(CliArguments, optionsAfterTheOperandsAndOperandsAfterDoubleDash)
{
    TempFolder folder;
    const QString image = folder.write(u8("a.jpg"), sampleBytes());
    const CliRun json = runCli({u8("read"), image, u8("--json")});
    EXPECT_EQ(json.exitCode, 0) << json.err.toStdString();
    EXPECT_TRUE(json.out.startsWith(u8("[")));

    folder.write(u8("--json"), sampleBytes());
    QProcess process;
    process.setWorkingDirectory(folder.path());
    process.start(QStringLiteral(ZELVARION_CLI_PATH), {u8("read"), u8("--"), u8("--json")});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(process.readAllStandardOutput().startsWith("--json\n  SupportIPTC: 1"));
}

class CliWriteOptions : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(folder.file(u8("program")));
        QDir().mkpath(folder.file(u8("backup")));
        image = folder.write(u8("photos/a.jpg"), sampleBytes());
    }

    void configure(const QByteArray &options)
    {
        folder.write(u8("program/Zelvarion.ini"), "[EditIPTCOptions]\n" + options);
    }

    CliRun write(const char *newCaption)
    {
        return runCli({u8("--program-folder"), folder.file(u8("program")), u8("write"), u8("--set"),
                       u8("Caption=") + u8(newCaption), image});
    }

    TempFolder folder;
    QString image;
};

TEST_F(CliWriteOptions, backupKeepsTheFirstVersionOrTheLatestAsTheOptionsSay)
{
    const QByteArray original = folder.read(u8("photos/a.jpg"));
    configure("SaveOriginalFile=1\nSaveFirstVersion=1\nSaveFolder=" + folder.file(u8("backup/")).toUtf8() + "\n");
    ASSERT_EQ(write("first").exitCode, 0);
    const QByteArray afterFirst = folder.read(u8("photos/a.jpg"));
    ASSERT_EQ(write("second").exitCode, 0);
    EXPECT_EQ(folder.read(u8("backup/a.jpg")), original);
    EXPECT_EQ(caption(image), u8("second"));

    // Without SaveFirstVersion the copy is the file as it was before the latest run; a folder
    // written without its trailing separator is still the folder.
    configure("SaveOriginalFile=1\nSaveFirstVersion=0\nSaveFolder=" + folder.file(u8("backup")).toUtf8() + "\n");
    ASSERT_EQ(write("third").exitCode, 0);
    EXPECT_NE(afterFirst, folder.read(u8("photos/a.jpg")));
    EXPECT_EQ(caption(folder.file(u8("backup/a.jpg"))), u8("second"));
    EXPECT_FALSE(QFileInfo::exists(folder.file(u8("backupa.jpg"))));
}

TEST_F(CliWriteOptions, noCopyWithoutTheOptionAndNoRewriteWithoutTheFolder)
{
    configure("SaveOriginalFile=0\nSaveFolder=" + folder.file(u8("backup/")).toUtf8() + "\n");
    ASSERT_EQ(write("x").exitCode, 0);
    EXPECT_FALSE(QFileInfo::exists(folder.file(u8("backup/a.jpg"))));

    // The user asked for a copy that cannot be made: the file keeps its content.
    configure("SaveOriginalFile=1\nSaveFolder=" + folder.file(u8("gone/")).toUtf8() + "\n");
    const CliRun run = write("y");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(u8("does not exist"))) << run.err.toStdString();
    EXPECT_EQ(caption(image), u8("x"));
}

// The user counts on the copy: a file whose copy cannot be made, or whose "copy" would be the
// file itself, keeps its old content.
TEST_F(CliWriteOptions, fileWhoseBackupCannotBeMadeIsNotRewritten)
{
    // A folder where the backup folder's index should be: no copy can be tied to its source.
    QDir().mkpath(folder.file(u8("backup/.zelvarion-backups")));
    configure("SaveOriginalFile=1\nSaveFirstVersion=0\nSaveFolder=" + folder.file(u8("backup/")).toUtf8() + "\n");
    const QByteArray before = folder.read(u8("photos/a.jpg"));
    const CliRun run = write("lost");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(u8("no backup could be made"))) << run.err.toStdString();
    EXPECT_EQ(folder.read(u8("photos/a.jpg")), before);

    configure("SaveOriginalFile=1\nSaveFirstVersion=1\nSaveFolder=" + folder.file(u8("photos/")).toUtf8() + "\n");
    EXPECT_EQ(write("itself").exitCode, 1);
    EXPECT_EQ(folder.read(u8("photos/a.jpg")), before);
}

// A user at a terminal is asked first; --yes, or no terminal at all (scripts), does not ask.
TEST_F(CliWriteOptions, asksOnATerminalUnlessYesIsGiven)
{
    const QString script = QStandardPaths::findExecutable(u8("script"));
    if (script.isEmpty())
        GTEST_SKIP() << "no script(1) to give the program a terminal";
    const auto onTerminal = [&](const QByteArray &answer, const QString &arguments) {
        QProcess process;
        process.start(script, {u8("-qec"), QStringLiteral(ZELVARION_CLI_PATH) + u' ' + arguments, u8("/dev/null")});
        process.write(answer);
        process.closeWriteChannel();
        process.waitForFinished(60000);
        return process.exitCode();
    };
    const QString write = u8("write --set Caption=%1 ") + image;
    EXPECT_EQ(onTerminal("n\n", write.arg(u8("no"))), 1);
    EXPECT_NE(caption(image), u8("no"));
    EXPECT_EQ(onTerminal("y\n", write.arg(u8("yes"))), 0);
    EXPECT_EQ(caption(image), u8("yes"));
    EXPECT_EQ(onTerminal("", write.arg(u8("asked")) + u8(" --yes")), 0);
    EXPECT_EQ(caption(image), u8("asked"));
}

// libvips and the hundred libraries behind it are loaded only for a file that needs the general
// decoder; a start, a read or a scan of JPEG files goes without them.
TEST(CliStart, loadsTheGeneralImageDecoderOnlyForFilesThatNeedIt)
{
    TempFolder folder;
    folder.write(u8("jpeg/a.jpg"), sampleBytes());
    QFile tiff(testDataFile(u8("iptc/pillow/Tests/images/hopper.Lab.tif")));
    ASSERT_TRUE(tiff.open(QIODevice::ReadOnly));
    folder.write(u8("tiff/b.tif"), tiff.readAll());
    const auto loadsVips = [&](const QStringList &arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u8("LD_DEBUG"), u8("files"));
        environment.insert(u8("XDG_CACHE_HOME"), folder.file(u8("cache")));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(ZELVARION_CLI_PATH), QStringList{u8("--program-folder"), folder.path()} + arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0) << arguments.join(u' ').toStdString();
        return process.readAllStandardError().contains("libvips.so");
    };
    EXPECT_FALSE(loadsVips({u8("--version")}));
    EXPECT_FALSE(loadsVips({u8("read"), folder.file(u8("jpeg/a.jpg"))}));
    EXPECT_FALSE(loadsVips({u8("scan"), folder.file(u8("jpeg"))}));
    EXPECT_TRUE(loadsVips({u8("scan"), folder.file(u8("tiff"))})); // the TIFF's size needs it
}

// A file that is not a catalogue (another program's notes, the undo journal) is named so by every
// command that would otherwise create tables in it or report the engine's raw text.
TEST(CliArguments, aFileThatIsNoCatalogueIsRefusedAndLeftAsItWas)
{
    TempFolder folder;
    const QString notes = folder.write(QStringLiteral("notes.db"), "plain text, not a database\n");
    const QString photo = folder.write(QStringLiteral("photos/a.jpg"), "\xFF\xD8\xFF\xD9");
    const QString programFolder = folder.file(QStringLiteral("program"));
    QDir().mkpath(programFolder);
    const QStringList commands[] = {
        {QStringLiteral("scan"), QStringLiteral("--catalogue"), notes, folder.file(QStringLiteral("photos"))},
        {QStringLiteral("template"), QStringLiteral("list"), QStringLiteral("--catalogue"), notes},
        {QStringLiteral("write"), QStringLiteral("--yes"), QStringLiteral("--catalogue"), notes, QStringLiteral("--set"),
         QStringLiteral("City=Paris"), photo},
    };
    for (const QStringList &command : commands) {
        const CliRun run = runCli(QStringList{QStringLiteral("--program-folder"), programFolder} + command);
        EXPECT_EQ(run.exitCode, 1) << command.first().toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("This file is not a Zelvarion catalogue: ") + notes))
            << command.first().toStdString() << ": " << run.err.toStdString();
        EXPECT_EQ(folder.read(QStringLiteral("notes.db")), QByteArray("plain text, not a database\n"));
        EXPECT_EQ(folder.read(QStringLiteral("photos/a.jpg")), QByteArray("\xFF\xD8\xFF\xD9"));
    }
}
