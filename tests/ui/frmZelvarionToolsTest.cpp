// Window tests of the Tools menu's export and analysis commands, driven through the main window:
// the XML export of the result on show, the one statistics window with its menu rule and its
// double-click search, and the empty words dialog.
#include "WindowTestSupport.h"

#include "core/search/ImageRows.h"
#include "platform/IniFile.h"
#include "ui/frmExportXML.h"
#include "ui/frmStatistics.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

struct ToolsFixture
{
    ProgramFolderFixture folder;
    StartedWindow started;
    frmZelvarion *w = nullptr;

    ToolsFixture()
    {
        started.start(); // creates the catalogue
        w = started.window.get();
        CatalogueDb db;
        db.path = folder.file(QStringLiteral("Images.db"));
        QVERIFY(db.open());
        const std::pair<const char *, const char *> images[] = {
            {"quay.jpg", "Paris; harbour"}, {"bridge.jpg", "Paris"}, {"dock.jpg", "Lyon; harbour"}};
        for (const auto &[file, keywords] : images)
            QCOMPARE(db.execute(insertImageStatement({{"Folder", QStringLiteral("/photos/")},
                                                      {"File", QString::fromLatin1(file)},
                                                      {"Keywords", QString::fromLatin1(keywords)}})),
                     0);
        db.close();
    }
    void search(const QString &text)
    {
        find<QComboBox>(w, "lstTxtSearch")->setCurrentText(text);
        find<QPushButton>(w, "cmdSearch")->click();
    }
    QAction *menu(const char *name) const { return find<QAction>(w, name); }
    QList<frmStatistics *> statisticsWindows() const { return w->findChildren<frmStatistics *>(); }
    // Runs `drive` on the modal dialog the menu item opens, then closes it if it is still open.
    template <typename Dialog>
    void withModal(const char *item, std::function<void(Dialog &)> drive)
    {
        bool driven = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            drive(*dialog);
            driven = true;
            if (dialog->isVisible())
                dialog->reject();
        });
        menu(item)->trigger();
        QVERIFY(driven);
    }
};

} // namespace

class frmZelvarionToolsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void exportWritesTheResultOnShow();
    void statisticsOpensOnceAndSearchesLeaveItsItemDisabled();
    void doubleClickedWordIsSearchedWithoutTheIptcBoxes();
    void closingTheMainWindowClosesTheStatisticsAndStoresItsOptions();
    void emptyWordsKeptInTheDialogReachTheNextStatisticsWindow();
};

void frmZelvarionToolsTest::exportWritesTheResultOnShow()
{
    ToolsFixture f;
    QVERIFY(f.menu("mnuExportxML")->isEnabled());
    f.search(QStringLiteral("Paris"));
    f.withModal<frmExportXML>("mnuExportxML", [](frmExportXML &dialog) {
        QCOMPARE(find<QLabel>(&dialog, "lblMax")->text(), QStringLiteral("2"));
        find<QRadioButton>(&dialog, "optThumbnails_1")->setChecked(true);
        find<QPushButton>(&dialog, "cmdExportXML")->click();
    });
    QFile document(f.folder.file(QStringLiteral("XML/Zelvarion.xml")));
    QVERIFY(document.open(QIODevice::ReadOnly));
    const QByteArray text = document.readAll();
    QVERIFY(text.contains("<Name>quay.jpg</Name>"));
    QVERIFY(text.contains("<Name>bridge.jpg</Name>"));
    QVERIFY(!text.contains("dock.jpg")); // not in the result
    QVERIFY(!text.contains("<ThumbName>"));
    QCOMPARE(f.started.feedback.texts(),
             QStringList{f.w->context().language.message(Message::XmlExportDone).replace(u'#', u'2') + u'\n'
                         + f.folder.file(QStringLiteral("XML/Zelvarion.xml"))});
}

void frmZelvarionToolsTest::statisticsOpensOnceAndSearchesLeaveItsItemDisabled()
{
    ToolsFixture f;
    QVERIFY(!f.menu("mnuStatistics")->isEnabled());
    f.search(QStringLiteral("nowhere"));
    QVERIFY(!f.menu("mnuStatistics")->isEnabled()); // nothing found
    f.search(QStringLiteral("Paris"));
    QVERIFY(f.menu("mnuStatistics")->isEnabled());

    f.menu("mnuStatistics")->trigger();
    QCOMPARE(f.statisticsWindows().size(), 1);
    frmStatistics *window = f.statisticsWindows().front();
    QVERIFY(window->isVisible() && window->isWindow());
    QVERIFY(f.w->isStatisticsWindowOpen());
    QVERIFY(!f.menu("mnuStatistics")->isEnabled());
    f.search(QStringLiteral("harbour"));
    QVERIFY(!f.menu("mnuStatistics")->isEnabled()); // a search does not enable it while open
    f.menu("mnuStatistics")->trigger();
    QCOMPARE(f.statisticsWindows().size(), 1);

    window->close();
    QVERIFY(!f.w->isStatisticsWindowOpen());
    QVERIFY(f.menu("mnuStatistics")->isEnabled());
    f.menu("mnuStatistics")->trigger();
    QVERIFY(f.w->isStatisticsWindowOpen());
    f.statisticsWindows().back()->close();
}

void frmZelvarionToolsTest::doubleClickedWordIsSearchedWithoutTheIptcBoxes()
{
    ToolsFixture f;
    f.search(QStringLiteral("Paris"));
    f.menu("mnuStatistics")->trigger();
    frmStatistics *window = f.statisticsWindows().front();
    find<QRadioButton>(window, "optAnalyse_0")->setChecked(true); // keywords only
    find<QPushButton>(window, "cmdOK")->click();
    auto *words = find<QTreeWidget>(window, "lvWords_0");
    QCOMPARE(words->topLevelItemCount(), 2); // Paris twice, harbour once
    const QList<QTreeWidgetItem *> harbour = words->findItems(QStringLiteral("harbour"), Qt::MatchExactly);
    QCOMPARE(harbour.size(), 1);
    find<QCheckBox>(f.w, "chkIPTC", 0)->setChecked(true);
    Q_EMIT words->itemDoubleClicked(harbour.front(), 0);

    QCOMPARE(find<QComboBox>(f.w, "lstTxtSearch")->currentText(), QStringLiteral("harbour"));
    QVERIFY(!find<QCheckBox>(f.w, "chkIPTC", 0)->isChecked());
    QVERIFY(!find<QCheckBox>(f.w, "chkIPTC", 1)->isChecked());
    QCOMPARE(f.w->result().count(), 2); // quay and dock
    QCOMPARE(find<QLabel>(f.w, "lblFound")->text(), QStringLiteral("2"));
    QVERIFY(!f.menu("mnuStatistics")->isEnabled());
    window->close();
}

void frmZelvarionToolsTest::closingTheMainWindowClosesTheStatisticsAndStoresItsOptions()
{
    ToolsFixture f;
    f.search(QStringLiteral("Paris"));
    f.menu("mnuStatistics")->trigger();
    QPointer<frmStatistics> window = f.statisticsWindows().front();
    find<QRadioButton>(window, "optAnalyse_0")->setChecked(true);
    f.w->close();
    QVERIFY(!window || !window->isVisible());
    const IniFile ini(f.folder.file(QStringLiteral("Zelvarion.ini")));
    QCOMPARE(ini.read(QStringLiteral("Statistics"), QStringLiteral("AllFields")), QStringLiteral("0"));
    QCOMPARE(f.w->context().settings.statisticsAllFields, false);
}

void frmZelvarionToolsTest::emptyWordsKeptInTheDialogReachTheNextStatisticsWindow()
{
    ToolsFixture f;
    QVERIFY(f.menu("mnuEmptyWordsList")->isEnabled());
    f.withModal<QDialog>("mnuEmptyWordsList", [](QDialog &dialog) {
        find<QLineEdit>(&dialog, "rtfEmptyWord")->setText(QStringLiteral("paris"));
        find<QPushButton>(&dialog, "cmdAddEmptyWord")->click();
        find<QPushButton>(&dialog, "cmdOK")->click();
    });
    const IniFile ini(f.folder.file(QStringLiteral("Zelvarion.ini")));
    QCOMPARE(ini.read(QStringLiteral("EmptyWords"), QStringLiteral("0Word")), QStringLiteral("paris"));

    f.search(QStringLiteral("harbour"));
    f.menu("mnuStatistics")->trigger();
    frmStatistics *window = f.statisticsWindows().front();
    auto *ignore = find<QCheckBox>(window, "chkIgnoreEmptyWords");
    QVERIFY(ignore->isEnabled());
    ignore->setChecked(true);
    find<QPushButton>(window, "cmdOK")->click();
    auto *words = find<QTreeWidget>(window, "lvWords_0");
    QVERIFY(words->findItems(QStringLiteral("Paris"), Qt::MatchExactly).isEmpty());
    QCOMPARE(words->findItems(QStringLiteral("Lyon"), Qt::MatchExactly).size(), 1);
    window->close();
}

QTEST_MAIN(frmZelvarionToolsTest)
#include "frmZelvarionToolsTest.moc"
