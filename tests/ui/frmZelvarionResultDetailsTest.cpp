// Window tests of what the main window shows of results it did not search for (double file names,
// the marked images, the console's image), of the image count after a delete, of the Selection
// menu and of the display window's place: real files, a real catalogue, the trash in the
// fixture's folder.
#include "WindowTestSupport.h"

#include "platform/IniFile.h"
#include "ui/frmSQLQuery.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

struct ResultFixture
{
    ProgramFolderFixture folder;
    StartedWindow started;
    frmZelvarion *w = nullptr;
    QString photos;

    explicit ResultFixture(const QByteArray &translations = {})
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder.file(u8("data"))));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(folder.file(u8("cache"))));
        if (!translations.isEmpty())
            folder.write(u8("Zelvarion-Language/Translations.txt"), translations);
        started.start();
        w = started.window.get();
        photos = folder.file(u8("photos")) + u'/';
    }
    QStringList rows(const QString &statement) { return catalogueRows(folder.file(u8("Images.db")), statement); }
    void run(const QString &statement) { QVERIFY(rows(statement).isEmpty()); }
    void addImage(const QString &imageFolder, const QString &file, const QString &keywords = {},
                  const QString &mark = {})
    {
        QDir().mkpath(imageFolder);
        QFile out(imageFolder + file);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write("not a picture") > 0);
        out.close();
        run(u8("insert into Images(Folder,File,Keywords,CheckMark) values(%1,%2,%3,%4);")
                .arg(sqlText(imageFolder), sqlText(file), sqlText(keywords), sqlText(mark)));
    }
    void useLanguage(const QString &language)
    {
        QVERIFY(w->context().language.load(folder.file(u8("Zelvarion-Language")), language));
    }
    QString text(InterfaceText key) const { return w->context().language.text(key); }
    void trigger(const char *item) { find<QAction>(w, item)->trigger(); }
    bool enabled(const char *item) const { return find<QAction>(w, item)->isEnabled(); }
    QComboBox *searchBox() const { return find<QComboBox>(w, "lstTxtSearch"); }
    void search(const QString &typed)
    {
        searchBox()->setCurrentText(typed);
        find<QPushButton>(w, "cmdSearch")->click();
    }
};

} // namespace

class frmZelvarionResultDetailsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void resultsBuiltElsewhereEmptyTheSearchBoxAndSayWhatTheyAre_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << u8("English");
        QTest::newRow("French") << u8("French");
    }

    // The box says in grey what the grid shows until the next search; the double file names
    // leave the translation the last search found where it was.
    void resultsBuiltElsewhereEmptyTheSearchBoxAndSayWhatTheyAre()
    {
        QFETCH(QString, language);
        ResultFixture f("English/French\r\nhouse/maison\r\n");
        f.useLanguage(language);
        f.addImage(f.photos, u8("IMG_1.JPG"), u8("maison"));
        f.addImage(f.folder.file(u8("b")) + u'/', u8("img_1.jpg"), {}, u8("01/02/2020"));
        find<QCheckBox>(f.w, "chkTranslation")->setChecked(true);
        f.search(u8("house"));
        auto *translation = find<QLabel>(f.w, "lblTranslation");
        QCOMPARE(translation->text(), u8("maison"));
        QVERIFY(translation->isVisibleTo(f.w));

        f.trigger("mnuSearchDoubles");
        QCOMPARE(f.w->result().count(), 2);
        QVERIFY(f.searchBox()->currentText().isEmpty());
        QCOMPARE(f.searchBox()->lineEdit()->placeholderText(), f.text(InterfaceText::DoubleFileNamesResult));
        QCOMPARE(translation->text(), u8("maison"));
        QVERIFY(translation->isVisibleTo(f.w));

        f.trigger("mnuDisplaySelected");
        QCOMPARE(f.w->result().count(), 1);
        QCOMPARE(f.searchBox()->lineEdit()->placeholderText(), f.text(InterfaceText::MarkedImagesResult));

        f.trigger("mnuSQLQuery");
        auto *console = f.w->findChild<frmSQLQuery *>();
        QVERIFY(console);
        find<QComboBox>(console, "lstTxtSQL")->setCurrentText(u8("select Folder, File from Images order by Folder"));
        find<QPushButton>(console, "cmdExecute")->click();
        console->clickRow(0);
        QCOMPARE(f.w->result().count(), 1);
        QVERIFY(f.searchBox()->currentText().isEmpty());
        QCOMPARE(f.searchBox()->lineEdit()->placeholderText(), f.text(InterfaceText::ConsoleImageResult));
        console->close();

        find<QCheckBox>(f.w, "chkTranslation")->setChecked(false);
        f.search(u8("maison")); // a search of its own says nothing more
        QVERIFY(f.searchBox()->lineEdit()->placeholderText().isEmpty());
        QCOMPARE(f.w->result().count(), 1);
    }

    // While the statistics window is open its item and Copy images stay disabled, as after a
    // search; Apply template follows the result.
    void doubleFileNamesLeaveStatisticsAndCopyDisabledWhileTheStatisticsWindowIsOpen()
    {
        ResultFixture f;
        f.addImage(f.photos, u8("a.jpg"), u8("sea"));
        f.addImage(f.folder.file(u8("b")) + u'/', u8("a.jpg"), u8("sea"));
        f.search(u8("sea"));
        QVERIFY(f.enabled("mnuStatistics") && f.enabled("mnuCopyImages"));
        f.trigger("mnuStatistics");
        QVERIFY(f.w->isStatisticsWindowOpen());
        f.trigger("mnuSearchDoubles");
        QCOMPARE(f.w->result().count(), 2);
        QVERIFY(f.enabled("mnuApplyTemplate"));
        QVERIFY(!f.enabled("mnuStatistics"));
        QVERIFY(!f.enabled("mnuCopyImages"));
        f.w->close();
    }

    // The image count is the sum of the registered folders' files: a delete in a subfolder of a
    // registered folder lowers it, and the window shows the new count at once.
    void deleteShowsTheNewImageCount()
    {
        ResultFixture f;
        const QString inner = f.photos + u8("summer/");
        f.addImage(f.photos, u8("a.jpg"));
        f.addImage(inner, u8("b.jpg"));
        f.addImage(inner, u8("c.jpg"));
        f.run(u8("insert into Folders values(%1,'3','');").arg(sqlText(f.photos)));
        f.w->runSearch([](SearchRequest &request) { request.withIptc = request.withoutIptc = true; });
        int cell = 0;
        while (cell < 3 && f.w->cellImage(cell)->file != u8("b.jpg"))
            ++cell;
        QVERIFY(cell < 3);
        QTest::mousePress(find<QLabel>(f.w, "ImageThumb", cell), Qt::RightButton);
        f.trigger("mnuDelete");
        QVERIFY(!QFileInfo::exists(inner + u8("b.jpg")));
        QCOMPARE(f.rows(u8("select Files from Folders;")), QStringList({u8("2")}));
        QCOMPARE(find<QLabel>(f.w, "lblCount")->text(), u8("2"));
        QVERIFY(f.started.feedback.messages.empty());
    }

    void selectionMenuSeparatesTheCommandsOnTheResult()
    {
        ResultFixture f;
        QStringList items;
        for (const QAction *action : find<QMenu>(f.w, "mnuSelectedImages")->actions())
            items << (action->isSeparator() ? u8("-") : action->objectName());
        QCOMPARE(items, QStringList({u8("mnuDisplaySelected"), u8("mnuRemoveSelection"), u8("mnuSelections"), u8("-"),
                                     u8("mnuSelectResult"), u8("mnuUnselectResult")}));
    }

    // The display window closes with the main window and stores where it was, as when it is
    // closed on its own.
    void theDisplayWindowStoresItsPlaceWhenItClosesWithTheMainWindow()
    {
        ResultFixture f;
        QDir().mkpath(f.photos);
        QVERIFY(QFile::copy(testDataFile(u8("iptc/pillow/Tests/images/iptc.jpg")), f.photos + u8("iptc.jpg")));
        f.run(u8("insert into Images(Folder,File) values(%1,'iptc.jpg');").arg(sqlText(f.photos)));
        f.w->runSearch([](SearchRequest &request) { request.withIptc = request.withoutIptc = true; });
        f.trigger("mnuDisplayImage");
        f.w->clickCell(0);
        auto *display = f.w->findChild<QWidget *>(u8("frmDisplayImage"));
        QVERIFY(display && display->isVisible());
        display->move(30, 45);
        const QSize size = display->size();
        f.w->close();
        const IniFile ini(f.folder.file(u8("Zelvarion.ini")));
        QCOMPARE(ini.read(u8("DisplayWindow"), u8("Left")), QString::number(30 * 15));
        QCOMPARE(ini.read(u8("DisplayWindow"), u8("Top")), QString::number(45 * 15));
        QCOMPARE(ini.read(u8("DisplayWindow"), u8("Height")), QString::number(size.height() * 15));
    }
};

QTEST_MAIN(frmZelvarionResultDetailsTest)
#include "frmZelvarionResultDetailsTest.moc"
