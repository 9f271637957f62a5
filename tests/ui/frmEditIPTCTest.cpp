// Window tests of the edit dialog: loading a template in its order, saving it back, and the
// editing rules (length control, dates, lists, customized rows, label clicks, tabs, calendar).
#include "CaptioningTestSupport.h"

#include "core/editing/EditDates.h"
#include "core/editing/FieldRules.h"
#include "ui/Controls.h"
#include "ui/frmEditIPTC.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>
#include <functional>
#include <map>

using namespace zelvarion;
using namespace zelvarion::test;
using namespace zelvarion::controls;

namespace {

const QLocale kFrench(QLocale::French, QLocale::France);

struct Fixture
{
    CaptioningContext c;
    std::unique_ptr<frmEditIPTC> dialog;

    explicit Fixture(const TemplateValues &values = {}, const QString &name = QStringLiteral("l'été"))
    {
        QLocale::setDefault(kFrench);
        c.addTemplate(name, values);
    }
    ~Fixture() { QLocale::setDefault(QLocale::c()); }
    frmEditIPTC &open(const QString &name = QStringLiteral("l'été"))
    {
        dialog = std::make_unique<frmEditIPTC>(c.context, c.feedback, name);
        dialog->show();
        return *dialog;
    }
    template <typename T = QWidget>
    T *get(const QString &name) { return control<T>(*dialog, name); }
    QLineEdit *box(int index) { return get<QLineEdit>(indexed("txtIPTC", index)); }
    QLabel *label(int index) { return get<QLabel>(indexed("lblIPTC", index)); }
    QString status() { return get<QLabel>(QStringLiteral("lblStatus"))->text(); }
    QColor colour(QLabel *l) { return l->palette().color(QPalette::WindowText); }
    QStringList entries(const char *list)
    {
        QStringList found;
        auto *w = get<QListWidget>(QLatin1String(list));
        for (int i = 0; i < w->count(); ++i)
            found << w->item(i)->text();
        return found;
    }
    TemplateRecord saved(const QString &name = QStringLiteral("l'été")) { return *c.store().load(name); }
};

} // namespace

class frmEditIPTCTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void loadsTheTemplateIntoItsControls();
    void customizedRowsSplitAtTheFirstSlashAndShowConfiguredNames();
    void okStoresWhatTheControlsHold();
    void lengthControlLocksEveryOtherFieldUntilTheTextIsShortEnough();
    void lengthControlAndOkCountTheBytesTheFileWillHold();
    void datesAndTimesAreCheckedWhenLeavingTheirBox();
    void dateAndTimeBoxesSayTheFormTheyAccept();
    void aDateThatDoesNotParseIsNeverSavedAndEachNowSetsOnlyItsOwnDates();
    void aStoredDateThatDoesNotParseIsShownRefusedAtOnce();
    void okRefusingADateShowsTheTabThatHoldsIt();
    void datesInALongUserFormatPassLengthControl();
    void listsRefuseTwinsAndNeedASelection();
    void customizedNumbersAreCheckedWhenLeavingTheirBox();
    void labelClicksSetTheTextAsideAndBringItBack();
    void tabKeysAndTheCalendar();
    void spellCheckButtonsFollowTheSpellingService();
    void theFieldsGrowWithTheDialogAndNoFrenchLabelIsCut();
};

void frmEditIPTCTest::loadsTheTemplateIntoItsControls()
{
    TemplateValues values;
    values.fields[13] = QStringLiteral("20051345");
    values.fields[7] = QStringLiteral("20050422");
    values.fields[14] = QStringLiteral("143000+0100");
    values.fields[kKeywordsIndex] = QStringLiteral("a; b;; c");
    values.fields[2] = QStringLiteral("12");
    values.fields[17] = QStringLiteral("p");
    values.fields[20] = QStringLiteral("Lyon");
    Fixture f(values);
    f.open();
    QCOMPARE(f.dialog->windowTitle(), QStringLiteral("l'été ") + f.c.text(InterfaceText::EditTemplateButton));
    QCOMPARE(f.get<QLabel>(QStringLiteral("lblTemplate"))->text(),
             QStringLiteral("l'été\r\n") + f.c.text(InterfaceText::EditTemplateButton));
    QVERIFY(f.box(13)->text().isEmpty());
    QCOMPARE(f.box(7)->text(), QStringLiteral("22/04/2005"));
    QCOMPARE(f.box(14)->text(), QStringLiteral("14:30:00"));
    QCOMPARE(f.box(20)->text(), QStringLiteral("Lyon"));
    QCOMPARE(f.entries("lstKeywords"), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    QCOMPARE(f.get<QComboBox>(QStringLiteral("lstUrgency"))->currentIndex(), 9);
    QCOMPARE(f.get<QComboBox>(QStringLiteral("lstObjectCycle"))->currentIndex(), 1);
    QCOMPARE(f.label(27)->toolTip(), QStringLiteral("#IPTC 118"));
    QCOMPARE(f.get<QLabel>(QStringLiteral("lblKeyword"))->toolTip(), QStringLiteral("#IPTC 25"));
    QCOMPARE(f.label(20)->text(), f.c.text(fieldLabel(20)));
    QCOMPARE(f.colour(f.label(20)), kLabelGrey);
    QCOMPARE(f.get<QTabBar>(QStringLiteral("TabStripIPTC"))->count(), 6);
    QVERIFY(!f.get(QStringLiteral("txtIPTC_34"))->isVisibleTo(f.dialog.get()));
    QVERIFY(f.c.feedback.messages.empty());
}

void frmEditIPTCTest::customizedRowsSplitAtTheFirstSlashAndShowConfiguredNames()
{
    TemplateValues values;
    values.customized[2] = {QStringLiteral("200"), QStringLiteral("Box 12/B")};
    values.customized[3] = {QStringLiteral("201"), QStringLiteral("plain")};
    Fixture f(values);
    f.c.context.settings.customizedFieldNames[0] = {QStringLiteral("200"), QStringLiteral("Archive")};
    CatalogueDb &db = f.c.context.catalogue;
    db.open();
    db.execute(QStringLiteral("update Templates set Customized5='no slash';"));
    db.close();
    f.open();
    QCOMPARE(f.get<QLineEdit>(QStringLiteral("txtIndexCustomized_2"))->text(), QStringLiteral("200"));
    QCOMPARE(f.get<QLineEdit>(QStringLiteral("txtCustomized_2"))->text(), QStringLiteral("Box 12/B"));
    QCOMPARE(f.get<QLabel>(QStringLiteral("lblCustomized_2"))->text(), QStringLiteral("Archive"));
    QVERIFY(f.get<QLineEdit>(QStringLiteral("txtIndexCustomized_2"))->isReadOnly());
    QCOMPARE(f.get<QLabel>(QStringLiteral("lblCustomized_3"))->text(), f.c.text(InterfaceText::CustomizedFieldLabel));
    QVERIFY(f.get<QLineEdit>(QStringLiteral("txtIndexCustomized_4"))->text().isEmpty());
    QVERIFY(f.get<QLineEdit>(QStringLiteral("txtCustomized_4"))->text().isEmpty());

    // With customized editing off the one Customized box shows on tab 5 and tab 6 is gone.
    f.c.context.settings.editCustomizedFields = false;
    f.open();
    QCOMPARE(f.get<QTabBar>(QStringLiteral("TabStripIPTC"))->count(), 5);
    f.dialog->selectTab(5);
    QVERIFY(f.get(QStringLiteral("txtIPTC_34"))->isVisible());
    QTest::keyClick(f.box(20), Qt::Key_F6);
    QCOMPARE(f.get<QTabBar>(QStringLiteral("TabStripIPTC"))->currentIndex(), 4);
}

void frmEditIPTCTest::okStoresWhatTheControlsHold()
{
    Fixture f;
    f.c.context.settings.controlLengthFields = false;
    f.open();
    f.box(7)->setText(QStringLiteral("22/04/2005"));
    f.box(14)->setText(QStringLiteral("14:30"));
    f.box(13)->setText(QStringLiteral("hello"));
    f.get<QPlainTextEdit>(QStringLiteral("txtIPTC_30"))->setPlainText(QString(2000, u'c'));
    f.box(0)->setText(QStringLiteral("l'image"));
    for (const char *keyword : {"a", "b", "c"}) {
        f.get<QLineEdit>(QStringLiteral("rtfKeyword"))->setText(QString::fromLatin1(keyword));
        f.get<QPushButton>(QStringLiteral("cmdAddKeyword"))->click();
    }
    f.get<QComboBox>(QStringLiteral("lstUrgency"))->setCurrentIndex(4);
    f.get<QComboBox>(QStringLiteral("lstObjectCycle"))->setCurrentIndex(2);
    f.get<QLineEdit>(QStringLiteral("txtIndexCustomized_0"))->setText(QStringLiteral("201"));
    f.get<QLineEdit>(QStringLiteral("txtCustomized_0"))->setText(QStringLiteral("x/y 'quoted'"));
    f.get<QLineEdit>(QStringLiteral("txtIndexCustomized_1"))->setText(QStringLiteral("202")); // no text: not kept
    QVERIFY(!f.get<QPushButton>(QStringLiteral("cmdOK"))->isEnabled()); // "hello" is no date
    f.box(13)->clear();
    f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    const TemplateRecord saved = f.saved();
    QCOMPARE(saved.fields[7], QStringLiteral("20050422"));
    QCOMPARE(saved.fields[14], QStringLiteral("143000"));
    QVERIFY(saved.fields[13].isEmpty());
    QCOMPARE(saved.fields[30].size(), 2000);
    QCOMPARE(saved.fields[0], QStringLiteral("l'image"));
    QCOMPARE(saved.fields[kKeywordsIndex], QStringLiteral("a; b; c"));
    QCOMPARE(saved.fields[2], QStringLiteral("5"));
    QCOMPARE(saved.fields[17], QStringLiteral("b"));
    QCOMPARE(saved.customized[0], QStringLiteral("201/x/y 'quoted'"));
    QVERIFY(saved.customized[1].isEmpty());
    QVERIFY(saved.lastRevisionDate != QStringLiteral("saved"));
    QVERIFY(f.c.feedback.messages.empty());
}

void frmEditIPTCTest::lengthControlLocksEveryOtherFieldUntilTheTextIsShortEnough()
{
    Fixture f;
    f.open();
    QLineEdit *name = f.box(0);
    name->setText(QString(64, u'o'));
    QVERIFY(f.status().isEmpty());
    QTest::keyClick(name, Qt::Key_P);
    const QString expected = editing::tooLongMessage(f.c.message(Message::TextTooLong), f.label(0)->text(), 64);
    QCOMPARE(f.status(), expected);
    QVERIFY(!f.box(20)->isEnabled());
    QVERIFY(!f.get(QStringLiteral("txtIndexCustomized_3"))->isEnabled());
    QVERIFY(!f.get(QStringLiteral("lstKeywords"))->isEnabled());
    QVERIFY(!f.get(QStringLiteral("lstUrgency"))->isEnabled());
    QVERIFY(!f.get(QStringLiteral("cmdOK"))->isEnabled());
    QVERIFY(name->isEnabled());
    QCOMPARE(name->text().size(), 65); // the text is never cut
    QTest::keyClick(name, Qt::Key_Backspace);
    QVERIFY(f.status().isEmpty());
    QVERIFY(f.box(20)->isEnabled());
    QVERIFY(f.get(QStringLiteral("cmdOK"))->isEnabled());

    auto *keyword = f.get<QLineEdit>(QStringLiteral("rtfKeyword"));
    keyword->setText(QString(65, u'k'));
    QVERIFY(!f.get(QStringLiteral("cmdAddKeyword"))->isEnabled());
    QVERIFY(f.status().startsWith(f.get<QLabel>(QStringLiteral("lblKeyword"))->text()));
    keyword->setText(QStringLiteral("k"));
    QVERIFY(f.get(QStringLiteral("cmdAddKeyword"))->isEnabled());

    f.c.context.settings.controlLengthFields = false;
    name->setText(QString(300, u'o'));
    QVERIFY(f.box(20)->isEnabled());
}

void frmEditIPTCTest::lengthControlAndOkCountTheBytesTheFileWillHold()
{
    Fixture f;
    f.open();
    const QString cjk(1, QChar(0x65E5)); // three bytes in UTF-8
    auto *caption = f.get<QPlainTextEdit>(QStringLiteral("txtIPTC_30"));
    caption->setPlainText(cjk.repeated(666)); // 1,998 bytes
    QVERIFY(f.status().isEmpty());
    caption->setPlainText(cjk.repeated(667));
    QCOMPARE(f.status(), QStringLiteral("%1 is too long: it takes 2001 bytes in the file, at most 2000.").arg(f.label(30)->text()));
    QVERIFY(!f.get(QStringLiteral("cmdOK"))->isEnabled());
    caption->setPlainText(cjk.repeated(666));
    QVERIFY(f.get(QStringLiteral("cmdOK"))->isEnabled());

    // Without length control a text is let through while typing; OK refuses what a file could not hold.
    f.c.context.settings.controlLengthFields = false;
    caption->setPlainText(cjk.repeated(1200));
    f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
    QVERIFY(f.dialog->isVisible());
    QCOMPARE(f.status(), QStringLiteral("%1 is too long: it takes 3600 bytes in the file, at most 2000.").arg(f.label(30)->text()));
    QVERIFY(f.saved().fields[30].isEmpty());
    caption->setPlainText(cjk.repeated(10));
    f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
    QCOMPARE(f.saved().fields[30], cjk.repeated(10));
}

void frmEditIPTCTest::datesAndTimesAreCheckedWhenLeavingTheirBox()
{
    Fixture f;
    f.open();
    auto *ok = f.get<QPushButton>(QStringLiteral("cmdOK"));
    f.box(13)->setText(QStringLiteral("31/02/2005"));
    leave(f.box(13));
    QCOMPARE(f.status(), f.label(13)->text() + QStringLiteral(": ") + f.c.message(Message::InvalidDate)
                             + QStringLiteral(" (expected form: dd/mm/yyyy)"));
    QVERIFY(!ok->isEnabled());
    f.box(13)->clear();
    leave(f.box(13));
    QVERIFY(ok->isEnabled());
    QVERIFY(f.status().isEmpty());
    f.box(8)->setText(QStringLiteral("25:61"));
    leave(f.box(8));
    QCOMPARE(f.status(), f.label(8)->text() + QStringLiteral(": ") + f.c.message(Message::InvalidTime)
                             + QStringLiteral(" (expected form: hh:mm:ss)"));
    f.box(8)->setText(QStringLiteral("14:30"));
    leave(f.box(8));
    QVERIFY(ok->isEnabled());
    f.get<QPushButton>(QStringLiteral("cmdNow_0"))->click();
    QVERIFY(editing::parseDate(f.box(13)->text(), kFrench).has_value());
    QVERIFY(editing::parseTime(f.box(14)->text(), kFrench).has_value());
}

void frmEditIPTCTest::dateAndTimeBoxesSayTheFormTheyAccept()
{
    Fixture f;
    f.open();
    const QString year = QString::number(QDate::currentDate().year());
    for (const int date : {7, 13}) {
        QCOMPARE(f.box(date)->placeholderText(), QStringLiteral("dd/mm/yyyy"));
        QVERIFY2(f.box(date)->toolTip().contains(QStringLiteral("dd/mm/yyyy")), qPrintable(f.box(date)->toolTip()));
        QVERIFY2(f.box(date)->toolTip().contains(QStringLiteral("21/06/") + year), qPrintable(f.box(date)->toolTip()));
    }
    for (const int time : {8, 14}) {
        QCOMPARE(f.box(time)->placeholderText(), QStringLiteral("hh:mm:ss"));
        QVERIFY(f.box(time)->toolTip().contains(QStringLiteral("14:30:00")));
    }
    f.box(13)->setText(QStringLiteral("21/06/2026"));
    leave(f.box(13));
    f.box(14)->setText(QStringLiteral("09:05:30"));
    leave(f.box(14));
    QVERIFY(f.status().isEmpty());
    f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
    QCOMPARE(f.saved().fields[13], QStringLiteral("20260621"));
    QCOMPARE(f.saved().fields[14], QStringLiteral("090530"));
}

void frmEditIPTCTest::aDateThatDoesNotParseIsNeverSavedAndEachNowSetsOnlyItsOwnDates()
{
    TemplateValues values;
    values.fields[7] = QStringLiteral("20050422");
    Fixture f(values);
    f.open();
    f.dialog->selectTab(4);
    auto *ok = f.get<QPushButton>(QStringLiteral("cmdOK"));
    const QString invalidRelease = f.label(7)->text() + QStringLiteral(": ") + f.c.message(Message::InvalidDate)
                                   + QStringLiteral(" (expected form: dd/mm/yyyy)");
    f.box(7)->setText(QStringLiteral("2026-12-01"));
    leave(f.box(7));
    QCOMPARE(f.status(), invalidRelease);
    QVERIFY(!ok->isEnabled());

    // Typing elsewhere and Now beside the creation time leave the release date refused.
    f.box(20)->setText(QStringLiteral("Lyon"));
    QVERIFY(!ok->isEnabled());
    QCOMPARE(f.status(), invalidRelease);
    f.get<QPushButton>(QStringLiteral("cmdNow_0"))->click();
    QVERIFY(editing::parseDate(f.box(13)->text(), kFrench).has_value());
    QVERIFY(editing::parseTime(f.box(14)->text(), kFrench).has_value());
    QCOMPARE(f.box(7)->text(), QStringLiteral("2026-12-01"));
    QVERIFY(f.box(8)->text().isEmpty());
    QVERIFY(!ok->isEnabled());
    QCOMPARE(f.status(), invalidRelease);

    f.dialog->selectTab(1);
    f.dialog->save(); // OK reached some other way is refused with the field named
    QVERIFY(f.dialog->isVisible());
    QCOMPARE(f.get<QTabBar>(QStringLiteral("TabStripIPTC"))->currentIndex(), 3);
    QCOMPARE(f.saved().fields[7], QStringLiteral("20050422"));
    QVERIFY(f.saved().fields[20].isEmpty());

    // Now beside the release time mends the release date and time and nothing else.
    f.box(13)->setText(QStringLiteral("02/01/2003"));
    f.get<QPushButton>(QStringLiteral("cmdNow_1"))->click();
    QCOMPARE(f.box(13)->text(), QStringLiteral("02/01/2003"));
    QCOMPARE(editing::parseDate(f.box(7)->text(), kFrench), std::optional<QDate>(QDate::currentDate()));
    QVERIFY(editing::parseTime(f.box(8)->text(), kFrench).has_value());
    QVERIFY(f.status().isEmpty());
    QVERIFY(ok->isEnabled());
    ok->click();
    QCOMPARE(f.saved().fields[7], QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    QCOMPARE(f.saved().fields[13], QStringLiteral("20030102"));
    QCOMPARE(f.saved().fields[20], QStringLiteral("Lyon"));
}

void frmEditIPTCTest::aStoredDateThatDoesNotParseIsShownRefusedAtOnce()
{
    TemplateValues values;
    values.fields[11] = QStringLiteral("someday");
    Fixture f(values);
    f.open();
    QVERIFY(!f.get<QPushButton>(QStringLiteral("cmdOK"))->isEnabled());
    QCOMPARE(f.status(), f.label(11)->text() + QStringLiteral(": ") + f.c.message(Message::InvalidDate)
                             + QStringLiteral(" (expected form: dd/mm/yyyy)"));
    f.box(11)->clear();
    QVERIFY(f.get<QPushButton>(QStringLiteral("cmdOK"))->isEnabled());
}

void frmEditIPTCTest::okRefusingADateShowsTheTabThatHoldsIt()
{
    TemplateValues values;
    values.fields[kReferenceDateIndex] = QStringLiteral("someday"); // on the other fields' tab
    Fixture f(values);
    f.open();
    auto *tabs = f.get<QTabBar>(QStringLiteral("TabStripIPTC"));
    f.dialog->save();
    QVERIFY(f.dialog->isVisible());
    QCOMPARE(tabs->currentIndex(), 4);
    QVERIFY(f.get<QWidget>(QStringLiteral("FrameIPTC_4"))->isVisible());

    // Mended there, the creation time refused on the dates' tab is shown next.
    f.box(kReferenceDateIndex)->clear();
    f.box(kCreatedDateTime.time)->setText(QStringLiteral("25:99"));
    f.dialog->selectTab(1);
    f.dialog->save();
    QCOMPARE(tabs->currentIndex(), 3);
    QCOMPARE(f.status(), f.label(kCreatedDateTime.time)->text() + QStringLiteral(": ") + f.c.message(Message::InvalidTime)
                             + QStringLiteral(" (expected form: hh:mm:ss)"));
}

void frmEditIPTCTest::datesInALongUserFormatPassLengthControl()
{
    TemplateValues values;
    values.fields[13] = QStringLiteral("20240312");
    values.fields[7] = QStringLiteral("20241225");
    Fixture f(values);
    f.c.context.settings.controlLengthFields = true;
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); // "2024. 03. 12.": longer than 10
    f.open();
    QVERIFY(f.box(13)->text().size() > 10);
    QVERIFY(f.status().isEmpty());
    QVERIFY(f.get<QPushButton>(QStringLiteral("cmdOK"))->isEnabled());
    QVERIFY(f.box(20)->isEnabled()); // no field is locked
    f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
    QCOMPARE(f.saved().fields[13], QStringLiteral("20240312"));
    QCOMPARE(f.saved().fields[7], QStringLiteral("20241225"));
}

void frmEditIPTCTest::listsRefuseTwinsAndNeedASelection()
{
    TemplateValues values;
    values.fields[kKeywordsIndex] = QStringLiteral("PARIS; Lyon; Nice");
    Fixture f(values);
    f.open();
    auto *entry = f.get<QLineEdit>(QStringLiteral("rtfKeyword"));
    auto *list = f.get<QListWidget>(QStringLiteral("lstKeywords"));
    entry->setText(QStringLiteral("  Paris "));
    QTest::keyClick(entry, Qt::Key_Return);
    QCOMPARE(f.status(), f.c.message(Message::AlreadyInList));
    QCOMPARE(entry->text(), QStringLiteral("Paris")); // trimmed and put back
    f.get<QPushButton>(QStringLiteral("cmdReplaceKeyword"))->click();
    QCOMPARE(f.status(), f.c.message(Message::NoEntrySelected));

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QCOMPARE(entry->text(), QStringLiteral("Lyon"));
    entry->setText(QStringLiteral("Marseille"));
    f.get<QPushButton>(QStringLiteral("cmdReplaceKeyword"))->click();
    QCOMPARE(f.entries("lstKeywords"), (QStringList{QStringLiteral("PARIS"), QStringLiteral("Marseille"), QStringLiteral("Nice")}));
    QCOMPARE(entry->text(), QStringLiteral("Lyon"));

    list->setCurrentRow(2);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(f.entries("lstKeywords"), (QStringList{QStringLiteral("PARIS"), QStringLiteral("Marseille")}));
    QCOMPARE(list->currentRow(), 1); // the last entry now
    f.get<QPushButton>(QStringLiteral("cmdRemoveKeyword"))->click();
    QCOMPARE(f.entries("lstKeywords"), QStringList{QStringLiteral("PARIS")});

    auto *category = f.get<QLineEdit>(QStringLiteral("rtfSupplementalCategory"));
    category->setText(QStringLiteral("s1"));
    f.get<QPushButton>(QStringLiteral("cmdAddSupplementalCategory"))->click();
    category->setText(QStringLiteral("S1"));
    f.get<QPushButton>(QStringLiteral("cmdAddSupplementalCategory"))->click();
    QCOMPARE(f.entries("lstSupplementalCategories"), QStringList{QStringLiteral("s1")});
}

void frmEditIPTCTest::customizedNumbersAreCheckedWhenLeavingTheirBox()
{
    Fixture f;
    f.open();
    auto *number = f.get<QLineEdit>(QStringLiteral("txtIndexCustomized_1"));
    for (const char *refused : {"121", "120", "122", "255", "abc", "0"}) {
        number->setText(QString::fromLatin1(refused));
        leave(number);
        QCOMPARE(f.status(), f.c.message(Message::InvalidDatasetNumber) + u' ' + QString::fromLatin1(refused));
        QVERIFY(!f.get(QStringLiteral("txtCustomized_0"))->isEnabled());
        QVERIFY(f.get(QStringLiteral("txtCustomized_1"))->isEnabled());
        QVERIFY(!f.get(QStringLiteral("cmdOK"))->isEnabled());
    }
    number->setText(QStringLiteral("254"));
    leave(number);
    QVERIFY(f.get(QStringLiteral("cmdOK"))->isEnabled());
    number->setText(QStringLiteral("200"));
    leave(number);
    auto *second = f.get<QLineEdit>(QStringLiteral("txtIndexCustomized_7"));
    second->setText(QStringLiteral("200"));
    leave(second);
    QCOMPARE(f.status(), f.c.message(Message::DatasetNumberUsed) + QStringLiteral(" 200"));
    second->clear();
    QCOMPARE(f.status(), f.c.message(Message::DatasetNumberMissing));

    f.c.context.settings.customizedFieldNames[3] = {QStringLiteral("230"), QStringLiteral("Archive")};
    second->setText(QStringLiteral("230"));
    QCOMPARE(f.get<QLabel>(QStringLiteral("lblCustomized_7"))->text(), QStringLiteral("Archive"));
}

void frmEditIPTCTest::labelClicksSetTheTextAsideAndBringItBack()
{
    TemplateValues values;
    values.fields[20] = QStringLiteral("Lyon");
    values.fields[kKeywordsIndex] = QStringLiteral("a; b");
    values.fields[29] = QStringLiteral("Agence");
    values.customized[0] = {QStringLiteral("200"), QStringLiteral("x")};
    Fixture f(values);
    f.open();
    f.dialog->selectTab(4);
    QTest::mouseClick(f.label(20), Qt::LeftButton);
    QVERIFY(f.box(20)->text().isEmpty());
    QCOMPARE(f.colour(f.label(20)), kLabelBlue);
    QTest::mouseClick(f.label(20), Qt::LeftButton);
    QCOMPARE(f.box(20)->text(), QStringLiteral("Lyon"));
    QCOMPARE(f.colour(f.label(20)), kLabelGrey);

    f.dialog->selectTab(2);
    f.get<QLineEdit>(QStringLiteral("rtfKeyword"))->setText(QStringLiteral("new"));
    f.get<QPushButton>(QStringLiteral("cmdAddKeyword"))->click();
    QTest::mouseClick(f.get<QLabel>(QStringLiteral("lblKeyword")), Qt::LeftButton);
    QVERIFY(f.entries("lstKeywords").isEmpty());
    QTest::mouseClick(f.get<QLabel>(QStringLiteral("lblKeyword")), Qt::LeftButton);
    QCOMPARE(f.entries("lstKeywords"), (QStringList{QStringLiteral("a"), QStringLiteral("b")})); // the edit is lost

    f.dialog->selectTab(6);
    QTest::mouseClick(f.get<QLabel>(QStringLiteral("lblCustomized_0")), Qt::LeftButton);
    QVERIFY(f.get<QLineEdit>(QStringLiteral("txtIndexCustomized_0"))->text().isEmpty());
    QVERIFY(f.get<QLineEdit>(QStringLiteral("txtCustomized_0"))->text().isEmpty());

    f.dialog->selectTab(1);
    for (int click = 0; click < 2; ++click)
        QTest::mouseClick(f.get<QLabel>(QStringLiteral("lblCopyright")), Qt::LeftButton);
    QCOMPARE(f.box(29)->text(), QStringLiteral("\u00A9 Agence"));

    QTest::mouseClick(f.label(20), Qt::LeftButton); // City set aside, then saved empty
    f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
    QVERIFY(f.saved().fields[20].isEmpty());
    QVERIFY(f.saved().customized[0].isEmpty());
}

void frmEditIPTCTest::tabKeysAndTheCalendar()
{
    TemplateValues values;
    values.fields[7] = QStringLiteral("20050422");
    Fixture f(values);
    f.open();
    auto *tabs = f.get<QTabBar>(QStringLiteral("TabStripIPTC"));
    QTest::keyClick(f.box(0), Qt::Key_F4);
    QCOMPARE(tabs->currentIndex(), 3);
    QVERIFY(f.get(QStringLiteral("FrameIPTC_3"))->isVisible());
    QVERIFY(!f.get(QStringLiteral("FrameIPTC_0"))->isVisible());
    QTest::keyClick(f.box(20), Qt::Key_F6);
    QCOMPARE(tabs->currentIndex(), 5);
    QTest::keyPress(f.box(20), Qt::Key_Alt);
    QTest::keyRelease(f.box(20), Qt::Key_Alt);
    QCOMPARE(tabs->currentIndex(), 0); // after the last tab, the first

    f.dialog->selectTab(4);
    auto *calendar = f.get<QCalendarWidget>(QStringLiteral("MonthView1"));
    f.get<QToolButton>(QStringLiteral("cmdDate_1"))->click();
    QVERIFY(calendar->isVisible());
    QCOMPARE(calendar->selectedDate(), QDate(2005, 4, 22));
    f.dialog->reject(); // Esc: only the calendar goes
    QVERIFY(!calendar->isVisible());
    QVERIFY(f.dialog->isVisible());
    f.get<QToolButton>(QStringLiteral("cmdDate_0"))->click();
    QCOMPARE(calendar->selectedDate(), QDate::currentDate());
    Q_EMIT calendar->clicked(QDate(2006, 1, 2));
    QVERIFY(!calendar->isVisible());
    QCOMPARE(f.box(13)->text(), QStringLiteral("02/01/2006"));
    f.get<QToolButton>(QStringLiteral("cmdDate_0"))->click();
    f.get<QToolButton>(QStringLiteral("cmdDate_0"))->click(); // a second click hides it
    QVERIFY(!calendar->isVisible());
}

void frmEditIPTCTest::spellCheckButtonsFollowTheSpellingService()
{
    TemplateValues values;
    values.fields[30] = QStringLiteral("colour");
    values.fields[kKeywordsIndex] = QStringLiteral("ligth");
    Fixture f(values);
    f.open();
    QVERIFY(f.get(QStringLiteral("cmdSpellChecker_30"))->isEnabled());
    QVERIFY(f.get(QStringLiteral("cmdSpellChecker_6"))->isEnabled());
    QVERIFY(!f.get(QStringLiteral("cmdSpellChecker_20"))->isEnabled()); // empty field
    QVERIFY(f.get(QStringLiteral("cmdSpellCheckerAll"))->isEnabled());
    f.box(20)->setText(QStringLiteral("Brest"));
    QVERIFY(f.get(QStringLiteral("cmdSpellChecker_20"))->isEnabled());
    f.dialog->setListEntry(kKeywordsIndex, 0, QStringLiteral("light"));
    QCOMPARE(f.dialog->listEntries(kKeywordsIndex), QStringList{QStringLiteral("light")});

    f.c.context.spelling.setOpener({});
    QVERIFY(!f.c.context.spelling.start()); // the service is off for the rest of the run
    f.open();
    for (const char *name : {"cmdSpellChecker_30", "cmdSpellChecker_6", "cmdSpellChecker_20", "cmdSpellCheckerAll",
                             "cmdSpellCheckerCustomized_0"})
        QVERIFY2(!f.get(QLatin1String(name))->isEnabled(), name);
}

// Each tab's labels are measured where the user reads them, on the tab shown; grown, the boxes of
// words and the lists take the room while one-line boxes keep their height and dates their width.
void frmEditIPTCTest::theFieldsGrowWithTheDialogAndNoFrenchLabelIsCut()
{
    Fixture f;
    f.c.context.language.load(programFolder::languageFolder(), QStringLiteral("French"));
    f.c.context.settings.readIPTC = true;
    f.c.context.settings.editCustomizedFields = true;
    f.open();
    QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
    const char *measured[] = {"txtIPTC_30", "txtIPTC_0", "txtIPTC_7", "lstKeywords", "txtCustomized_0"};
    std::map<QString, QSize> opened;
    const auto visitTabs = [&f](const std::function<void()> &onEachTab) {
        for (int tab = 1; tab <= 6; ++tab) {
            f.dialog->selectTab(tab);
            QCoreApplication::processEvents();
            onEachTab();
        }
    };
    visitTabs([&] {
        for (QLabel *label : f.dialog->findChildren<QLabel *>()) {
            // The header's title is shortened on purpose; wrapped texts take more lines instead.
            if (label->isVisible() && !label->text().isEmpty() && !label->wordWrap()
                && label->objectName() != QLatin1String("lblTemplate"))
                QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                         qPrintable(label->objectName() + u' ' + label->text()));
        }
        for (const char *name : measured)
            if (f.get(QLatin1String(name))->isVisible())
                opened[QLatin1String(name)] = f.get(QLatin1String(name))->size();
    });
    QCOMPARE(opened.size(), std::size(measured));

    f.dialog->resize(f.dialog->size() * 1.4);
    std::map<QString, QSize> grown;
    visitTabs([&] {
        for (const char *name : measured)
            if (f.get(QLatin1String(name))->isVisible())
                grown[QLatin1String(name)] = f.get(QLatin1String(name))->size();
    });
    const auto was = [&opened](const char *name) { return opened[QLatin1String(name)]; };
    const auto is = [&grown](const char *name) { return grown[QLatin1String(name)]; };
    QVERIFY(is("txtIPTC_30").width() > was("txtIPTC_30").width());
    QVERIFY(is("txtIPTC_30").height() > was("txtIPTC_30").height());
    QVERIFY(is("txtIPTC_0").width() > was("txtIPTC_0").width());
    QCOMPARE(is("txtIPTC_0").height(), was("txtIPTC_0").height());
    QCOMPARE(is("txtIPTC_7"), was("txtIPTC_7"));
    QVERIFY(is("lstKeywords").width() > was("lstKeywords").width());
    QVERIFY(is("lstKeywords").height() > was("lstKeywords").height());
    QVERIFY(is("txtCustomized_0").width() > was("txtCustomized_0").width());
}

QTEST_MAIN(frmEditIPTCTest)
#include "frmEditIPTCTest.moc"
