// zelvarion-cli on a catalogue on a database server (--catalogue postgresql://...): scan, search,
// mark, marks, keywords and sql print what they print on a catalogue file scanned from the same
// folders; apply, write and undo keep their journal in the server's database.
#include "CliRunner.h"

#include "support/TempFolder.h"
#include "support/TestServerDatabase.h"

#include "core/catalogue/CatalogueTables.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <map>
#include <memory>

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

    // The command with --catalogue after its name, started and not waited for.
    std::unique_ptr<QProcess> start(const QString &catalogue, QStringList arguments) const
    {
        arguments.insert(1, u8("--catalogue"));
        arguments.insert(2, catalogue);
        return startPlain(arguments);
    }

    // The command as given, started and not waited for.
    std::unique_ptr<QProcess> startPlain(const QStringList &arguments) const
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u8("XDG_CACHE_HOME"), work.file(u8("cache")));
        environment.insert(u8("XDG_DATA_HOME"), work.file(u8("data")));
        process->setProcessEnvironment(environment);
        process->start(QStringLiteral(ZELVARION_CLI_PATH),
                       QStringList({u8("--program-folder"), work.file(u8("program"))}) + arguments);
        return process;
    }

    static CliRun finish(QProcess &process)
    {
        process.waitForFinished(120000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }

    CliRun cli(const QString &catalogue, QStringList arguments) const
    {
        return finish(*start(catalogue, std::move(arguments)));
    }

    CliRun run(const QStringList &arguments) const { return finish(*startPlain(arguments)); }

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

namespace {

// The catalogue's rows by path, each a map of column to value, straight from the server.
std::map<QString, std::map<QString, QString>> serverRows(const QString &address, const QString &statement)
{
    QString error;
    const std::unique_ptr<zelvarion::EngineConnection> connection = zelvarion::postgresEngine::openConnection(address, error);
    zelvarion::ResultTable table;
    EXPECT_TRUE(connection && connection->execute(statement, table, error) == 0) << error.toStdString();
    std::map<QString, std::map<QString, QString>> rows;
    for (int r = 1; r <= table.rowCount(); ++r) {
        std::map<QString, QString> &row = rows[table.cell(0, r) + table.cell(1, r)];
        for (int c = 0; c < table.columnCount(); ++c)
            row[table.cell(c, 0)] = table.cell(c, r);
    }
    return rows;
}

} // namespace

// Four people at once on one server catalogue: a rescan, a template run, marks and an undo. None
// of their changes is lost, every row says what its file holds, and no two runs rewrote files at
// the same time.
TEST_F(ServerCliTest, fourCommandsAtOnceLoseNothingAndLeaveEveryRowEqualToItsFile)
{
    const QString address = server.address();
    for (const QStringList &step : QList<QStringList>{{u8("template"), u8("add"), u8("Earlier")},
                                                       {u8("template"), u8("set"), u8("Earlier"), u8("Headline=Earlier run")},
                                                       {u8("template"), u8("use"), u8("Earlier")},
                                                       {u8("apply"), u8("--yes"), u8("img")},
                                                       {u8("template"), u8("add"), u8("Shoot")},
                                                       {u8("template"), u8("set"), u8("Shoot"), u8("City=Lyon")},
                                                       {u8("template"), u8("use"), u8("Shoot")}}) {
        const CliRun run = cli(address, step);
        ASSERT_EQ(run.exitCode, 0) << step.join(u' ').toStdString() << "\n" << run.err.toStdString();
    }
    const QByteArray afterEarlierRun = digestOfPhotos();

    std::vector<std::unique_ptr<QProcess>> people;
    people.push_back(start(address, {u8("scan"), work.file(u8("photos"))}));
    people.push_back(start(address, {u8("apply"), u8("--yes"), u8("img")}));
    people.push_back(start(address, {u8("mark"), u8("été")}));
    people.push_back(start(address, {u8("undo"), u8("--yes")}));
    for (const auto &person : people) {
        const CliRun run = finish(*person);
        EXPECT_EQ(run.exitCode, 0) << person->arguments().join(u' ').toStdString() << "\n"
                                   << run.out.toStdString() << run.err.toStdString();
    }

    // Every row against its file, read again.
    const auto rows = serverRows(address, u8("select * from \"Images\""));
    QStringList paths;
    QDirIterator it(work.file(u8("photos")), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next();
    ASSERT_EQ(paths.size(), 6);
    ASSERT_EQ(rows.size(), 6u);
    const CliRun read = runCli(QStringList{u8("read"), u8("--json")} + paths);
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    const QJsonArray files = QJsonDocument::fromJson(read.out.toUtf8()).array();
    ASSERT_EQ(files.size(), 6);
    for (const QJsonValue &file : files) {
        const QString path = file[u8("path")].toString();
        const auto row = rows.find(path);
        ASSERT_NE(row, rows.end()) << path.toStdString();
        const QJsonObject fields = file[u8("fields")].toObject();
        ASSERT_FALSE(fields.isEmpty());
        for (auto field = fields.begin(); field != fields.end(); ++field)
            EXPECT_EQ(row->second.at(field.key()), field.value().toString()) << path.toStdString() << " " << field.key().toStdString();
    }

    // The mark survived the rescan, whichever came first.
    const CliRun marks = cli(address, {u8("marks")});
    const CliRun marked = cli(address, {u8("search"), u8("été")});
    EXPECT_GT(marked.out.count(u'\n'), 0);
    EXPECT_EQ(marks.out.count(u'\n'), marked.out.count(u'\n')) << marks.out.toStdString();

    // Two template runs, one of them undone: the files are those of the run left standing.
    const auto runs = serverRows(address, u8("select Run, Undone, (select min(Id) from UndoFiles f where f.Run = r.Run), "
                                             "(select max(Id) from UndoFiles f where f.Run = r.Run) from UndoRuns r"));
    ASSERT_EQ(runs.size(), 2u);
    std::vector<std::pair<qint64, qint64>> spans;
    int undone = 0;
    QString undoneRun;
    for (const auto &[key, run] : runs) {
        spans.emplace_back(run.at(u8("min")).toLongLong(), run.at(u8("max")).toLongLong());
        if (run.at(u8("undone")) == u8("1")) {
            ++undone;
            undoneRun = run.at(u8("run"));
        }
    }
    EXPECT_EQ(undone, 1);
    // One run's records all come before the other's: they did not rewrite files at the same time.
    EXPECT_TRUE(spans[0].second < spans[1].first || spans[1].second < spans[0].first);
    if (undoneRun == u8("2"))
        EXPECT_EQ(digestOfPhotos(), afterEarlierRun);
    else
        EXPECT_EQ(cli(address, {u8("search"), u8("Earlier run")}).exitCode, 1);
}

namespace {

// Every row of every table a copy carries, in one order whatever the engine.
QStringList catalogueContentStatements()
{
    return {u8("select ") + zelvarion::imagesColumnNames().join(u',') + u8(" from Images order by Folder, File"),
            u8("select Folder, Files, LastScan from Folders order by Folder"),
            u8("select ") + zelvarion::templatesColumnNames().join(u',') + u8(" from Templates order by Name"),
            u8("select Name, Folder, File, CheckMark from Selections order by Name, Folder, File"),
            u8("select word1, word2 from Translations order by word1, word2")};
}

} // namespace

TEST_F(ServerCliTest, aCatalogueIsCopiedIntoAServerAndBackWithEveryTable)
{
    const QString file = fileCatalogue();
    ASSERT_EQ(cli(file, {u8("template"), u8("add"), u8("Shoot")}).exitCode, 0);
    ASSERT_EQ(cli(file, {u8("template"), u8("set"), u8("Shoot"), u8("City=Lyon")}).exitCode, 0);
    ASSERT_EQ(cli(file, {u8("mark"), u8("été")}).exitCode, 0);
    ASSERT_EQ(cli(file, {u8("selection"), u8("save"), u8("Summer")}).exitCode, 0);
    const auto content = [this](const QString &catalogue) {
        QString all;
        for (const QString &statement : catalogueContentStatements()) {
            const CliRun run = cli(catalogue, {u8("sql"), statement});
            EXPECT_EQ(run.exitCode, 0) << statement.toStdString() << run.err.toStdString();
            all += run.out + u'\n';
        }
        return all;
    };
    const QString original = content(file);
    ASSERT_TRUE(original.contains(u8("Lyon")) && original.contains(u8("Summer"))) << original.toStdString();

    TestServerDatabase copyTarget;
    const CliRun there = run({u8("catalogue"), u8("copy"), file, copyTarget.address()});
    ASSERT_EQ(there.exitCode, 0) << there.err.toStdString();
    EXPECT_TRUE(there.out.contains(u8("Images\t6\n"))) << there.out.toStdString();
    EXPECT_TRUE(there.out.contains(u8("Templates\t1\n"))) << there.out.toStdString();
    EXPECT_TRUE(there.err.contains(u8("Images: 6 of 6"))) << there.err.toStdString();
    EXPECT_EQ(content(copyTarget.address()), original);

    // A target holding images is refused and left as it was, unless the copy is told to replace them.
    const CliRun refused = run({u8("catalogue"), u8("copy"), server.address(), copyTarget.address()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(u8("--replace"))) << refused.err.toStdString();
    EXPECT_EQ(content(copyTarget.address()), original);

    const QString back = work.file(u8("back.db"));
    const CliRun home = run({u8("catalogue"), u8("copy"), copyTarget.address(), back});
    ASSERT_EQ(home.exitCode, 0) << home.err.toStdString();
    EXPECT_EQ(content(back), original);
    for (const QStringList &search : {QStringList{u8("search"), u8("été")}, QStringList{u8("marks")}})
        EXPECT_EQ(cli(back, search).out, cli(file, search).out) << search.join(u' ').toStdString();

    // Replaced by the fixture's server catalogue, which has no template: nothing of the old is left.
    const CliRun replaced =
        run({u8("catalogue"), u8("copy"), u8("--replace"), server.address(), copyTarget.address()});
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    EXPECT_TRUE(replaced.out.contains(u8("Templates\t0\n"))) << replaced.out.toStdString();
    EXPECT_EQ(content(copyTarget.address()), content(server.address()));
    EXPECT_NE(content(copyTarget.address()), original);
}

TEST(CatalogueCopyCli, refusesWhatIsNoCopyBeforeTouchingTheTarget)
{
    TempFolder work;
    const QString program = work.file(u8("program"));
    QDir().mkpath(program);
    const QString notCatalogue = work.write(u8("notes.db"), "some text, not a catalogue");
    const auto run = [&](const QStringList &arguments) {
        return runCli(QStringList({u8("--program-folder"), program, u8("catalogue")}) + arguments);
    };
    EXPECT_EQ(run({u8("copy"), work.file(u8("a.db"))}).exitCode, 2);
    EXPECT_EQ(run({u8("move"), work.file(u8("a.db")), work.file(u8("b.db"))}).exitCode, 2);
    EXPECT_EQ(run({u8("copy"), work.file(u8("a.db")), work.file(u8("a.db"))}).exitCode, 2);
    EXPECT_EQ(run({u8("copy"), work.file(u8("missing.db")), work.file(u8("b.db"))}).exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(work.file(u8("b.db"))));
    EXPECT_EQ(run({u8("copy"), notCatalogue, work.file(u8("b.db"))}).exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(work.file(u8("b.db"))));
}
