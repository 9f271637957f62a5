// Every window of the program, opened in every shipped language pack, shows its captions whole
// and no control on another. A window added to the program joins with one line in kWindows.
#include "LayoutCheck.h"
#include "WindowTestSupport.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/captioning/TemplateStore.h"
#include "ui/frmAbout.h"
#include "ui/frmApplyTemplate.h"
#include "ui/frmDatabase.h"
#include "ui/frmDisplayImage.h"
#include "ui/frmEmptyWordsList.h"
#include "ui/frmExportXML.h"
#include "ui/frmFolderSelected.h"
#include "ui/frmProperties.h"
#include "ui/frmSQLQuery.h"
#include "ui/frmSearchOptions.h"
#include "ui/frmSelections.h"
#include "ui/frmSpelling.h"
#include "ui/frmStatistics.h"
#include "ui/frmEditCustomizedFieldNames.h"
#include "ui/frmEditIPTC.h"
#include "ui/frmEditIPTCOptions.h"
#include "ui/frmFolder.h"
#include "ui/frmFolderBrowser.h"
#include "ui/frmSearchOptions.h"
#include "ui/frmTemplates.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <functional>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

// A main window started in one language; the windows opened on it live as long as it does.
class LayoutFixture
{
public:
    explicit LayoutFixture(const QString &language)
    {
        folder.writeIni(QStringLiteral("[Configuration]\r\nLanguage=") + language + QStringLiteral("\r\n"));
        folder.write(QStringLiteral("Zelvarion-Language/Translations.txt"),
                     QByteArrayLiteral("English/French\r\nstreet/rue\r\n"));
        started.start();
    }

    frmZelvarion &main() { return *started.window; }
    AppContext &context() { return started.window->context(); }
    Feedback &feedback() { return started.feedback; }
    QString catalogue() const { return folder.file(QStringLiteral("Images.db")); }

    // Keeps a window made for the check until the fixture ends.
    template <typename W>
    W *keep(std::unique_ptr<W> window)
    {
        W *shown = window.get();
        m_windows.push_back(std::move(window));
        return shown;
    }

    void execute(const QStringList &statements) const
    {
        CatalogueDb db;
        db.path = catalogue();
        QVERIFY(db.open());
        for (const QString &statement : statements)
            QCOMPARE(db.execute(statement), 0);
        db.close();
    }

    ProgramFolderFixture folder;
    StartedWindow started;
    std::unique_ptr<Speller> speller; // of a correction dialog on show
    ResultList result; // a result a window keeps a reference to
    ResultList results; // what a window opened on a result shows

private:
    std::vector<std::unique_ptr<QWidget>> m_windows;
};

QString imageRow(int i)
{
    QStringList values(48, QString());
    values[0] = QStringLiteral("/photos/2024/");
    values[1] = i == 23 ? QStringLiteral("Canon EOS-1D Mark III (via Adobe Lightroom).jpg") // three lines
                        : QStringLiteral("street-%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
    values[32] = QStringLiteral("A street at night");
    QStringList quoted;
    for (const QString &value : values)
        quoted << sqlText(value);
    return QStringLiteral("insert into Images values(%1);").arg(quoted.join(u','));
}

// A search with its translation shown, on the last page of 25 images, in a catalogue of many.
QWidget *mainWindowAfterASearch(LayoutFixture &f)
{
    QStringList rows;
    for (int i = 1; i <= 25; ++i)
        rows << imageRow(i);
    f.execute(rows);
    find<QCheckBox>(&f.main(), "chkTranslation")->click();
    find<QComboBox>(&f.main(), "lstTxtSearch")->setCurrentText(QStringLiteral("street"));
    find<QPushButton>(&f.main(), "cmdSearch")->click();
    find<QToolButton>(&f.main(), "cmdEnd")->click();
    f.main().showCatalogueCount(1234567);
    return &f.main();
}

// Ranks of five digits beside the paging buttons.
QWidget *mainWindowFarIntoALargeResult(LayoutFixture &f)
{
    std::vector<ResultRow> rows;
    for (int i = 1; i <= 12345; ++i)
        rows.push_back({QStringLiteral("/photos/"), QStringLiteral("p%1.jpg").arg(i), QString()});
    ResultList result;
    result.assign(std::move(rows));
    f.main().showCatalogueCount(12345);
    f.main().showResult(std::move(result));
    find<QToolButton>(&f.main(), "cmdEnd")->click();
    return &f.main();
}

// Registered folders, one of them gone, a subfolder row with its note, a status line.
QWidget *databaseDialogWithFolders(LayoutFixture &f)
{
    const QString photos = f.folder.file(QStringLiteral("photos"));
    QDir().mkpath(photos + QStringLiteral("/2024"));
    f.execute({QStringLiteral("insert into Folders values(%1, '12345', '24/12/2024 23:59:59');").arg(sqlText(photos + u'/')),
               QStringLiteral("insert into Folders values('/gone/away/', '7', '01/01/2024 08:00:00');")});
    auto *dialog = f.keep(std::make_unique<frmDatabase>(f.main()));
    dialog->setFolderChooser([photos](const QString &) { return photos + QStringLiteral("/2024"); });
    dialog->addFolder();
    dialog->compactDatabase();
    return dialog;
}

// The result of a search for "street" in 25 images.
void searchStreets(LayoutFixture &f)
{
    QStringList rows;
    for (int i = 1; i <= 25; ++i)
        rows << imageRow(i);
    f.execute(rows);
    find<QComboBox>(&f.main(), "lstTxtSearch")->setCurrentText(QStringLiteral("street"));
    find<QPushButton>(&f.main(), "cmdSearch")->click();
}

// The export written, then rendered by the shipped CSV stylesheet, its message on show.
QWidget *exportDialogAfterADisplay(LayoutFixture &f)
{
    searchStreets(f);
    const QDir shipped(QStringLiteral(ZELVARION_SOURCE_DIR "/data/XML"));
    QDir().mkpath(f.folder.file(QStringLiteral("XML")));
    for (const QString &name : shipped.entryList(QDir::Files))
        QFile::copy(shipped.filePath(name), f.folder.file(QStringLiteral("XML/") + name));
    auto *dialog = f.keep(std::make_unique<frmExportXML>(f.context(), f.main().result(), f.feedback(), &f.main()));
    dialog->setOpener([](const QString &) {});
    find<QLineEdit>(dialog, "txtXMLTitle")->setText(QStringLiteral("Streets at night"));
    dialog->exportDocument();
    find<QComboBox>(dialog, "lstXSL")->setCurrentText(QStringLiteral("captions.xsl"));
    dialog->displayDocument();
    return dialog;
}

// Both lists filled, the unknown words lit, the summary line on show.
QWidget *statisticsAfterAnAnalysis(LayoutFixture &f)
{
    searchStreets(f);
    auto *window = f.keep(std::make_unique<frmStatistics>(f.context(), f.main().result(), f.feedback(), &f.main()));
    window->analyse();
    window->highlightUnknownWords();
    return window;
}

// A list of words and the refusal of one already in it.
QWidget *emptyWordsRefusingADouble(LayoutFixture &f)
{
    auto *dialog = f.keep(std::make_unique<frmEmptyWordsList>(f.context(), &f.main()));
    for (const char *word : {"the", "at", "of", "the"}) {
        find<QLineEdit>(dialog, "rtfEmptyWord")->setText(QLatin1String(word));
        dialog->addWord();
    }
    return dialog;
}

// The dictionary of the pack in use on a text with two unknown words.
QWidget *correctionDialog(LayoutFixture &f)
{
    f.speller = f.context().spelling.start();
    if (!f.speller)
        qFatal("no dictionary for %s", qPrintable(f.context().settings.language));
    return f.keep(std::make_unique<frmSpelling>(*f.speller, QStringLiteral("Harbuor at nigth, Kerlouan"),
                                                f.context().language, &f.main()));
}

// Two saved selections, one with an apostrophe and a long name, and the count of the current one.
QWidget *selectionsWindowWithEntries(LayoutFixture &f)
{
    f.execute({imageRow(1), imageRow(2),
               QStringLiteral("insert into Selections values('l''été à Marseille, le port au petit matin','/photos/2024/',"
                              "'street-001.jpg','01/02/2024');"),
               QStringLiteral("insert into Selections values('hiver','/photos/2024/','street-002.jpg','01/02/2024');")});
    auto *window = f.keep(std::make_unique<frmSelections>(f.context(), f.feedback(), [] { return 12345; }, &f.main()));
    window->showCurrentSelection();
    return window;
}

// A result of every column of a few rows, with its status line.
QWidget *sqlConsoleWithAResult(LayoutFixture &f)
{
    f.execute({imageRow(1), imageRow(23)});
    auto *console = f.keep(std::make_unique<frmSQLQuery>(f.context(), f.feedback(), &f.main()));
    find<QComboBox>(console, "lstTxtSQL")->setCurrentText(QStringLiteral("SELECT * FROM Images"));
    console->execute();
    return console;
}

QWidget *destinationFolderDialog(LayoutFixture &f)
{
    f.result.assign({{QStringLiteral("/photos/2024/"), QStringLiteral("street-001.jpg"), QString()}});
    auto *dialog = f.keep(std::make_unique<frmFolderSelected>(f.context(), f.feedback(), f.result, &f.main()));
    dialog->setCurrentFolder(f.folder.file(QString()));
    return dialog;
}

QWidget *folderBrowserOnAFolder(LayoutFixture &f)
{
    const LanguagePack &pack = f.context().language;
    auto *browser = f.keep(std::make_unique<frmFolderBrowser>(pack.text(InterfaceText::AddFolderButton), pack, &f.main()));
    browser->selectFolder(f.folder.path());
    return browser;
}

QWidget *propertiesDialog(LayoutFixture &f)
{
    return f.keep(std::make_unique<frmProperties>(testDataFile(QStringLiteral("iptc/pillow/Tests/images/hopper.jpg")),
                                                  f.context().language, &f.main()));
}

// Templates with long and short names, one of them in use.
void addTemplates(LayoutFixture &f)
{
    TemplateStore store(f.context().catalogue, f.feedback());
    TemplateValues values;
    values.fields[0] = QStringLiteral("Harbour at dawn");
    values.fields[20] = QStringLiteral("Brest");
    values.fields[30] = QStringLiteral("Fishing boats come back to the harbour at dawn.");
    values.fields[kKeywordsIndex] = QStringLiteral("harbour; boats; dawn; fishing");
    values.fields[kSupplementalCategoryIndex] = QStringLiteral("Brittany; sea");
    values.customized[0] = {QStringLiteral("120"), QStringLiteral("Port of Brest")};
    for (const QString &name : {QStringLiteral("Brest harbour, spring shoot"), QStringLiteral("Desk")}) {
        store.add(name, QStringLiteral("01/03/2024 08:00:00"));
        store.save(name, values, QStringLiteral("02/03/2024 09:30:00"));
    }
    store.markInUse(QStringLiteral("Desk"), true);
}

QWidget *templatesDialog(LayoutFixture &f)
{
    addTemplates(f);
    auto *dialog = f.keep(std::make_unique<frmTemplates>(f.context(), f.feedback(), &f.main()));
    dialog->findChild<QLineEdit *>(QStringLiteral("rtfTemplate"))->setText(QStringLiteral("Desk"));
    dialog->addTemplate(); // a name taken: the status line speaks
    return dialog;
}

// The edit dialog on the given tab, customized rows edited on their own tab.
std::function<QWidget *(LayoutFixture &)> editDialogOnTab(int tab)
{
    return [tab](LayoutFixture &f) -> QWidget * {
        addTemplates(f);
        f.context().settings.editCustomizedFields = true;
        auto *dialog = f.keep(std::make_unique<frmEditIPTC>(f.context(), f.feedback(), QStringLiteral("Desk"), &f.main()));
        dialog->selectTab(tab);
        return dialog;
    };
}

// The edit dialog on the middle image of three, a TIFF: both neighbours and the read-only note.
QWidget *editDialogOnAnImage(LayoutFixture &f)
{
    const QString photos = f.folder.file(QStringLiteral("photos")) + u'/';
    QDir().mkpath(photos);
    f.folder.write(QStringLiteral("photos/scan.tif"), QByteArray("II*\0", 4) + QByteArray(64, '\0'));
    const std::vector<ResultRow> rows = {{photos, QStringLiteral("a.jpg"), {}},
                                         {photos, QStringLiteral("scan.tif"), {}},
                                         {photos, QStringLiteral("c.jpg"), {}}};
    f.context().settings.readIPTC = true;
    return f.keep(std::make_unique<frmEditIPTC>(f.context(), f.feedback(), rows, 2, &f.main()));
}

// After a run over a JPEG that was rewritten and a TIFF that was not processed.
QWidget *applyDialogAfterARun(LayoutFixture &f)
{
    addTemplates(f);
    const QString photos = f.folder.file(QStringLiteral("photos"));
    QDir().mkpath(photos);
    QFile::copy(testDataFile(QStringLiteral("iptc/pillow/Tests/images/iptc.jpg")), photos + QStringLiteral("/harbour.jpg"));
    QFile::setPermissions(photos + QStringLiteral("/harbour.jpg"), QFile::ReadOwner | QFile::WriteOwner);
    f.folder.write(QStringLiteral("photos/scan with a rather long name.tif"), QByteArray("II*\0", 4) + QByteArray(64, '\0'));
    std::vector<ResultRow> rows{{photos + u'/', QStringLiteral("harbour.jpg"), {}},
                                {photos + u'/', QStringLiteral("scan with a rather long name.tif"), {}}};
    QStringList inserts;
    for (const ResultRow &row : rows)
        inserts << QStringLiteral("insert into Images (Folder, File) values(%1, %2);").arg(sqlText(row.folder), sqlText(row.file));
    f.execute(inserts);
    f.results.assign(std::move(rows));
    auto *dialog = f.keep(std::make_unique<frmApplyTemplate>(f.context(), f.feedback(), f.results, &f.main()));
    dialog->setThumbnailStoreRoot(f.folder.file(QStringLiteral("thumbnails")));
    f.started.feedback.answers = {true};
    dialog->run();
    return dialog;
}

struct WindowFactory
{
    const char *name;
    std::function<QWidget *(LayoutFixture &)> open;
};

const WindowFactory kWindows[] = {
    {"frmZelvarion", [](LayoutFixture &f) -> QWidget * { return &f.main(); }},
    {"frmZelvarion after a search", mainWindowAfterASearch},
    {"frmZelvarion far into a large result", mainWindowFarIntoALargeResult},
    {"frmZelvarion maximised after a search",
     [](LayoutFixture &f) -> QWidget * {
         QWidget *main = mainWindowAfterASearch(f);
         main->resize(1600, 1000); // the cells and the detail panel grow with it
         return main;
     }},
    {"frmDatabase", [](LayoutFixture &f) -> QWidget * { return f.keep(std::make_unique<frmDatabase>(f.main())); }},
    {"frmDatabase with folders", databaseDialogWithFolders},
    {"frmSearchOptions",
     [](LayoutFixture &f) -> QWidget * {
         return f.keep(std::make_unique<frmSearchOptions>(f.context(), f.feedback(), &f.main()));
     }},
    {"frmAbout", [](LayoutFixture &f) -> QWidget * { return f.keep(std::make_unique<frmAbout>(f.context(), &f.main())); }},
    {"frmDisplayImage",
     [](LayoutFixture &f) -> QWidget * {
         auto *window = f.keep(std::make_unique<frmDisplayImage>(f.context().ini, &f.main()));
         window->showImage(testDataFile(QStringLiteral("iptc/pillow/Tests/images/hopper.jpg")), QStringLiteral("hopper.jpg"));
         return window;
     }},
    {"frmExportXML after a display", exportDialogAfterADisplay},
    {"frmStatistics after an analysis", statisticsAfterAnAnalysis},
    {"frmEmptyWordsList refusing a double", emptyWordsRefusingADouble},
    {"frmSpelling", correctionDialog},
    {"frmSelections", selectionsWindowWithEntries},
    {"frmSQLQuery with a result", sqlConsoleWithAResult},
    {"frmFolderSelected", destinationFolderDialog},
    {"frmProperties", propertiesDialog},
    {"frmTemplates", templatesDialog},
    {"frmEditIPTC description", editDialogOnTab(1)},
    {"frmEditIPTC keywords", editDialogOnTab(2)},
    {"frmEditIPTC categories", editDialogOnTab(3)},
    {"frmEditIPTC dates and places", editDialogOnTab(4)},
    {"frmEditIPTC other fields", editDialogOnTab(5)},
    {"frmEditIPTC customized fields", editDialogOnTab(6)},
    {"frmEditIPTC image", editDialogOnAnImage},
    {"frmEditIPTCOptions",
     [](LayoutFixture &f) -> QWidget * {
         addTemplates(f);
         // Two code files that give one code twice: the list and its red line are filled.
         f.context().settings.codeFiles =
             f.folder.write(QStringLiteral("places of the Lyon shoot.txt"), "cc8\tCentre culturel\n") + u'|'
             + f.folder.write(QStringLiteral("people and agencies.txt"), "cc8\tautre\n");
         return f.keep(std::make_unique<frmEditIPTCOptions>(f.context(), f.feedback(), &f.main()));
     }},
    {"frmEditCustomizedFieldNames",
     [](LayoutFixture &f) -> QWidget * { return f.keep(std::make_unique<frmEditCustomizedFieldNames>(f.context(), &f.main())); }},
    {"frmFolder", [](LayoutFixture &f) -> QWidget * { return f.keep(std::make_unique<frmFolder>(f.context(), &f.main())); }},
    {"frmApplyTemplate after a run", applyDialogAfterARun},
    {"frmFolderBrowser", folderBrowserOnAFolder},
};

QStringList shippedLanguages()
{
    QStringList languages;
    const QDir packs(QStringLiteral(ZELVARION_SOURCE_DIR "/data/Zelvarion-Language"));
    for (const QString &file : packs.entryList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name))
        languages << file.chopped(4);
    return languages;
}

} // namespace

class WindowLayoutTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void captionsFitAndNothingOverlaps_data();
    void captionsFitAndNothingOverlaps();
    void captionsFitAndNothingOverlaps_atOtherSizes_data() { captionsFitAndNothingOverlaps_data(); }
    void captionsFitAndNothingOverlaps_atOtherSizes();
};

void WindowLayoutTest::captionsFitAndNothingOverlaps_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("window");
    QVERIFY(shippedLanguages().size() >= 2);
    for (const QString &language : shippedLanguages())
        for (int i = 0; i < int(std::size(kWindows)); ++i)
            QTest::newRow(qPrintable(language + u'/' + QLatin1String(kWindows[i].name))) << language << i;
}

void WindowLayoutTest::captionsFitAndNothingOverlaps()
{
    QFETCH(QString, language);
    QFETCH(int, window);
    LayoutFixture f(language);
    QCOMPARE(f.context().settings.language, language);
    QWidget *shown = kWindows[window].open(f);
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    const QStringList faults = layoutFaults(shown);
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("\n") + faults.join(u'\n')));
}

// A window the user can resize stays whole at the smallest size it allows and when made larger;
// a fixed one stays as it opened.
void WindowLayoutTest::captionsFitAndNothingOverlaps_atOtherSizes()
{
    QFETCH(QString, language);
    QFETCH(int, window);
    // The main window's sizes are its own tests'; the display window takes the picture's size.
    const QLatin1String name(kWindows[window].name);
    if (name.startsWith(QLatin1String("frmZelvarion")) || name == QLatin1String("frmDisplayImage"))
        QSKIP("sized by its own rules");
    LayoutFixture f(language);
    QWidget *shown = kWindows[window].open(f);
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    const QSize opened = shown->size();
    const QSize larger = (opened * 1.4).boundedTo(shown->maximumSize());
    for (const QSize size : {shown->minimumSizeHint().expandedTo(shown->minimumSize()), larger}) {
        shown->resize(size);
        QCoreApplication::processEvents();
        QCOMPARE(shown->size(), size.boundedTo(shown->maximumSize()).expandedTo(shown->minimumSize()));
        const QStringList faults = layoutFaults(shown);
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("at %1x%2\n").arg(size.width()).arg(size.height())
                                              + faults.join(u'\n')));
    }
    QVERIFY(opened.width() >= shown->minimumWidth() && opened.height() >= shown->minimumHeight());
}

QTEST_MAIN(WindowLayoutTest)
#include "WindowLayoutTest.moc"
