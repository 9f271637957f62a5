// zelvarion-cli export, stats and empty-words run as a user would, on a catalogue in their own
// program folder with the shipped stylesheets.
#include "CatalogueOfRows.h"
#include "CliRunner.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/export/XmlExport.h"
#include "core/session/LanguagePack.h"
#include "core/search/ImageRows.h"

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
        makeCatalogue();
        const QDir shipped(QStringLiteral(ZELVARION_SOURCE_DIR "/data"));
        for (const QString &relative : {QStringLiteral("XML/captions.xsl"), QStringLiteral("Zelvarion-Language/English.lng")}) {
            QDir().mkpath(QFileInfo(folder.file(relative)).absolutePath());
            QFile::copy(shipped.filePath(relative), folder.file(relative));
        }
    }

    void makeCatalogue()
    {
        const ColumnValues rows[] = {
            {{"Folder", QStringLiteral("/photos/")}, {"File", QStringLiteral("harbour.jpg")},
             {"Keywords", QStringLiteral("Brest; boats; boats")}, {"Caption", QStringLiteral("Boats in Brest & Crozon")}},
            {{"Folder", QStringLiteral("/photos/")}, {"File", QStringLiteral("market.jpg")},
             {"Keywords", QStringLiteral("brest; markett")}},
            {{"Folder", QStringLiteral("/other/")}, {"File", QStringLiteral("plain.jpg")}},
        };
        ASSERT_TRUE(writeCatalogueOfRows(folder.file(QStringLiteral("Images.db")), rows));
    }

    // The thumbnail store is the folder's own "cache/zelvarion/thumbs", missing until made.
    CliRun cli(const QString &command, const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), folder.file(QStringLiteral("cache")));
        return runProgram(QStringLiteral(ZELVARION_CLI_PATH),
                          QStringList{QStringLiteral("--program-folder"), folder.path(), command} + arguments, environment);
    }

    TempFolder folder;
};

// A program folder of the user's own, holding only the catalogue, as --program-folder meets it.
class NewProgramFolderTest : public ExportCliTest
{
protected:
    void SetUp() override { makeCatalogue(); }
};

// A new program folder had no stylesheet to render with; it now gets the shipped files it lacks on
// its first command, while a stylesheet the user changed and the user's own files stay as they are.
TEST_F(NewProgramFolderTest, getsTheShippedStylesheetsAndRendersAtOnceKeepingTheUsersOwn)
{
    const QByteArray own = "<?xml version=\"1.0\"?>\n<!-- extension=txt -->\n"
                           "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
                           "<xsl:output method=\"text\"/><xsl:template match=\"/\">mine</xsl:template></xsl:stylesheet>\n";
    folder.write(QStringLiteral("XML/captions.xsl"), own);

    const CliRun run = cli(QStringLiteral("export"), {QStringLiteral("--xsl"), QStringLiteral("contact-sheet.xsl"),
                                                     QStringLiteral("--no-thumbnails"), QStringLiteral("brest")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), folder.file(QStringLiteral("XML/Zelvarion.html")));
    EXPECT_TRUE(folder.read(QStringLiteral("XML/Zelvarion.html")).contains("market.jpg"));
    for (const char *shipped : {"XML/pdf-catalogue.xsl", "XML/fop.sh", "Zelvarion-Language/English.lng",
                                "Zelvarion-Language/French.lng", "help/index.html"})
        EXPECT_TRUE(QFileInfo::exists(folder.file(QLatin1String(shipped)))) << shipped;
    EXPECT_TRUE(QFileInfo(folder.file(QStringLiteral("XML/fop.sh"))).isExecutable());
    EXPECT_EQ(folder.read(QStringLiteral("XML/captions.xsl")), own);
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("Zelvarion-Language/Translations.txt"))))
        << "the user's own word list never ships";

    // A folder that does not exist is not made by naming it.
    const QString missing = folder.file(QStringLiteral("no-such-folder"));
    runCli({QStringLiteral("--program-folder"), missing, QStringLiteral("doubles")});
    EXPECT_FALSE(QFileInfo::exists(missing));
}

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
    const CliRun run = cli(QStringLiteral("export"), {QStringLiteral("--xsl"), QStringLiteral("captions.xsl"),
                                                     QStringLiteral("--no-thumbnails"), QStringLiteral("--with-iptc")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), folder.file(QStringLiteral("XML/Zelvarion.csv")));
    const QString csv = QString::fromUtf8(folder.read(QStringLiteral("XML/Zelvarion.csv")));
    EXPECT_TRUE(csv.contains(QStringLiteral("\"harbour.jpg\";\"/photos/\";\"\";\"Boats in Brest & Crozon\";\"Brest, boats, boats\"")));
    EXPECT_EQ(cli(QStringLiteral("export"), {QStringLiteral("--xsl"), QStringLiteral("none.xsl"), QStringLiteral("brest")}).exitCode, 2);
    EXPECT_EQ(cli(QStringLiteral("export"), {QStringLiteral("--bogus"), QStringLiteral("brest")}).exitCode, 2);
}

// Every way export ends with 1 once said nothing: a search that found no image, a rendering that
// made no file; a stylesheet's extension naming another place even overwrote a photo.
TEST_F(ExportCliTest, everyFailedExportSaysWhyAndAStylesheetCannotWriteOutsideTheFolder)
{
    LanguagePack english;
    english.loadShippedEnglish();
    const CliRun empty = cli(QStringLiteral("export"), {QStringLiteral("nowhere")});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.err, QStringLiteral("zelvarion-cli export: ") + english.message(Message::NoImageFound) + u'\n');

    const QString photo = folder.write(QStringLiteral("v/holiday.jpg"), "photo");
    const QByteArray body = "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
                            "<xsl:output method=\"text\"/><xsl:template match=\"/\">text</xsl:template></xsl:stylesheet>\n";
    folder.write(QStringLiteral("XML/evil.xsl"), "<?xml version=\"1.0\"?>\n<!-- extension=/../../v/holiday.jpg -->\n" + body);
    const CliRun evil = cli(QStringLiteral("export"), {QStringLiteral("--xsl"), QStringLiteral("evil.xsl"), QStringLiteral("brest")});
    EXPECT_EQ(evil.exitCode, 1);
    EXPECT_TRUE(evil.err.contains(english.message(Message::OutputExtensionRefused))) << evil.err.toStdString();
    EXPECT_TRUE(evil.out.isEmpty());
    EXPECT_EQ(folder.read(QStringLiteral("v/holiday.jpg")), QByteArray("photo"));

    // The FO route with a document that is no FO: the formatter fails, and no PDF is made.
    folder.write(QStringLiteral("XML/fo.xsl"), "<?xml version=\"1.0\"?>\n<!-- extension=fo -->\n" + body);
    folder.write(QStringLiteral("XML/fop.sh"), "echo 'not an FO document' >&2\nexit 1\n");
    const CliRun noPdf = cli(QStringLiteral("export"), {QStringLiteral("--xsl"), QStringLiteral("fo.xsl"), QStringLiteral("brest")});
    EXPECT_EQ(noPdf.exitCode, 1);
    EXPECT_TRUE(noPdf.err.contains(QString(english.message(Message::ScriptFailed)).replace(u'#', folder.file(QStringLiteral("XML/fop.sh")))
                                   + QStringLiteral("\nnot an FO document")))
        << noPdf.err.toStdString();
    EXPECT_TRUE(noPdf.out.isEmpty());

    // A formatter that ran and made no PDF.
    folder.write(QStringLiteral("XML/fop.sh"), "exit 0\n");
    const CliRun silent = cli(QStringLiteral("export"), {QStringLiteral("--xsl"), QStringLiteral("fo.xsl"), QStringLiteral("brest")});
    EXPECT_EQ(silent.exitCode, 1);
    EXPECT_TRUE(silent.err.contains(english.message(Message::NothingRendered) + u' ' + folder.file(QStringLiteral("XML/Zelvarion.pdf"))))
        << silent.err.toStdString();

    const CliRun outside = cli(QStringLiteral("export"), {QStringLiteral("--xsl"), QStringLiteral("../XML/evil.xsl"), QStringLiteral("brest")});
    EXPECT_EQ(outside.exitCode, 2);
    EXPECT_FALSE(outside.err.isEmpty());
}

// The PDF route: the formatter's chatter stayed on the terminal, and a PDF without its pictures
// (no thumbnail store) passed for a full success.
TEST_F(ExportCliTest, formatterOutputAppearsOnlyInItsErrorAndMissingThumbnailsAreNotASuccess)
{
    LanguagePack english;
    english.loadShippedEnglish();
    const QByteArray body = "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
                            "<xsl:output method=\"text\"/><xsl:template match=\"/\">text</xsl:template></xsl:stylesheet>\n";
    folder.write(QStringLiteral("XML/fo.xsl"), "<?xml version=\"1.0\"?>\n<!-- extension=fo -->\n" + body);
    folder.write(QStringLiteral("XML/fop.sh"), "echo '[warning] JVM flavour not understood'\necho made > Zelvarion.pdf\n");
    const QString pdf = folder.file(QStringLiteral("XML/Zelvarion.pdf"));

    const CliRun quiet = cli(QStringLiteral("export"), {QStringLiteral("--xsl"), QStringLiteral("fo.xsl"),
                                                       QStringLiteral("--no-thumbnails"), QStringLiteral("brest")});
    EXPECT_EQ(quiet.exitCode, 0) << quiet.err.toStdString();
    EXPECT_EQ(quiet.out, pdf + u'\n');
    EXPECT_TRUE(quiet.err.isEmpty()) << quiet.err.toStdString();

    const CliRun pictureless = cli(QStringLiteral("export"), {QStringLiteral("--xsl"), QStringLiteral("fo.xsl"), QStringLiteral("brest")});
    EXPECT_EQ(pictureless.exitCode, 1);
    EXPECT_EQ(pictureless.out, pdf + u'\n'); // made all the same
    EXPECT_EQ(pictureless.err, QString(english.message(Message::ThumbnailStoreMissing))
                                   .replace(u'#', folder.file(QStringLiteral("cache/zelvarion/thumbs"))) + u'\n');

    folder.write(QStringLiteral("XML/fop.sh"), "echo 'SEVERE: no such font' >&2\nexit 1\n");
    const CliRun failed = cli(QStringLiteral("export"), {QStringLiteral("--xsl"), QStringLiteral("fo.xsl"),
                                                        QStringLiteral("--no-thumbnails"), QStringLiteral("brest")});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.out.isEmpty());
    EXPECT_TRUE(failed.err.endsWith(QStringLiteral("fop.sh ended with an error:\nSEVERE: no such font\n"))) << failed.err.toStdString();
}

// The undo journal or any other file given as the catalogue failed with
// "Cannot cache_size = 100000 file is not a database".
TEST_F(ExportCliTest, aFileThatIsNoCatalogueIsNamedSo)
{
    LanguagePack english;
    english.loadShippedEnglish();
    const QString notes = folder.write(QStringLiteral("notes.db"), "my notes");
    CatalogueDb journal;
    journal.path = folder.file(QStringLiteral("Images.undo.db"));
    ASSERT_TRUE(journal.open());
    ASSERT_EQ(journal.execute(QStringLiteral("create table Runs(Run integer primary key);")), 0);
    journal.close();
    for (const QString &path : {notes, journal.path}) {
        for (const char *command : {"export", "search"}) {
            const CliRun run = cli(QLatin1String(command), {QStringLiteral("--catalogue"), path, QStringLiteral("brest")});
            EXPECT_EQ(run.exitCode, 1) << command;
            EXPECT_EQ(run.err, QStringLiteral("zelvarion-cli ") + QLatin1String(command) + QStringLiteral(": ")
                                   + english.message(Message::NotACatalogue) + u' ' + path + u'\n')
                << command;
        }
    }
    EXPECT_EQ(folder.read(QStringLiteral("notes.db")), QByteArray("my notes"));
}

// A second export during the window's formatter run emptied "thumbs" and rewrote the document
// the formatter was reading: it now waits until the folder is free.
TEST_F(ExportCliTest, exportWaitsWhileAnotherProgramWorksInTheExportFolder)
{
    LanguagePack english;
    english.loadShippedEnglish();
    auto held = std::make_unique<ExportFolderLock>(ExportFolder{folder.file(QStringLiteral("XML"))});
    ASSERT_TRUE(held->tryAcquire());
    QProcess process;
    process.start(QStringLiteral(ZELVARION_CLI_PATH), {QStringLiteral("--program-folder"), folder.path(), QStringLiteral("export"),
                                                       QStringLiteral("--no-thumbnails"), QStringLiteral("brest")});
    EXPECT_FALSE(process.waitForFinished(1500));
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("XML/Zelvarion.xml"))));
    held.reset();
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()), english.message(Message::WaitingForFormatter) + u'\n');
    EXPECT_TRUE(QFileInfo::exists(folder.file(QStringLiteral("XML/Zelvarion.xml"))));
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
