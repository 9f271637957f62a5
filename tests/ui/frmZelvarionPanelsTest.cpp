// Window tests of the operations other windows use on the main window: a result built
// elsewhere, rows that change or go, check pictures, the menu commands, and the panels sharing
// the window without hiding each other's controls.
#include "WindowTestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

// Rows "/elsewhere/photo01.jpg".. that no file backs: each cell shows the no-image picture.
ResultList madeElsewhere(int count)
{
    std::vector<ResultRow> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back({QStringLiteral("/elsewhere/"), QStringLiteral("photo%1.jpg").arg(i, 2, 10, QLatin1Char('0')),
                        QString()});
    ResultList result;
    result.assign(std::move(rows));
    return result;
}

QString cellName(const frmZelvarion *w, int cell)
{
    return find<QLabel>(w, "lblImage", cell)->text();
}

QWidget *controlAt(frmZelvarion *w, const QWidget *control)
{
    const QPoint centre = control->mapTo(w->centralWidget(), control->rect().center());
    return w->centralWidget()->childAt(centre);
}

} // namespace

class frmZelvarionPanelsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void clicksReachTheControlsBesideTheLegend();
    void resultFromElsewhereIsCountedAndPaged();
    void changedAndDeletedRowsFollowInTheirCells();
    void cellClickIsSignalledOnlyForAnImage();
    void longFileNameKeepsItsStartAndExtensionInTwoLines();
    void menuCommandsAreSignalledAndLaterOnesStayDisabled();
};

// The grid's top strip holds the legend beside the sort controls of the search panel.
void frmZelvarionPanelsTest::clicksReachTheControlsBesideTheLegend()
{
    ProgramFolderFixture folder;
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    for (const char *name : {"lstSortedBy", "lblSortedBy", "optSortedBy_0", "optSortedBy_1", "chkRevised_1",
                             "optOrder_1", "picCheck_1", "lblCheckMark_0", "cmdDatabase", "lblCount", "cmdEnd"}) {
        auto *control = find<QWidget>(w, name);
        QWidget *hit = controlAt(w, control);
        QVERIFY2(hit == control || control->isAncestorOf(hit), name);
    }
}

void frmZelvarionPanelsTest::resultFromElsewhereIsCountedAndPaged()
{
    ProgramFolderFixture folder;
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    w->showResult(madeElsewhere(12));
    QCOMPARE(find<QLabel>(w, "lblFound")->text(), QStringLiteral("12"));
    QCOMPARE(find<QGroupBox>(w, "FrameImages")->title(), QStringLiteral("1/2"));
    QVERIFY(find<QToolButton>(w, "cmdForward")->isEnabled());
    QCOMPARE(cellName(w, 0), QStringLiteral("photo01.jpg"));
    QVERIFY(!find<QLabel>(w, "ImageThumb", 0)->pixmap().isNull()); // the no-image picture
    QCOMPARE(w->result().count(), 12);
    QCOMPARE(w->cellImage(9)->path(), QStringLiteral("/elsewhere/photo10.jpg"));
    QCOMPARE(w->cellImage(9)->rank, 10);
    find<QToolButton>(w, "cmdForward")->click();
    QCOMPARE(cellName(w, 1), QStringLiteral("photo12.jpg"));
    QVERIFY(!w->cellImage(2));

    w->showResult(madeElsewhere(3)); // a second result replaces the first, on its first page
    QCOMPARE(w->paging().firstRank(), 1);
    QVERIFY(!find<QToolButton>(w, "cmdForward")->isEnabled());
    QVERIFY(find<QGroupBox>(w, "FrameImages")->title() == QStringLiteral("1/1"));
}

void frmZelvarionPanelsTest::changedAndDeletedRowsFollowInTheirCells()
{
    ProgramFolderFixture folder;
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    w->showResult(madeElsewhere(12));

    w->updateResultRow(2, {QStringLiteral("/elsewhere/"), QStringLiteral("renamed.jpg"), QStringLiteral("2024-05-01")});
    QCOMPARE(cellName(w, 1), QStringLiteral("renamed.jpg"));
    QCOMPARE(find<QLabel>(w, "picCheckImage", 1)->toolTip(), QStringLiteral("2024-05-01"));
    QCOMPARE(w->result().row(2).file, QStringLiteral("renamed.jpg"));

    w->setCellCheck(1, false, QString());
    QVERIFY(find<QLabel>(w, "picCheckImage", 1)->toolTip().isEmpty());

    w->clickCell(2);
    w->removeResultRow(3);
    QVERIFY(cellName(w, 2).isEmpty());
    QVERIFY(!find<QLabel>(w, "picCheckImage", 2)->isVisibleTo(w));
    QVERIFY(!find<QFrame>(w, "LineTop", 2)->isVisibleTo(w));
    QCOMPARE(find<QLabel>(w, "lblImageRank", 2)->text(), QStringLiteral("3")); // the rank stays
    QCOMPARE(w->result().count(), 12);
    QCOMPARE(find<QLabel>(w, "lblFound")->text(), QStringLiteral("12"));

    find<QToolButton>(w, "cmdBegin")->click(); // shown again, the deleted row is skipped
    QCOMPARE(cellName(w, 2), QStringLiteral("photo04.jpg"));
    QCOMPARE(cellName(w, 9), QStringLiteral("photo11.jpg"));
    QCOMPARE(find<QLabel>(w, "lblImageRank", 9)->text(), QStringLiteral("11"));

    w->updateResultRow(13, {}); // outside the result: nothing changes
    w->removeResultRow(0);
    QCOMPARE(w->result().count(), 12);
}

void frmZelvarionPanelsTest::cellClickIsSignalledOnlyForAnImage()
{
    ProgramFolderFixture folder;
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    w->showResult(madeElsewhere(2));
    QSignalSpy clicks(w, &frmZelvarion::cellClicked);
    QTest::mouseClick(find<QLabel>(w, "ImageThumb", 1), Qt::LeftButton);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.front().front().toInt(), 1);
    QCOMPARE(w->selectedCells(), std::vector<int>{1});
    w->clickCell(5);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(w->selectedCells(), std::vector<int>{1});
}

void frmZelvarionPanelsTest::longFileNameKeepsItsStartAndExtensionInTwoLines()
{
    ProgramFolderFixture folder;
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    const QString longName = QStringLiteral("Canon EOS-1D Mark III (via Adobe Lightroom) exported for the archive.jpg");
    ResultList result;
    result.assign({{QStringLiteral("/photos/"), longName, QString()}, {QStringLiteral("/photos/"), QStringLiteral("a b.jpg"), QString()}});
    w->showResult(std::move(result));
    auto *label = find<QLabel>(w, "lblImage", 0);
    const QStringList lines = label->text().split(u'\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY(longName.startsWith(lines[0]));
    QVERIFY(lines[1].endsWith(QStringLiteral(".jpg")));
    QVERIFY(lines[1].contains(QChar(0x2026)));
    QVERIFY(label->heightForWidth(label->width()) <= label->height());
    QCOMPARE(label->toolTip(), longName);
    QCOMPARE(w->cellImage(0)->file, longName);
    QCOMPARE(cellName(w, 1), QStringLiteral("a b.jpg")); // a short name stays as it is
}

void frmZelvarionPanelsTest::menuCommandsAreSignalledAndLaterOnesStayDisabled()
{
    ProgramFolderFixture folder;
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    QSignalSpy commands(w, &frmZelvarion::menuCommandChosen);
    find<QAction>(w, "mnuOpenImage")->trigger(); // no pop-up cell yet: nothing to open
    QCOMPARE(commands.count(), 1);
    QCOMPARE(commands.front().front().value<MenuCommand>(), MenuCommand::OpenImage);

    w->setMenuCommandsEnabled({MenuCommand::About, MenuCommand::EditIPTC}, false);
    QVERIFY(!find<QAction>(w, "mnuAbout")->isEnabled());
    w->setMenuCommandsEnabled({MenuCommand::About, MenuCommand::EditIPTC}, true);
    QVERIFY(w->isMenuCommandEnabled(MenuCommand::About));
    QVERIFY(w->isMenuCommandEnabled(MenuCommand::EditIPTC));
    QVERIFY(!find<QAction>(w, "mnuCopyImages")->isEnabled());
    // A result built elsewhere (the double file names) is a search result for Copy images.
    w->showResult(madeElsewhere(1));
    QVERIFY(find<QAction>(w, "mnuCopyImages")->isEnabled());
    w->showResult(madeElsewhere(0));
    QVERIFY(!find<QAction>(w, "mnuCopyImages")->isEnabled());
}

QTEST_MAIN(frmZelvarionPanelsTest)
#include "frmZelvarionPanelsTest.moc"
