// Window tests of the word statistics and the empty words dialog: the analysis into both lists,
// the sorts, unknown words with the real dictionary, the double-click search and the options
// kept on closing; adding, replacing and removing empty words.
#include "ExportWindowSupport.h"

#include "core/words/EmptyWords.h"
#include "ui/frmEmptyWordsList.h"
#include "ui/frmStatistics.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

using namespace zelvarion;
using namespace zelvarion::test;

class frmStatisticsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void analyseFillsTheListByCountAndTheHeadersSortIt();
    void unknownWordsAreLitAndListedApart();
    void doubleClickAsksForASearchAndClosingKeepsTheOptions();
    void emptyWordsAreLeftOutOnlyWhenTicked();
    void searchInTheMainWindowDuringTheAnalysisChangesNothingCounted();
    void emptyWordsDialogAddsReplacesRemovesAndSaves();
    void emptyWordsDialogKeepsEveryWordAfterABlankReplacement();
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

QStringList rows(QTreeWidget *view)
{
    QStringList list;
    for (int i = 0; i < view->topLevelItemCount(); ++i)
        list << view->topLevelItem(i)->text(0) + u'=' + view->topLevelItem(i)->text(1);
    return list;
}

void fillCatalogue(ExportWindowFixture &f)
{
    f.add(QStringLiteral("1.jpg"), QStringLiteral("Paris; harbor; boats"), QStringLiteral("Boats le matin"));
    f.add(QStringLiteral("2.jpg"), QStringLiteral("paris; boats"));
    f.add(QStringLiteral("3.jpg"), QStringLiteral("PARIS; harbuor"));
}
} // namespace

void frmStatisticsTest::analyseFillsTheListByCountAndTheHeadersSortIt()
{
    ExportWindowFixture f;
    fillCatalogue(f);
    auto *window = new frmStatistics(f.context, f.results, f.feedback);
    control<QRadioButton>(*window, "optAnalyse_0")->setChecked(true);
    control<QPushButton>(*window, "cmdOK")->click();
    auto *all = control<QTreeWidget>(*window, "lvWords_0");
    QCOMPARE(rows(all), QStringList({"Paris=3", "boats=2", "harbor=1", "harbuor=1"}));
    QCOMPARE(all->header()->sortIndicatorSection(), 1);
    QCOMPARE(all->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    QVERIFY(control<QLabel>(*window, "lblStatus")->text().contains(QStringLiteral("4 distinct words found in 3 images")));
    QVERIFY(control<QPushButton>(*window, "cmdUnknownWords")->isEnabled());

    window->sortList(0, 1); // count header: ascending
    QCOMPARE(rows(all).first(), QStringLiteral("harbor=1"));
    QCOMPARE(all->header()->sortIndicatorOrder(), Qt::AscendingOrder);
    window->sortList(0, 0); // word header: the order flips again, to descending
    QCOMPARE(rows(all), QStringList({"Paris=3", "harbuor=1", "harbor=1", "boats=2"}));
    QCOMPARE(all->header()->sortIndicatorSection(), 0);
    window->close();
}

void frmStatisticsTest::unknownWordsAreLitAndListedApart()
{
    ExportWindowFixture f;
    fillCatalogue(f);
    f.add(QStringLiteral("4.jpg"), QStringLiteral("lighthouse; sunset; cliffs; boats"));
    f.add(QStringLiteral("5.jpg"), QStringLiteral("ferry; harbor; dusk; boats"));
    f.add(QStringLiteral("6.jpg"), QStringLiteral("festival; lanterns; night; Paris"));
    auto *window = new frmStatistics(f.context, f.results, f.feedback);
    control<QRadioButton>(*window, "optAnalyse_0")->setChecked(true);
    control<QPushButton>(*window, "cmdOK")->click();
    auto *unknownOnly = control<QCheckBox>(*window, "chkDisplayUnknownOnly");
    QVERIFY(!unknownOnly->isEnabled());
    control<QPushButton>(*window, "cmdUnknownWords")->click();
    auto *unknown = control<QTreeWidget>(*window, "lvWords_1");
    QCOMPARE(rows(unknown), QStringList({"harbuor=1"}));
    auto *all = control<QTreeWidget>(*window, "lvWords_0");
    const auto found = all->findItems(QStringLiteral("harbuor"), Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    QVERIFY(!found[0]->icon(0).isNull());
    QVERIFY(all->findItems(QStringLiteral("boats"), Qt::MatchExactly)[0]->icon(0).isNull());
    QVERIFY(unknownOnly->isEnabled());
    // The user guide's picture of the window, when asked for.
    if (const QString folder = qEnvironmentVariable("ZELVARION_SCREENSHOT_DIR"); !folder.isEmpty())
        window->grab().save(folder + QStringLiteral("/statistics.png"));
    unknownOnly->click();
    QVERIFY(unknown->isVisibleTo(window) && !all->isVisibleTo(window));
    window->close();
}

void frmStatisticsTest::doubleClickAsksForASearchAndClosingKeepsTheOptions()
{
    ExportWindowFixture f;
    fillCatalogue(f);
    auto *window = new frmStatistics(f.context, f.results, f.feedback);
    QSignalSpy searches(window, &frmStatistics::searchRequested);
    QSignalSpy closed(window, &frmStatistics::closed);
    control<QRadioButton>(*window, "optAnalyse_1")->setChecked(true);
    control<QPushButton>(*window, "cmdOK")->click();
    auto *all = control<QTreeWidget>(*window, "lvWords_0");
    QCOMPARE(rows(all).size(), 6); // the caption's words too
    Q_EMIT all->itemDoubleClicked(all->topLevelItem(0), 0);
    QCOMPARE(searches.size(), 1);
    QCOMPARE(searches[0][0].toString(), QStringLiteral("boats")); // 3, like Paris, and first alphabetically
    QVERIFY(!control<QCheckBox>(*window, "chkIgnoreEmptyWords")->isEnabled()); // no empty words
    window->close();
    QCOMPARE(closed.size(), 1);
    QCOMPARE(f.context.ini.read(QStringLiteral("Statistics"), QStringLiteral("AllFields")).value_or(QString()), QStringLiteral("1"));
    QCOMPARE(f.context.ini.read(QStringLiteral("Statistics"), QStringLiteral("IgnoreEmptyWords")).value_or(QString()), QStringLiteral("0"));
}

void frmStatisticsTest::emptyWordsAreLeftOutOnlyWhenTicked()
{
    ExportWindowFixture f;
    fillCatalogue(f);
    f.configure(QStringLiteral("[Statistics]\nAllFields=1\nIgnoreEmptyWords=1\n[EmptyWords]\n0Word=LE\n1Word=matin\n"));
    auto *window = new frmStatistics(f.context, f.results, f.feedback);
    auto *ignore = control<QCheckBox>(*window, "chkIgnoreEmptyWords");
    QVERIFY(ignore->isEnabled() && ignore->isChecked());
    control<QPushButton>(*window, "cmdOK")->click();
    auto *all = control<QTreeWidget>(*window, "lvWords_0");
    QVERIFY(all->findItems(QStringLiteral("le"), Qt::MatchExactly).isEmpty());
    ignore->setChecked(false);
    control<QPushButton>(*window, "cmdOK")->click();
    QCOMPARE(all->findItems(QStringLiteral("le"), Qt::MatchExactly).size(), 1);
    window->close();
}

void frmStatisticsTest::emptyWordsDialogAddsReplacesRemovesAndSaves()
{
    ExportWindowFixture f;
    f.configure(QStringLiteral("[EmptyWords]\n0Word=le\n1Word=du\n"));
    frmEmptyWordsList dialog(f.context);
    auto *entry = control<QLineEdit>(dialog, "rtfEmptyWord");
    auto *list = control<QListWidget>(dialog, "lstEmptyWords");
    auto *status = control<QLabel>(dialog, "lblStatus");
    QCOMPARE(control<QLabel>(dialog, "lblNbEmptyWords")->text(), QStringLiteral("2"));
    entry->setText(QStringLiteral(" de "));
    QTest::keyClick(entry, Qt::Key_Return);
    QCOMPARE(list->item(0)->text(), QStringLiteral("de"));
    QVERIFY(entry->text().isEmpty());
    entry->setText(QStringLiteral("LE"));
    control<QPushButton>(dialog, "cmdAddEmptyWord")->click();
    QCOMPARE(status->text(), f.context.language.message(Message::AlreadyInList));

    control<QPushButton>(dialog, "cmdRemoveEmptyWord")->click(); // nothing selected yet
    QVERIFY(!control<QPushButton>(dialog, "cmdRemoveEmptyWord")->isEnabled());
    list->setCurrentRow(1);
    Q_EMIT list->itemClicked(list->item(1));
    QCOMPARE(entry->text(), QStringLiteral("du"));
    entry->setText(QStringLiteral("des"));
    control<QPushButton>(dialog, "cmdReplaceEmptyWord")->click();
    QCOMPARE(list->item(1)->text(), QStringLiteral("des"));
    QCOMPARE(entry->text(), QStringLiteral("du")); // the word replaced
    list->setCurrentRow(2);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->currentRow(), 1);
    control<QPushButton>(dialog, "cmdOK")->click();
    QCOMPARE(readEmptyWords(f.context.ini), QStringList({"de", "des"}));
}

// Replace with a blank entry once stored an empty word, and the words after it were gone for good
// at the next OK.
void frmStatisticsTest::emptyWordsDialogKeepsEveryWordAfterABlankReplacement()
{
    ExportWindowFixture f;
    writeEmptyWords(f.context.ini, {QStringLiteral("de"), QStringLiteral("du"), QStringLiteral("le")});
    {
        frmEmptyWordsList dialog(f.context);
        auto *list = control<QListWidget>(dialog, "lstEmptyWords");
        list->setCurrentRow(0);
        Q_EMIT list->itemClicked(list->item(0));
        control<QLineEdit>(dialog, "rtfEmptyWord")->setText(QStringLiteral("  "));
        control<QPushButton>(dialog, "cmdReplaceEmptyWord")->click();
        QCOMPARE(control<QLabel>(dialog, "lblStatus")->text(), f.context.language.message(Message::WordRequired));
        QCOMPARE(list->item(0)->text(), QStringLiteral("de"));
        control<QPushButton>(dialog, "cmdOK")->click();
    }
    QCOMPARE(readEmptyWords(f.context.ini), QStringList({"de", "du", "le"}));
    frmEmptyWordsList reopened(f.context);
    QCOMPARE(control<QLabel>(reopened, "lblNbEmptyWords")->text(), QStringLiteral("3"));
}

// The analysis lets events run; a search in the main window then replaces the result and opens
// and closes the shared catalogue connection.
void frmStatisticsTest::searchInTheMainWindowDuringTheAnalysisChangesNothingCounted()
{
    ExportWindowFixture f;
    fillCatalogue(f);
    auto *window = new frmStatistics(f.context, f.results, f.feedback);
    bool searched = false;
    connect(control<QProgressBar>(*window, "ProgressBar1"), &QProgressBar::valueChanged, window, [&](int rank) {
        if (rank != 1 || searched)
            return;
        searched = true;
        f.results.assign({});
        QVERIFY(f.context.catalogue.open());
        f.context.catalogue.close();
    });
    control<QRadioButton>(*window, "optAnalyse_0")->setChecked(true);
    control<QPushButton>(*window, "cmdOK")->click();
    QVERIFY(searched);
    QCOMPARE(rows(control<QTreeWidget>(*window, "lvWords_0")),
             QStringList({QStringLiteral("Paris=3"), QStringLiteral("boats=2"), QStringLiteral("harbor=1"),
                          QStringLiteral("harbuor=1")}));
    QVERIFY(f.feedback.messages.empty());
    window->close();
}

QTEST_MAIN(frmStatisticsTest)
#include "frmStatisticsTest.moc"
