// The Selections window on its own, over a real catalogue: every command and its messages.
#include "DialogTestSupport.h"

#include "ui/frmSelections.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

} // namespace

class frmSelectionsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<DialogFixture> f;
    std::unique_ptr<frmSelections> w;
    int listings = 0;

    template <typename T>
    T *control(const char *name) const
    {
        return find<T>(w.get(), name);
    }
    QTreeWidget *list() const { return control<QTreeWidget>("lvSelections"); }
    QStringList entries() const
    {
        QStringList lines;
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            lines << list()->topLevelItem(i)->text(0) + u'=' + list()->topLevelItem(i)->text(1);
        return lines;
    }
    void open()
    {
        w = std::make_unique<frmSelections>(f->context, f->feedback, [this] {
            ++listings;
            return f->rows(u8("select count(*) from Images where CheckMark != '';")).value(0).toInt();
        }, nullptr);
    }
    void choose(int entry) { list()->setCurrentItem(list()->topLevelItem(entry)); }

private Q_SLOTS:
    void init()
    {
        f = std::make_unique<DialogFixture>();
        f->addImage(u8("/photos/l'été/"), u8("o'neil.jpg"), u8("01/02/2020"));
        f->addImage(u8("/photos/"), u8("b.jpg"));
        f->run(u8("insert into Selections values('l''été','/photos/','b.jpg','03/04/2021');"));
        f->run(u8("insert into Selections values('l''été','/gone/','x.jpg','03/04/2021');"));
        listings = 0;
        open();
    }
    void cleanup()
    {
        w.reset();
        f.reset();
    }

    void opensWithTheSavedSelectionsCountedAndTheFirstChosen()
    {
        QVERIFY(!w->isModal());
        QCOMPARE(entries(), QStringList({u8("l'été=2")}));
        QVERIFY(list()->topLevelItem(0)->isSelected());
        QCOMPARE(w->findChild<QPushButton *>(u8("cmdSaveSelection"))->text(), u8("Save"));
        QVERIFY(w->findChild<QLabel *>(u8("lblNbCurrentSelection"))->isHidden());
    }

    void saveRefusesEmptyAndListedNamesAndListsWhatItSaved()
    {
        control<QLineEdit>("txtSaveSelection")->setText(u8("   "));
        control<QPushButton>("cmdSaveSelection")->click();
        QCOMPARE(control<QLabel>("lblError")->text(), f->context.language.message(Message::SelectionNameRequired));
        control<QLineEdit>("txtSaveSelection")->setText(u8(" l'été "));
        control<QPushButton>("cmdSaveSelection")->click();
        QCOMPARE(control<QLineEdit>("txtSaveSelection")->text(), u8("l'été"));
        QCOMPARE(control<QLabel>("lblError")->text(), f->context.language.message(Message::SelectionNameUsed));

        control<QLineEdit>("txtSaveSelection")->setText(u8("d'hiver"));
        control<QPushButton>("cmdSaveSelection")->click();
        QVERIFY(control<QLabel>("lblError")->text().isEmpty());
        QCOMPARE(control<QLabel>("lblNbCurrentSelection")->text(), u8("Images=1"));
        QVERIFY(!control<QLabel>("lblNbCurrentSelection")->isHidden());
        QVERIFY(control<QPushButton>("cmdSaveSelection")->isEnabled());
        // A name saved since the window opened is not listed: saving replaces its rows.
        f->run(u8("insert into Selections values('later','/x/','gone.jpg','x');"));
        control<QLineEdit>("txtSaveSelection")->setText(u8("later"));
        control<QPushButton>("cmdSaveSelection")->click();
        QCOMPARE(f->rows(u8("select File from Selections where Name='later';")), QStringList({u8("o'neil.jpg")}));
        f->run(u8("update Images set CheckMark='';"));
        control<QLineEdit>("txtSaveSelection")->setText(u8("none"));
        control<QPushButton>("cmdSaveSelection")->click();
        QCOMPARE(control<QLabel>("lblNbCurrentSelection")->text(), u8("Images=0"));
        QCOMPARE(entries(), QStringList({u8("l'été=2"), u8("d'hiver=1"), u8("later=1")})); // none: no entry
    }

    void displayAndDoubleClickRestoreAndListTheMarks()
    {
        control<QPushButton>("cmdDisplaySelection")->click();
        QCOMPARE(listings, 1);
        QCOMPARE(f->rows(u8("select File,CheckMark from Images order by File;")),
                 QStringList({u8("b.jpg|03/04/2021"), u8("o'neil.jpg|")}));
        Q_EMIT list()->itemDoubleClicked(list()->topLevelItem(0), 0);
        control<QPushButton>("cmdCurrentSelection")->click();
        QCOMPARE(listings, 3);
        QCOMPARE(control<QLabel>("lblNbCurrentSelection")->text(), u8("Images=1"));
    }

    void withNoChosenEntryTheCommandsSayMessage45()
    {
        list()->clearSelection();
        for (const char *name : {"cmdDisplaySelection", "cmdRenameSelection", "cmdRemoveSelection"}) {
            QPushButton *button = control<QPushButton>(name);
            control<QLabel>("lblError")->clear();
            button->click();
            QCOMPARE(control<QLabel>("lblError")->text(), f->context.language.message(Message::NoSelectionChosen));
        }
        QCOMPARE(listings, 0);
        QVERIFY(f->feedback.questions.isEmpty());
    }

    void renameAndRemoveChangeTheEntryAndTheRows()
    {
        QString answer = u8("l'été");
        w->setNameAsker([&](const QString &, const QString &, const QString &) { return answer; });
        control<QPushButton>("cmdRenameSelection")->click(); // its own name
        QCOMPARE(control<QLabel>("lblError")->text(), f->context.language.message(Message::SelectionNameUsed));
        answer = u8("  été 2 ");
        control<QPushButton>("cmdRenameSelection")->click();
        QCOMPARE(entries(), QStringList({u8("été 2=2")}));
        QCOMPARE(f->rows(u8("select distinct Name from Selections;")), QStringList({u8("été 2")}));

        f->feedback.answers = {false, true};
        control<QPushButton>("cmdRemoveSelection")->click();
        QCOMPARE(entries().size(), 1);
        control<QPushButton>("cmdRemoveSelection")->click();
        QCOMPARE(f->feedback.questions.last(), f->context.language.message(Message::RemoveSelectionQuestion) + u8(" 'été 2'"));
        QVERIFY(entries().isEmpty());
        QVERIFY(f->rows(u8("select * from Selections;")).isEmpty());
    }
};

QTEST_MAIN(frmSelectionsTest)
#include "frmSelectionsTest.moc"
