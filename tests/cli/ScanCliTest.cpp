// zelvarion-cli scan as a user runs it: registering, the rows it writes, refusals, thumbnails.
#include "CliRunner.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/iptc/IptcField.h"
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

    CliRun run(const QStringList &arguments) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), work.file(QStringLiteral("cache")));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(ZELVARION_CLI_PATH),
                      QStringList({QStringLiteral("--program-folder"), programFolder, QStringLiteral("scan")}) + arguments);
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
