// zelvarion-cli scan as a user runs it: registering, the rows it writes, refusals, thumbnails.
#include "CliRunner.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/iptc/IptcField.h"
#include "platform/FileNames.h"
#include "platform/IniFile.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcessEnvironment>

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

struct CliScan
{
    TempFolder work;
    QString programFolder = work.file(QStringLiteral("program"));
    QString catalogue = work.file(QStringLiteral("program/Images.db"));
    QString images = work.file(QStringLiteral("images"));

    CliScan() { QDir().mkpath(programFolder); QDir().mkpath(images); }

    CliRun run(const QStringList &arguments, const QStringList &runAs = {}) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), work.file(QStringLiteral("cache")));
        process.setProcessEnvironment(environment);
        const QStringList command = QStringList({QStringLiteral(ZELVARION_CLI_PATH), QStringLiteral("--program-folder"),
                                                 programFolder, QStringLiteral("scan")}) + arguments;
        process.start(runAs.isEmpty() ? command.front() : runAs.front(), runAs.isEmpty() ? command.mid(1) : runAs.mid(1) + command);
        process.waitForFinished(120000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }

    std::vector<QStringList> select(const QString &statement) const
    {
        CatalogueDb db;
        db.path = catalogue;
        db.open();
        db.execute(statement);
        std::vector<QStringList> rows;
        for (int r = 1; r <= db.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < db.columnCount(); ++c)
                cells << db.cell(c, r);
            rows.push_back(cells);
        }
        db.close();
        return rows;
    }
    QString one(const QString &statement) const
    {
        const auto rows = select(statement);
        return rows.empty() ? QString() : rows.front().value(0);
    }
};

void copyFile(const QString &from, const QString &to)
{
    QDir().mkpath(QFileInfo(to).absolutePath());
    ASSERT_TRUE(QFile::copy(from, to)) << to.toStdString();
}

} // namespace

TEST(ScanCommand, createsTheCatalogueAndStoresWhatReadReportsForEveryFile)
{
    CliScan s;
    // Sample files spread over folders whose names need care.
    QStringList copies;
    QDirIterator it(testDataFile(QStringLiteral("iptc")), {QStringLiteral("*.jpg"), QStringLiteral("*.tif"), QStringLiteral("*.psd"),
                                                           QStringLiteral("*.jpeg"), QStringLiteral("*.tiff")},
                    QDir::Files, QDirIterator::Subdirectories);
    const QStringList folders = {QStringLiteral("it's"), QStringLiteral("50% off_x"), QStringLiteral("été/日本"),
                                 QStringLiteral("with space")};
    for (int i = 0; it.hasNext(); ++i) {
        const QString source = it.next();
        copies << s.images + u'/' + folders[i % folders.size()] + u'/' + QString::number(i) + u'_' + QFileInfo(source).fileName();
        copyFile(source, copies.last());
    }
    ASSERT_GT(copies.size(), 20);
    const CliRun scan = s.run({QStringLiteral("--catalogue"), s.catalogue, s.images});
    ASSERT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    EXPECT_TRUE(scan.out.contains(QStringLiteral(" -> %1\n").arg(copies.size())));
    EXPECT_TRUE(scan.out.contains(QStringLiteral(" h ")) && scan.out.contains(QStringLiteral(" min ")));
    EXPECT_EQ(s.one(QStringLiteral("select Files from Folders;")), QString::number(copies.size()));

    const CliRun read = runCli(QStringList({QStringLiteral("read"), QStringLiteral("--json")}) + copies);
    const QJsonArray results = QJsonDocument::fromJson(read.out.toUtf8()).array();
    ASSERT_EQ(results.size(), copies.size());
    for (const QJsonValue &value : results) {
        const QJsonObject result = value.toObject();
        const QFileInfo file(result[QStringLiteral("path")].toString());
        const auto rows = s.select(QStringLiteral("select * from Images where Folder=%1 and File=%2;")
                                       .arg(sqlText(file.absolutePath() + u'/'), sqlText(file.fileName())));
        ASSERT_EQ(rows.size(), 1u) << file.filePath().toStdString();
        const QStringList &row = rows.front();
        const QJsonObject fields = result[QStringLiteral("fields")].toObject();
        for (const IptcField &field : kIptcFields)
            EXPECT_EQ(row[2 + field.index], fields[QLatin1String(field.column)].toString())
                << file.fileName().toStdString() << ' ' << field.column;
        EXPECT_EQ(row[44], result[QStringLiteral("fileKind")].toString()) << file.fileName().toStdString();
        EXPECT_EQ(row[41], QString::number(file.size()));
    }
}

TEST(ScanCommand, refusesTheRootSystemFoldersAndOverlapsButRescansARegisteredFolder)
{
    CliScan s;
    s.work.write(QStringLiteral("images/a/b/x.txt"), "x");
    ASSERT_EQ(s.run({QStringLiteral("--catalogue"), s.catalogue, s.images + QStringLiteral("/a/b")}).exitCode, 0);
    for (const QString &refused : {QStringLiteral("/"), QStringLiteral("/proc"), QStringLiteral("/sys/kernel"), s.images}) {
        const CliRun run = s.run({QStringLiteral("--catalogue"), s.catalogue, refused});
        EXPECT_EQ(run.exitCode, 1) << refused.toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << refused.toStdString();
    }
    const CliRun again = s.run({QStringLiteral("--catalogue"), s.catalogue, s.images + QStringLiteral("/a/b/")});
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(s.select(QStringLiteral("select Folder from Folders;")).size(), 1u);
    EXPECT_EQ(s.one(QStringLiteral("select count(*) from Images;")), QStringLiteral("1"));
}

TEST(ScanCommand, aSubfolderOfARegisteredFolderRescansOnlyItAndRecountsTheParent)
{
    CliScan s;
    s.work.write(QStringLiteral("images/top.txt"), "x");
    s.work.write(QStringLiteral("images/sub/one.txt"), "x");
    ASSERT_EQ(s.run({QStringLiteral("--catalogue"), s.catalogue, s.images}).exitCode, 0);
    s.work.write(QStringLiteral("images/sub/two.txt"), "x");
    s.work.write(QStringLiteral("images/later.txt"), "x");
    ASSERT_EQ(s.run({QStringLiteral("--catalogue"), s.catalogue, s.images + QStringLiteral("/sub")}).exitCode, 0);
    EXPECT_EQ(s.one(QStringLiteral("select Files from Folders;")), QStringLiteral("3"));
    EXPECT_EQ(s.one(QStringLiteral("select count(*) from Folders;")), QStringLiteral("1"));
    EXPECT_EQ(s.one(QStringLiteral("select count(*) from Images where File='later.txt';")), QStringLiteral("0"));
}

TEST(ScanCommand, storesThumbnailsOnlyWhenAskedAndRewritesThemOnlyWithRecreate)
{
    CliScan s;
    copyFile(testDataFile(QStringLiteral("iptc/pillow/Tests/images/hopper.jpg")), s.images + QStringLiteral("/hopper.jpg"));
    const QString thumbs = s.work.file(QStringLiteral("cache/zelvarion/thumbs"));
    ASSERT_EQ(s.run({QStringLiteral("--catalogue"), s.catalogue, s.images}).exitCode, 0);
    EXPECT_TRUE(QDir(thumbs).entryList(QDir::Files).isEmpty());
    ASSERT_EQ(s.run({QStringLiteral("--catalogue"), s.catalogue, QStringLiteral("--thumbnails"), s.images}).exitCode, 0);
    const QStringList stored = QDir(thumbs).entryList(QDir::Files);
    ASSERT_EQ(stored.size(), 1);
    const QString entry = thumbs + u'/' + stored.front();
    {
        QFile marked(entry);
        ASSERT_TRUE(marked.open(QIODevice::WriteOnly));
        marked.write("marker");
    }
    ASSERT_EQ(s.run({QStringLiteral("--catalogue"), s.catalogue, QStringLiteral("--thumbnails"), s.images}).exitCode, 0);
    QFile kept(entry);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArrayLiteral("marker"));
    kept.close();
    ASSERT_EQ(s.run({QStringLiteral("--catalogue"), s.catalogue, QStringLiteral("--recreate-thumbnails"), s.images}).exitCode, 0);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_TRUE(kept.readAll().startsWith("\xFF\xD8\xFF"));
    EXPECT_EQ(s.select(QStringLiteral("select Width, Height from Images;")).front(),
              QStringList({QStringLiteral("128"), QStringLiteral("128")}));
}

TEST(ScanCommand, needsAtLeastOneFolder)
{
    CliScan s;
    const CliRun run = s.run({});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_FALSE(QFile::exists(s.catalogue));
}

TEST(ScanCommand, failsWithTheReportOnACatalogueWithoutTables)
{
    CliScan s;
    s.work.write(QStringLiteral("program/Images.db"), QByteArray());
    s.work.write(QStringLiteral("images/a.txt"), "x");
    const CliRun run = s.run({QStringLiteral("--catalogue"), s.catalogue, s.images});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("Cannot add data\n"))) << run.err.toStdString();
}

// The catalogue a first scan makes is the one the window then opens, without creating its tables
// again; a catalogue already remembered stays the remembered one.
TEST(ScanCommand, aCatalogueItMakesBecomesTheRememberedOneWhenNoneIs)
{
    CliScan s;
    const QString ini = s.work.file(QStringLiteral("program/Zelvarion.ini"));
    ASSERT_EQ(s.run({s.images}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(s.catalogue));
    EXPECT_EQ(IniFile(ini).read(QStringLiteral("Configuration"), QStringLiteral("LastDB")).value_or(QString()), s.catalogue);

    const QString other = s.work.file(QStringLiteral("other.db"));
    ASSERT_EQ(s.run({QStringLiteral("--catalogue"), other, s.images}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(other));
    EXPECT_EQ(IniFile(ini).read(QStringLiteral("Configuration"), QStringLiteral("LastDB")).value_or(QString()), s.catalogue);
}

// The rows of a rescanned folder cannot be removed: the report is printed and the exit says the
// catalogue is short of what was found.
TEST(ScanCommand, aStatementThatFailsMidScanFailsTheCommand)
{
    CliScan s;
    s.work.write(QStringLiteral("images/a.txt"), "x");
    ASSERT_EQ(s.run({QStringLiteral("--catalogue"), s.catalogue, s.images}).exitCode, 0);
    s.select(QStringLiteral("create trigger damaged before delete on Images "
                            "begin select raise(abort, 'database disk image is malformed'); end;"));
    const CliRun run = s.run({QStringLiteral("--catalogue"), s.catalogue, s.images});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Cannot remove data"))) << run.err.toStdString();
}

// Root reads every file whatever its permissions: the scan then runs as the unprivileged user.
TEST(ScanCommand, reportsAndCountsAFileItCannotReadAndGivesItNoRow)
{
    CliScan s;
    s.work.write(QStringLiteral("images/open.txt"), "x");
    const QString closed = s.work.write(QStringLiteral("images/closed.jpg"), "\xFF\xD8\xFF\xE0");
    ASSERT_TRUE(QFile::setPermissions(closed, {}));
    QStringList runAs;
    if (::geteuid() == 0) {
        if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
            GTEST_SKIP() << "running as root without setpriv: every file is readable";
        runAs = {QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                 QStringLiteral("--clear-groups")};
        for (const QString &open : {s.work.path(), s.images})
            ASSERT_EQ(::chmod(QFile::encodeName(open).constData(), 0755), 0);
        for (const QString &writable : {s.programFolder, s.work.file(QStringLiteral("cache"))}) {
            QDir().mkpath(writable);
            ASSERT_EQ(::chmod(QFile::encodeName(writable).constData(), 0777), 0);
        }
    }
    const CliRun scan = s.run({QStringLiteral("--catalogue"), s.catalogue, s.images}, runAs);
    EXPECT_EQ(scan.exitCode, 1) << scan.err.toStdString();
    EXPECT_TRUE(scan.out.contains(QStringLiteral("This file cannot be read, so it was left out of the catalogue: %1 (Permission denied)").arg(closed)))
        << scan.out.toStdString();
    EXPECT_TRUE(scan.err.contains(QStringLiteral("Files left out: 1"))) << scan.err.toStdString();
    EXPECT_TRUE(scan.out.contains(QStringLiteral("1 could not be read"))) << scan.out.toStdString();
    EXPECT_EQ(s.one(QStringLiteral("select group_concat(File) from Images;")), QStringLiteral("open.txt"));
    EXPECT_EQ(s.one(QStringLiteral("select Files from Folders;")), QStringLiteral("1"));
}

namespace {

// A file system of its own, a few hundred kilobytes large, unmounted at the end.
struct SmallDisk
{
    QString path;
    bool mounted = false;
    explicit SmallDisk(const QString &at) : path(at)
    {
        QDir().mkpath(path);
        mounted = ::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0, "size=4m") == 0;
    }
    ~SmallDisk()
    {
        if (mounted)
            ::umount2(QFile::encodeName(path).constData(), MNT_DETACH);
    }
    // Fills the disk until only `left` bytes remain.
    bool fill(qint64 left) const
    {
        struct statvfs info{};
        if (::statvfs(QFile::encodeName(path).constData(), &info) != 0)
            return false;
        const qint64 free = qint64(info.f_bavail) * qint64(info.f_frsize);
        QFile filler(path + QStringLiteral("/filler"));
        return free > left && filler.open(QIODevice::WriteOnly) && filler.write(QByteArray(free - left, 'f')) == free - left;
    }
};

} // namespace

TEST(ScanCommand, aFullDiskEndsTheScanAndLeavesTheCatalogueAsItWas)
{
    CliScan s;
    SmallDisk disk(s.work.file(QStringLiteral("disk")));
    if (!disk.mounted)
        GTEST_SKIP() << "no small file system can be mounted here (needs root)";
    const QString catalogue = disk.path + QStringLiteral("/Images.db");
    for (int i = 0; i < 3; ++i)
        s.work.write(QStringLiteral("images/first/%1.txt").arg(i), "x");
    ASSERT_EQ(s.run({QStringLiteral("--catalogue"), catalogue, s.images + QStringLiteral("/first")}).exitCode, 0);
    for (int i = 0; i < 3000; ++i)
        s.work.write(QStringLiteral("images/second/a rather long file name for a photograph %1.txt").arg(i), "x");
    // Room for the registration of the second folder, not for its rows.
    ASSERT_TRUE(disk.fill(64 * 1024));
    const CliRun full = s.run({QStringLiteral("--catalogue"), catalogue, s.images + QStringLiteral("/second")});
    QFile::remove(disk.path + QStringLiteral("/filler"));

    EXPECT_EQ(full.exitCode, 1) << full.out.toStdString();
    EXPECT_TRUE(full.err.contains(QStringLiteral("nothing of this scan was kept"))) << full.err.toStdString();
    s.catalogue = catalogue;
    EXPECT_EQ(s.one(QStringLiteral("select count(*) from Images;")), QStringLiteral("3"));
    EXPECT_EQ(s.one(QStringLiteral("select count(*) from (select distinct Folder, File from Images);")), QStringLiteral("3"));
}

TEST(NamesNotInUtf8, areScannedReadAndRewrittenByTheirOwnBytes)
{
    CliScan s;
    const QByteArray folder = QFile::encodeName(s.images) + "/\xE9t\xE9";
    const QByteArray file = folder + "/caf\xE9.jpg";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    {
        QFile sample(testDataFile(QStringLiteral("iptc/pillow/Tests/images/iptc.jpg")));
        ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
        QFile out;
        ASSERT_TRUE(out.open(::open(file.constData(), O_WRONLY | O_CREAT, 0644), QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
        out.write(sample.readAll());
    }
    const CliRun scan = s.run({QStringLiteral("--catalogue"), s.catalogue, s.images});
    ASSERT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    EXPECT_EQ(s.one(QStringLiteral("select SupportIPTC from Images;")), QStringLiteral("1"));
    EXPECT_TRUE(scan.out.contains(QStringLiteral("café")) || scan.out.contains(QStringLiteral("caf\u00E9\u034F")))
        << scan.out.toStdString();

    // The path goes to the program as the very bytes of the file's name.
    const auto runWithRawPath = [&](const QList<QByteArray> &arguments) {
        QByteArray line = QByteArray(ZELVARION_CLI_PATH);
        std::vector<QByteArray> kept(arguments.begin(), arguments.end());
        kept.push_back(file);
        std::vector<char *> argv;
        argv.push_back(line.data());
        for (QByteArray &a : kept)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        int pipeOut[2];
        if (::pipe(pipeOut) != 0)
            return std::pair<int, QByteArray>{-1, {}};
        const pid_t child = ::fork();
        if (child == 0) {
            ::dup2(pipeOut[1], 1);
            ::dup2(pipeOut[1], 2);
            ::close(pipeOut[0]);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(pipeOut[1]);
        QByteArray output;
        char buffer[4096];
        for (ssize_t got; (got = ::read(pipeOut[0], buffer, sizeof buffer)) > 0;)
            output.append(buffer, got);
        ::close(pipeOut[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        return std::pair<int, QByteArray>{WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
    };
    const auto read = runWithRawPath({"read", "--json"});
    EXPECT_EQ(read.first, 0) << read.second.toStdString();
    const auto written = runWithRawPath({"--program-folder", QFile::encodeName(s.programFolder), "write", "--yes",
                                         "--set", "Caption=Written through the real name"});
    EXPECT_EQ(written.first, 0) << written.second.toStdString();
    QFile rewritten;
    ASSERT_TRUE(rewritten.open(::open(file.constData(), O_RDONLY), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
    EXPECT_TRUE(rewritten.readAll().contains("Written through the real name"));
    EXPECT_EQ(filenames::listFolder(filenames::decode(folder)).value_or(std::vector<filenames::FolderEntry>()).size(), 1u);
}

// The issue seen by a user: images captioned by a template run, then their folder scanned again.
// The rescan keeps their revision, so "never revised" does not offer them again; a file whose name
// is not UTF-8 takes part in the run and in its undo like any other.
TEST(NamesNotInUtf8, takePartInATemplateRunItsUndoAndARescanThatKeepsTheRevision)
{
    CliScan s;
    const QByteArray sample = [] {
        QFile file(testDataFile(QStringLiteral("iptc/pillow/Tests/images/iptc.jpg")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    ASSERT_FALSE(sample.isEmpty());
    const QByteArray latin = QFile::encodeName(s.images) + "/caf\xE9.jpg";
    {
        QFile out;
        ASSERT_TRUE(out.open(::open(latin.constData(), O_WRONLY | O_CREAT, 0644), QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
        out.write(sample);
    }
    s.work.write(QStringLiteral("images/plain.jpg"), sample);
    const auto cli = [&](const QStringList &arguments) {
        return runCli(QStringList({QStringLiteral("--program-folder"), s.programFolder}) + arguments);
    };
    const auto latinBytes = [&] {
        QFile file;
        return file.open(::open(latin.constData(), O_RDONLY), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle) ? file.readAll()
                                                                                                              : QByteArray();
    };
    ASSERT_EQ(s.run({s.images}).exitCode, 0);
    for (const QStringList &step : {QStringList({QStringLiteral("template"), QStringLiteral("add"), QStringLiteral("Desk")}),
                                    QStringList({QStringLiteral("template"), QStringLiteral("set"), QStringLiteral("Desk"),
                                                 QStringLiteral("Headline=Captioned by the desk")}),
                                    QStringList({QStringLiteral("template"), QStringLiteral("use"), QStringLiteral("Desk")})})
        ASSERT_EQ(cli(step).exitCode, 0) << step.join(u' ').toStdString();

    const CliRun apply = cli({QStringLiteral("apply"), QStringLiteral("--yes"), QStringLiteral("--mode"), QStringLiteral("1"),
                              QStringLiteral("--with-iptc")});
    ASSERT_EQ(apply.exitCode, 0) << apply.err.toStdString();
    EXPECT_TRUE(latinBytes().contains("Captioned by the desk"));
    const QString revised = QStringLiteral("select count(*) from Images where LastRevisionDate<>'';");
    ASSERT_EQ(s.one(revised), QStringLiteral("2"));

    ASSERT_EQ(s.run({s.images}).exitCode, 0);
    EXPECT_EQ(s.one(revised), QStringLiteral("2"));
    const CliRun neverRevised = cli({QStringLiteral("search"), QStringLiteral("--never-revised"), QStringLiteral("--with-iptc")});
    EXPECT_TRUE(neverRevised.out.trimmed().isEmpty()) << neverRevised.out.toStdString();

    const CliRun undo = cli({QStringLiteral("undo"), QStringLiteral("--yes")});
    EXPECT_EQ(undo.exitCode, 0) << undo.out.toStdString() << undo.err.toStdString();
    EXPECT_EQ(latinBytes(), sample);
}
