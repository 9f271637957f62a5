// Display XML over the real XSLT processor: the stylesheet list, the output extension, the error
// boxes, the bytes written, the limits on what a stylesheet may touch, and the FO route to a PDF.
#include "core/export/XslRendering.h"

#include "ExportCatalogue.h"
#include "core/session/LanguagePack.h"
#include "platform/ThumbnailStore.h"
#include "platform/XsltEngine.h"

#include <QDir>
#include <QFile>
#include <QProcess>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

QByteArray stylesheet(const QByteArray &beforeRoot, const QByteArray &body,
                      const QByteArray &output = "<xsl:output method=\"text\" encoding=\"UTF-8\"/>")
{
    return "<?xml version=\"1.0\"?>\n" + beforeRoot
           + "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">" + output + body
           + "</xsl:stylesheet>\n";
}

const QByteArray kCaptionsOnly =
    "<xsl:template match=\"/\"><xsl:for-each select=\"//Caption\"><xsl:value-of select=\".\"/>|</xsl:for-each></xsl:template>";

class XslRenderingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pack.setBuiltInDefaults();
        pack.setText(int(InterfaceText::NoXslChoice), QStringLiteral("(none)"));
        pack.setMessage(int(Message::XmlFileMissing), QStringLiteral("No XML file:"));
        folder = {catalogue.folder.file(QStringLiteral("XML"))};
        folder.create();
    }

    void exportCatalogue()
    {
        XmlExportRequest request;
        request.folder = folder;
        request.copyThumbnails = false; // the renderings here show no pictures
        exportXml(request, catalogue.results, catalogue.db, feedback, store);
    }
    void copyShipped(const QString &name)
    {
        QFile::remove(folder.path + u'/' + name);
        QFile::copy(QStringLiteral(ZELVARION_SOURCE_DIR "/data/XML/") + name, folder.path + u'/' + name);
    }
    void writeStylesheet(const QString &name, const QByteArray &text) const
    {
        QFile file(folder.path + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray read(const QString &name) const
    {
        QFile file(folder.path + u'/' + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    DisplayOutcome display(const QString &listText)
    {
        DisplayEnvironment environment{feedback, pack};
        environment.makeProcessor = [this] { return makeXsltProcessor(folder.path); };
        environment.openWithDefaultProgram = [this](const QString &path) { opened << path; };
        environment.showStatus = [this](const QString &text) { statuses << text; };
        environment.rememberStylesheet = [this](const QString &text) { remembered = text; };
        environment.runFormatter = formatter;
        return displayXml(folder, listText, environment);
    }

    ExportCatalogue catalogue;
    RecordingFeedback feedback;
    ThumbnailStore store{catalogue.folder.file(QStringLiteral("store"))};
    LanguagePack pack;
    ExportFolder folder;
    QStringList opened, statuses;
    QString remembered;
    std::function<bool(const QString &)> formatter = [this](const QString &script) {
        formatterRuns << script;
        return true;
    };
    QStringList formatterRuns;
};

TEST_F(XslRenderingTest, stylesheetListIsSortedAndARememberedNameMustStillBeThere)
{
    EXPECT_TRUE(stylesheetNames(folder).isEmpty());
    writeStylesheet(QStringLiteral("b.xsl"), "x");
    writeStylesheet(QStringLiteral("a.xsl"), "x");
    writeStylesheet(QStringLiteral("notes.txt"), "x");
    const QStringList entries = QStringList{QStringLiteral("(none)")} + stylesheetNames(folder);
    EXPECT_EQ(entries, QStringList({"(none)", "a.xsl", "b.xsl"}));
    EXPECT_EQ(rememberedStylesheetPosition(entries, QStringLiteral("b.xsl")), 2);
    EXPECT_EQ(rememberedStylesheetPosition(entries, QStringLiteral("B.xsl")), 0);
    EXPECT_EQ(rememberedStylesheetPosition(entries, QStringLiteral("deleted.xsl")), 0);
}

TEST_F(XslRenderingTest, outputExtensionComesFromTheLastTopLevelComment)
{
    EXPECT_EQ(outputExtension({}), QStringLiteral("htm"));
    EXPECT_EQ(outputExtension({QStringLiteral(" made by hand "), QStringLiteral(" extension= txt ")}), QStringLiteral("txt"));
    EXPECT_EQ(outputExtension({QStringLiteral("extension=txt"), QStringLiteral("x extension=csv")}), QStringLiteral("csv"));

    catalogue.add(QStringLiteral("/p/"), QStringLiteral("a.jpg"), {{"Caption", QStringLiteral("one")}});
    exportCatalogue();
    // A comment inside the root element is not looked at.
    writeStylesheet(QStringLiteral("t.xsl"), stylesheet("<!-- extension=txt -->\n", "<!-- extension=csv -->" + kCaptionsOnly));
    const DisplayOutcome outcome = display(QStringLiteral("t.xsl"));
    EXPECT_EQ(outcome.kind, DisplayOutcome::Kind::Rendered);
    EXPECT_EQ(opened, QStringList({folder.path + QStringLiteral("/Zelvarion.txt")}));
    EXPECT_EQ(read(QStringLiteral("Zelvarion.txt")), QByteArray("one|"));
    EXPECT_EQ(remembered, QStringLiteral("t.xsl"));
    EXPECT_EQ(statuses.last(), pack.message(Message::RenderingDone));
}

TEST_F(XslRenderingTest, onlyAPlainSuffixOfLettersAndDigitsIsAnExtension)
{
    for (const char *plain : {"htm", "fo", "FO", "txt", "HTML5", "abcdefghij"})
        EXPECT_TRUE(isPlainExtension(QLatin1String(plain))) << plain;
    for (const char *unsafe : {"", "abcdefghijk", "/../../v/holiday.jpg", "../x", "htm/x", "a b", ".htm", "htm.",
                               "t\\x", "h\xc3\xa9"})
        EXPECT_FALSE(isPlainExtension(QString::fromUtf8(unsafe))) << unsafe;
}

// A stylesheet's comment once named "Zelvarion./../../v/holiday.jpg" as the output, and the
// rendering replaced the photo with its text.
TEST_F(XslRenderingTest, anExtensionNamingAnotherPlaceIsRefusedAndTouchesNoFile)
{
    pack.setMessage(int(Message::OutputExtensionRefused), QStringLiteral("Not a plain extension:"));
    catalogue.add(QStringLiteral("/p/"), QStringLiteral("a.jpg"), {{"Caption", QStringLiteral("text")}});
    exportCatalogue();
    const QString photo = catalogue.folder.write(QStringLiteral("v/holiday.jpg"), "photo");
    for (const QByteArray &comment : {QByteArray("/../../v/holiday.jpg"), QByteArray("/../../v/new.jpg"),
                                      QByteArray("htm/../../../v/holiday.jpg"), QByteArray("x y")}) {
        feedback.messages.clear();
        opened.clear();
        writeStylesheet(QStringLiteral("evil.xsl"), stylesheet("<!-- extension=" + comment + " -->\n", kCaptionsOnly));
        EXPECT_EQ(display(QStringLiteral("evil.xsl")).kind, DisplayOutcome::Kind::Failed) << comment.constData();
        ASSERT_EQ(feedback.messages.size(), 1u) << comment.constData();
        EXPECT_EQ(feedback.messages[0].text, QStringLiteral("Not a plain extension:\n") + QString::fromUtf8(comment));
        EXPECT_EQ(feedback.messages[0].icon, MessageIcon::Critical);
        EXPECT_TRUE(opened.isEmpty());
    }
    EXPECT_EQ(catalogue.folder.read(QStringLiteral("v/holiday.jpg")), QByteArray("photo"));
    EXPECT_FALSE(QFileInfo::exists(catalogue.folder.file(QStringLiteral("v/new.jpg"))));
    EXPECT_EQ(QFileInfo(photo).size(), 5);
}

// The output name is fixed, yet the file of that name may be a link to a photo elsewhere.
TEST_F(XslRenderingTest, anOutputFileLinkedOutsideTheExportFolderIsNotWrittenThrough)
{
    pack.setMessage(int(Message::OutputOutsideExportFolder), QStringLiteral("Outside:"));
    exportCatalogue();
    TempFolder outside;
    const QString photo = outside.write(QStringLiteral("holiday.jpg"), "photo");
    writeStylesheet(QStringLiteral("c.xsl"), stylesheet("", kCaptionsOnly));
    const QString output = folder.path + QStringLiteral("/Zelvarion.htm");
    struct Link { QString target; const char *what; };
    for (const Link &link : {Link{photo, "to a photo"}, Link{outside.file(QStringLiteral("new.jpg")), "dangling"},
                             Link{outside.path(), "to a folder"}}) {
        feedback.messages.clear();
        QFile::remove(output);
        ASSERT_TRUE(QFile::link(link.target, output)) << link.what;
        EXPECT_EQ(display(QStringLiteral("c.xsl")).kind, DisplayOutcome::Kind::Failed) << link.what;
        ASSERT_EQ(feedback.messages.size(), 1u) << link.what;
        EXPECT_EQ(feedback.messages[0].text, QStringLiteral("Outside:\n") + output) << link.what;
    }
    EXPECT_EQ(outside.read(QStringLiteral("holiday.jpg")), QByteArray("photo"));
    EXPECT_FALSE(QFileInfo::exists(outside.file(QStringLiteral("new.jpg"))));

    QFile::remove(output);
    EXPECT_TRUE(liesInsideFolder(output, folder.path));
    EXPECT_FALSE(liesInsideFolder(folder.path, folder.path));
    EXPECT_FALSE(liesInsideFolder(folder.path + QStringLiteral("/../Images.db"), folder.path));
    EXPECT_FALSE(liesInsideFolder(folder.path + QStringLiteral("/missing/x.htm"), folder.path));
}

TEST_F(XslRenderingTest, entryZeroOpensTheDocumentAndAMissingDocumentIsAWarning)
{
    EXPECT_EQ(display(QStringLiteral("(none)")).kind, DisplayOutcome::Kind::XmlMissing);
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].text, QStringLiteral("No XML file:\n") + folder.documentPath());
    EXPECT_EQ(feedback.messages[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(remembered.isEmpty());

    exportCatalogue();
    EXPECT_EQ(display(QStringLiteral("(none)")).kind, DisplayOutcome::Kind::OpenedDocument);
    EXPECT_EQ(opened, QStringList({folder.documentPath()}));
    EXPECT_EQ(remembered, QStringLiteral("(none)"));
}

TEST_F(XslRenderingTest, brokenStylesheetShowsTheErrorDetailsAndWritesNothing)
{
    exportCatalogue();
    writeStylesheet(QStringLiteral("bad.xsl"), "<?xml version=\"1.0\"?>\n<xsl:stylesheet version=\"1.0\" "
                                              "xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">\n  <oops>\n"
                                              "</xsl:stylesheet>\n");
    pack.setMessage(int(Message::StylesheetNotLoaded), QStringLiteral("Error loading the Transform"));
    pack.setMessage(int(Message::StylesheetFileLabel), QStringLiteral("XSL file: #"));
    EXPECT_EQ(display(QStringLiteral("bad.xsl")).kind, DisplayOutcome::Kind::Failed);
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].title, QStringLiteral("Error loading the Transform"));
    EXPECT_TRUE(feedback.messages[0].text.startsWith(QStringLiteral("XSL file: bad.xsl\n")));
    EXPECT_TRUE(feedback.messages[0].text.contains(QStringLiteral(" line: 4 col: ")));
    EXPECT_TRUE(feedback.messages[0].text.contains(QStringLiteral(" text: </xsl:stylesheet>")));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder.path + QStringLiteral("/Zelvarion.htm")));
}

TEST_F(XslRenderingTest, renderingTwiceReplacesTheOutput)
{
    catalogue.add(QStringLiteral("/p/"), QStringLiteral("a.jpg"), {{"Caption", QStringLiteral("first")}});
    exportCatalogue();
    writeStylesheet(QStringLiteral("c.xsl"), stylesheet("", kCaptionsOnly));
    display(QStringLiteral("c.xsl"));
    EXPECT_EQ(read(QStringLiteral("Zelvarion.htm")), QByteArray("first|"));
    catalogue.add(QStringLiteral("/p/"), QStringLiteral("b.jpg"), {{"Caption", QStringLiteral("second")}});
    exportCatalogue();
    display(QStringLiteral("c.xsl"));
    EXPECT_EQ(read(QStringLiteral("Zelvarion.htm")), QByteArray("first|second|"));
    EXPECT_EQ(opened.size(), 2);
}

TEST_F(XslRenderingTest, outputBytesFollowTheDeclaredEncodingAsTheCommandLineProcessorWritesThem)
{
    catalogue.add(QStringLiteral("/p/"), QStringLiteral("a.jpg"), {{"Caption", QStringLiteral("Zürich 中")}});
    exportCatalogue();
    writeStylesheet(QStringLiteral("u.xsl"), stylesheet("", kCaptionsOnly));
    writeStylesheet(QStringLiteral("l.xsl"), stylesheet("", kCaptionsOnly, "<xsl:output method=\"text\" encoding=\"ISO-8859-1\"/>"));
    display(QStringLiteral("u.xsl"));
    EXPECT_EQ(read(QStringLiteral("Zelvarion.htm")), QByteArray("Z\xC3\xBCrich \xE4\xB8\xAD|"));
    display(QStringLiteral("l.xsl"));
    EXPECT_EQ(read(QStringLiteral("Zelvarion.htm")).left(7), QByteArray("Z\xFCrich "));

    copyShipped(QStringLiteral("contact-sheet.xsl"));
    display(QStringLiteral("contact-sheet.xsl"));
    QProcess peer;
    peer.start(QStringLiteral("xsltproc"), {folder.path + QStringLiteral("/contact-sheet.xsl"), folder.documentPath()});
    ASSERT_TRUE(peer.waitForFinished(30000));
    EXPECT_EQ(read(QStringLiteral("Zelvarion.html")), peer.readAllStandardOutput());
}

TEST_F(XslRenderingTest, stylesheetReadsAndWritesOnlyInsideTheExportFolder)
{
    exportCatalogue();
    TempFolder outside;
    outside.write(QStringLiteral("secret.xml"), "<s>secret</s>");
    writeStylesheet(QStringLiteral("inside.xml"), "<s>inside</s>");
    writeStylesheet(QStringLiteral("in.xsl"), stylesheet("", "<xsl:template match=\"/\"><xsl:value-of select=\"document('inside.xml')\"/></xsl:template>"));
    EXPECT_EQ(display(QStringLiteral("in.xsl")).kind, DisplayOutcome::Kind::Rendered);
    EXPECT_EQ(read(QStringLiteral("Zelvarion.htm")), QByteArray("inside"));
    for (const QByteArray &uri : {outside.file(QStringLiteral("secret.xml")).toUtf8(), QByteArray("file://") + outside.file(QStringLiteral("secret.xml")).toUtf8(),
                                  QByteArray("../../") + outside.file(QStringLiteral("secret.xml")).toUtf8(), QByteArray("http://127.0.0.1:9/x.xml")}) {
        writeStylesheet(QStringLiteral("r.xsl"), stylesheet("", "<xsl:template match=\"/\">[<xsl:value-of select=\"document('" + uri + "')\"/>]</xsl:template>"));
        display(QStringLiteral("r.xsl"));
        EXPECT_FALSE(read(QStringLiteral("Zelvarion.htm")).contains("secret")) << uri.constData();
    }

    const QByteArray writes = "<xsl:template match=\"/\"><exsl:document href=\"" + outside.file(QStringLiteral("out.txt")).toUtf8()
                              + "\" method=\"text\">x</exsl:document></xsl:template>";
    writeStylesheet(QStringLiteral("w.xsl"),
                    "<?xml version=\"1.0\"?><xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\" "
                    "xmlns:exsl=\"http://exslt.org/common\" extension-element-prefixes=\"exsl\">"
                        + writes + "</xsl:stylesheet>");
    display(QStringLiteral("w.xsl"));
    EXPECT_FALSE(QFileInfo::exists(outside.file(QStringLiteral("out.txt"))));
}

TEST_F(XslRenderingTest, exportReadBackThroughTheCaptionsStylesheetHoldsTheCatalogueValues)
{
    catalogue.add(QStringLiteral("/photos/2024/"), QStringLiteral("beach.jpg"),
                  {{"Headline", QStringLiteral("Low \"tide\"")}, {"Caption", QStringLiteral("Sand & sea, 5 € entry")},
                   {"Keywords", QStringLiteral("sea; sand")}, {"City", QStringLiteral("Saint-Malo")},
                   {"Width", QStringLiteral("640")}, {"Height", QStringLiteral("480")}});
    catalogue.add(QStringLiteral("/photos/"), QStringLiteral("plain.jpg"));
    exportCatalogue();
    copyShipped(QStringLiteral("captions.xsl"));
    display(QStringLiteral("captions.xsl"));
    const QString csv = QString::fromUtf8(read(QStringLiteral("Zelvarion.csv")));
    const QStringList lines = csv.split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[1], QStringLiteral("\"1\";\"beach.jpg\";\"/photos/2024/\";\"Low \"\"tide\"\"\";"
                                       "\"Sand & sea, 5 € entry\";\"sea, sand\";\"Saint-Malo\";\"\";\"640\";\"480\""));
    EXPECT_EQ(lines[2], QStringLiteral("\"2\";\"plain.jpg\";\"/photos/\";\"\";\"\";\"\";\"\";\"\";\"\";\"\""));
}

TEST_F(XslRenderingTest, foRouteRunsTheFormatterAndOpensThePdfWhateverTheCase)
{
    exportCatalogue();
    writeStylesheet(QStringLiteral("f.xsl"), stylesheet("<!-- extension=Fo -->\n", kCaptionsOnly));
    writeStylesheet(QStringLiteral("Zelvarion.pdf"), "stale");
    display(QStringLiteral("f.xsl"));
    EXPECT_EQ(formatterRuns, QStringList({folder.path + QStringLiteral("/fop.sh")}));
    EXPECT_FALSE(QFileInfo::exists(folder.path + QStringLiteral("/Zelvarion.pdf"))); // the old PDF is gone
    EXPECT_EQ(opened, QStringList({folder.path + QStringLiteral("/Zelvarion.pdf")}));
}

TEST_F(XslRenderingTest, missingFormatterScriptIsReportedAsAnAppThatCannotStart)
{
    EXPECT_FALSE(runAndWait(folder.path + QStringLiteral("/fop.sh"), feedback));
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_TRUE(feedback.messages[0].text.startsWith(QStringLiteral("Error starting App:\nApp: ")));
    EXPECT_EQ(feedback.messages[0].icon, MessageIcon::None);
}

// A formatter's chatter never reaches the terminal: a failing one is reported with the end of
// what it wrote, and nothing is opened; a succeeding one says nothing.
TEST_F(XslRenderingTest, formatterOutputIsShownOnlyWhenItFails)
{
    exportCatalogue();
    writeStylesheet(QStringLiteral("f.xsl"), stylesheet("<!-- extension=fo -->\n", kCaptionsOnly));
    writeStylesheet(QStringLiteral("fop.sh"), "echo '[warning] JVM flavour not understood'\n"
                                              "echo 'SEVERE: Zelvarion.fo line 3: no such font' >&2\nexit 3\n");
    formatter = nullptr; // the real run
    EXPECT_EQ(display(QStringLiteral("f.xsl")).kind, DisplayOutcome::Kind::Failed);
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(feedback.messages[0].text.startsWith(folder.path + QStringLiteral("/fop.sh ended with an error:\n")));
    EXPECT_TRUE(feedback.messages[0].text.endsWith(QStringLiteral("[warning] JVM flavour not understood\n"
                                                                  "SEVERE: Zelvarion.fo line 3: no such font")));

    feedback.messages.clear();
    writeStylesheet(QStringLiteral("fop.sh"), "echo '[warning] JVM flavour not understood' >&2\necho pdf > Zelvarion.pdf\n");
    EXPECT_EQ(display(QStringLiteral("f.xsl")).kind, DisplayOutcome::Kind::Rendered);
    EXPECT_TRUE(feedback.messages.empty());
    EXPECT_EQ(opened, QStringList({folder.path + QStringLiteral("/Zelvarion.pdf")}));
}

// The one real formatter run of the tests: the shipped catalogue stylesheet through fop.sh, and
// the PDF's text holds the captions and file names.
TEST_F(XslRenderingTest, shippedCatalogueStylesheetMakesAPdfWithTheCaptions)
{
    catalogue.add(QStringLiteral("/photos/"), QStringLiteral("harbour-01.jpg"),
                  {{"Headline", QStringLiteral("Fishing boats")}, {"Caption", QStringLiteral("Boats back in Concarneau")}});
    catalogue.add(QStringLiteral("/photos/"), QStringLiteral("market-02.jpg"), {{"Caption", QStringLiteral("Saturday market")}});
    exportCatalogue();
    copyShipped(QStringLiteral("pdf-catalogue.xsl"));
    copyShipped(QStringLiteral("fop.sh"));
    copyShipped(QStringLiteral("fop.xconf"));
    formatter = nullptr; // the real RunAndWait
    display(QStringLiteral("pdf-catalogue.xsl"));
    ASSERT_TRUE(QFileInfo::exists(folder.path + QStringLiteral("/Zelvarion.pdf"))) << feedback.texts().join(u'\n').toStdString();
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {folder.path + QStringLiteral("/Zelvarion.pdf"), QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(60000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (const char *expected : {"harbour-01.jpg", "market-02.jpg", "Boats back in Concarneau", "Saturday market", "Fishing boats"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected << "\n" << text.toStdString();
}

} // namespace
