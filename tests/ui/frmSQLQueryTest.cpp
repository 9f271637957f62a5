// The SQL console on its own, over a real catalogue: refusals, the table, the status, the click
// that asks for one image, the history and the read-only connection.
#include "DialogTestSupport.h"

#include "platform/IniFile.h"
#include "ui/frmSQLQuery.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

} // namespace

class frmSQLQueryTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<DialogFixture> f;
    std::unique_ptr<frmSQLQuery> w;

    template <typename T>
    T *control(const char *name) const
    {
        return find<T>(w.get(), name);
    }
    void type(const QString &statement) { control<QComboBox>("lstTxtSQL")->setCurrentText(statement); }
    QAbstractItemModel *table() const { return control<QTableView>("lvSQLOutput")->model(); }

private Q_SLOTS:
    void init()
    {
        f = std::make_unique<DialogFixture>();
        f->folder.writeIni(u8("[SQLQuery]\nSQLQuery1=select 1\nSQLQuery2=select File from Images\n"));
        f->addImage(u8("/photos/l'été/"), u8("o'neil.jpg"));
        f->run(u8("update Images set City='Lyon';"));
        f->addImage(u8("/photos/"), u8("b.jpg"));
        w = std::make_unique<frmSQLQuery>(f->context, f->feedback, nullptr);
    }
    void cleanup()
    {
        w.reset();
        f.reset();
    }

    void opensWithTheStoredHistory()
    {
        QCOMPARE(control<QComboBox>("lstTxtSQL")->count(), 2);
        QCOMPARE(control<QComboBox>("lstTxtSQL")->itemText(1), u8("select File from Images"));
        QCOMPARE(w->findChild<QPushButton *>(u8("cmdExecute"))->text(), u8("Execute"));
        QVERIFY(w->findChild<QTableView *>(u8("lvSQLOutput")));
    }

    void aSelectOfAllColumnsIsClickableAndAClickAsksForThatImage()
    {
        QSignalSpy asked(w.get(), &frmSQLQuery::showImageRequested);
        type(u8("select * from Images where City = 'Lyon'"));
        control<QPushButton>("cmdExecute")->click();
        QCOMPARE(table()->columnCount(), 48);
        QCOMPARE(table()->rowCount(), 1);
        QCOMPARE(table()->headerData(1, Qt::Horizontal).toString(), u8("File"));
        QCOMPARE(control<QLabel>("lblStatus")->text(), f->context.language.text(InterfaceText::ClickRowHint));
        QVERIFY(control<QLabel>("lblStatus")->styleSheet().contains(u8("0, 0, 255")));

        control<QTableView>("lvSQLOutput")->show();
        QTest::mouseClick(control<QTableView>("lvSQLOutput")->viewport(), Qt::LeftButton, {},
                          control<QTableView>("lvSQLOutput")->visualRect(table()->index(0, 3)).center());
        QCOMPARE(asked.count(), 1);
        QCOMPARE(asked.at(0).at(0).toString(), u8("/photos/l'été/"));
        QCOMPARE(asked.at(0).at(1).toString(), u8("o'neil.jpg"));
        QCOMPARE(control<QComboBox>("lstTxtSQL")->itemText(0), u8("select * from Images where City = 'Lyon'"));
    }

    void withoutFolderAndFileTheStatusIsRedAndClicksDoNothing()
    {
        QSignalSpy asked(w.get(), &frmSQLQuery::showImageRequested);
        type(u8("select Folder as folder, File as file from Images"));
        QTest::keyClick(control<QComboBox>("lstTxtSQL")->lineEdit(), Qt::Key_Return);
        QCOMPARE(table()->rowCount(), 2);
        QCOMPARE(control<QLabel>("lblStatus")->text(), f->context.language.text(InterfaceText::MissingPathColumnsWarning));
        QVERIFY(control<QLabel>("lblStatus")->styleSheet().contains(u8("255, 0, 0")));
        w->clickRow(0);
        QCOMPARE(asked.count(), 0);

        type(u8("select x from Nowhere")); // refused by the engine: reported, red, not remembered
        control<QPushButton>("cmdExecute")->click();
        QCOMPARE(table()->rowCount(), 0);
        QVERIFY(f->feedback.texts().last().startsWith(u8("Cannot get data\n")));
        QVERIFY(control<QLabel>("lblStatus")->styleSheet().contains(u8("255, 0, 0")));
        QCOMPARE(control<QComboBox>("lstTxtSQL")->itemText(0), u8("select Folder as folder, File as file from Images"));
    }

    // Enter runs the statement once: the warning that only the first statement ran is shown
    // once, and closing it with Enter runs nothing again.
    void enterOnTwoStatementsRunsTheFirstOnceAndWarnsOnce()
    {
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        auto *box = control<QComboBox>("lstTxtSQL");
        w->activateWindow();
        box->setFocus();
        type(u8("select File from Images; delete from Images"));
        QCOMPARE(QApplication::focusWidget(), box); // where a typed key goes
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(f->feedback.texts().size(), 1);
        QVERIFY(f->feedback.texts().first().startsWith(f->context.language.message(Message::FirstStatementOnly)));
        QVERIFY(f->feedback.texts().first().endsWith(u8("delete from Images")));
        QTest::keyClick(box, Qt::Key_Enter);
        QCOMPARE(f->feedback.texts().size(), 2);
        QCOMPARE(table()->rowCount(), 2);
        QCOMPARE(f->rows(u8("select count(*) from Images;")), QStringList({u8("2")}));
    }

    void aTextThatIsNoSelectLeavesStatusAndHistoryAlone()
    {
        type(u8("delete from Images"));
        control<QPushButton>("cmdExecute")->click();
        QCOMPARE(f->feedback.texts(), QStringList({f->context.language.message(Message::SelectOnly)}));
        QVERIFY(control<QLabel>("lblStatus")->text().isEmpty());
        QCOMPARE(control<QComboBox>("lstTxtSQL")->count(), 2);
    }

    void closingWritesTheHistoryMostRecentFirst()
    {
        w->show();
        type(u8("select 1"));
        control<QPushButton>("cmdExecute")->click(); // already listed: moved to the top without dropping anything
        type(u8("select 'l''été'"));
        control<QPushButton>("cmdExecute")->click();
        w->close();
        const IniFile &ini = f->context.ini;
        QCOMPARE(ini.read(u8("SQLQuery"), u8("SQLQuery1")), u8("select 'l''été'"));
        QCOMPARE(ini.read(u8("SQLQuery"), u8("SQLQuery2")), u8("select 1"));
        QCOMPARE(ini.read(u8("SQLQuery"), u8("SQLQuery3")), u8("select File from Images"));
        QVERIFY(!ini.read(u8("SQLQuery"), u8("SQLQuery4")));
    }

    void theTableTakesTheRoomTheWindowGrowsBy()
    {
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        type(u8("select * from Images"));
        w->execute();
        QCOMPARE(table()->rowCount(), 2);
        auto *view = control<QTableView>("lvSQLOutput");
        const QSize before = view->size();
        w->resize(w->size() + QSize(160, 120));
        QTest::qWait(50);
        QCOMPARE(view->size(), before + QSize(160, 120));
    }
};

QTEST_MAIN(frmSQLQueryTest)
#include "frmSQLQueryTest.moc"
