// Window tests of check marks, selections, the SQL console and the image file commands on the
// main window: real files in the fixture's folder, a real catalogue, the trash and the thumbnail
// cache in the fixture's folder too.
#include "WindowTestSupport.h"

#include "core/search/CheckMarks.h"
#include "platform/IniFile.h"
#include "ui/Pictures.h"
#include "ui/frmFolderSelected.h"
#include "ui/frmSQLQuery.h"
#include "ui/frmSelections.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QComboBox>
#include <QTreeWidget>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

struct ImagesFixture
{
    ProgramFolderFixture folder;
    StartedWindow started;
    frmZelvarion *w = nullptr;
    QString photos;

    ImagesFixture()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder.file(u8("data"))));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(folder.file(u8("cache"))));
        started.start();
        w = started.window.get();
        photos = folder.file(u8("l'été")) + u'/';
    }
    QStringList rows(const QString &statement) { return catalogueRows(folder.file(u8("Images.db")), statement); }
    void run(const QString &statement) { QVERIFY(rows(statement).isEmpty()); }
    // A file on disk and its catalogue row.
    void addImage(const QString &imageFolder, const QString &file, const QString &mark = {})
    {
        QDir().mkpath(imageFolder);
        QFile out(imageFolder + file);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write("not a picture") > 0);
        out.close();
        run(u8("insert into Images(Folder,File,CheckMark) values(%1,%2,%3);")
                .arg(sqlText(imageFolder), sqlText(file), sqlText(mark)));
    }
    void searchAll()
    {
        w->runSearch([](SearchRequest &request) { request.withIptc = request.withoutIptc = true; });
    }
    void trigger(const char *item) { find<QAction>(w, item)->trigger(); }
    QLabel *check(int cell) { return find<QLabel>(w, "picCheckImage", cell); }
    QString name(int cell) { return find<QLabel>(w, "lblImage", cell)->text(); }
    bool showsMark(int cell)
    {
        return check(cell)->pixmap().toImage() == pictures::checkMark(1).toImage();
    }
    // The image pop-up menu of a cell, as the right button opens it.
    void popUp(int cell)
    {
        QTest::mousePress(find<QLabel>(w, "ImageThumb", cell), Qt::RightButton);
    }
};

// Answers the next modal dialog once it shows.
void whenModalShows(const std::function<void(QWidget *)> &answer)
{
    QTimer::singleShot(0, qApp, [answer] {
        QTRY_VERIFY(QApplication::activeModalWidget());
        answer(QApplication::activeModalWidget());
    });
}

} // namespace

class frmZelvarionImageCommandsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aClickOnTheCheckPictureTogglesTheMarkInCellAndCatalogue()
    {
        ImagesFixture f;
        f.addImage(f.photos, u8("o'neil.jpg"));
        f.addImage(f.photos, u8("b.jpg"), u8("01/02/2020"));
        f.searchAll();
        QCOMPARE(f.check(1)->toolTip(), u8("01/02/2020"));
        QVERIFY(f.showsMark(1));

        QTest::mouseClick(f.check(0), Qt::LeftButton);
        QVERIFY(f.showsMark(0));
        QCOMPARE(f.check(0)->toolTip(), todaysMarkText());
        QCOMPARE(f.w->result().row(1).checkMark, todaysMarkText());
        QCOMPARE(f.rows(u8("select CheckMark from Images where File='o''neil.jpg';")), QStringList({todaysMarkText()}));

        // Pause on the selected cell: its old mark goes, a second Pause gives today's date.
        f.w->clickCell(1);
        f.w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.w));
        QTest::keyClick(f.w, Qt::Key_Pause);
        QVERIFY(!f.showsMark(1));
        QVERIFY(f.check(1)->toolTip().isEmpty());
        QTest::keyClick(f.w, Qt::Key_Pause);
        QCOMPARE(f.check(1)->toolTip(), todaysMarkText());
        QVERIFY(f.started.feedback.messages.empty());
    }

    void wholeResultMarksShowInEveryCellAndRemovingAllAsksFirst()
    {
        ImagesFixture f;
        for (int i = 0; i < 3; ++i)
            f.addImage(f.photos, u8("p%1.jpg").arg(i));
        f.addImage(f.folder.file(u8("other")) + u'/', u8("elsewhere.jpg"), u8("old"));
        f.w->runSearch([](SearchRequest &request) { request.text = u8("l'été"); });
        QCOMPARE(f.w->result().count(), 3);
        f.trigger("mnuSelectResult");
        for (int cell = 0; cell < 3; ++cell) {
            QVERIFY(f.showsMark(cell));
            QCOMPARE(f.check(cell)->toolTip(), todaysMarkText());
        }
        f.trigger("mnuUnselectResult");
        QVERIFY(!f.showsMark(0) && f.check(2)->toolTip().isEmpty());
        QCOMPARE(f.rows(u8("select CheckMark from Images where File='elsewhere.jpg';")), QStringList({u8("old")}));

        f.trigger("mnuSelectResult");
        f.started.feedback.answers = {false, true};
        f.trigger("mnuRemoveSelection"); // declined
        QVERIFY(f.showsMark(0));
        f.trigger("mnuRemoveSelection");
        QVERIFY(!f.showsMark(0));
        QCOMPARE(f.rows(u8("select count(*) from Images where CheckMark != '';")), QStringList({u8("0")}));

        f.w->runSearch([](SearchRequest &request) { request.text = u8("nowhere"); });
        f.trigger("mnuSelectResult");
        QCOMPARE(f.started.feedback.texts().last(), f.w->context().language.text(InterfaceText::EmptyResultWarning));
    }

    void theSelectionsWindowIsOneAndListsTheMarkedImagesInTheGrid()
    {
        ImagesFixture f;
        f.addImage(f.photos, u8("a.jpg"), u8("01/01/2021"));
        f.addImage(f.photos, u8("b.jpg"));
        f.addImage(f.photos, u8("c.jpg"), u8("02/02/2022"));
        f.trigger("mnuSelections");
        f.trigger("mnuSelections");
        QCOMPARE(f.w->findChildren<frmSelections *>().size(), 1);
        auto *selections = f.w->findChild<frmSelections *>();
        QVERIFY(selections->isVisible() && !selections->isModal());
        find<QPushButton>(selections, "cmdCurrentSelection")->click();
        QCOMPARE(find<QLabel>(selections, "lblNbCurrentSelection")->text(), u8("Images=2"));
        QCOMPARE(f.w->result().count(), 2);
        QCOMPARE(f.name(1), u8("c.jpg"));
        QCOMPARE(f.check(1)->toolTip(), u8("02/02/2022"));

        f.run(u8("update Images set CheckMark='x';"));
        f.trigger("mnuDisplaySelected");
        QCOMPARE(find<QLabel>(f.w, "lblFound")->text(), u8("3"));
    }

    void deleteFromThePopUpEmptiesTheCellAndPagingSkipsTheGap()
    {
        ImagesFixture f;
        for (int i = 1; i <= 12; ++i)
            f.addImage(f.photos, u8("img%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
        f.searchAll();
        f.started.feedback.answers = {false};
        f.popUp(1);
        f.trigger("mnuDelete"); // declined
        QCOMPARE(f.name(1), u8("img02.jpg"));
        QVERIFY(QFileInfo::exists(f.photos + u8("img02.jpg")));

        f.popUp(1);
        f.trigger("mnuDelete");
        QVERIFY(!QFileInfo::exists(f.photos + u8("img02.jpg")));
        QVERIFY(QFileInfo::exists(f.folder.file(u8("data/Trash/files/img02.jpg"))));
        QVERIFY(f.name(1).isEmpty());
        QVERIFY(f.check(1)->isHidden());
        QCOMPARE(find<QLabel>(f.w, "lblFound")->text(), u8("12"));
        QCOMPARE(f.rows(u8("select count(*) from Images;")), QStringList({u8("11")}));

        find<QToolButton>(f.w, "cmdForward")->click();
        QCOMPARE(f.name(0), u8("img11.jpg"));
        find<QToolButton>(f.w, "cmdBack")->click();
        QCOMPARE(f.name(1), u8("img03.jpg"));
        QCOMPARE(f.name(8), u8("img10.jpg"));
        QCOMPARE(f.name(9), u8("img11.jpg")); // the page fills up past the blank row
    }

    void renameAndPropertiesFromThePopUpActOnItsCell()
    {
        ImagesFixture f;
        f.addImage(f.photos, u8("a.jpg"));
        f.addImage(f.photos, u8("b.jpg"));
        f.searchAll();
        QStringList shown;
        f.w->setPropertiesShower([&](const QString &path) { shown << path; });
        f.popUp(1);
        f.trigger("mnuProperties");
        QCOMPARE(shown, QStringList({f.photos + u8("b.jpg")}));

        f.popUp(0);
        whenModalShows([](QWidget *box) {
            auto *input = qobject_cast<QInputDialog *>(box);
            QVERIFY(input);
            QCOMPARE(input->textValue(), u8("a.jpg"));
            input->setTextValue(u8(" d'hiver é.jpg "));
            input->accept();
        });
        f.trigger("mnuRename");
        QCOMPARE(f.name(0), u8("d'hiver é.jpg"));
        QCOMPARE(find<QLabel>(f.w, "lblImage", 0)->toolTip(), u8("d'hiver é.jpg"));
        QCOMPARE(f.w->result().row(1).file, u8("d'hiver é.jpg"));
        QVERIFY(QFileInfo::exists(f.photos + u8("d'hiver é.jpg")));
        QCOMPARE(f.rows(u8("select File from Images order by File;")), QStringList({u8("b.jpg"), u8("d'hiver é.jpg")}));
    }

    void doubleFileNamesFillTheGridAndEnableCopy()
    {
        ImagesFixture f;
        f.addImage(f.photos, u8("IMG_1.JPG"));
        f.addImage(f.folder.file(u8("b")) + u'/', u8("IMG_1.JPG"), u8("m"));
        f.addImage(f.photos, u8("single.jpg"));
        f.trigger("mnuSearchDoubles");
        QCOMPARE(find<QLabel>(f.w, "lblFound")->text(), u8("2"));
        QCOMPARE(f.name(0), u8("IMG_1.JPG"));
        QCOMPARE(f.name(1), u8("IMG_1.JPG"));
        QVERIFY(f.name(2).isEmpty());
        QVERIFY(f.showsMark(1));
        QVERIFY(find<QAction>(f.w, "mnuCopyImages")->isEnabled());

        // Copying them out leaves the higher rank's file under the shared name.
        const QString out = f.folder.file(u8("out"));
        QDir().mkpath(out);
        whenModalShows([out](QWidget *dialog) {
            auto *destination = qobject_cast<frmFolderSelected *>(dialog);
            QVERIFY(destination && destination->setCurrentFolder(out));
            find<QPushButton>(destination, "cmdOK")->click();
        });
        f.trigger("mnuCopyImages");
        QCOMPARE(QDir(out).entryList(QDir::Files), QStringList({u8("IMG_1.JPG")}));
        QCOMPARE(f.w->context().settings.destinationFolder, out + u'/');

        f.run(u8("delete from Images where File='IMG_1.JPG';"));
        f.trigger("mnuSearchDoubles");
        QCOMPARE(find<QLabel>(f.w, "lblFound")->text(), u8("0"));
        QVERIFY(!find<QAction>(f.w, "mnuCopyImages")->isEnabled());
    }

    void aClickInTheConsoleShowsThatOneImage()
    {
        ImagesFixture f;
        f.addImage(f.photos, u8("o'neil.jpg"));
        f.addImage(f.photos, u8("b.jpg"));
        f.trigger("mnuSQLQuery");
        auto *console = f.w->findChild<frmSQLQuery *>();
        QVERIFY(console && console->isVisible());
        f.trigger("mnuSQLQuery");
        QCOMPARE(f.w->findChildren<frmSQLQuery *>().size(), 1);
        find<QComboBox>(console, "lstTxtSQL")->setCurrentText(u8("select File, Folder from Images order by File desc"));
        find<QPushButton>(console, "cmdExecute")->click();
        console->clickRow(0);
        QCOMPARE(f.w->result().count(), 1);
        QCOMPARE(f.name(0), u8("o'neil.jpg"));
        QCOMPARE(find<QLabel>(f.w, "lblFound")->text(), u8("1"));
    }

    // The window's own close sequence reaches the console the image commands opened.
    void closingTheMainWindowClosesTheConsoleWithItsHistory()
    {
        ImagesFixture f;
        f.trigger("mnuSQLQuery");
        QPointer<frmSQLQuery> console = f.w->findChild<frmSQLQuery *>();
        QVERIFY(console);
        find<QComboBox>(console, "lstTxtSQL")->setCurrentText(u8("select File from Images"));
        find<QPushButton>(console, "cmdExecute")->click();
        f.w->close();
        QTRY_VERIFY(!console);
        QCOMPARE(f.w->context().ini.read(u8("SQLQuery"), u8("SQLQuery1")), u8("select File from Images"));
    }

    // A listener of the window's menu commands hears of a command after the window ran it.
    void menuCommandListenersSeeTheCommandDone()
    {
        ImagesFixture f;
        f.addImage(f.photos, u8("p.jpg"));
        f.searchAll();
        QString markHeard = u8("not heard");
        QObject::connect(f.w, &frmZelvarion::menuCommandChosen, f.w, [&](MenuCommand command) {
            if (command == MenuCommand::SelectResult)
                markHeard = f.w->result().row(1).checkMark;
        });
        f.trigger("mnuSelectResult");
        QCOMPARE(markHeard, todaysMarkText());
    }
};

QTEST_MAIN(frmZelvarionImageCommandsTest)
#include "frmZelvarionImageCommandsTest.moc"
