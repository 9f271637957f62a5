// Every window of the program, opened in every shipped language pack, shows its captions whole
// and no control on another. A window added to the program joins with one line in kWindows.
#include "LayoutCheck.h"
#include "WindowTestSupport.h"

#include "core/catalogue/CatalogueDb.h"
#include "ui/frmAbout.h"
#include "ui/frmDatabase.h"
#include "ui/frmDisplayImage.h"
#include "ui/frmEmptyWordsList.h"
#include "ui/frmExportXML.h"
#include "ui/frmSearchOptions.h"
#include "ui/frmSpelling.h"
#include "ui/frmStatistics.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
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

struct WindowFactory
{
    const char *name;
    std::function<QWidget *(LayoutFixture &)> open;
};

const WindowFactory kWindows[] = {
    {"frmZelvarion", [](LayoutFixture &f) -> QWidget * { return &f.main(); }},
    {"frmZelvarion after a search", mainWindowAfterASearch},
    {"frmZelvarion far into a large result", mainWindowFarIntoALargeResult},
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

QTEST_MAIN(WindowLayoutTest)
#include "WindowLayoutTest.moc"
