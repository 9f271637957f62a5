// The dialog that asks for a new name, in both packs: its title whole in the title bar, its prompt
// and a long name whole in their controls, at the size it opens and when made larger.
#include "CaptioningTestSupport.h"
#include "LayoutCheck.h"

#include "ui/NameQuestion.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>

using namespace zelvarion;
using namespace zelvarion::test;

class NameQuestionTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void titlePromptAndNameShowWhole_data();
    void titlePromptAndNameShowWhole();
    void answersTheNameTypedOrNothing();
};

void NameQuestionTest::titlePromptAndNameShowWhole_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("selection");
    for (const char *language : {"English", "French"}) {
        QTest::newRow((QByteArray(language) + " image").constData()) << QString::fromLatin1(language) << false;
        QTest::newRow((QByteArray(language) + " selection").constData()) << QString::fromLatin1(language) << true;
    }
}

void NameQuestionTest::titlePromptAndNameShowWhole()
{
    QFETCH(QString, language);
    QFETCH(bool, selection);
    CaptioningContext c;
    QVERIFY(c.context.language.load(programFolder::languageFolder(), language));
    const QString prompt = c.message(selection ? Message::RenameSelectionPrompt : Message::NewFileNamePrompt);
    const QString title = selection ? prompt : c.text(InterfaceText::RenameMenuItem).remove(u'&');
    const QString name = QStringLiteral("Canon EOS-1D Mark III, harbour of Brest at dawn (via a raw converter).jpg");
    const std::unique_ptr<QInputDialog> dialog = nameDialog(nullptr, title, prompt, name);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    QFont bold = dialog->font();
    bold.setBold(true);
    auto *box = dialog->findChild<QLineEdit *>();
    QVERIFY(box);
    QCOMPARE(box->text(), name);
    for (const QSize size : {dialog->size(), dialog->size() * 1.5}) {
        dialog->resize(size);
        QCoreApplication::processEvents();
        QVERIFY(dialog->width() >= QFontMetrics(bold).horizontalAdvance(title) + 100);
        QVERIFY(box->width() > box->fontMetrics().horizontalAdvance(name));
        const QStringList faults = layoutFaults(dialog.get());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }
}

void NameQuestionTest::answersTheNameTypedOrNothing()
{
    CaptioningContext c;
    for (const bool accept : {true, false}) {
        QTimer::singleShot(0, [accept] {
            auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->findChild<QLineEdit *>()->setText(QStringLiteral("harbour.jpg"));
            accept ? dialog->accept() : dialog->reject();
        });
        const QString answer = askForName(nullptr, QStringLiteral("Rename"), QStringLiteral("New name:"), QStringLiteral("a.jpg"));
        QCOMPARE(answer, accept ? QStringLiteral("harbour.jpg") : QString());
    }
}

QTEST_MAIN(NameQuestionTest)
#include "NameQuestionTest.moc"
