// zelvarion-cli export, stats and empty-words run as a user would, on a catalogue in their own
// program folder with the shipped stylesheets.
#include "CliRunner.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/search/ImageRows.h"

#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

class ExportCliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CatalogueDb db;
        db.path = folder.file(QStringLiteral("Images.db"));
        RecordingFeedback feedback;
        ASSERT_TRUE(createCatalogueSchema(db, feedback, {}));
        ASSERT_TRUE(db.open());
        const ColumnValues rows[] = {
            {{"Folder", QStringLiteral("/photos/")}, {"File", QStringLiteral("harbour.jpg")},
             {"Keywords", QStringLiteral("Brest; boats; boats")}, {"Caption", QStringLiteral("Boats in Brest & Crozon")}},
            {{"Folder", QStringLiteral("/photos/")}, {"File", QStringLiteral("market.jpg")},
             {"Keywords", QStringLiteral("brest; markett")}},
            {{"Folder", QStringLiteral("/other/")}, {"File", QStringLiteral("plain.jpg")}},
        };
        for (const ColumnValues &row : rows)
            ASSERT_EQ(db.execute(insertImageStatement(row)), 0);
        db.close();
        const QDir shipped(QStringLiteral(ZELVARION_SOURCE_DIR "/data"));
        for (const QString &relative : {QStringLiteral("XML/captions.xsl"), QStringLiteral("Zelvarion-Language/English.lng")}) {
            QDir().mkpath(QFileInfo(folder.file(relative)).absolutePath());
            QFile::copy(shipped.filePath(relative), folder.file(relative));
        }
    }

    CliRun cli(const QString &command, const QStringList &arguments)
    {
        return runCli(QStringList{QStringLiteral("--program-folder"), folder.path(), command} + arguments);
    }

    TempFolder folder;
};

TEST_F(ExportCliTest, exportWritesTheDocumentOfTheResultAndPrintsItsPath)
{
    const CliRun run = cli(QStringLiteral("export"), {QStringLiteral("brest"), QStringLiteral("--title"), QStringLiteral("Brest"),
                                                     QStringLiteral("--no-thumbnails")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), folder.file(QStringLiteral("XML/Zelvarion.xml")));
    const QString document = QString::fromLatin1(folder.read(QStringLiteral("XML/Zelvarion.xml")));
    EXPECT_TRUE(document.contains(QStringLiteral("<Title>Brest</Title>")));
    EXPECT_TRUE(document.contains(QStringLiteral("<Caption>Boats in Brest &amp; Crozon</Caption>")));
    EXPECT_EQ(document.count(QStringLiteral("<File>")), 2);
    EXPECT_FALSE(document.contains(QStringLiteral("plain.jpg")));
}

TEST_F(ExportCliTest, exportRendersWithANamedStylesheetAndRefusesAMissingOne)
{
    const CliRun run = cli(QStringLiteral("export"), {QStringLiteral("--xsl"), QStringLiteral("captions.xsl"), QStringLiteral("--with-iptc")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), folder.file(QStringLiteral("XML/Zelvarion.csv")));
    const QString csv = QString::fromUtf8(folder.read(QStringLiteral("XML/Zelvarion.csv")));
    EXPECT_TRUE(csv.contains(QStringLiteral("\"harbour.jpg\";\"/photos/\";\"\";\"Boats in Brest & Crozon\";\"Brest, boats, boats\"")));
    EXPECT_EQ(cli(QStringLiteral("export"), {QStringLiteral("--xsl"), QStringLiteral("none.xsl"), QStringLiteral("brest")}).exitCode, 2);
    EXPECT_EQ(cli(QStringLiteral("export"), {QStringLiteral("--bogus"), QStringLiteral("brest")}).exitCode, 2);
    const CliRun empty = cli(QStringLiteral("export"), {QStringLiteral("nowhere")});
    EXPECT_EQ(empty.exitCode, 1) << empty.out.toStdString() << empty.err.toStdString(); // empty result
}

TEST_F(ExportCliTest, statsCountsInTheWindowsFirstOrderAndKeepsOnlyUnknownWordsWhenAsked)
{
    const CliRun keywords = cli(QStringLiteral("stats"), {QStringLiteral("--with-iptc"), QStringLiteral("--keywords-only")});
    ASSERT_EQ(keywords.exitCode, 0) << keywords.err.toStdString();
    EXPECT_EQ(keywords.out, QStringLiteral("2\tboats\n2\tBrest\n1\tmarkett\n"));

    const CliRun all = cli(QStringLiteral("stats"), {QStringLiteral("--json"), QStringLiteral("--with-iptc")});
    const QJsonArray words = QJsonDocument::fromJson(all.out.toUtf8()).array();
    ASSERT_EQ(words.size(), 5);
    EXPECT_EQ(words[0].toObject()[QStringLiteral("word")].toString(), QStringLiteral("boats"));
    EXPECT_EQ(words[0].toObject()[QStringLiteral("count")].toInt(), 3);

    const CliRun unknown = cli(QStringLiteral("stats"), {QStringLiteral("--unknown"), QStringLiteral("--keywords-only"), QStringLiteral("--with-iptc")});
    ASSERT_EQ(unknown.exitCode, 0) << unknown.err.toStdString();
    EXPECT_EQ(unknown.out, QStringLiteral("1\tmarkett\n"));
}

TEST_F(ExportCliTest, emptyWordsAreAddedOnceRemovedAndLeftOutOfTheStatistics)
{
    EXPECT_EQ(cli(QStringLiteral("empty-words"), {QStringLiteral("add"), QStringLiteral("BOATS")}).exitCode, 0);
    EXPECT_EQ(cli(QStringLiteral("empty-words"), {QStringLiteral("add"), QStringLiteral("in")}).exitCode, 0);
    const CliRun twice = cli(QStringLiteral("empty-words"), {QStringLiteral("add"), QStringLiteral("boats")});
    EXPECT_EQ(twice.exitCode, 1);
    EXPECT_TRUE(twice.err.contains(QStringLiteral("already in the list")));
    EXPECT_EQ(cli(QStringLiteral("empty-words"), {QStringLiteral("list")}).out, QStringLiteral("BOATS\nin\n"));

    const CliRun stats = cli(QStringLiteral("stats"), {QStringLiteral("--ignore-empty-words"), QStringLiteral("--with-iptc")});
    EXPECT_FALSE(stats.out.contains(QStringLiteral("boats")));
    EXPECT_FALSE(stats.out.contains(QStringLiteral("\tin\n")));
    EXPECT_TRUE(stats.out.contains(QStringLiteral("Crozon")));

    EXPECT_EQ(cli(QStringLiteral("empty-words"), {QStringLiteral("remove"), QStringLiteral("boats")}).exitCode, 0);
    EXPECT_EQ(cli(QStringLiteral("empty-words"), {QStringLiteral("remove"), QStringLiteral("boats")}).exitCode, 1);
    EXPECT_EQ(cli(QStringLiteral("empty-words"), {QStringLiteral("--json"), QStringLiteral("list")}).out.simplified(),
              QStringLiteral("[ \"in\" ]"));
    EXPECT_EQ(cli(QStringLiteral("empty-words"), {QStringLiteral("drop")}).exitCode, 2);
}

} // namespace
