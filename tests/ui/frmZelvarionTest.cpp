// Window tests of the main window on the real widgets: the start-up branches, the close
// sequence, the setting toggles, the language switch and the layout rule.
#include "WindowTestSupport.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/session/PackText.h"
#include "core/session/AppInfo.h"
#include "core/session/Result.h"
#include "core/catalogue/CatalogueWriteLock.h"
#include "core/captioning/UndoJournal.h"
#include "core/iptc/IptcReader.h"
#include "core/iptc/IptcWriter.h"
#include "support/TempFolder.h"
#include "platform/IniFile.h"
#include "ui/frmAbout.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

QString iniValue(const ProgramFolderFixture &folder, const char *section, const char *key)
{
    return IniFile(folder.file(QStringLiteral("Zelvarion.ini")))
        .read(QLatin1String(section), QLatin1String(key))
        .value_or(QStringLiteral("<absent>"));
}

} // namespace

class frmZelvarionTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void captioningMenusOpenTheirDialogs();
    void undoLastTemplateRunAsksThenRestoresAndReports();
    void firstStartCreatesTheCatalogueAndRemembersIt();
    void closeWritesGeometryAndHistoryAndRestartRestoresThem();
    void missingRememberedCatalogueOpensTheDatabaseDialogInstead();
    void rememberedFileThatIsNoCatalogueIsNeverOpenedAsOne();
    void existingCatalogueWithoutLastDbReportsEachTableAndStillOpens();
    void catalogueFailuresAreToldInTheChosenLanguage();
    void settingTogglesWriteAtOnce();
    void languageMenuListsPacksAndSwitchesCaptions();
    void layoutRuleKeepsTheDesignedWidthAndThePanel();
    void laterCommandsAreVisibleButDisabled();
    void databaseButtonAndMenuItemOpenTheDatabaseDialog();
    void translationsFileDecidesWhetherTheTranslationBoxShows();
    void aboutBoxNamesVersionEngineLibrariesAndSystem();
    void withoutLanguagePacksTheBuiltInEnglishCaptionsShow();
    void iconButtonsSayWhatTheyDoInTheChosenLanguage();
    void aboutBoxFollowsTheChosenLanguage();
    void helpWithoutTheGuideSaysWhatFailed();
    void maximisedWindowLeavesNoBlankBelowThePanel();
};

void frmZelvarionTest::firstStartCreatesTheCatalogueAndRemembersIt()
{
    ProgramFolderFixture folder;
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();

    QVERIFY(w->isEnabled());
    QCOMPARE(w->windowTitle(), applicationTitle());
    QCOMPARE(find<QLabel>(w, "lblCount")->text(), QStringLiteral("0"));
    QVERIFY(find<QTextEdit>(w, "rtfIPTC")->toPlainText().isEmpty());
    QVERIFY(started.feedback.messages.empty());
    const QString db = folder.file(QStringLiteral("Images.db"));
    QCOMPARE(catalogueObjects(db, QStringLiteral("table")),
             QStringList({"Folders", "Images", "Selections", "Templates", "Translations"}));
    QCOMPARE(catalogueObjects(db, QStringLiteral("index")),
             QStringList({"IndexCheckMark", "IndexImagesAllIPTC", "IndexImagesPath", "IndexTemplates",
                          "SelectionsIndex", "TranslationsIndex"}));
    QCOMPARE(iniValue(folder, "Configuration", "LastDB"), db);
    QCOMPARE(find<QLabel>(w, "lblDB")->text(), db);
    QVERIFY(find<QWidget>(w, "FrameHelp")->isVisibleTo(w)); // an empty catalogue shows the help
}

void frmZelvarionTest::closeWritesGeometryAndHistoryAndRestartRestoresThem()
{
    ProgramFolderFixture folder;
    {
        StartedWindow started;
        started.start();
        auto *history = find<QComboBox>(started.window.get(), "lstTxtSearch");
        for (int i = 1; i <= 12; ++i)
            history->addItem(QStringLiteral("words %1").arg(i));
        started.window->move(40, 30);
        started.window->resize(started.window->width(), 700);
        started.window->close();
    }
    QCOMPARE(iniValue(folder, "Search", "Contents12"), QStringLiteral("words 12"));
    QCOMPARE(iniValue(folder, "MainWindow", "Height"), QString::number(700 * 15));
    QCOMPARE(iniValue(folder, "MainWindow", "Width"), QString::number(715 * 15));

    StartedWindow again;
    again.start();
    auto *history = find<QComboBox>(again.window.get(), "lstTxtSearch");
    QCOMPARE(history->count(), 10);
    QCOMPARE(history->itemText(0), QStringLiteral("words 1"));
    QCOMPARE(history->itemText(9), QStringLiteral("words 10"));
    QCOMPARE(again.window->height(), 700);
    QCOMPARE(again.window->pos(), QPoint(40, 30));
    QVERIFY(again.feedback.messages.empty()); // the remembered catalogue opened quietly
}

void frmZelvarionTest::missingRememberedCatalogueOpensTheDatabaseDialogInstead()
{
    ProgramFolderFixture folder;
    const QString gone = folder.file(QStringLiteral("deleted.db"));
    folder.writeIni(QStringLiteral("[Configuration]\r\nLastDB=") + gone + QStringLiteral("\r\n"));
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();

    QCOMPARE(started.feedback.messages.size(), std::size_t(1));
    const auto &message = started.feedback.messages.front();
    QCOMPARE(message.icon, MessageIcon::Critical);
    const LanguagePack &pack = w->context().language;
    QVERIFY(!pack.message(1).isEmpty());
    QCOMPARE(message.text, pack.message(1) + u'\n' + gone + QStringLiteral("\n\n") + pack.message(2));
    QCOMPARE(started.databaseDialogOpenings, 1);
    QVERIFY(w->context().catalogue.path.isEmpty());
    QVERIFY(!QFile::exists(gone));
    QVERIFY(!QFile::exists(folder.file(QStringLiteral("Images.db"))));
    QVERIFY(w->isEnabled());
}

void frmZelvarionTest::rememberedFileThatIsNoCatalogueIsNeverOpenedAsOne()
{
    for (const bool database : {false, true}) {
        ProgramFolderFixture folder;
        const QString other = folder.file(QStringLiteral("other.db"));
        if (database) { // another program's database, such as the undo journal
            CatalogueDb db;
            db.path = other;
            QVERIFY(db.open());
            QCOMPARE(db.execute(QStringLiteral("create table Runs (Number integer);")), 0);
            db.close();
        } else {
            QFile text(other);
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write("plain text, not a database\n");
        }
        QFile file(other);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        folder.writeIni(QStringLiteral("[Configuration]\r\nLastDB=") + other + QStringLiteral("\r\n"));
        StartedWindow started;
        started.start();
        const LanguagePack &pack = started.window->context().language;
        QCOMPARE(started.feedback.texts(), QStringList{pack.message(Message::NotACatalogue) + u'\n' + other});
        QCOMPARE(started.databaseDialogOpenings, 1);
        QVERIFY(started.window->context().catalogue.path.isEmpty());
        QVERIFY(file.seek(0));
        QCOMPARE(file.readAll(), before); // no table was made in it
    }
}

void frmZelvarionTest::existingCatalogueWithoutLastDbReportsEachTableAndStillOpens()
{
    ProgramFolderFixture folder;
    {
        StartedWindow first;
        first.start(); // creates Images.db
    }
    QFile::remove(folder.file(QStringLiteral("Zelvarion.ini")));
    StartedWindow started;
    started.start();
    const QStringList texts = started.feedback.texts();
    QCOMPARE(texts.size(), 5);
    const char *tables[] = {"Folders", "Images", "Templates", "Selections", "Translations"};
    for (int i = 0; i < 5; ++i) {
        QVERIFY2(texts[i].startsWith(QStringLiteral("Cannot create table %1\n").arg(QLatin1String(tables[i]))),
                 qPrintable(texts[i]));
        QVERIFY(texts[i].contains(QStringLiteral("already exists")));
    }
    QCOMPARE(iniValue(folder, "Configuration", "LastDB"), folder.file(QStringLiteral("Images.db")));
    QCOMPARE(find<QLabel>(started.window.get(), "lblCount")->text(), QStringLiteral("0"));
}

void frmZelvarionTest::catalogueFailuresAreToldInTheChosenLanguage()
{
    ProgramFolderFixture folder;
    {
        StartedWindow first;
        first.start(); // creates Images.db
    }
    folder.writeIni(QStringLiteral("[Configuration]\r\nLanguage=French\r\n")); // no LastDB: the tables again
    StartedWindow started;
    started.start();
    const LanguagePack &french = started.window->context().language;
    const QStringList texts = started.feedback.texts();
    QCOMPARE(texts.size(), 5);
    const QString folders = fillPlaceholders(french.message(Message::CannotCreateTable), {QStringLiteral("Folders")});
    QVERIFY(!french.message(Message::CannotCreateTable).startsWith(QStringLiteral("Cannot")));
    QVERIFY2(texts[0].startsWith(folders + u'\n'), qPrintable(texts[0]));
    QVERIFY(texts[0].contains(QStringLiteral("already exists"))); // the engine's own words stay as it said them
}

void frmZelvarionTest::settingTogglesWriteAtOnce()
{
    ProgramFolderFixture folder;
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    QVERIFY(!find<QAction>(w, "mnuDisplayImage")->isChecked());
    QVERIFY(find<QAction>(w, "mnuUseThumbnails")->isChecked()); // on by default

    find<QAction>(w, "mnuDisplayImage")->trigger();
    QCOMPARE(iniValue(folder, "Configuration", "DisplayImage"), QStringLiteral("1"));
    QVERIFY(w->context().settings.displayImage);
    find<QAction>(w, "mnuUseThumbnails")->trigger();
    QCOMPARE(iniValue(folder, "Configuration", "UseThumbnails"), QStringLiteral("0"));
    find<QAction>(w, "mnuStayOnTop")->trigger();
    QCOMPARE(iniValue(folder, "Configuration", "StayOnTop"), QStringLiteral("1"));
    QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(w->isVisible());
    find<QAction>(w, "mnuStayOnTop")->trigger();
    QCOMPARE(iniValue(folder, "Configuration", "StayOnTop"), QStringLiteral("0"));
    QVERIFY(!(w->windowFlags() & Qt::WindowStaysOnTopHint));
}

void frmZelvarionTest::languageMenuListsPacksAndSwitchesCaptions()
{
    ProgramFolderFixture folder;
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    QVERIFY(find<QAction>(w, "mnuLanguage", 0)->isChecked());
    QCOMPARE(find<QAction>(w, "mnuLanguage", 1)->text(), QString::fromUtf8("Français")); // the pack's own name
    QCOMPARE(find<QAction>(w, "mnuLanguage", 1)->data().toString(), QStringLiteral("French"));
    QVERIFY(find<QAction>(w, "mnuLanguage", 1)->isVisible());
    QVERIFY(!find<QAction>(w, "mnuLanguage", 2)->isVisible());
    const QString english = find<QPushButton>(w, "cmdSearch")->text();
    QCOMPARE(find<QComboBox>(w, "lstFields")->count(), 35);
    QCOMPARE(find<QComboBox>(w, "lstSortedBy")->count(), 41);

    find<QAction>(w, "mnuLanguage", 1)->trigger();
    QCOMPARE(iniValue(folder, "Configuration", "Language"), QStringLiteral("French"));
    QVERIFY(find<QAction>(w, "mnuLanguage", 1)->isChecked());
    QVERIFY(!find<QAction>(w, "mnuLanguage", 0)->isChecked());
    QCOMPARE(find<QPushButton>(w, "cmdSearch")->text(), w->context().language.text(11));
    QVERIFY(find<QPushButton>(w, "cmdSearch")->text() != english);
    QCOMPARE(find<QComboBox>(w, "lstFields")->itemText(0), w->context().language.text(31));

    find<QAction>(w, "mnuLanguage", 0)->trigger();
    QCOMPARE(find<QPushButton>(w, "cmdSearch")->text(), english);
    QCOMPARE(iniValue(folder, "Configuration", "Language"), QStringLiteral("English"));
}

void frmZelvarionTest::layoutRuleKeepsTheDesignedWidthAndThePanel()
{
    ProgramFolderFixture folder;
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    auto *panel = find<QTextEdit>(w, "rtfIPTC");
    w->resize(900, 800);
    QCOMPARE(w->width(), 900); // the window grows, the panel with it
    QCOMPARE(panel->mapTo(w, QPoint(0, panel->height())).y(), 800 - 3);
    w->resize(600, 800);
    QCOMPARE(w->width(), 715); // never narrower than designed
    w->resize(715, 200);
    QVERIFY(w->height() > 200);
    QVERIFY(panel->height() > 0);
}

void frmZelvarionTest::laterCommandsAreVisibleButDisabled()
{
    ProgramFolderFixture folder;
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    // Paging waits for a result of more than one page; a field list for its box.
    for (const char *name : {"cmdBegin", "cmdEnd", "lstFields", "optSortedBy_0"}) {
        auto *control = find<QWidget>(w, name);
        QVERIFY2(control->isVisibleTo(w) && !control->isEnabled(), name);
    }
    QVERIFY(find<QPushButton>(w, "cmdSearch")->isEnabled());
    for (const char *name : {"mnuApplyTemplate", "mnuStatistics", "mnuCopyImages"}) {
        auto *item = find<QAction>(w, name);
        QVERIFY(!item->isEnabled() && !item->text().isEmpty());
    }
    // The marks, the console and the image commands are always there.
    for (const char *name : {"mnuDisplaySelected", "mnuRemoveSelection", "mnuSelections", "mnuSelectResult",
                             "mnuUnselectResult", "mnuSearchDoubles", "mnuSQLQuery", "mnuDelete", "mnuRename",
                             "mnuProperties"})
        QVERIFY2(find<QAction>(w, name)->isEnabled(), name);
    QVERIFY(find<QAction>(w, "mnuSearchOptions")->isEnabled());
    QVERIFY(find<QPushButton>(w, "cmdDatabase")->isEnabled());
    QVERIFY(find<QAction>(w, "mnuBase")->isEnabled());
    QCOMPARE(w->findChildren<QLabel *>(QRegularExpression(QStringLiteral("^lblImage_\\d$"))).size(), 10);
}

void frmZelvarionTest::databaseButtonAndMenuItemOpenTheDatabaseDialog()
{
    ProgramFolderFixture folder;
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    QCOMPARE(started.databaseDialogOpenings, 0);
    find<QPushButton>(w, "cmdDatabase")->click();
    QCOMPARE(started.databaseDialogOpenings, 1);
    find<QAction>(w, "mnuBase")->trigger();
    QCOMPARE(started.databaseDialogOpenings, 2);
}

void frmZelvarionTest::translationsFileDecidesWhetherTheTranslationBoxShows()
{
    ProgramFolderFixture folder;
    {
        StartedWindow started;
        started.start();
        frmZelvarion *w = started.window.get();
        QVERIFY(!find<QCheckBox>(w, "chkTranslation")->isVisibleTo(w));
        QCOMPARE(find<QCheckBox>(w, "chkWholeWord")->y(), find<QCheckBox>(w, "chkTranslation")->y());
        QVERIFY(!w->context().translations.loaded);
    }
    folder.write(QStringLiteral("Zelvarion-Language/Translations.txt"),
                 QByteArrayLiteral("English/French\r\n* a comment\r\nhouse/maison\r\ntree/arbre\r\n"));
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    QVERIFY(find<QCheckBox>(w, "chkTranslation")->isVisibleTo(w));
    QVERIFY(find<QCheckBox>(w, "chkWholeWord")->y() < find<QCheckBox>(w, "chkTranslation")->y());
    QVERIFY(w->context().translations.loaded);
    QCOMPARE(w->context().translations.language2, QStringLiteral("French"));
    CatalogueDb db;
    db.path = folder.file(QStringLiteral("Images.db"));
    QVERIFY(db.open());
    QCOMPARE(db.execute(QStringLiteral("select word2 from Translations where word1 = 'tree';")), 0);
    QCOMPARE(db.cell(0, 1), QStringLiteral("arbre"));
}

void frmZelvarionTest::aboutBoxNamesVersionEngineLibrariesAndSystem()
{
    ProgramFolderFixture folder;
    StartedWindow started;
    started.start();
    const QString text = frmAbout::aboutText(started.window->context());
    QVERIFY(text.startsWith(applicationTitle()));
    QVERIFY(text.contains(QStringLiteral("SQLite 3.")));
    QVERIFY(text.contains(QStringLiteral("libvips 8.")));
    QVERIFY(text.contains(QStringLiteral("Qt 6.")));
    QVERIFY(!started.window->context().osDescription.isEmpty());
    QVERIFY(text.contains(started.window->context().osDescription));
}

void frmZelvarionTest::withoutLanguagePacksTheBuiltInEnglishCaptionsShow()
{
    ProgramFolderFixture folder(false);
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    LanguagePack english;
    QVERIFY(english.load(QStringLiteral(ZELVARION_SOURCE_DIR "/data/Zelvarion-Language"), QStringLiteral("English")));
    QVERIFY(!english.text(InterfaceText::SearchButton).isEmpty());
    QCOMPARE(find<QPushButton>(w, "cmdSearch")->text(), english.text(InterfaceText::SearchButton));
    QCOMPARE(find<QAction>(w, "mnuSearchOptions")->text(), english.text(InterfaceText::SearchOptionsMenuItem));
    QCOMPARE(find<QComboBox>(w, "lstFields")->itemText(34), english.text(InterfaceText::FieldLabelCustomized));
    QCOMPARE(find<QAction>(w, "mnuLanguage", 0)->text(), QStringLiteral("English"));
    QVERIFY(!find<QAction>(w, "mnuLanguage", 1)->isVisible());
}

void frmZelvarionTest::iconButtonsSayWhatTheyDoInTheChosenLanguage()
{
    ProgramFolderFixture folder;
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    const std::pair<const char *, InterfaceText> tips[] = {
        {"cmdErase", InterfaceText::EraseHistoryQuestion}, {"cmdBegin", InterfaceText::FirstPageTip},
        {"cmdBack", InterfaceText::PreviousPageTip}, {"cmdForward", InterfaceText::NextPageTip},
        {"cmdEnd", InterfaceText::LastPageTip}};
    QStringList english;
    for (const auto &[name, key] : tips) {
        english << find<QWidget>(w, name)->toolTip();
        QVERIFY2(!english.back().isEmpty(), name);
    }
    find<QAction>(w, "mnuLanguage", 1)->trigger();
    for (std::size_t i = 0; i < std::size(tips); ++i) {
        const QString french = find<QWidget>(w, tips[i].first)->toolTip();
        QCOMPARE(french, w->context().language.text(tips[i].second));
        QVERIFY2(french != english[qsizetype(i)], tips[i].first);
    }
}

void frmZelvarionTest::aboutBoxFollowsTheChosenLanguage()
{
    ProgramFolderFixture folder;
    folder.writeIni(QStringLiteral("[Configuration]\r\nLanguage=French\r\n"));
    StartedWindow started;
    started.start();
    const LanguagePack &french = started.window->context().language;
    const QString text = frmAbout::aboutText(started.window->context());
    for (InterfaceText key : {InterfaceText::AboutDescription, InterfaceText::AboutEngineLabel,
                              InterfaceText::AboutLibrariesLabel, InterfaceText::AboutSystemLabel}) {
        QVERIFY(!french.text(key).isEmpty());
        QVERIFY2(text.contains(french.text(key)), qPrintable(french.text(key)));
    }
    QVERIFY(!text.contains(QStringLiteral("System:")));
    frmAbout about(started.window->context(), started.window.get());
    QCOMPARE(about.windowTitle(), withoutAccelerator(french.text(InterfaceText::AboutMenuItem)));
}

void frmZelvarionTest::helpWithoutTheGuideSaysWhatFailed()
{
    ProgramFolderFixture folder; // holds no user guide
    StartedWindow started;
    started.start();
    find<QAction>(started.window.get(), "mnuHelp")->trigger();
    QCOMPARE(started.feedback.messages.size(), std::size_t(1));
    const LanguagePack &pack = started.window->context().language;
    QCOMPARE(started.feedback.messages.front().text,
             pack.message(Message::HelpFileMissing) + u'\n' + folder.file(QStringLiteral("help/index.html")));
    QVERIFY(!pack.message(Message::HelpFileMissing).isEmpty());
}

// The window can grow, so it offers to be maximised; maximised, it gets the detail panel down
// to the bottom edge.
void frmZelvarionTest::maximisedWindowLeavesNoBlankBelowThePanel()
{
    ProgramFolderFixture folder;
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    QVERIFY(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    QVERIFY(w->windowFlags() & Qt::CustomizeWindowHint);
    QVERIFY(w->windowFlags() & Qt::WindowMinimizeButtonHint);
    w->resize(w->width(), 560);
    w->showMaximized();
    QTRY_VERIFY(w->height() != 560);
    auto *panel = find<QTextEdit>(w, "rtfIPTC");
    QTRY_COMPARE(panel->mapTo(w, QPoint(0, panel->height())).y(), w->height() - 3);
}

void frmZelvarionTest::captioningMenusOpenTheirDialogs()
{
    ProgramFolderFixture folder;
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    const auto opened = [w](const char *item) {
        QString name;
        QTimer::singleShot(0, [&name] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                name = dialog->objectName();
                dialog->close();
            }
        });
        find<QAction>(w, item)->trigger();
        return name;
    };
    QCOMPARE(opened("mnuDefineTemplates"), QStringLiteral("frmTemplates"));
    QCOMPARE(opened("mnuEditIPTCOptions"), QStringLiteral("frmEditIPTCOptions"));
    QVERIFY(!find<QAction>(w, "mnuApplyTemplate")->isEnabled()); // no result yet
    QStringList values(48, QStringLiteral("''"));
    values[0] = QStringLiteral("'/photos/'");
    values[1] = QStringLiteral("'quay.jpg'");
    values[32] = QStringLiteral("'The quay at night'");
    CatalogueDb db;
    db.path = folder.file(QStringLiteral("Images.db"));
    QVERIFY(db.open());
    QCOMPARE(db.execute(QStringLiteral("insert into Images values(%1);").arg(values.join(u','))), 0);
    db.close();
    find<QComboBox>(w, "lstTxtSearch")->setCurrentText(QStringLiteral("quay"));
    find<QPushButton>(w, "cmdSearch")->click();
    QVERIFY(find<QAction>(w, "mnuApplyTemplate")->isEnabled());
    QCOMPARE(opened("mnuApplyTemplate"), QStringLiteral("frmApplyTemplate"));
    find<QComboBox>(w, "lstTxtSearch")->setCurrentText(QStringLiteral("nothing like it"));
    find<QPushButton>(w, "cmdSearch")->click();
    QVERIFY(!find<QAction>(w, "mnuApplyTemplate")->isEnabled()); // an empty result
}

// A run recorded in the journal beside the catalogue, as the apply dialog records it.
void frmZelvarionTest::undoLastTemplateRunAsksThenRestoresAndReports()
{
    ProgramFolderFixture folder;
    TempFolder images;
    QVERIFY(QFile::copy(testDataFile(QStringLiteral("iptc/pillow/Tests/images/iptc.jpg")), images.file(QStringLiteral("a.jpg"))));
    QFile::setPermissions(images.file(QStringLiteral("a.jpg")), QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray before = images.read(QStringLiteral("a.jpg"));
    StartedWindow started;
    started.start();
    frmZelvarion *w = started.window.get();
    const LanguagePack &language = w->context().language;
    UndoJournal journal(UndoJournal::pathBeside(folder.file(QStringLiteral("Images.db"))));
    QVERIFY(journal.startRun(QStringLiteral("Shoot"), QStringLiteral("apply")));
    IptcWriteOptions options;
    options.recorder = &journal;
    IptcFieldSet values = readImageIptc(images.file(QStringLiteral("a.jpg")), QStringLiteral("Field")).fields;
    values.values[20] = QStringLiteral("Paris");
    QVERIFY(writeImageIptc(images.file(QStringLiteral("a.jpg")), values, {}, {}, options).written);
    journal.finishRun();
    const QByteArray after = images.read(QStringLiteral("a.jpg"));
    QVERIFY(after != before);

    RecordingFeedback &feedback = started.feedback;
    feedback.answers = {false};
    find<QAction>(w, "mnuUndoTemplateRun")->trigger();
    QCOMPARE(feedback.questions, QStringList{QStringLiteral("Undo the last template run (template \"Shoot\", 1 file)? Each "
                                                            "file still as the run left it gets its old content back.")});
    QCOMPARE(images.read(QStringLiteral("a.jpg")), after);
    {
        // Another command on the catalogue meanwhile (a run of the command line): refused, said why.
        CatalogueWriteLock other(w->context().catalogue.path);
        QVERIFY(other.takeOrRefuse(feedback, language));
        feedback.answers = {true};
        find<QAction>(w, "mnuUndoTemplateRun")->trigger();
        QCOMPARE(images.read(QStringLiteral("a.jpg")), after);
        QCOMPARE(feedback.messages.back().text,
                 language.message(Message::CatalogueBusyRefused).replace(u'#', w->context().catalogue.path));
    }
    feedback.answers = {true};
    find<QAction>(w, "mnuUndoTemplateRun")->trigger();
    QCOMPARE(images.read(QStringLiteral("a.jpg")), before);
    QVERIFY(!feedback.messages.empty());
    QCOMPARE(feedback.messages.back().text,
             countedText(language, language.message(Message::UndoTemplateRunReport), {{u'#', 1}, {u'%', 0}}));
    find<QAction>(w, "mnuUndoTemplateRun")->trigger(); // nothing left: said, not asked
    QCOMPARE(feedback.questions.size(), 3);
    QCOMPARE(feedback.messages.back().text, language.text(InterfaceText::NoTemplateRunToUndo));
}

QTEST_MAIN(frmZelvarionTest)
#include "frmZelvarionTest.moc"
