// Window tests of the search options: the translation's three directions read apart, in both
// packs, whether or not a translations file names its languages.
#include "CaptioningTestSupport.h"
#include "LayoutCheck.h"

#include "core/session/Feedback.h"
#include "ui/frmSearchOptions.h"

#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>

using namespace zelvarion;
using namespace zelvarion::test;

class frmSearchOptionsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theThreeDirectionsReadApart_data();
    void theThreeDirectionsReadApart();
};

void frmSearchOptionsTest::theThreeDirectionsReadApart_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    for (const char *language : {"English", "French"}) {
        QTest::newRow(language) << QString::fromLatin1(language) << QString() << QString();
        QTest::newRow((QByteArray(language) + " with a file").constData())
            << QString::fromLatin1(language) << QStringLiteral("English") << QStringLiteral("French");
    }
}

void frmSearchOptionsTest::theThreeDirectionsReadApart()
{
    QFETCH(QString, language);
    QFETCH(QString, first);
    QFETCH(QString, second);
    CaptioningContext c;
    QVERIFY(c.context.language.load(programFolder::languageFolder(), language));
    c.context.translations.language1 = first;
    c.context.translations.language2 = second;
    frmSearchOptions dialog(c.context, c.feedback, nullptr);
    QSet<QString> captions;
    for (int i = 0; i < 3; ++i) {
        const QString caption = control<QRadioButton>(dialog, QStringLiteral("optTranslation_%1").arg(i))->text();
        QVERIFY(caption.contains(QRegularExpression(QStringLiteral("\\w"))));
        captions.insert(caption);
    }
    QCOMPARE(captions.size(), 3);
    if (!first.isEmpty()) {
        const QString forward = control<QRadioButton>(dialog, QStringLiteral("optTranslation_1"))->text();
        QVERIFY(forward.indexOf(first) < forward.indexOf(second));
    }
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QStringList faults = layoutFaults(&dialog);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

QTEST_MAIN(frmSearchOptionsTest)
#include "frmSearchOptionsTest.moc"
