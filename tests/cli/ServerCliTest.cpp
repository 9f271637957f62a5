// zelvarion-cli on a catalogue on a database server (--catalogue postgresql://...): scan, search,
// mark, marks, keywords and sql print what they print on a catalogue file scanned from the same
// folders; apply, write and undo keep their journal in the server's database.
#include "CliRunner.h"

#include "support/TempFolder.h"
#include "support/TestServerDatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using namespace zelvarion::test;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

class ServerCliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ZELVARION_REQUIRE_SERVER(server);
        QDir().mkpath(work.file(u8("program")));
        QStringList samples;
        QDirIterator it(testDataFile(u8("iptc")), {u8("*.jpg")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext() && samples.size() < 6)
            samples << it.next();
        ASSERT_EQ(samples.size(), 6);
        samples.sort();
        copy(samples[0], u8("photos/a/img1.jpg"));
        copy(samples[1], u8("photos/a/Éclair.jpg"));
        copy(samples[2], u8("photos/a/img3.jpg"));
        copy(samples[3], u8("photos/l'été/IMG1.JPG"));
        copy(samples[4], u8("photos/l'été/img2.jpg"));
        copy(samples[5], u8("photos/l'été/100% b_c.jpg"));
        for (const QString &catalogue : {fileCatalogue(), server.address()}) {
            const CliRun scan = cli(catalogue, {u8("scan"), work.file(u8("photos"))});
            ASSERT_EQ(scan.exitCode, 0) << scan.out.toStdString() << scan.err.toStdString();
            EXPECT_TRUE(scan.out.contains(u8("6 files in 1 folder"))) << scan.out.toStdString();
        }
    }

    QString fileCatalogue() const { return work.file(u8("program/Images.db")); }

    void copy(const QString &from, const QString &to)
    {
        QDir().mkpath(QFileInfo(work.file(to)).absolutePath());
        ASSERT_TRUE(QFile::copy(from, work.file(to)));
    }

    // The command with --catalogue after its name.
    CliRun cli(const QString &catalogue, QStringList arguments) const
    {
        arguments.insert(1, u8("--catalogue"));
        arguments.insert(2, catalogue);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u8("XDG_CACHE_HOME"), work.file(u8("cache")));
        environment.insert(u8("XDG_DATA_HOME"), work.file(u8("data")));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(ZELVARION_CLI_PATH),
                      QStringList({u8("--program-folder"), work.file(u8("program"))}) + arguments);
        process.waitForFinished(120000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }

    void expectSameOutput(const QStringList &arguments)
    {
        const CliRun onFile = cli(fileCatalogue(), arguments);
        const CliRun onServer = cli(server.address(), arguments);
        const std::string command = arguments.join(u' ').toStdString();
        EXPECT_EQ(onServer.exitCode, onFile.exitCode) << command << "\n" << onServer.err.toStdString();
        EXPECT_EQ(onServer.out, onFile.out) << command;
        EXPECT_EQ(onServer.err, onFile.err) << command;
    }

    QByteArray digestOfPhotos() const
    {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        QDirIterator it(work.file(u8("photos")), QDir::Files, QDirIterator::Subdirectories);
        QStringList paths;
        while (it.hasNext())
            paths << it.next();
        paths.sort();
        for (const QString &path : paths) {
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::ReadOnly));
            hash.addData(path.toUtf8());
            hash.addData(file.readAll());
        }
        return hash.result();
    }

    TestServerDatabase server;
    TempFolder work;
};

} // namespace

TEST_F(ServerCliTest, searchesListWhatTheyListOnACatalogueFile)
{
    const QList<QStringList> searches = {
        {u8("search"), u8("--with-iptc"), u8("--without-iptc")},
        {u8("search"), u8("--with-iptc")},
        {u8("search"), u8("--without-iptc"), u8("--sort"), u8("File"), u8("--desc")},
        {u8("search"), u8("été")},
        {u8("search"), u8("ÉCLAIR"), u8("--json")},
        {u8("search"), u8("100%")},
        {u8("search"), u8("b_c"), u8("-0")},
        {u8("search"), u8("img"), u8("--whole-word"), u8("--search-file-names")},
        {u8("search"), u8("img1 img2"), u8("--operator"), u8("or")},
        {u8("search"), u8("img1 img2"), u8("--operator"), u8("and")},
        {u8("search"), u8("a"), u8("--field"), u8("Caption")},
        {u8("search"), u8("--never-revised"), u8("--sort"), u8("FileSize")},
        {u8("search"), u8("nowhere")},
        {u8("keywords")},
        {u8("doubles")},
        {u8("sql"), u8("select File, FileSize, Width from Images where File like '%IMG%' order by File")},
    };
    for (const QStringList &arguments : searches)
        expectSameOutput(arguments);
}

TEST_F(ServerCliTest, marksAreSetListedAndClearedAsOnACatalogueFile)
{
    expectSameOutput({u8("mark"), u8("été")});
    expectSameOutput({u8("marks")});
    expectSameOutput({u8("search"), u8("--with-iptc"), u8("--without-iptc")}); // marked rows keep their order
    expectSameOutput({u8("mark"), u8("IMG1"), u8("--clear")});
    expectSameOutput({u8("marks"), u8("--json")});
    expectSameOutput({u8("mark"), u8("nowhere")});
    expectSameOutput({u8("unmark-all"), u8("--yes")});
    const CliRun none = cli(server.address(), {u8("marks")});
    EXPECT_EQ(none.exitCode, 0) << none.err.toStdString();
    EXPECT_TRUE(none.out.isEmpty()) << none.out.toStdString();
}

TEST_F(ServerCliTest, applyAndItsUndoRestoreEveryFileByteForByte)
{
    const QString address = server.address();
    ASSERT_EQ(cli(address, {u8("template"), u8("add"), u8("Shoot")}).exitCode, 0);
    ASSERT_EQ(cli(address, {u8("template"), u8("set"), u8("Shoot"), u8("City=Lyon")}).exitCode, 0);
    ASSERT_EQ(cli(address, {u8("template"), u8("use"), u8("Shoot")}).exitCode, 0);
    const QByteArray before = digestOfPhotos();
    const CliRun run = cli(address, {u8("apply"), u8("--yes"), u8("img")});
    ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_NE(digestOfPhotos(), before);
    const CliRun found = cli(address, {u8("search"), u8("Lyon")});
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_EQ(found.out.count(u'\n'), 4) << found.out.toStdString(); // img1, img3, IMG1, img2

    const CliRun list = cli(address, {u8("undo"), u8("--list")});
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_EQ(list.out.count(u'\n'), 1) << list.out.toStdString();
    const CliRun undo = cli(address, {u8("undo"), u8("--yes")});
    ASSERT_EQ(undo.exitCode, 0) << undo.out.toStdString() << undo.err.toStdString();
    EXPECT_EQ(digestOfPhotos(), before);
    EXPECT_EQ(cli(address, {u8("search"), u8("Lyon")}).exitCode, 1); // the rows were given back too
    EXPECT_NE(cli(address, {u8("undo"), u8("--yes")}).exitCode, 0); // nothing left to undo
}

TEST_F(ServerCliTest, writeOnACatalogueIsJournaledAndUndone)
{
    const QString address = server.address();
    const QString path = work.file(u8("photos/l'été/img2.jpg"));
    const QByteArray before = digestOfPhotos();
    const CliRun write = cli(address, {u8("write"), u8("--set"), u8("City=Bonn"), path});
    ASSERT_EQ(write.exitCode, 0) << write.out.toStdString() << write.err.toStdString();
    EXPECT_TRUE(write.out.contains(u8("undo run 1"))) << write.out.toStdString();
    EXPECT_EQ(cli(address, {u8("search"), u8("Bonn")}).exitCode, 0);
    const CliRun undo = cli(address, {u8("undo"), u8("--yes"), u8("--run"), u8("1")});
    ASSERT_EQ(undo.exitCode, 0) << undo.out.toStdString() << undo.err.toStdString();
    EXPECT_EQ(digestOfPhotos(), before);
    EXPECT_EQ(cli(address, {u8("search"), u8("Bonn")}).exitCode, 1);
}
