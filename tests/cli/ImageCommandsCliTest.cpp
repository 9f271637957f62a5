// zelvarion-cli mark, marks, unmark-all, selection, doubles, rename, delete, copy and sql on a
// catalogue filled by zelvarion-cli scan from the shared sample photographs.
#include "CliRunner.h"

#include "core/catalogue/CatalogueDb.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace zelvarion::test;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

class ImageCommandsCliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(work.file(u8("program")));
        QStringList samples;
        QDirIterator it(testDataFile(u8("iptc")), {u8("*.jpg")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext() && samples.size() < 4)
            samples << it.next();
        ASSERT_EQ(samples.size(), 4);
        // The same names in two folders, one in other letter case, and a folder with an apostrophe.
        copy(samples[0], u8("photos/a/img1.jpg"));
        copy(samples[1], u8("photos/a/img2.jpg"));
        copy(samples[2], u8("photos/a/img3.jpg"));
        copy(samples[0], u8("photos/l'été/IMG1.JPG"));
        copy(samples[3], u8("photos/l'été/img2.jpg"));
        const CliRun scan = cli({u8("scan"), work.file(u8("photos"))});
        ASSERT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    }

    void copy(const QString &from, const QString &to)
    {
        QDir().mkpath(QFileInfo(work.file(to)).absolutePath());
        ASSERT_TRUE(QFile::copy(from, work.file(to)));
    }

    CliRun cli(const QStringList &arguments) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u8("XDG_CACHE_HOME"), work.file(u8("cache")));
        environment.insert(u8("XDG_DATA_HOME"), work.file(u8("data")));
        process.setProcessEnvironment(environment);
        process.setStandardInputFile(QProcess::nullDevice()); // no terminal to answer questions
        process.start(QStringLiteral(ZELVARION_CLI_PATH), QStringList({u8("--program-folder"), work.file(u8("program"))}) + arguments);
        process.waitForFinished(120000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }

    // The command run with a terminal for its standard input, given the answer typed; its exit code.
    int onTerminal(const QByteArray &answer, const QStringList &arguments) const
    {
        const QString script = QStandardPaths::findExecutable(u8("script"));
        EXPECT_FALSE(script.isEmpty()) << "no script(1) to give the program a terminal";
        QStringList quoted;
        for (const QString &argument : QStringList({QStringLiteral(ZELVARION_CLI_PATH), u8("--program-folder"),
                                                    work.file(u8("program"))}) + arguments)
            quoted << u'\'' + QString(argument).replace(u8("'"), u8("'\\''")) + u'\'';
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u8("XDG_CACHE_HOME"), work.file(u8("cache")));
        environment.insert(u8("XDG_DATA_HOME"), work.file(u8("data")));
        process.setProcessEnvironment(environment);
        process.start(script, {u8("-qec"), quoted.join(u' '), u8("/dev/null")});
        process.write(answer);
        process.closeWriteChannel();
        process.waitForFinished(60000);
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QJsonArray json(const QStringList &arguments) const
    {
        const CliRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return QJsonDocument::fromJson(run.out.toUtf8()).array();
    }

    QStringList files(const QJsonArray &rows) const
    {
        QStringList names;
        for (const QJsonValue &row : rows)
            names << row[u8("folder")].toString().mid(work.path().size() + 1) + row[u8("file")].toString();
        return names;
    }

    TempFolder work;
};

} // namespace

TEST_F(ImageCommandsCliTest, marksOfSearchResultsListAndClear)
{
    EXPECT_EQ(cli({u8("mark"), u8("été")}).out, u8("2 images marked\n"));
    const QJsonArray marked = json({u8("marks"), u8("--json")});
    EXPECT_EQ(files(marked), QStringList({u8("photos/l'été/IMG1.JPG"), u8("photos/l'été/img2.jpg")}));
    EXPECT_FALSE(marked[0][u8("mark")].toString().isEmpty());

    EXPECT_EQ(cli({u8("mark"), u8("IMG1"), u8("--clear")}).exitCode, 0); // options after the text too
    EXPECT_EQ(files(json({u8("marks"), u8("--json")})), QStringList({u8("photos/l'été/img2.jpg")}));
    EXPECT_EQ(cli({u8("mark"), u8("nowhere")}).exitCode, 1); // an empty result is refused

    EXPECT_EQ(onTerminal("n\n", {u8("unmark-all")}), 1); // declined on a terminal: the mark stays
    EXPECT_EQ(json({u8("marks"), u8("--json")}).size(), 1);
    EXPECT_EQ(cli({u8("unmark-all"), u8("--yes")}).exitCode, 0);
    EXPECT_TRUE(json({u8("marks"), u8("--json")}).isEmpty());
    EXPECT_EQ(cli({u8("marks"), u8("--colour")}).exitCode, 2);
}

TEST_F(ImageCommandsCliTest, selectionsAreSavedListedRestoredRenamedAndRemoved)
{
    cli({u8("mark"), u8("img2")});
    EXPECT_EQ(cli({u8("selection"), u8("save"), u8("l'été")}).out, u8("l'été\t2\n"));
    EXPECT_EQ(cli({u8("selection"), u8("save"), u8("l'été")}).exitCode, 1);
    EXPECT_EQ(cli({u8("selection"), u8("save"), u8("  ")}).exitCode, 2);
    const QJsonArray listed = json({u8("selection"), u8("list"), u8("--json")});
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed[0][u8("name")].toString(), u8("l'été"));
    EXPECT_EQ(listed[0][u8("images")].toInt(), 2);

    cli({u8("unmark-all"), u8("--yes")});
    EXPECT_EQ(cli({u8("selection"), u8("restore"), u8("l'été")}).exitCode, 0);
    EXPECT_EQ(json({u8("marks"), u8("--json")}).size(), 2);
    EXPECT_EQ(cli({u8("selection"), u8("restore"), u8("none")}).exitCode, 1);

    EXPECT_EQ(cli({u8("selection"), u8("rename"), u8("l'été"), u8("d'hiver")}).exitCode, 0);
    EXPECT_EQ(cli({u8("selection"), u8("list")}).out, u8("d'hiver\t2\n"));
    EXPECT_EQ(onTerminal("n\n", {u8("selection"), u8("remove"), u8("d'hiver")}), 1); // declined, not removed
    EXPECT_EQ(cli({u8("selection"), u8("list")}).out, u8("d'hiver\t2\n"));
    EXPECT_EQ(onTerminal("y\n", {u8("selection"), u8("remove"), u8("d'hiver")}), 0);
    EXPECT_TRUE(cli({u8("selection"), u8("list")}).out.isEmpty());
    EXPECT_EQ(cli({u8("selection"), u8("forget")}).exitCode, 2);
}

TEST_F(ImageCommandsCliTest, renameAndDeleteKeepFileAndCatalogueInStep)
{
    const QString img3 = work.file(u8("photos/a/img3.jpg"));
    EXPECT_EQ(cli({u8("rename"), img3, u8("img1.jpg")}).exitCode, 1);
    EXPECT_EQ(cli({u8("rename"), img3, u8("a\"b.jpg")}).exitCode, 1);
    const CliRun renamed = cli({u8("rename"), img3, u8(" o'neil.jpg ")});
    EXPECT_EQ(renamed.exitCode, 0) << renamed.err.toStdString();
    EXPECT_EQ(renamed.out, work.file(u8("photos/a/o'neil.jpg")) + u'\n');
    EXPECT_FALSE(QFileInfo::exists(img3));
    EXPECT_EQ(cli({u8("sql"), u8("select File from Images where File = 'o''neil.jpg'")}).out, u8("File\no'neil.jpg\n"));
    EXPECT_EQ(cli({u8("rename"), work.file(u8("photos/a/none.jpg")), u8("x.jpg")}).exitCode, 1);
    const CliRun blank = cli({u8("rename"), work.file(u8("photos/a/o'neil.jpg")), u8("   ")});
    EXPECT_EQ(blank.exitCode, 2);
    EXPECT_TRUE(blank.err.contains(u8("NEWNAME is blank"))) << blank.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(work.file(u8("photos/a/o'neil.jpg"))));

    const QString renamedPath = work.file(u8("photos/a/o'neil.jpg"));
    EXPECT_EQ(onTerminal("n\n", {u8("delete"), renamedPath}), 1); // declined on a terminal
    EXPECT_TRUE(QFileInfo::exists(renamedPath));
    EXPECT_EQ(onTerminal("n\n", {u8("rename"), renamedPath, u8("x.jpg")}), 1);
    EXPECT_TRUE(QFileInfo::exists(renamedPath));
    const CliRun deleted = cli({u8("delete"), u8("--yes"), renamedPath});
    EXPECT_EQ(deleted.exitCode, 0) << deleted.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(renamedPath));
    EXPECT_TRUE(QFileInfo::exists(work.file(u8("data/Trash/files/o'neil.jpg"))));
    EXPECT_EQ(cli({u8("sql"), u8("select count(*) from Images")}).out, u8("count(*)\n4\n"));
}

TEST_F(ImageCommandsCliTest, deleteRefusesANameTooLongForTheTrashAtOnceAndKeepsTheImage)
{
    const QString longName = QString(246, u'x') + u8(".jpg");
    copy(work.file(u8("photos/a/img1.jpg")), u8("photos/a/") + longName);
    ASSERT_EQ(cli({u8("scan"), work.file(u8("photos"))}).exitCode, 0);
    const QString path = work.file(u8("photos/a/") + longName);
    const CliRun deleted = cli({u8("delete"), u8("--yes"), path});
    EXPECT_EQ(deleted.exitCode, 1); // not -1: the command ends
    EXPECT_TRUE(deleted.err.contains(u8("245"))) << deleted.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(cli({u8("sql"), u8("select count(*) from Images where length(File) = 250")}).out, u8("count(*)\n1\n"));
}

TEST_F(ImageCommandsCliTest, copyNeverReplacesAnImageOfTheResult)
{
    QDir().mkpath(work.file(u8("out")));
    const CliRun out = cli({u8("copy"), u8("--to"), work.file(u8("out")), u8("img")});
    EXPECT_EQ(out.exitCode, 0) << out.err.toStdString();
    EXPECT_EQ(QDir(work.file(u8("out"))).entryList(QDir::Files), QStringList({u8("IMG1.JPG"), u8("img1.jpg"),
                                                                                u8("img2.jpg"), u8("img3.jpg")}));
    const QByteArray before = work.read(u8("photos/a/img2.jpg"));
    const CliRun own = cli({u8("copy"), u8("img2"), u8("--to"), work.file(u8("photos/a"))});
    EXPECT_EQ(own.exitCode, 1);
    EXPECT_TRUE(own.out.startsWith(u8("0 images copied. 2 not copied")));
    EXPECT_EQ(work.read(u8("photos/a/img2.jpg")), before);
    EXPECT_EQ(cli({u8("copy"), u8("img")}).exitCode, 2);
}

TEST_F(ImageCommandsCliTest, doublesInTheCatalogueOrderAndSqlWithEveryColumnReadOnly)
{
    EXPECT_EQ(files(json({u8("doubles"), u8("--json")})),
              QStringList({u8("photos/l'été/IMG1.JPG"), u8("photos/a/img1.jpg"), u8("photos/a/img2.jpg"),
                           u8("photos/l'été/img2.jpg")}));
    const QJsonArray rows = json({u8("sql"), u8("--json"), u8("select * from Images where File = 'IMG1.JPG'")});
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].toObject().size(), 48);
    EXPECT_EQ(cli({u8("sql"), u8("--csv"), u8("select 'a,b' as x, 'say \"hi\"' as y")}).out,
              u8("x,y\r\n\"a,b\",\"say \"\"hi\"\"\"\r\n"));

    const CliRun refused = cli({u8("sql"), u8("delete from Images")});
    EXPECT_EQ(refused.exitCode, 2);
    const CliRun two = cli({u8("sql"), u8("select count(*) from Images; drop table Images")});
    EXPECT_EQ(two.exitCode, 1);
    EXPECT_EQ(two.out, u8("count(*)\n5\n"));
    EXPECT_TRUE(two.err.contains(u8("drop table Images")));
    EXPECT_EQ(cli({u8("sql"), u8("select count(*) from Images")}).out, u8("count(*)\n5\n"));
    EXPECT_EQ(cli({u8("sql"), u8("select x from Nowhere")}).exitCode, 1);
    EXPECT_EQ(cli({u8("sql"), u8("--catalogue"), work.file(u8("none.db")), u8("select 1")}).exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(work.file(u8("none.db"))));
}

// doubles prints the images as the engine hands them out, never holding a list: the images of
// its JSON list with their marks, a name that is no UTF-8 as the text it reads as.
TEST_F(ImageCommandsCliTest, doublesPrintsTheImagesOfItsJsonListOneALine)
{
    zelvarion::CatalogueDb db;
    db.path = work.file(u8("program/Images.db"));
    ASSERT_TRUE(QFileInfo::exists(db.path));
    ASSERT_TRUE(db.open());
    ASSERT_EQ(db.execute(u8("insert into Images(Folder, File, CheckMark) values ('/x/', cast(x'7aff2e6a7067' as text), 'm'),"
                            " ('/y/', cast(x'7aff2e6a7067' as text), '');")),
              0);
    db.close();

    const CliRun text = cli({u8("doubles")});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    QString expected;
    for (const QJsonValue &row : json({u8("doubles"), u8("--json")}))
        expected += row[u8("folder")].toString() + u'\t' + row[u8("file")].toString() + u'\t' + row[u8("mark")].toString() + u'\n';
    EXPECT_EQ(text.out, expected);
    // As bytes: the replacement character's UTF-8, never the catalogue's raw byte.
    QProcess raw;
    raw.setStandardInputFile(QProcess::nullDevice());
    raw.start(QStringLiteral(ZELVARION_CLI_PATH), {u8("--program-folder"), work.file(u8("program")), u8("doubles")});
    ASSERT_TRUE(raw.waitForFinished(60000));
    const QByteArray bytes = raw.readAllStandardOutput();
    EXPECT_TRUE(bytes.contains("/x/\tz\xEF\xBF\xBD.jpg\tm\n")) << bytes.toStdString();
    EXPECT_FALSE(bytes.contains('\xFF'));
}
