// Window tests of the correction dialog with the system's English dictionary, driven as a user
// would: the unknown word lit, suggestions, Change, Change all, Ignore all, Add and Cancel.
#include "WindowTestSupport.h"

#include "core/session/LanguagePack.h"
#include "platform/HunspellSpeller.h"
#include "ui/frmSpelling.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

using namespace zelvarion;
using namespace zelvarion::test;

class frmSpellingTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void changeAndChangeAllCorrectTheText();
    void ignoreAllAndAddAcceptTheWord();
    void cancelKeepsTheCorrectionsMadeSoFar();

private:
    TempFolder m_personal;
    LanguagePack m_pack;
    std::unique_ptr<Speller> m_speller;
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
} // namespace

void frmSpellingTest::init()
{
    m_pack.load(QStringLiteral(ZELVARION_SOURCE_DIR "/data/Zelvarion-Language/"), QStringLiteral("English"));
    DictionaryChoice choice;
    choice.languagePack = QStringLiteral("English");
    choice.personalFolder = m_personal.path();
    m_speller = openHunspellSpeller(choice);
    QVERIFY(m_speller);
}

void frmSpellingTest::changeAndChangeAllCorrectTheText()
{
    frmSpelling dialog(*m_speller, QStringLiteral("The ligth is brigth, so brigth"), m_pack);
    QVERIFY(dialog.hasUnknownWord());
    QCOMPARE(control<QLabel>(dialog, "lblWord")->text(), QStringLiteral("ligth"));
    QVERIFY(control<QTextEdit>(dialog, "rtfText")->toHtml().contains(QStringLiteral("font-weight")));
    auto *suggestions = control<QListWidget>(dialog, "lstSuggestions");
    QVERIFY(!suggestions->findItems(QStringLiteral("light"), Qt::MatchExactly).isEmpty());
    suggestions->setCurrentItem(suggestions->findItems(QStringLiteral("light"), Qt::MatchExactly)[0]);
    QCOMPARE(control<QLineEdit>(dialog, "txtChangeTo")->text(), QStringLiteral("light"));
    control<QPushButton>(dialog, "cmdChange")->click();
    QCOMPARE(control<QLabel>(dialog, "lblWord")->text(), QStringLiteral("brigth"));
    control<QLineEdit>(dialog, "txtChangeTo")->setText(QStringLiteral("bright"));
    control<QPushButton>(dialog, "cmdChangeAll")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.correctedText(), QStringLiteral("The light is bright, so bright"));
}

void frmSpellingTest::ignoreAllAndAddAcceptTheWord()
{
    frmSpelling dialog(*m_speller, QStringLiteral("Kerlouan and Plouguerneau, Kerlouan"), m_pack);
    control<QPushButton>(dialog, "cmdIgnoreAll")->click();
    QCOMPARE(control<QLabel>(dialog, "lblWord")->text(), QStringLiteral("Plouguerneau"));
    control<QPushButton>(dialog, "cmdAdd")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted)); // the second Kerlouan is ignored too
    QCOMPARE(dialog.correctedText(), QStringLiteral("Kerlouan and Plouguerneau, Kerlouan"));
    QVERIFY(QFileInfo::exists(m_personal.file(QStringLiteral("personal-en_US.dic"))));
}

void frmSpellingTest::cancelKeepsTheCorrectionsMadeSoFar()
{
    DialogCorrector corrector(m_pack, nullptr);
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<frmSpelling *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        control<QLineEdit>(*dialog, "txtChangeTo")->setText(QStringLiteral("boat"));
        control<QPushButton>(*dialog, "cmdChange")->click();
        control<QPushButton>(*dialog, "cmdCancel")->click();
    });
    const Correction correction = corrector.correct(*m_speller, QStringLiteral("A bote on the sea, brigth"));
    QCOMPARE(correction.outcome, Correction::Outcome::Cancelled);
    QCOMPARE(correction.text, QStringLiteral("A boat on the sea, brigth"));
    const Correction clean = corrector.correct(*m_speller, QStringLiteral("A boat on the sea"));
    QCOMPARE(clean.outcome, Correction::Outcome::Finished); // no dialog for a text without unknown words
}

QTEST_MAIN(frmSpellingTest)
#include "frmSpellingTest.moc"
