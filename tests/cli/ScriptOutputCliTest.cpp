// What a script meets in zelvarion-cli: one language per run with its plural forms, one exit rule
// for every command on a result, presence searches as the window allows them, sort columns,
// names it can split (escaped lines, -0, JSON), ISO dates, dry runs that say so, stored options
// switched both ways, and a new program folder that renders at once.
#include "CatalogueOfRows.h"
#include "CliRunner.h"
#include "cli/CliText.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/iptc/IptcField.h"
#include "core/iptc/IptcReader.h"
#include "core/search/ImageRows.h"
#include "core/session/LanguagePack.h"
#include "core/session/Result.h"

#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::cli;
using namespace zelvarion::test;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

LanguagePack shippedPack(const char *language)
{
    LanguagePack pack;
    EXPECT_TRUE(pack.load(QStringLiteral(ZELVARION_SOURCE_DIR "/data/Zelvarion-Language"), QLatin1String(language)));
    return pack;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A program folder with a catalogue of rows made here (no files needed for searches and lists).
class ScriptOutputCliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const ColumnValues rows[] = {
            {{"Folder", u8("/photos/")}, {"File", u8("b.jpg")}, {"Caption", u8("harbour")}, {"FileSize", u8("300")}},
            {{"Folder", u8("/photos/")}, {"File", u8("tab\there.jpg")}, {"Caption", u8("harbour")}, {"FileSize", u8("100")}},
            {{"Folder", u8("/photos/new\nline/")}, {"File", u8("back\\slash.jpg")}, {"Caption", u8("harbour")},
             {"FileSize", u8("200")}},
            {{"Folder", u8("/photos/")}, {"File", u8("bare.jpg")}},
        };
        ASSERT_TRUE(writeCatalogueOfRows(folder.file("Images.db"), rows));
    }

    CliRun cli(const QString &command, const QStringList &arguments)
    {
        return runCli(QStringList{QStringLiteral("--program-folder"), folder.path(), command} + arguments);
    }

    void useLanguage(const char *language)
    {
        folder.write(QStringLiteral("Zelvarion.ini"), QByteArray("[Configuration]\r\nLanguage=") + language + "\r\n");
    }

    TempFolder folder;
};

} // namespace

TEST(CliText, countedTextsTakeThePacksPluralFormsAndNamesAreEscaped)
{
    const LanguagePack english = shippedPack("English");
    EXPECT_EQ(counted(english, Message::CliFilesCount, 0), u8("0 files"));
    EXPECT_EQ(counted(english, Message::CliFilesCount, 1), u8("1 file"));
    EXPECT_EQ(counted(english, Message::CliFilesCount, 2), u8("2 files"));
    const LanguagePack french = shippedPack("French");
    EXPECT_EQ(counted(french, Message::CliFilesSkipped, 0), u8("0 fichier ignoré"));
    EXPECT_EQ(counted(french, Message::CliFilesSkipped, 1), u8("1 fichier ignoré"));
    EXPECT_EQ(counted(french, Message::CliFilesSkipped, 2), u8("2 fichiers ignorés"));
    LanguagePack oneForm;
    oneForm.parse(u8("[Messages]\n204=# Dateien\n"));
    EXPECT_EQ(counted(oneForm, Message::CliFilesCount, 1), u8("1 Dateien")); // a pack without forms as written

    EXPECT_EQ(filled(u8("Rename # to %?"), {{u'#', u8("100%.jpg")}, {u'%', u8("#1.jpg")}}), u8("Rename 100%.jpg to #1.jpg?"));

    EXPECT_EQ(escapedName(u8("a\tb\nc\\d\re")), u8("a\\tb\\nc\\\\d\\re"));
    EXPECT_EQ(escapedName(u8("plain été.jpg")), u8("plain été.jpg"));
    const QString today = QLocale().toString(QDate(2026, 12, 10), QLocale::ShortFormat);
    EXPECT_EQ(isoDateFromMark(today), u8("2026-12-10"));
    EXPECT_EQ(isoDateFromMark(u8("m")), u8("m")); // a mark that is no date stays as it is
}

// Why a file was left as it was is told in the pack's words as well.
TEST_F(ScriptOutputCliTest, theReasonAFileIsLeftAsItWasIsInThePacksLanguage)
{
    const QString locked = folder.write(u8("locked.jpg"), QByteArray("\xFF\xD8\xFF\xD9", 4));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QString text = folder.write(u8("notes.jpg"), "a text, not a picture");
    const QStringList arguments{u8("--yes"), u8("--set"), u8("City=Paris"), locked, text, folder.file("gone.jpg")};
    for (const char *language : {"French", "English"}) {
        useLanguage(language);
        const LanguagePack pack = shippedPack(language);
        const CliRun run = cli(u8("write"), arguments);
        EXPECT_EQ(run.exitCode, 1) << language;
        for (const Message reason : {Message::ReasonReadOnly, Message::ReasonNotJpeg, Message::ReasonFileMissing})
            EXPECT_TRUE((run.out + run.err).contains(pack.message(reason)))
                << language << " " << int(reason) << (run.out + run.err).toStdString();
    }
    EXPECT_EQ(readAll(locked), QByteArray("\xFF\xD8\xFF\xD9", 4));
}

// A backup that cannot be made refuses the write, and says why in the pack's words.
TEST_F(ScriptOutputCliTest, aBackupRefusalIsInThePacksLanguage)
{
    const QByteArray content("\xFF\xD8\xFF\xD9", 4);
    const QString image = folder.write(u8("photo.jpg"), content);
    const QString missingFolder = folder.file("no backups here");
    for (const char *language : {"French", "English"}) {
        folder.write(QStringLiteral("Zelvarion.ini"),
                     QByteArray("[Configuration]\r\nLanguage=") + language
                         + "\r\n[EditIPTCOptions]\r\nSaveOriginalFile=1\r\nSaveFolder=" + missingFolder.toUtf8() + "\r\n");
        const LanguagePack pack = shippedPack(language);
        const CliRun run = cli(u8("write"), {u8("--yes"), u8("--set"), u8("City=Paris"), image});
        EXPECT_EQ(run.exitCode, 1) << language;
        const QString reason = fillPlaceholders(pack.message(Message::ReasonBackupFolderMissing), {missingFolder});
        EXPECT_TRUE((run.out + run.err).contains(reason)) << language << " " << (run.out + run.err).toStdString();
    }
    EXPECT_FALSE((shippedPack("French").message(Message::ReasonBackupFolderMissing)).contains(u8("does not exist")));
    EXPECT_EQ(readAll(image), content);
}

// The catalogue's refusal reaches the user in the pack's words, the engine's own after them.
TEST_F(ScriptOutputCliTest, aFailureOfTheCatalogueIsToldInThePacksLanguage)
{
    CatalogueDb db;
    db.path = folder.file("Images.db");
    ASSERT_TRUE(db.open());
    ASSERT_EQ(db.execute(u8("create trigger refused before update of CheckMark on Images "
                            "begin select raise(abort, 'refused by a trigger'); end;")), 0);
    db.close();
    useLanguage("French");
    const QString french = shippedPack("French").message(Message::CannotSetData);
    ASSERT_FALSE(french.isEmpty());
    const CliRun inFrench = cli(QStringLiteral("mark"), {u8("harbour")});
    EXPECT_NE(inFrench.exitCode, 0);
    EXPECT_TRUE(inFrench.err.contains(french + u8("\nrefused by a trigger"))) << inFrench.err.toStdString();
    EXPECT_FALSE(inFrench.err.contains(u8("Cannot set data"))) << inFrench.err.toStdString();

    useLanguage("English");
    const CliRun inEnglish = cli(QStringLiteral("mark"), {u8("harbour")});
    EXPECT_TRUE(inEnglish.err.contains(u8("Cannot set data\nrefused by a trigger"))) << inEnglish.err.toStdString();
}

TEST_F(ScriptOutputCliTest, everyTextOfARunComesFromThePackInUse)
{
    useLanguage("French");
    const CliRun bare = cli(QStringLiteral("search"), {});
    EXPECT_EQ(bare.exitCode, 2);
    EXPECT_TRUE(bare.err.contains(u8("Il n'y a rien à rechercher"))) << bare.err.toStdString();
    EXPECT_TRUE(bare.err.contains(u8("--with-iptc"))) << "names the option, not the window's box";
    const CliRun marked = cli(QStringLiteral("mark"), {u8("harbour")});
    EXPECT_EQ(marked.out, u8("3 images marquées\n"));
    EXPECT_EQ(cli(QStringLiteral("mark"), {u8("--clear"), u8("b.jpg")}).out,
              u8("1 image démarquée\n"));

    // A scan in French says files and folders in French, each in its number.
    TempFolder photos;
    photos.write(QStringLiteral("one/a.jpg"), readAll(testDataFile(QStringLiteral("iptc/pillow/Tests/images/iptc.jpg"))));
    photos.write(QStringLiteral("two/a.jpg"), readAll(testDataFile(QStringLiteral("iptc/pillow/Tests/images/iptc.jpg"))));
    const CliRun one = cli(QStringLiteral("scan"), {photos.file(QStringLiteral("one"))});
    EXPECT_TRUE(one.out.contains(u8("1 fichier dans 1 dossier\u00A0; Temps écoulé"))) << one.out.toStdString();
    const CliRun two = cli(QStringLiteral("scan"), {photos.file(QStringLiteral("one")), photos.file(QStringLiteral("two"))});
    EXPECT_TRUE(two.out.contains(u8("2 fichiers dans 2 dossiers\u00A0; "))) << two.out.toStdString();
    for (const char *english : {"files", "folders", "Elapsed", " in "})
        EXPECT_FALSE(two.out.contains(QLatin1String(english))) << english << ": " << two.out.toStdString();

    // A pack an older version seeded lacks the command line's keys: the shipped pack of its language
    // gives them, and the user's own texts still win.
    folder.write(QStringLiteral("Zelvarion-Language/French.lng"), "[Messages]\r\n11=Durée :\r\n");
    const CliRun older = cli(QStringLiteral("scan"), {photos.file(QStringLiteral("one"))});
    EXPECT_TRUE(older.out.contains(u8("1 fichier dans 1 dossier\u00A0; Durée : "))) << older.out.toStdString();

    useLanguage("English");
    const CliRun again = cli(QStringLiteral("scan"), {photos.file(QStringLiteral("two"))});
    EXPECT_TRUE(again.out.contains(u8("1 file in 1 folder; Elapsed time:"))) << again.out.toStdString();
}

// Finding nothing is exit 1 for every command on a result, as for grep; arguments the window would
// not allow together, or nothing to search at all, are exit 2 before anything is done.
TEST_F(ScriptOutputCliTest, commandsOnAResultShareOneExitRule)
{
    const QString to = folder.file(QStringLiteral("copies"));
    QDir().mkpath(to);
    const std::pair<const char *, QStringList> commands[] = {
        {"search", {}},  {"mark", {}},           {"export", {u8("--no-thumbnails")}},
        {"stats", {}},   {"copy", {u8("--to"), to, u8("--yes")}}, {"apply", {u8("--dry-run")}},
    };
    for (const auto &[command, own] : commands) {
        SCOPED_TRACE(command);
        const CliRun none = cli(QLatin1String(command), own + QStringList{u8("nowhere")});
        EXPECT_EQ(none.exitCode, 1) << none.err.toStdString();
        EXPECT_TRUE(none.out.isEmpty()) << none.out.toStdString();
        for (const QStringList &refused : {QStringList{u8("--with-iptc"), u8("harbour")},
                                           QStringList{u8("--without-iptc"), u8("--field"), u8("City")},
                                           QStringList{u8("--with-iptc"), u8("--whole-word")}, QStringList{}}) {
            const CliRun run = cli(QLatin1String(command), own + refused);
            EXPECT_EQ(run.exitCode, 2) << refused.join(u' ').toStdString() << ": " << run.err.toStdString();
            EXPECT_TRUE(run.out.isEmpty());
        }
    }
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("XML/Zelvarion.xml"))));
    EXPECT_TRUE(QDir(to).isEmpty());
    // Both presence boxes list every image, as in the window.
    EXPECT_EQ(cli(QStringLiteral("search"), {u8("--with-iptc"), u8("--without-iptc")}).out.count(u'\n'), 4);
}

TEST_F(ScriptOutputCliTest, sortTakesAColumnNameOrTheWindowsPosition)
{
    const CliRun byName = cli(QStringLiteral("search"), {u8("--sort"), u8("FileSize"), u8("--json"), u8("harbour")});
    const CliRun byPosition = cli(QStringLiteral("search"), {u8("--sort"), u8("1"), u8("--json"), u8("harbour")});
    ASSERT_EQ(byName.exitCode, 0) << byName.err.toStdString();
    EXPECT_EQ(byName.out, byPosition.out);
    const QJsonArray rows = QJsonDocument::fromJson(byName.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0][u8("file")].toString(), u8("tab\there.jpg")); // 100, 200, 300 bytes
    EXPECT_EQ(rows[2][u8("file")].toString(), u8("b.jpg"));
    const CliRun descending = cli(QStringLiteral("search"), {u8("--sort"), u8("file"), u8("--desc"), u8("-0"), u8("harbour")});
    EXPECT_TRUE(descending.out.startsWith(u8("/photos/tab\there.jpg") + QChar(u'\0'))) << descending.out.toStdString();
    EXPECT_EQ(cli(QStringLiteral("search"), {u8("--sort"), u8("Nope"), u8("harbour")}).exitCode, 2);
}

// Plain lines escape what would split a name; -0 and JSON give the names as they are.
TEST_F(ScriptOutputCliTest, namesSplitWholeInEveryOutputForm)
{
    const CliRun lines = cli(QStringLiteral("search"), {u8("--sort"), u8("File"), u8("harbour")});
    EXPECT_EQ(lines.out, u8("/photos/\tb.jpg\n/photos/new\\nline/\tback\\\\slash.jpg\n/photos/\ttab\\there.jpg\n"));
    const CliRun nul = cli(QStringLiteral("search"), {u8("--sort"), u8("File"), u8("-0"), u8("harbour")});
    EXPECT_EQ(nul.out.split(QChar(u'\0')),
              QStringList({u8("/photos/b.jpg"), u8("/photos/new\nline/back\\slash.jpg"), u8("/photos/tab\there.jpg"), u8("")}));
    const QJsonArray json = QJsonDocument::fromJson(cli(QStringLiteral("search"), {u8("--json"), u8("harbour")}).out.toUtf8()).array();
    QStringList paths;
    for (const QJsonValue &row : json)
        paths << row[u8("path")].toString();
    EXPECT_TRUE(paths.contains(u8("/photos/new\nline/back\\slash.jpg")));
    EXPECT_EQ(cli(QStringLiteral("search"), {u8("--json"), u8("-0"), u8("harbour")}).exitCode, 2);

    // The marks: escaped names, the date in ISO 8601 in lines and JSON.
    ASSERT_EQ(cli(QStringLiteral("mark"), {u8("harbour")}).exitCode, 0);
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    const CliRun marks = cli(QStringLiteral("marks"), {});
    EXPECT_TRUE(marks.out.contains(u8("/photos/\ttab\\there.jpg\t") + today + u'\n')) << marks.out.toStdString();
    const QJsonArray marked = QJsonDocument::fromJson(cli(QStringLiteral("marks"), {u8("--json")}).out.toUtf8()).array();
    ASSERT_EQ(marked.size(), 3);
    EXPECT_EQ(marked[0][u8("mark")].toString(), today);
}

// A template run over a real photograph: a dry run says what it would do, and each stored option
// of the apply dialog and the edit options can be turned off for one run.
TEST_F(ScriptOutputCliTest, dryRunsSayWouldWriteAndStoredOptionsSwitchBothWays)
{
    TempFolder photos;
    const QString photo = photos.write(QStringLiteral("p.jpg"), readAll(testDataFile(QStringLiteral("iptc/pillow/Tests/images/iptc.jpg"))));
    ASSERT_EQ(cli(QStringLiteral("scan"), {photos.path()}).exitCode, 0);
    ASSERT_EQ(cli(QStringLiteral("template"), {u8("add"), u8("T")}).exitCode, 0);
    ASSERT_EQ(cli(QStringLiteral("template"), {u8("set"), u8("T"), u8("Headline=Harbour"), u8("Keywords=sea")}).exitCode, 0);
    ASSERT_EQ(cli(QStringLiteral("template"), {u8("use"), u8("T")}).exitCode, 0);
    // What the apply dialog last stored: fill the empty fields and add the template's keywords.
    folder.write(QStringLiteral("Zelvarion.ini"), "[Configuration]\r\nAddKeywordsOption=1\r\nApplyTemplateOption=0\r\n");

    const CliRun dry = cli(QStringLiteral("apply"), {u8("--dry-run"), u8("--field"), u8("City"), u8("Budapest")});
    ASSERT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    EXPECT_TRUE(dry.out.startsWith(u8("would write: ") + photo + u'\n')) << dry.out.toStdString();
    EXPECT_TRUE(dry.out.endsWith(u8("1 image would be written.\n"))) << dry.out.toStdString();
    EXPECT_FALSE(dry.out.contains(u8("processed")));
    const QJsonObject json = QJsonDocument::fromJson(
        cli(QStringLiteral("apply"), {u8("--dry-run"), u8("--json"), u8("--field"), u8("City"), u8("Budapest")}).out.toUtf8()).object();
    EXPECT_EQ(json[u8("images")][0][u8("status")].toString(), u8("wouldWrite"));
    EXPECT_TRUE(json[u8("dryRun")].toBool());
    QStringList changed;
    for (const QJsonValue &change : json[u8("images")][0][u8("changes")].toArray())
        changed << change[u8("column")].toString() + u'=' + change[u8("after")].toString();
    EXPECT_TRUE(changed.contains(u8("Headline=Harbour"))) << changed.join(u' ').toStdString();
    EXPECT_TRUE(changed.filter(u8("Keywords=")).join(QString()).contains(u8("sea"))) << "the stored choice adds them";

    EXPECT_EQ(cli(QStringLiteral("apply"), {u8("--add-keywords"), u8("--no-add-keywords"), u8("--yes"), u8("Budapest")}).exitCode, 2);
    EXPECT_EQ(cli(QStringLiteral("apply"), {u8("--backup"), u8("--no-backup"), u8("--yes"), u8("Budapest")}).exitCode, 2);
    const CliRun run = cli(QStringLiteral("apply"), {u8("--no-add-keywords"), u8("--no-thumbnails"), u8("--yes"),
                                                     u8("--field"), u8("City"), u8("Budapest")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.endsWith(u8("1 image processed.\n"))) << run.out.toStdString();
    const IptcReadResult after = readImageIptc(photo, QString(), nullptr);
    EXPECT_EQ(after.fields.values[std::size_t(iptcFieldIndexOfColumn(u8("Headline")).value())], u8("Harbour"));
    const QString keywords = after.fields.values[std::size_t(kKeywordsIndex)];
    EXPECT_TRUE(keywords.contains(u8("Budapest"))) << "mode 0 leaves the keywords as they were: " << keywords.toStdString();
    EXPECT_FALSE(keywords.contains(u8("sea"))) << keywords.toStdString();
    EXPECT_TRUE(folder.read(QStringLiteral("Zelvarion.ini")).contains("AddKeywordsOption=1")) << "the stored choice stays";
}

// A program folder named for the first time gets the stylesheets at once; one that only reads
// leaves a mistyped name alone.
TEST_F(ScriptOutputCliTest, aNewProgramFolderIsMadeAndSeededByACommandThatWritesThere)
{
    const QString fresh = folder.file(QStringLiteral("fresh/program"));
    const CliRun run = runCli({QStringLiteral("--program-folder"), fresh, QStringLiteral("export"), u8("--catalogue"),
                               folder.file(QStringLiteral("Images.db")), u8("--no-thumbnails"), u8("--xsl"),
                               u8("contact-sheet.xsl"), u8("harbour")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), fresh + u8("/XML/Zelvarion.html"));
    for (const char *shipped : {"XML/pdf-catalogue.xsl", "XML/fop.xconf", "Zelvarion-Language/French.lng", "help/index.html"})
        EXPECT_TRUE(QFileInfo::exists(fresh + u'/' + QLatin1String(shipped))) << shipped;
    const QString mistyped = folder.file(QStringLiteral("mistyped"));
    EXPECT_EQ(runCli({QStringLiteral("--program-folder"), mistyped, QStringLiteral("search"), u8("x")}).exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(mistyped));
}

// The PDF catalogue prints captions in every script as written: the formatter's fonts and the
// stylesheet's font list leave no character to the "#" of a missing glyph.
TEST(PdfCatalogueCli, printsTurkishChineseArabicAndHebrewCaptionsAsWritten)
{
    const QString fop = QStandardPaths::findExecutable(QStringLiteral("fop"));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (fop.isEmpty() || pdftotext.isEmpty())
        GTEST_SKIP() << "fop or pdftotext (poppler-utils) is not installed";
    TempFolder folder;
    CatalogueDb db;
    db.path = folder.file("Images.db");
    RecordingFeedback feedback;
    ASSERT_TRUE(createCatalogueSchema(db, feedback, {}));
    ASSERT_TRUE(db.open());
    const QString captions[] = {u8("İstanbul'da güneş ışığı"), u8("长城的日出"), u8("شروق الشمس"), u8("זריחה בירושלים"),
                                u8("黄山 Harbour")};
    int n = 0;
    for (const QString &caption : captions)
        ASSERT_EQ(db.execute(insertImageStatement({{"Folder", u8("/photos/")}, {"File", QStringLiteral("%1.jpg").arg(++n)},
                                                   {"Headline", caption}, {"Caption", u8("world")}})),
                  0);
    db.close();
    const CliRun run = runCli({QStringLiteral("--program-folder"), folder.path(), QStringLiteral("export"),
                               u8("--no-thumbnails"), u8("--xsl"), u8("pdf-catalogue.xsl"), u8("world")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    ASSERT_EQ(run.out.trimmed(), folder.file(QStringLiteral("XML/Zelvarion.pdf")));
    const CliRun text = runProgram(pdftotext, {u8("-enc"), u8("UTF-8"), folder.file(QStringLiteral("XML/Zelvarion.pdf")), u8("-")});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    for (const QString &caption : captions)
        for (const QString &word : caption.split(u' '))
            EXPECT_TRUE(text.out.contains(word)) << word.toStdString() << " in\n" << text.out.toStdString();
    EXPECT_FALSE(text.out.contains(u'#')) << text.out.toStdString();

    // A caption mixing scripts stays on one line: the Chinese word's box lies within the Latin one's.
    const CliRun boxes = runProgram(pdftotext, {u8("-bbox"), folder.file(QStringLiteral("XML/Zelvarion.pdf")), u8("-")});
    const auto box = [&](const QString &word) {
        const QRegularExpression pattern(u8("yMin=\"([0-9.]+)\"[^>]*yMax=\"([0-9.]+)\">") + word + u8("<"));
        const QRegularExpressionMatch match = pattern.match(boxes.out);
        EXPECT_TRUE(match.hasMatch()) << word.toStdString() << " in\n" << boxes.out.toStdString();
        return std::pair{match.captured(1).toDouble(), match.captured(2).toDouble()};
    };
    const auto [chineseTop, chineseBottom] = box(u8("黄山"));
    const auto [latinTop, latinBottom] = box(u8("Harbour"));
    EXPECT_GE(chineseTop, latinTop - 0.5);
    EXPECT_LE(chineseBottom, latinBottom + 0.5);
}
