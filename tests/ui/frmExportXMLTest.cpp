// Window tests of the XML export: opening, the export with its thumbnails and remembered title,
// and the display through a shipped stylesheet.
#include "ExportWindowSupport.h"

#include "platform/IniFile.h"
#include "platform/ThumbnailStore.h"
#include "ui/frmExportXML.h"
#include "core/export/XmlExport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace zelvarion;
using namespace zelvarion::test;

class frmExportXMLTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void openingShowsTheRememberedTitleAndStylesheet();
    void emptyResultCannotBeExported();
    void exportWritesTheDocumentAndThumbnailsThenDisplayRendersIt();
    void nothingTouchesTheExportFolderWhileTheFormatterRuns();
    void aFinishedExportSaysWhereTheFileIsAndHowManyImages_data();
    void aFinishedExportSaysWhereTheFileIsAndHowManyImages();
};

namespace {
template <typename T>
T *control(QWidget &window, const char *name)
{
    T *found = window.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}
} // namespace

void frmExportXMLTest::openingShowsTheRememberedTitleAndStylesheet()
{
    ExportWindowFixture f;
    f.configure(QStringLiteral("[XML]\nXMLTitle=Spring tour\nXSLFile=captions.xsl\n"));
    f.add(QStringLiteral("a.jpg"), QStringLiteral("sea"));
    frmExportXML dialog(f.context, f.results, f.feedback);
    QCOMPARE(control<QLineEdit>(dialog, "txtXMLTitle")->text(), QStringLiteral("Spring tour"));
    auto *list = control<QComboBox>(dialog, "lstXSL");
    QCOMPARE(list->itemText(0), f.context.language.text(InterfaceText::NoXslChoice));
    QCOMPARE(list->currentText(), QStringLiteral("captions.xsl"));
    QCOMPARE(list->count(), 4); // entry 0 and the three shipped stylesheets
    QVERIFY(control<QRadioButton>(dialog, "optThumbnails_0")->isChecked());
    QCOMPARE(control<QLabel>(dialog, "lblXMLFile")->text(), f.folder.file(QStringLiteral("XML/Zelvarion.xml")));
    QCOMPARE(control<QLabel>(dialog, "lblMax")->text(), QStringLiteral("1"));
}

void frmExportXMLTest::emptyResultCannotBeExported()
{
    ExportWindowFixture f;
    f.configure(QStringLiteral("[XML]\nXSLFile=gone.xsl\n"));
    frmExportXML dialog(f.context, f.results, f.feedback);
    QVERIFY(!control<QPushButton>(dialog, "cmdExportXML")->isEnabled());
    QCOMPARE(control<QComboBox>(dialog, "lstXSL")->currentIndex(), 0);
}

void frmExportXMLTest::exportWritesTheDocumentAndThumbnailsThenDisplayRendersIt()
{
    ExportWindowFixture f;
    f.add(QStringLiteral("harbour.jpg"), QStringLiteral("boats; sea"), QStringLiteral("Evening in the harbour"));
    f.add(QStringLiteral("market.jpg"), QStringLiteral("market"));
    TempFolder storeRoot;
    const ThumbnailStore store(storeRoot.path());
    QFile jpeg(testDataFile(QStringLiteral("iptc/pillow/Tests/images/iptc.jpg")));
    QVERIFY(jpeg.open(QIODevice::ReadOnly));
    QVERIFY(store.store(QStringLiteral("/photos/harbour.jpg"), jpeg.readAll()));

    frmExportXML dialog(f.context, f.results, f.feedback);
    dialog.setThumbnailStoreRoot(storeRoot.path());
    QStringList opened;
    dialog.setOpener([&](const QString &path) { opened << path; });
    control<QLineEdit>(dialog, "txtXMLTitle")->setText(QStringLiteral("  Harbour  "));
    control<QPushButton>(dialog, "cmdExportXML")->click();

    QFile document(f.folder.file(QStringLiteral("XML/Zelvarion.xml")));
    QVERIFY(document.open(QIODevice::ReadOnly));
    const QByteArray text = document.readAll();
    QVERIFY(text.contains("<Title>Harbour</Title>"));
    QVERIFY(text.contains("<Caption>Evening in the harbour</Caption>"));
    QVERIFY(text.contains("<id>2</id>"));
    QVERIFY(QFileInfo::exists(f.folder.file(QStringLiteral("XML/thumbs/harbour.jpg"))));
    QCOMPARE(f.context.ini.read(QStringLiteral("XML"), QStringLiteral("XMLTitle")).value_or(QString()), QStringLiteral("Harbour"));
    QVERIFY(control<QPushButton>(dialog, "cmdExportXML")->isEnabled());
    // market.jpg has no stored thumbnail: said before the count, not left for the PDF to show.
    QCOMPARE(f.feedback.texts(), QStringList({f.context.language.message(Message::ImagesWithoutThumbnail).replace(u'#', u'1'),
                                              f.context.language.message(Message::XmlExportDone).replace(u'#', u'2') + u'\n'
                                                  + f.folder.file(QStringLiteral("XML/Zelvarion.xml"))}));
    f.feedback.messages.clear();

    control<QComboBox>(dialog, "lstXSL")->setCurrentText(QStringLiteral("contact-sheet.xsl"));
    control<QPushButton>(dialog, "cmdDisplayXML")->click();
    QCOMPARE(opened, QStringList({f.folder.file(QStringLiteral("XML/Zelvarion.html"))}));
    QFile html(opened.value(0));
    QVERIFY(html.open(QIODevice::ReadOnly));
    const QByteArray page = html.readAll();
    QVERIFY(page.contains("src=\"thumbs/harbour.jpg\""));
    QVERIFY(page.contains("Evening in the harbour"));
    QCOMPARE(control<QLabel>(dialog, "lblDisplayMessage")->text(), f.context.language.message(Message::RenderingDone));
    QCOMPARE(f.context.ini.read(QStringLiteral("XML"), QStringLiteral("XSLFile")).value_or(QString()),
             QStringLiteral("contact-sheet.xsl"));
}

// The formatter runs with the window's events going; Export stayed enabled, and a second export
// emptied "thumbs" and rewrote the document the formatter was reading.
void frmExportXMLTest::nothingTouchesTheExportFolderWhileTheFormatterRuns()
{
    ExportWindowFixture f;
    f.add(QStringLiteral("harbour.jpg"), QStringLiteral("boats"));
    f.folder.write(QStringLiteral("XML/fo.xsl"),
                   "<?xml version=\"1.0\"?>\n<!-- extension=fo -->\n<xsl:stylesheet version=\"1.0\" "
                   "xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\"><xsl:template match=\"/\">fo</xsl:template>"
                   "</xsl:stylesheet>\n");
    frmExportXML dialog(f.context, f.results, f.feedback);
    dialog.setOpener([](const QString &) {});
    dialog.show();
    auto *exportButton = control<QPushButton>(dialog, "cmdExportXML");
    exportButton->click();
    const QByteArray exported = f.folder.read(QStringLiteral("XML/Zelvarion.xml"));
    f.folder.write(QStringLiteral("XML/thumbs/harbour.jpg"), "thumbnail the formatter reads");

    QStringList enabledDuringTheRun;
    bool closedDuringTheRun = true, folderFreeDuringTheRun = true;
    int runs = 0;
    dialog.setFormatter([&](const QString &) {
        ++runs;
        for (const char *name : {"cmdExportXML", "cmdDisplayXML", "cmdCancel", "lstXSL"})
            if (control<QWidget>(dialog, name)->isEnabled())
                enabledDuringTheRun << QLatin1String(name);
        QTest::mouseClick(exportButton, Qt::LeftButton);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        dialog.reject();
        closedDuringTheRun = !dialog.isVisible();
        ExportFolderLock another(dialog.exportFolder());
        folderFreeDuringTheRun = another.tryAcquire();
        return true;
    });
    control<QComboBox>(dialog, "lstXSL")->setCurrentText(QStringLiteral("fo.xsl"));
    control<QPushButton>(dialog, "cmdDisplayXML")->click();
    QCOMPARE(runs, 1);
    QCOMPARE(enabledDuringTheRun, QStringList());
    QVERIFY(!closedDuringTheRun);
    QVERIFY(!folderFreeDuringTheRun);
    QCOMPARE(f.folder.read(QStringLiteral("XML/Zelvarion.xml")), exported);
    QCOMPARE(f.folder.read(QStringLiteral("XML/thumbs/harbour.jpg")), QByteArray("thumbnail the formatter reads"));

    QVERIFY(exportButton->isEnabled());
    QVERIFY(control<QPushButton>(dialog, "cmdCancel")->isEnabled());
    ExportFolderLock afterwards(dialog.exportFolder());
    QVERIFY(afterwards.tryAcquire());
}

void frmExportXMLTest::aFinishedExportSaysWhereTheFileIsAndHowManyImages_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << QStringLiteral("English");
    QTest::newRow("French") << QStringLiteral("French");
}

// The count is of the images written into the document: one whose row is gone is left out.
void frmExportXMLTest::aFinishedExportSaysWhereTheFileIsAndHowManyImages()
{
    QFETCH(QString, language);
    ExportWindowFixture f;
    QVERIFY(f.context.language.load(programFolder::languageFolder(), language));
    f.add(QStringLiteral("harbour.jpg"), QStringLiteral("boats"));
    f.add(QStringLiteral("market.jpg"), QStringLiteral("market"));
    f.add(QStringLiteral("quay.jpg"), QStringLiteral("quay"));
    CatalogueDb &db = f.context.catalogue;
    db.open();
    db.execute(QStringLiteral("delete from Images where File='quay.jpg';"));
    db.close();
    frmExportXML dialog(f.context, f.results, f.feedback);
    control<QRadioButton>(dialog, "optThumbnails_1")->click();
    control<QPushButton>(dialog, "cmdExportXML")->click();
    QCOMPARE(f.feedback.messages.size(), std::size_t(1));
    const RecordingFeedback::Message &said = f.feedback.messages.front();
    QCOMPARE(said.icon, MessageIcon::Information);
    const QStringList lines = said.text.split(u'\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], f.context.language.message(Message::XmlExportDone).replace(u'#', u'2'));
    QCOMPARE(lines[1], f.folder.file(QStringLiteral("XML/Zelvarion.xml")));
    QVERIFY(language != QStringLiteral("French") || lines[0].startsWith(QStringLiteral("Exportation XML")));
}

QTEST_MAIN(frmExportXMLTest)
#include "frmExportXMLTest.moc"
