// Window tests of the edit dialog's spell checking with the system's English dictionary: the
// correction dialog is driven as a user would, and each corrected text must land in its own
// field, list entry or customized row; Cancel keeps what was corrected before it.
#include "CaptioningTestSupport.h"

#include "core/editing/FieldRules.h"
#include "platform/HunspellSpeller.h"
#include "ui/Controls.h"
#include "ui/frmEditIPTC.h"
#include "ui/frmSpelling.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <deque>
#include <functional>

using namespace zelvarion;
using namespace zelvarion::test;
using namespace zelvarion::controls;

namespace {

// Answers each correction dialog as it comes up, one step per unknown word, and notes the words
// offered and the tab shown at that moment. A dialog beyond the script is cancelled and counted.
class CorrectionScript
{
public:
    using Step = std::function<void(frmSpelling &)>;

    CorrectionScript(const frmEditIPTC &dialog, std::deque<Step> steps) : m_dialog(dialog), m_steps(std::move(steps))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start(5);
    }

    static Step change(const QString &to)
    {
        return [to](frmSpelling &d) {
            control<QLineEdit>(d, QStringLiteral("txtChangeTo"))->setText(to);
            control<QPushButton>(d, QStringLiteral("cmdChange"))->click();
        };
    }
    static Step press(const char *button)
    {
        return [button](frmSpelling &d) { control<QPushButton>(d, QLatin1String(button))->click(); };
    }

    QStringList words;
    QList<int> tabs;
    QList<bool> boldLabels; // whether the label of the text being checked was bold
    QString watchedLabel;
    int unexpected = 0;

private:
    void answer()
    {
        auto *shown = qobject_cast<frmSpelling *>(QApplication::activeModalWidget());
        if (!shown || !shown->isVisible())
            return;
        words << control<QLabel>(*shown, QStringLiteral("lblWord"))->text();
        tabs << control<QTabBar>(m_dialog, QStringLiteral("TabStripIPTC"))->currentIndex() + 1;
        if (!watchedLabel.isEmpty())
            boldLabels << control<QLabel>(m_dialog, watchedLabel)->font().bold();
        if (m_steps.empty()) {
            ++unexpected;
            press("cmdCancel")(*shown);
            return;
        }
        const Step step = m_steps.front();
        m_steps.pop_front();
        step(*shown);
    }

    const frmEditIPTC &m_dialog;
    std::deque<Step> m_steps;
    QTimer m_timer;
};

struct Fixture
{
    CaptioningContext c;
    TempFolder personal;
    std::unique_ptr<frmEditIPTC> dialog;

    explicit Fixture(const TemplateValues &values, bool customizedRows = false)
    {
        c.context.settings.editCustomizedFields = customizedRows;
        c.context.spelling.setOpener([this] {
            DictionaryChoice choice;
            choice.languagePack = QStringLiteral("English");
            choice.personalFolder = personal.path();
            return openHunspellSpeller(choice);
        });
        c.addTemplate(QStringLiteral("Harbour"), values);
        dialog = std::make_unique<frmEditIPTC>(c.context, c.feedback, QStringLiteral("Harbour"));
        dialog->show();
    }
    template <typename T = QWidget>
    T *get(const QString &name) { return control<T>(*dialog, name); }
    void click(const QString &button) { get<QToolButton>(button)->click(); }
    QString status() { return get<QLabel>(QStringLiteral("lblStatus"))->text(); }
};

const CorrectionScript::Step kCancel = CorrectionScript::press("cmdCancel");
const CorrectionScript::Step kIgnore = CorrectionScript::press("cmdIgnore");

} // namespace

class frmEditIPTCSpellingTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void oneFieldAndOneCustomizedRowTakeTheirCorrections();
    void aListIsCheckedEntryByEntryAndCancelKeepsTheEarlierEntries();
    void checkAllGoesTabByTabAndLeavesTheCustomizedRowsAlone();
    void aDictionaryThatCannotOpenTurnsEveryButtonOff();
};

void frmEditIPTCSpellingTest::oneFieldAndOneCustomizedRowTakeTheirCorrections()
{
    TemplateValues values;
    values.fields[30] = QStringLiteral("A bote in the harbor");
    values.fields[5] = QStringLiteral("Ligth");
    values.customized[2] = {QStringLiteral("120"), QStringLiteral("the ligth house")};
    Fixture f(values, true);
    {
        CorrectionScript script(*f.dialog, {CorrectionScript::change(QStringLiteral("boat"))});
        script.watchedLabel = QStringLiteral("lblIPTC_30");
        f.click(QStringLiteral("cmdSpellChecker_30"));
        QCOMPARE(script.words, QStringList{QStringLiteral("bote")});
        QCOMPARE(script.boldLabels, QList<bool>{true});
        QCOMPARE(script.unexpected, 0);
    }
    QCOMPARE(f.dialog->fieldText(30), QStringLiteral("A boat in the harbor"));
    QVERIFY(!f.get<QLabel>(QStringLiteral("lblIPTC_30"))->font().bold());
    QCOMPARE(f.dialog->fieldText(5), QStringLiteral("Ligth")); // only the field asked for
    {
        CorrectionScript script(*f.dialog, {CorrectionScript::change(QStringLiteral("light"))});
        script.watchedLabel = QStringLiteral("lblCustomized_2");
        f.click(QStringLiteral("cmdSpellCheckerCustomized_2"));
        QCOMPARE(script.words, QStringList{QStringLiteral("ligth")});
        QCOMPARE(script.boldLabels, QList<bool>{true});
    }
    QCOMPARE(f.get<QLineEdit>(QStringLiteral("txtCustomized_2"))->text(), QStringLiteral("the light house"));
    QCOMPARE(f.get<QLineEdit>(QStringLiteral("txtIndexCustomized_2"))->text(), QStringLiteral("120"));
    f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
    const TemplateRecord saved = *f.c.store().load(QStringLiteral("Harbour"));
    QCOMPARE(saved.fields[30], QStringLiteral("A boat in the harbor"));
    QCOMPARE(saved.customized[2], QStringLiteral("120/the light house"));
}

void frmEditIPTCSpellingTest::aListIsCheckedEntryByEntryAndCancelKeepsTheEarlierEntries()
{
    TemplateValues values;
    values.fields[kKeywordsIndex] = editing::joinedEntries({QStringLiteral("sea"), QStringLiteral("ligth"),
                                                             QStringLiteral("bote")});
    Fixture f(values);
    // An entry added after the dialog opened is checked with the others.
    f.get<QLineEdit>(QStringLiteral("rtfKeyword"))->setText(QStringLiteral("brigth"));
    f.get<QPushButton>(QStringLiteral("cmdAddKeyword"))->click();
    {
        CorrectionScript script(*f.dialog, {CorrectionScript::change(QStringLiteral("light")), kCancel});
        script.watchedLabel = QStringLiteral("lblKeyword");
        f.click(QStringLiteral("cmdSpellChecker_6"));
        QCOMPARE(script.words, (QStringList{QStringLiteral("ligth"), QStringLiteral("bote")}));
        QCOMPARE(script.boldLabels, (QList<bool>{true, true}));
        QCOMPARE(script.unexpected, 0);
    }
    QCOMPARE(f.dialog->listEntries(kKeywordsIndex),
             (QStringList{QStringLiteral("sea"), QStringLiteral("light"), QStringLiteral("bote"), QStringLiteral("brigth")}));
    QVERIFY(!f.get<QLabel>(QStringLiteral("lblKeyword"))->font().bold());
    {
        CorrectionScript script(*f.dialog, {kIgnore, CorrectionScript::change(QStringLiteral("bright"))});
        f.click(QStringLiteral("cmdSpellChecker_6"));
        QCOMPARE(script.words, (QStringList{QStringLiteral("bote"), QStringLiteral("brigth")}));
    }
    QCOMPARE(f.dialog->listEntries(kKeywordsIndex),
             (QStringList{QStringLiteral("sea"), QStringLiteral("light"), QStringLiteral("bote"), QStringLiteral("bright")}));
    f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
    QCOMPARE(splitList(f.c.store().load(QStringLiteral("Harbour"))->fields[kKeywordsIndex]),
             (QStringList{QStringLiteral("sea"), QStringLiteral("light"), QStringLiteral("bote"), QStringLiteral("bright")}));
}

void frmEditIPTCSpellingTest::checkAllGoesTabByTabAndLeavesTheCustomizedRowsAlone()
{
    TemplateValues values;
    values.fields[30] = QStringLiteral("The ligth");
    values.fields[kKeywordsIndex] = QStringLiteral("bote");
    values.fields[kSupplementalCategoryIndex] = QStringLiteral("brigth");
    values.fields[20] = QStringLiteral("sunsett town");
    values.fields[5] = QStringLiteral("wavess");
    values.customized[0] = {QStringLiteral("120"), QStringLiteral("ligth")};
    Fixture f(values); // customized rows are not edited: check-all passes them over
    {
        CorrectionScript script(*f.dialog, {CorrectionScript::change(QStringLiteral("light")),
                                            CorrectionScript::change(QStringLiteral("boat")),
                                            CorrectionScript::change(QStringLiteral("bright")), kCancel});
        f.click(QStringLiteral("cmdSpellCheckerAll"));
        QCOMPARE(script.words, (QStringList{QStringLiteral("ligth"), QStringLiteral("bote"), QStringLiteral("brigth"),
                                            QStringLiteral("sunsett")}));
        QCOMPARE(script.tabs, (QList<int>{1, 2, 3, 4}));
    }
    QCOMPARE(f.dialog->fieldText(30), QStringLiteral("The light"));
    QCOMPARE(f.dialog->listEntries(kKeywordsIndex), QStringList{QStringLiteral("boat")});
    QCOMPARE(f.dialog->listEntries(kSupplementalCategoryIndex), QStringList{QStringLiteral("bright")});
    QCOMPARE(f.dialog->fieldText(20), QStringLiteral("sunsett town"));
    QCOMPARE(f.get<QTabBar>(QStringLiteral("TabStripIPTC"))->currentIndex(), 0); // back on tab 1
    {
        CorrectionScript script(*f.dialog, {CorrectionScript::change(QStringLiteral("sunset")),
                                            CorrectionScript::change(QStringLiteral("waves"))});
        f.click(QStringLiteral("cmdSpellCheckerAll"));
        QCOMPARE(script.words, (QStringList{QStringLiteral("sunsett"), QStringLiteral("wavess")}));
        QCOMPARE(script.tabs, (QList<int>{4, 5}));
        QCOMPARE(script.unexpected, 0);
    }
    QCOMPARE(f.dialog->fieldText(20), QStringLiteral("sunset town"));
    QCOMPARE(f.dialog->fieldText(5), QStringLiteral("waves"));
    QCOMPARE(f.dialog->customizedText(0), QStringLiteral("ligth"));
}

void frmEditIPTCSpellingTest::aDictionaryThatCannotOpenTurnsEveryButtonOff()
{
    Fixture f(TemplateValues{}, true);
    f.click(QStringLiteral("cmdSpellCheckerAll"));
    QCOMPARE(f.status(), f.c.message(Message::NothingToCheck));
    f.dialog->setFieldText(30, QStringLiteral("The ligth"));
    f.get<QLineEdit>(QStringLiteral("rtfKeyword"))->setText(QStringLiteral("bote"));
    f.get<QPushButton>(QStringLiteral("cmdAddKeyword"))->click();
    f.get<QLineEdit>(QStringLiteral("txtIndexCustomized_1"))->setText(QStringLiteral("120"));
    f.get<QLineEdit>(QStringLiteral("txtCustomized_1"))->setText(QStringLiteral("ligth"));
    const auto buttons = {"cmdSpellChecker_30", "cmdSpellChecker_6", "cmdSpellCheckerCustomized_1", "cmdSpellCheckerAll"};
    for (const char *name : buttons)
        QVERIFY2(f.get(QLatin1String(name))->isEnabled(), name);

    f.c.context.spelling.setOpener([] { return std::unique_ptr<Speller>(); });
    CorrectionScript script(*f.dialog, {});
    f.click(QStringLiteral("cmdSpellChecker_30"));
    QCOMPARE(f.status(), f.c.message(Message::SpellerUnavailable));
    QVERIFY(!f.c.context.spelling.available());
    for (const char *name : buttons)
        QVERIFY2(!f.get(QLatin1String(name))->isEnabled(), name);
    f.get<QPlainTextEdit>(QStringLiteral("txtIPTC_31"))->setPlainText(QStringLiteral("More text"));
    QVERIFY(!f.get(QStringLiteral("cmdSpellChecker_31"))->isEnabled());
    f.dialog->spellCheckAll(); // a command reached another way does nothing either
    QCOMPARE(script.words, QStringList{});
    QCOMPARE(f.dialog->fieldText(30), QStringLiteral("The ligth"));
}

QTEST_MAIN(frmEditIPTCSpellingTest)
#include "frmEditIPTCSpellingTest.moc"
