// The window wholly in the language of the pack in use: the toolkit's own texts (message-box
// buttons, file dialogs, the calendar), dates and numbers, and the Language menu's names.
#include "WindowTestSupport.h"

#include "core/search/FileSizeText.h"
#include "platform/IniFile.h"

#include <QAbstractButton>
#include <QAction>
#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

QString iniValue(const ProgramFolderFixture &folder, const char *section, const char *key)
{
    return IniFile(folder.file(QStringLiteral("Zelvarion.ini")))
        .read(QLatin1String(section), QLatin1String(key))
        .value_or(QStringLiteral("<absent>"));
}

QString yesNoButtons()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"), QMessageBox::Yes | QMessageBox::No);
    return box.button(QMessageBox::Yes)->text() + u'/' + box.button(QMessageBox::No)->text();
}

QString labelOf(const QFileDialog &dialog, const char *name)
{
    const auto *label = dialog.findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("(none)");
}

QString monthShown(int month)
{
    QCalendarWidget calendar;
    calendar.setCurrentPage(2026, month);
    const auto *button = calendar.findChild<QToolButton *>(QStringLiteral("qt_calendar_monthbutton"));
    return button ? button->text() : QStringLiteral("(none)");
}

} // namespace

class WindowLanguageTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void toolkitTextsDatesAndNumbersFollowThePack();
    void languageMenuNamesEachPackInItsOwnLanguage();
};

void WindowLanguageTest::toolkitTextsDatesAndNumbersFollowThePack()
{
    ProgramFolderFixture folder;
    folder.writeIni(QStringLiteral("[Configuration]\r\nLanguage=French\r\n"));
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();

    QCOMPARE(yesNoButtons(), QStringLiteral("&Oui/&Non"));
    {
        QFileDialog dialog(w);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        QCOMPARE(labelOf(dialog, "lookInLabel"), u8("Voir dans :"));
        QCOMPARE(labelOf(dialog, "fileNameLabel"), u8("&Nom de fichier :"));
        QCOMPARE(labelOf(dialog, "fileTypeLabel"), u8("Fichiers de type :"));
        const auto *buttons = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        QVERIFY(buttons);
        QCOMPARE(buttons->button(QDialogButtonBox::Save)->text(), u8("&Enregistrer"));
    }
    QCOMPARE(monthShown(6), u8("juin"));
    QCOMPARE(monthShown(12), u8("décembre"));
    QCOMPARE(QLocale().toString(QDate(2026, 12, 9), QLocale::ShortFormat), QStringLiteral("09/12/2026"));
    const SizeUnits units{QStringLiteral("octets"), QStringLiteral("Ko"), QStringLiteral("Mo"), QStringLiteral("Go")};
    const QString size = formatFileSize(7'707'000, units);
    QVERIFY2(size.startsWith(QStringLiteral("7,35 Mo")), qPrintable(size));
    QVERIFY2(size.contains(QStringLiteral("7") + QLocale().groupSeparator() + QStringLiteral("707")), qPrintable(size));
    QVERIFY(QLocale().groupSeparator() != u",");

    // Back to English: the toolkit's texts and the numbers follow at once.
    find<QAction>(w, "mnuLanguage", 0)->trigger();
    QCOMPARE(yesNoButtons(), QStringLiteral("&Yes/&No"));
    QCOMPARE(monthShown(6), QStringLiteral("June"));
    QVERIFY2(formatFileSize(7'707'000, units).startsWith(QStringLiteral("7.35 Mo (7,707,000")),
             qPrintable(formatFileSize(7'707'000, units)));
}

void WindowLanguageTest::languageMenuNamesEachPackInItsOwnLanguage()
{
    ProgramFolderFixture folder;
    folder.write(QStringLiteral("Zelvarion-Language/Deutsch.lng"), "[Interface]\r\n1=&Datei\r\n");
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    QCOMPARE(find<QAction>(w, "mnuLanguage", 1)->text(), QStringLiteral("Deutsch")); // it names no language
    QCOMPARE(find<QAction>(w, "mnuLanguage", 2)->text(), u8("Français"));
    find<QAction>(w, "mnuLanguage", 2)->trigger();
    QCOMPARE(iniValue(folder, "Configuration", "Language"), QStringLiteral("French"));
    QVERIFY(find<QAction>(w, "mnuLanguage", 2)->isChecked());
    QCOMPARE(QLocale().name(), QStringLiteral("fr_FR"));
    find<QAction>(w, "mnuLanguage", 1)->trigger();
    QCOMPARE(iniValue(folder, "Configuration", "Language"), QStringLiteral("Deutsch"));
    QCOMPARE(QLocale().language(), QLocale::German); // the language its file is named after
    QCOMPARE(yesNoButtons(), QStringLiteral("&Ja/&Nein"));
}

QTEST_MAIN(WindowLanguageTest)
#include "WindowLanguageTest.moc"
