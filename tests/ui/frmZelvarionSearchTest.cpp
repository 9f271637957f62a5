// Window tests of searching and browsing on the main window: paging, keys, selection and drag
// data, the lit words of the detail panel, the search-control rules and the options window.
#include "WindowTestSupport.h"

#include "core/catalogue/CatalogueDb.h"
#include "platform/IniFile.h"
#include "ui/frmEditIPTC.h"
#include "ui/frmSearchOptions.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QMenu>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

// Rows "img01.jpg".. in /photos/; every third one is in Paris.
void addImages(const QString &catalogue, int count)
{
    CatalogueDb db;
    db.path = catalogue;
    QVERIFY(db.open());
    QCOMPARE(db.execute(QStringLiteral("begin transaction T;")), 0);
    for (int i = 1; i <= count; ++i) {
        QStringList values;
        for (int c = 0; c < 48; ++c)
            values << QString();
        values[0] = QStringLiteral("/photos/");
        values[1] = QStringLiteral("img%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
        values[22] = i % 3 == 0 ? QStringLiteral("Paris") : QStringLiteral("Lyon");
        values[32] = QStringLiteral("A street in %1").arg(values[22]);
        values[41] = QStringLiteral("2048");
        values[44] = QStringLiteral("1");
        QStringList quoted;
        for (const QString &v : values)
            quoted << sqlText(v);
        QCOMPARE(db.execute(QStringLiteral("insert into Images values(%1);").arg(quoted.join(u','))), 0);
    }
    QCOMPARE(db.execute(QStringLiteral("end transaction T;")), 0);
    db.close();
}

struct SearchFixture
{
    ProgramFolderFixture folder;
    StartedWindow started;
    frmZelvarion *w = nullptr;

    explicit SearchFixture(int images)
    {
        started.start(); // creates the catalogue
        addImages(folder.file(QStringLiteral("Images.db")), images);
        w = started.window.get();
    }
    // Keys go through the window's shortcuts, which work only in the active window; Home and End
    // edit the text while the search box has the focus.
    void focusGrid()
    {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->setFocus();
    }
    void search(const QString &text)
    {
        find<QComboBox>(w, "lstTxtSearch")->setCurrentText(text);
        find<QPushButton>(w, "cmdSearch")->click();
    }
    QString cellName(int i) const { return find<QLabel>(w, "lblImage", i)->text(); }
    bool selected(int cell) const
    {
        const std::vector<int> cells = w->selectedCells();
        return std::find(cells.begin(), cells.end(), cell) != cells.end();
    }
};

QStringList litWords(QTextEdit *panel)
{
    QStringList words;
    for (QTextBlock block = panel->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().foreground().color() == QColor(0, 0, 255))
                words << it.fragment().text();
    return words;
}

} // namespace

class frmZelvarionSearchTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void twentyOneResultsPageThroughThreePages();
    void tenResultsKeepTheNavigationOff();
    void elevenResultsEndShowsTheLastAlone();
    void nothingFoundLeavesAnEmptyGrid();
    void searchTextGoesToTheTopOfTheHistory();
    void wildcardCharactersAreSearchedAsTyped();
    void typedTextIsSearchedAsTypedNotCompletedFromTheHistory();
    void tabWalksTheCellsAndTurnsThePage();
    void shiftClickKeepsTheSelectionAndTheDragCarriesBothPaths();
    void detailPanelLightsTheSearchedWordInValuesOnly();
    void fieldBoxExcludesThePresenceBoxesAndIsStored();
    void wholeWordAndOperatorsExcludeEachOther();
    void alreadyRevisedImposesTheRevisionOrder();
    void searchOptionsRefuseNoPlaceAndStoreTheChoice();
    void realImageShowsItsThumbnailPopupAndDisplayWindow();
    void popupAndDetailDoubleClickEditThatImage();
    void otherWindowsNarrowTheSearchOrSearchOneWord();
    void aSearchIndexesNewRowsWithProgressAndStopKeepsTheRestForLater();
};

void frmZelvarionSearchTest::twentyOneResultsPageThroughThreePages()
{
    SearchFixture f(21);
    f.search(QStringLiteral("img"));
    QCOMPARE(find<QLabel>(f.w, "lblFound")->text(), QStringLiteral("21"));
    QCOMPARE(find<QGroupBox>(f.w, "FrameImages")->title(), QStringLiteral("1/3"));
    QVERIFY(find<QToolButton>(f.w, "cmdForward")->isEnabled());
    find<QToolButton>(f.w, "cmdForward")->click();
    QCOMPARE(find<QGroupBox>(f.w, "FrameImages")->title(), QStringLiteral("2/3"));
    QCOMPARE(f.cellName(0), QStringLiteral("img11.jpg"));
    find<QToolButton>(f.w, "cmdEnd")->click();
    QCOMPARE(find<QGroupBox>(f.w, "FrameImages")->title(), QStringLiteral("3/3"));
    QCOMPARE(f.cellName(0), QStringLiteral("img21.jpg"));
    QVERIFY(f.cellName(1).isEmpty());
    QVERIFY(!find<QLabel>(f.w, "picCheckImage", 1)->isVisibleTo(f.w));
    find<QToolButton>(f.w, "cmdBack")->click();
    QCOMPARE(f.cellName(0), QStringLiteral("img11.jpg"));
    QCOMPARE(f.cellName(9), QStringLiteral("img20.jpg"));
    QCOMPARE(find<QLabel>(f.w, "lblImageRank", 9)->text(), QStringLiteral("20"));
}

void frmZelvarionSearchTest::tenResultsKeepTheNavigationOff()
{
    SearchFixture f(10);
    f.search(QStringLiteral("img"));
    QVERIFY(!find<QToolButton>(f.w, "cmdForward")->isEnabled());
    f.focusGrid();
    QTest::keyClick(f.w, Qt::Key_PageDown);
    QCOMPARE(f.w->paging().firstRank(), 1);
    QTest::keyClick(f.w, Qt::Key_End);
    QCOMPARE(f.cellName(9), QStringLiteral("img10.jpg"));
}

void frmZelvarionSearchTest::elevenResultsEndShowsTheLastAlone()
{
    SearchFixture f(11);
    f.search(QStringLiteral("img"));
    QVERIFY(find<QToolButton>(f.w, "cmdEnd")->isEnabled());
    f.focusGrid();
    QTest::keyClick(f.w, Qt::Key_End);
    QCOMPARE(f.cellName(0), QStringLiteral("img11.jpg"));
    QTest::keyClick(f.w, Qt::Key_PageUp);
    QCOMPARE(f.cellName(0), QStringLiteral("img01.jpg"));
    QTest::keyClick(f.w, Qt::Key_PageDown);
    QCOMPARE(f.cellName(0), QStringLiteral("img11.jpg"));
    QTest::keyClick(f.w, Qt::Key_Home);
    QCOMPARE(f.cellName(0), QStringLiteral("img01.jpg"));
}

void frmZelvarionSearchTest::nothingFoundLeavesAnEmptyGrid()
{
    SearchFixture f(5);
    f.search(QStringLiteral("no such thing"));
    QCOMPARE(find<QLabel>(f.w, "lblFound")->text(), QStringLiteral("0"));
    QVERIFY(find<QGroupBox>(f.w, "FrameImages")->title().isEmpty());
    QVERIFY(f.cellName(0).isEmpty());
    f.focusGrid();
    QTest::keyClick(f.w, Qt::Key_End);
    QVERIFY(f.cellName(0).isEmpty());
    QVERIFY(f.started.feedback.messages.empty());
}

void frmZelvarionSearchTest::searchTextGoesToTheTopOfTheHistory()
{
    SearchFixture f(3);
    f.search(QStringLiteral("lyon"));
    f.search(QStringLiteral("paris"));
    f.search(QStringLiteral("lyon"));
    QCOMPARE(find<QComboBox>(f.w, "lstTxtSearch")->count(), 2);
    QCOMPARE(find<QComboBox>(f.w, "lstTxtSearch")->itemText(0), QStringLiteral("lyon"));
    QCOMPARE(find<QComboBox>(f.w, "lstTxtSearch")->currentText(), QStringLiteral("lyon"));
}

void frmZelvarionSearchTest::wildcardCharactersAreSearchedAsTyped()
{
    SearchFixture f(12);
    for (const QString &text : {QStringLiteral("%"), QStringLiteral("img1_"), QStringLiteral("img_1")}) {
        f.search(text);
        QCOMPARE(find<QLabel>(f.w, "lblFound")->text(), QStringLiteral("0"));
    }
    f.search(QStringLiteral("img1"));
    QCOMPARE(find<QLabel>(f.w, "lblFound")->text(), QStringLiteral("3"));
}

// The history offers its entries in the drop-down list; it never rewrites what is typed.
void frmZelvarionSearchTest::typedTextIsSearchedAsTypedNotCompletedFromTheHistory()
{
    SearchFixture f(6);
    f.search(QStringLiteral("A street in Lyon"));
    QCOMPARE(find<QLabel>(f.w, "lblFound")->text(), QStringLiteral("4"));
    auto *box = find<QComboBox>(f.w, "lstTxtSearch");
    f.w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.w));
    box->lineEdit()->setFocus(); // the completion of a box works while it has the focus
    auto typeAndEnter = [box](const QString &text) {
        box->setCurrentText(QString());
        QTest::keyClicks(box->lineEdit(), text);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    };
    typeAndEnter(QStringLiteral("A street"));
    QCOMPARE(box->currentText(), QStringLiteral("A street"));
    QCOMPARE(find<QLabel>(f.w, "lblFound")->text(), QStringLiteral("6"));
    QCOMPARE(box->itemText(0), QStringLiteral("A street"));
    QCOMPARE(box->itemText(1), QStringLiteral("A street in Lyon"));

    typeAndEnter(QStringLiteral("a street in lyon")); // an entry in other letter case stays as typed
    QCOMPARE(box->currentText(), QStringLiteral("a street in lyon"));
    QCOMPARE(box->itemText(0), QStringLiteral("a street in lyon"));
    QCOMPARE(box->count(), 3);
}

void frmZelvarionSearchTest::tabWalksTheCellsAndTurnsThePage()
{
    SearchFixture f(12);
    f.search(QStringLiteral("img"));
    QCOMPARE(f.w->selectedCell(), -1);
    QTest::keyClick(f.w, Qt::Key_Tab);
    QCOMPARE(f.w->selectedCell(), 0);
    for (int i = 0; i < 9; ++i)
        QTest::keyClick(f.w, Qt::Key_Tab);
    QCOMPARE(f.w->selectedCell(), 9);
    QTest::keyClick(f.w, Qt::Key_Tab); // next page, first cell
    QCOMPARE(f.w->paging().firstRank(), 11);
    QCOMPARE(f.w->selectedCell(), 0);
    QTest::keyClick(f.w, Qt::Key_Backtab); // back a page, last filled cell
    QCOMPARE(f.w->paging().firstRank(), 1);
    QCOMPARE(f.w->selectedCell(), 9);
}

void frmZelvarionSearchTest::shiftClickKeepsTheSelectionAndTheDragCarriesBothPaths()
{
    SearchFixture f(5);
    f.search(QStringLiteral("img"));
    QTest::mouseClick(find<QLabel>(f.w, "lblImage", 0), Qt::LeftButton);
    QTest::mouseClick(find<QLabel>(f.w, "lblImage", 2), Qt::LeftButton, Qt::ShiftModifier);
    QVERIFY(f.selected(0) && f.selected(2) && !f.selected(1));
    QVERIFY(find<QFrame>(f.w, "LineTop", 0)->isVisibleTo(f.w));
    auto *panel = find<QTextEdit>(f.w, "rtfIPTC");
    QCOMPARE(litWords(panel), QStringList({QStringLiteral("img")})); // the searched text in the path
    QVERIFY(panel->toPlainText().contains(QStringLiteral("/photos/img03.jpg")));
    std::unique_ptr<QMimeData> data(f.w->selectedPathsData());
    QCOMPARE(data->text(), QStringLiteral("/photos/img01.jpg\r\n/photos/img03.jpg"));
    QCOMPARE(data->urls().size(), 2);
    QTest::mouseClick(find<QLabel>(f.w, "lblImage", 1), Qt::LeftButton); // without Shift: only this one
    QVERIFY(!f.selected(0) && f.selected(1));
    QTest::mouseClick(find<QLabel>(f.w, "lblImage", 7), Qt::LeftButton); // an empty cell changes nothing
    QVERIFY(f.selected(1));
    QVERIFY(panel->toPlainText().isEmpty());
}

void frmZelvarionSearchTest::detailPanelLightsTheSearchedWordInValuesOnly()
{
    SearchFixture f(6);
    f.search(QStringLiteral("paris"));
    QCOMPARE(find<QLabel>(f.w, "lblFound")->text(), QStringLiteral("2"));
    f.w->clickCell(0);
    auto *panel = find<QTextEdit>(f.w, "rtfIPTC");
    QVERIFY(panel->toPlainText().contains(f.w->context().language.text(51) + QStringLiteral(": Paris")));
    QCOMPARE(litWords(panel), QStringList({QStringLiteral("Paris"), QStringLiteral("Paris")}));
}

void frmZelvarionSearchTest::fieldBoxExcludesThePresenceBoxesAndIsStored()
{
    SearchFixture f(1);
    auto *without = find<QCheckBox>(f.w, "chkIPTC", 0);
    auto *with = find<QCheckBox>(f.w, "chkIPTC", 1);
    auto *field = find<QCheckBox>(f.w, "chkIPTC", 2);
    auto *fields = find<QComboBox>(f.w, "lstFields");
    auto *text = find<QComboBox>(f.w, "lstTxtSearch");
    without->click();
    QVERIFY(!text->isEnabled());
    QVERIFY(!find<QCheckBox>(f.w, "chkWholeWord")->isEnabled());
    field->click();
    QVERIFY(!without->isChecked() && !without->isEnabled() && !with->isEnabled());
    QVERIFY(fields->isEnabled());
    QVERIFY(text->isEnabled());
    const IniFile ini(f.folder.file(QStringLiteral("Zelvarion.ini")));
    QCOMPARE(ini.read(QStringLiteral("SearchOptions"), QStringLiteral("FieldIPTC")).value_or(QString()), QStringLiteral("1"));
    field->click();
    QVERIFY(without->isEnabled() && with->isEnabled() && !fields->isEnabled());
    QCOMPARE(ini.read(QStringLiteral("SearchOptions"), QStringLiteral("FieldIPTC")).value_or(QString()), QStringLiteral("0"));
}

void frmZelvarionSearchTest::wholeWordAndOperatorsExcludeEachOther()
{
    SearchFixture f(1);
    auto *wholeWord = find<QCheckBox>(f.w, "chkWholeWord");
    auto *exact = find<QRadioButton>(f.w, "optOperator", 0);
    auto *all = find<QRadioButton>(f.w, "optOperator", 1);
    auto *any = find<QRadioButton>(f.w, "optOperator", 2);
    wholeWord->click();
    QVERIFY(exact->isChecked());
    QVERIFY(!all->isEnabled() && !any->isEnabled());
    wholeWord->click();
    QVERIFY(all->isEnabled());
    wholeWord->click();
    wholeWord->click();
    any->click();
    QVERIFY(!wholeWord->isChecked() && !wholeWord->isEnabled());
    const IniFile ini(f.folder.file(QStringLiteral("Zelvarion.ini")));
    QCOMPARE(ini.read(QStringLiteral("SearchOptions"), QStringLiteral("WholeWord")).value_or(QString()), QStringLiteral("0"));
    exact->click();
    QVERIFY(wholeWord->isEnabled());
}

void frmZelvarionSearchTest::alreadyRevisedImposesTheRevisionOrder()
{
    SearchFixture f(1);
    auto *never = find<QCheckBox>(f.w, "chkRevised", 0);
    auto *already = find<QCheckBox>(f.w, "chkRevised", 1);
    auto *chronological = find<QRadioButton>(f.w, "optOrder", 0);
    auto *sortedBy = find<QComboBox>(f.w, "lstSortedBy");
    never->click();
    QVERIFY(!find<QCheckBox>(f.w, "chkIPTC", 0)->isEnabled());
    already->click();
    QVERIFY(!never->isChecked());
    QVERIFY(chronological->isChecked() && find<QRadioButton>(f.w, "optOrder", 1)->isEnabled());
    QVERIFY(!sortedBy->isEnabled());
    already->click();
    QVERIFY(!chronological->isEnabled() && !chronological->isChecked());
    QVERIFY(sortedBy->isEnabled());
    QVERIFY(find<QCheckBox>(f.w, "chkIPTC", 0)->isEnabled());
}

void frmZelvarionSearchTest::searchOptionsRefuseNoPlaceAndStoreTheChoice()
{
    SearchFixture f(1);
    frmSearchOptions options(f.w->context(), f.started.feedback, f.w);
    QVERIFY(find<QCheckBox>(&options, "chkSearchOptions", 0)->isChecked());
    QVERIFY(!find<QGroupBox>(&options, "FrameSearch")->isEnabled());
    QVERIFY(!find<QGroupBox>(&options, "FrameTranslation")->isEnabled()); // no translations file
    for (int i = 0; i < 3; ++i)
        find<QCheckBox>(&options, "chkSearchOptions", i)->click();
    QVERIFY(find<QGroupBox>(&options, "FrameSearch")->isEnabled());
    find<QPushButton>(&options, "cmdOK")->click();
    QCOMPARE(f.started.feedback.messages.size(), std::size_t(1));
    QCOMPARE(f.started.feedback.messages.back().text, f.w->context().language.message(9));
    find<QCheckBox>(&options, "chkSearchIPTC", 5)->click(); // City
    find<QPushButton>(&options, "cmdOK")->click();
    QCOMPARE(options.result(), int(QDialog::Accepted));
    const IniFile ini(f.folder.file(QStringLiteral("Zelvarion.ini")));
    QCOMPARE(ini.read(QStringLiteral("SearchOptions"), QStringLiteral("SearchAllIPTC")).value_or(QString()), QStringLiteral("0"));
    QCOMPARE(ini.read(QStringLiteral("SearchOptions"), QStringLiteral("SearchCity")).value_or(QString()), QStringLiteral("1"));
    QVERIFY(f.w->context().settings.searchCity);
    f.search(QStringLiteral("paris")); // only City now: still found there
    QCOMPARE(find<QLabel>(f.w, "lblFound")->text(), QStringLiteral("0"));
}

// The rank of the image the modal edit dialog opened on, the dialog closed; 0 when none opened.
int rankOfEditDialogOpenedBy(const std::function<void()> &command)
{
    int rank = 0;
    QTimer::singleShot(0, [&rank] {
        if (auto *dialog = qobject_cast<frmEditIPTC *>(QApplication::activeModalWidget())) {
            rank = dialog->imageRank();
            dialog->reject();
        }
    });
    command();
    QCoreApplication::processEvents();
    return rank;
}

void frmZelvarionSearchTest::popupAndDetailDoubleClickEditThatImage()
{
    SearchFixture f(12);
    f.search(QStringLiteral("Paris")); // img03, img06, img09, img12
    QCOMPARE(f.cellName(1), QStringLiteral("img06.jpg"));
    QTest::mousePress(find<QLabel>(f.w, "ImageThumb", 1), Qt::RightButton);
    find<QMenu>(f.w, "mnuImagePopup")->close();
    QCOMPARE(rankOfEditDialogOpenedBy([&] { find<QAction>(f.w, "mnuEditIPTC")->trigger(); }), 2);

    auto *panel = find<QTextEdit>(f.w, "rtfIPTC");
    f.w->clickCell(2);
    QCOMPARE(rankOfEditDialogOpenedBy([&] { QTest::mouseDClick(panel->viewport(), Qt::LeftButton); }), 3);
    f.w->clickCell(8); // an empty cell: the panel is empty and a double-click opens nothing
    QCOMPARE(rankOfEditDialogOpenedBy([&] { QTest::mouseDClick(panel->viewport(), Qt::LeftButton); }), 0);
}

void frmZelvarionSearchTest::realImageShowsItsThumbnailPopupAndDisplayWindow()
{
    SearchFixture f(0);
    const QString image = testDataFile(QStringLiteral("iptc/pillow/Tests/images/iptc.jpg"));
    const QFileInfo info(image);
    CatalogueDb db;
    db.path = f.folder.file(QStringLiteral("Images.db"));
    QVERIFY(db.open());
    QStringList values(48, QString());
    values[0] = info.absolutePath() + u'/';
    values[1] = info.fileName();
    QStringList quoted;
    for (const QString &v : values)
        quoted << sqlText(v);
    QCOMPARE(db.execute(QStringLiteral("insert into Images values(%1);").arg(quoted.join(u','))), 0);
    db.close();

    f.search(QStringLiteral("iptc"));
    QCOMPARE(f.cellName(0), QStringLiteral("iptc.jpg"));
    auto *cell = find<QLabel>(f.w, "ImageThumb", 0);
    const QPixmap thumb = cell->pixmap();
    QVERIFY(!thumb.isNull());
    QVERIFY(thumb.width() <= 210 && thumb.height() <= 140);
    QVERIFY(cell->width() <= 120 && cell->height() <= 80); // fits the box

    f.w->context().language.setText(167, QStringLiteral("Open % now"));
    QTest::mousePress(cell, Qt::RightButton);
    QCOMPARE(find<QAction>(f.w, "mnuOpenImage")->text(), QStringLiteral("Open iptc.jpg now"));
    QVERIFY(find<QAction>(f.w, "mnuEditIPTC")->isEnabled());
    find<QMenu>(f.w, "mnuImagePopup")->close();

    find<QAction>(f.w, "mnuDisplayImage")->trigger();
    f.w->clickCell(0);
    auto *display = f.w->findChild<QWidget *>(QStringLiteral("frmDisplayImage"));
    QVERIFY(display && display->isVisible());
    QCOMPARE(display->windowTitle(), QStringLiteral("iptc.jpg"));
    display->close();
    const IniFile ini(f.folder.file(QStringLiteral("Zelvarion.ini")));
    QVERIFY(ini.read(QStringLiteral("DisplayWindow"), QStringLiteral("Width")).has_value());
}

// The SQL console lists one image; the statistics window searches a word without the presence
// boxes.
void frmZelvarionSearchTest::otherWindowsNarrowTheSearchOrSearchOneWord()
{
    SearchFixture f(6);
    f.w->runSearch([](SearchRequest &request) { request.singleImage = SingleImage{"/photos/", "img05.jpg"}; });
    QCOMPARE(f.w->result().count(), 1);
    QCOMPARE(f.cellName(0), QStringLiteral("img05.jpg"));

    auto *withIptc = find<QCheckBox>(f.w, "chkIPTC", 1);
    withIptc->click();
    f.w->searchFor(QStringLiteral("paris"));
    QVERIFY(!withIptc->isChecked());
    QCOMPARE(find<QComboBox>(f.w, "lstTxtSearch")->currentText(), QStringLiteral("paris"));
    QCOMPARE(find<QLabel>(f.w, "lblFound")->text(), QStringLiteral("2"));
    QCOMPARE(f.cellName(0), QStringLiteral("img03.jpg"));
}

namespace {
long long queuedForIndex(const QString &catalogue)
{
    CatalogueDb db;
    db.path = catalogue;
    if (!db.open() || db.execute(QStringLiteral("select count(*) from ZelvarionSearchPending;")) != 0)
        return -1;
    return db.cell(0, 1).toLongLong();
}
} // namespace

void frmZelvarionSearchTest::aSearchIndexesNewRowsWithProgressAndStopKeepsTheRestForLater()
{
    SearchFixture f(12000);
    const QString catalogue = f.folder.file(QStringLiteral("Images.db"));
    bool stopped = false;
    QTimer stopper;
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (auto *progress = f.w->findChild<QProgressDialog *>(QStringLiteral("frmSearchIndexProgress"))) {
            progress->cancel(); // the Stop button
            stopped = true;
            stopper.stop();
        }
    });
    stopper.start(0);
    f.search(QStringLiteral("Paris"));
    QVERIFY(stopped);
    QCOMPARE(queuedForIndex(catalogue), 10000); // one batch done, the rest left for later
    QCOMPARE(find<QLabel>(f.w, "lblFound")->text(), QStringLiteral("4000"));
    f.search(QStringLiteral("Lyon"));
    QCOMPARE(queuedForIndex(catalogue), 0);
    QCOMPARE(find<QLabel>(f.w, "lblFound")->text(), QStringLiteral("8000"));
}

QTEST_MAIN(frmZelvarionSearchTest)
#include "frmZelvarionSearchTest.moc"
