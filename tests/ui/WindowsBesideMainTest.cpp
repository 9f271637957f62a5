// Where the windows that work on the main window's thumbnails open: beside the main window when
// the screen has room, else where they would have been. Runs on a wide offscreen screen of its
// own (1920 by 1080), so the main window leaves room on its right.
#include "WindowTestSupport.h"

#include "platform/IniFile.h"
#include "support/TempFolder.h"
#include "ui/BesideOwner.h"
#include "ui/frmSQLQuery.h"
#include "ui/frmSelections.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTest>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

const QRect kScreen(0, 0, 1920, 1080);

} // namespace

class WindowsBesideMainTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void besideOwnerTakesTheRightThenTheLeftElseKeepsThePlace_data()
    {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<QRect>("expected");
        const QRect owner(100, 80, 700, 600);
        QTest::newRow("room on the right") << QRect(300, 200, 400, 300) << owner << QRect(808, 80, 400, 300);
        QTest::newRow("right edge exactly") << QRect(300, 200, 1112, 300) << owner << QRect(808, 80, 1112, 300);
        QTest::newRow("one pixel too wide: the left") << QRect(300, 200, 1113, 300) << QRect(1200, 80, 700, 600)
                                                       << QRect(79, 80, 1113, 300);
        QTest::newRow("no room either side") << QRect(300, 200, 900, 300) << QRect(600, 80, 700, 600)
                                             << QRect(300, 200, 900, 300);
        QTest::newRow("not covering: kept") << QRect(1300, 700, 400, 300) << owner << QRect(1300, 700, 400, 300);
        QTest::newRow("tall window stays on screen") << QRect(300, 200, 400, 1000) << QRect(100, 500, 700, 500)
                                                     << QRect(808, 80, 400, 1000);
    }
    void besideOwnerTakesTheRightThenTheLeftElseKeepsThePlace()
    {
        QFETCH(QRect, window);
        QFETCH(QRect, owner);
        QFETCH(QRect, expected);
        QCOMPARE(besideOwner(window, owner, kScreen), expected);
    }

    // The console, Selections and the display window open clear of the main window; the display
    // window's stored place is kept when it covers nothing.
    void toolWindowsOpenBesideTheMainWindow()
    {
        QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), kScreen);
        ProgramFolderFixture folder;
        qputenv("XDG_CACHE_HOME", QFile::encodeName(folder.file(u8("cache"))));
        StartedWindow started;
        started.start();
        frmZelvarion *w = started.window.get();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const QRect main = w->frameGeometry();

        find<QAction>(w, "mnuSQLQuery")->trigger();
        auto *console = w->findChild<frmSQLQuery *>();
        QVERIFY(console && console->isVisible());
        QVERIFY(!console->frameGeometry().intersects(main));
        QVERIFY(kScreen.contains(console->frameGeometry()));

        find<QAction>(w, "mnuSelections")->trigger();
        auto *selections = w->findChild<frmSelections *>();
        QVERIFY(selections && selections->isVisible());
        QVERIFY(!selections->frameGeometry().intersects(main));

        const QString photos = folder.file(u8("photos")) + u'/';
        QDir().mkpath(photos);
        QVERIFY(QFile::copy(testDataFile(u8("iptc/pillow/Tests/images/iptc.jpg")), photos + u8("iptc.jpg")));
        QVERIFY(catalogueRows(folder.file(u8("Images.db")),
                              u8("insert into Images(Folder,File) values(%1,'iptc.jpg');").arg(sqlText(photos)))
                    .isEmpty());
        w->runSearch([](SearchRequest &request) { request.withIptc = request.withoutIptc = true; });
        find<QAction>(w, "mnuDisplayImage")->trigger();
        w->clickCell(0);
        auto *display = w->findChild<QWidget *>(u8("frmDisplayImage"));
        QVERIFY(display && display->isVisible());
        QVERIFY(!display->frameGeometry().intersects(main));

        // Stored clear of the main window: opened there again.
        display->move(main.right() + 200, 300);
        display->close();
        QTRY_VERIFY(!w->findChild<QWidget *>(u8("frmDisplayImage")));
        w->clickCell(0);
        display = w->findChild<QWidget *>(u8("frmDisplayImage"));
        QVERIFY(display && display->isVisible());
        QCOMPARE(display->pos(), QPoint(main.right() + 200, 300));
        w->close();
    }
};

// The offscreen platform takes its screens from a file named on the platform's argument.
int main(int argc, char **argv)
{
    zelvarion::test::TempFolder config;
    const QString screens = config.write(
        QStringLiteral("screens.json"),
        R"({"screens": [{"name": "Wide", "x": 0, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96,
            "logicalBaseDpi": 96, "dpr": 1}]})");
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + QFile::encodeName(screens));
    QApplication app(argc, argv);
    WindowsBesideMainTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowsBesideMainTest.moc"
