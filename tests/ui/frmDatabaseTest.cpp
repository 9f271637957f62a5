// Window tests of the database dialog: select, new and compact, the folder list and the
// thumbnail options.
#include "WindowTestSupport.h"

#include "core/catalogue/CatalogueDb.h"
#include "platform/IniFile.h"
#include "ui/frmDatabase.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

QString lastDb(const ProgramFolderFixture &folder)
{
    return IniFile(folder.file(QStringLiteral("Zelvarion.ini")))
        .read(QStringLiteral("Configuration"), QStringLiteral("LastDB"))
        .value_or(QString());
}

void addFolderRows(const QString &catalogue, const QStringList &statements)
{
    CatalogueDb db;
    db.path = catalogue;
    QVERIFY(db.open());
    for (const QString &statement : statements)
        QCOMPARE(db.execute(statement), 0);
    db.close();
}

struct Fixture
{
    ProgramFolderFixture folder;
    StartedWindow started;
    std::unique_ptr<frmDatabase> dialog;
    QString chosen;

    Fixture()
    {
        started.start();
        dialog = std::make_unique<frmDatabase>(*started.window);
        dialog->setFileChooser([this](const QString &, const QString &) { return chosen; });
    }
    RecordingFeedback &feedback() { return started.feedback; }
};

} // namespace

class frmDatabaseTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opensWithThePathAndAnEmptyFolderList();
    void folderListShowsRowsCountsAndMissingFoldersInRed();
    void selectRemembersTheChosenCatalogue();
    void cancelledFileDialogChangesNothing();
    void newOnAnExistingFileAnsweredNoKeepsTheCurrentCatalogue();
    void newOnAnExistingFileAnsweredYesReplacesItWithAnEmptyCatalogue();
    void compactReportsItsDuration();
    void compactWithAMissingCatalogueForgetsIt();
    void thumbnailOptionsFollowAndWriteTheSettings();
};

void frmDatabaseTest::opensWithThePathAndAnEmptyFolderList()
{
    Fixture f;
    QCOMPARE(f.dialog->lblDB->text(), f.folder.file(QStringLiteral("Images.db")));
    QCOMPARE(f.dialog->lvFolders->topLevelItemCount(), 0);
    QVERIFY(f.dialog->FrameHelp->isVisibleTo(f.dialog.get()));
    QVERIFY(!f.dialog->cmdCancel->isVisibleTo(f.dialog.get()));
    QCOMPARE(f.dialog->lvFolders->headerItem()->text(0), f.started.window->context().language.text(18));
}

void frmDatabaseTest::folderListShowsRowsCountsAndMissingFoldersInRed()
{
    Fixture f;
    const QString existing = f.folder.path() + u'/';
    addFolderRows(f.folder.file(QStringLiteral("Images.db")),
                  {QStringLiteral("insert into Folders values(%1, '12', '2026/01/02 10:00:00');").arg(sqlText(existing)),
                   QStringLiteral("insert into Folders values('/no/such/folder/', '3x', '');")});
    f.dialog->refreshFolderList();
    QTreeWidget *list = f.dialog->lvFolders;
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("OK"));
    QCOMPARE(list->topLevelItem(1)->text(1), f.started.window->context().language.message(12));
    QCOMPARE(list->topLevelItem(1)->foreground(0).color(), QColor(255, 0, 0));
    QCOMPARE(f.dialog->lblCount->text(), QStringLiteral("15")); // "3x" reads as 3
    QCOMPARE(f.started.window->lblCount->text(), QStringLiteral("15"));
    QVERIFY(!f.started.window->FrameHelp->isVisibleTo(f.started.window.get()));
    QVERIFY(!f.dialog->FrameHelp->isVisibleTo(f.dialog.get()));
}

void frmDatabaseTest::selectRemembersTheChosenCatalogue()
{
    Fixture f;
    f.chosen = f.folder.file(QStringLiteral("other.db"));
    f.dialog->selectDatabase();
    QCOMPARE(f.started.window->context().catalogue.path, f.chosen);
    QCOMPARE(lastDb(f.folder), f.chosen);
    QCOMPARE(f.dialog->lblDB->text(), f.chosen);
    QCOMPARE(f.started.window->lblDB->text(), f.chosen);
    // A new empty file has no tables: the translations and the folder list report it.
    QVERIFY(QFile::exists(f.chosen));
    QVERIFY(!f.feedback().messages.empty());
}

void frmDatabaseTest::cancelledFileDialogChangesNothing()
{
    Fixture f;
    const QString before = f.started.window->context().catalogue.path;
    f.chosen.clear();
    f.dialog->selectDatabase();
    f.dialog->newDatabase();
    QCOMPARE(f.started.window->context().catalogue.path, before);
    QCOMPARE(lastDb(f.folder), before);
}

void frmDatabaseTest::newOnAnExistingFileAnsweredNoKeepsTheCurrentCatalogue()
{
    Fixture f;
    const QString before = f.started.window->context().catalogue.path;
    f.chosen = f.folder.write(QStringLiteral("keep.db"), QByteArrayLiteral("not a catalogue"));
    f.feedback().answers = {false};
    f.dialog->newDatabase();
    QCOMPARE(f.feedback().questions.size(), 1);
    QVERIFY(f.feedback().questions.front().endsWith(u'\n' + f.chosen));
    QCOMPARE(f.started.window->context().catalogue.path, before);
    QCOMPARE(lastDb(f.folder), before);
    QCOMPARE(f.dialog->lblDB->text(), before);
    QFile kept(f.chosen);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArrayLiteral("not a catalogue"));
}

void frmDatabaseTest::newOnAnExistingFileAnsweredYesReplacesItWithAnEmptyCatalogue()
{
    Fixture f;
    const QString old = f.folder.file(QStringLiteral("Images.db"));
    addFolderRows(old, {QStringLiteral("insert into Folders values('/x/', '7', '');")});
    f.dialog->refreshFolderList();
    QCOMPARE(f.dialog->lvFolders->topLevelItemCount(), 1);
    f.chosen = old;
    f.feedback().answers = {true};
    f.dialog->newDatabase();
    QCOMPARE(f.dialog->lvFolders->topLevelItemCount(), 0);
    QCOMPARE(f.dialog->lblCount->text(), QStringLiteral("0"));
    QCOMPARE(catalogueObjects(old, QStringLiteral("table")).size(), 5);
    QVERIFY(f.feedback().messages.empty());
}

void frmDatabaseTest::compactReportsItsDuration()
{
    Fixture f;
    f.dialog->compactDatabase();
    const QString message = f.started.window->context().language.message(11);
    QCOMPARE(f.dialog->lblStatus->text(), u' ' + message + QStringLiteral(" 0 s"));
    QVERIFY(f.feedback().messages.empty());
}

void frmDatabaseTest::compactWithAMissingCatalogueForgetsIt()
{
    Fixture f;
    const QString path = f.folder.file(QStringLiteral("Images.db"));
    QVERIFY(QFile::remove(path));
    f.dialog->compactDatabase();
    QCOMPARE(f.feedback().messages.size(), std::size_t(1));
    QVERIFY(f.feedback().messages.front().text.contains(u'\n' + path + QStringLiteral("\n\n")));
    QVERIFY(f.started.window->context().catalogue.path.isEmpty());
    QVERIFY(f.dialog->lblDB->text().isEmpty());
    QVERIFY(!QFile::exists(path));
}

void frmDatabaseTest::thumbnailOptionsFollowAndWriteTheSettings()
{
    Fixture f;
    frmDatabase &d = *f.dialog;
    QVERIFY(!d.chkThumbnails->isChecked());
    QVERIFY(!d.frameThumbnails->isEnabled());
    QVERIFY(!d.optThumbnails[0]->isChecked() && !d.optThumbnails[1]->isChecked());

    QTest::mouseClick(d.chkThumbnails, Qt::LeftButton, {}, QPoint(5, d.chkThumbnails->height() / 2));
    QVERIFY(d.frameThumbnails->isEnabled());
    const IniFile ini(f.folder.file(QStringLiteral("Zelvarion.ini")));
    QCOMPARE(ini.read(QStringLiteral("Configuration"), QStringLiteral("CreateThumbnails")).value_or(QString()),
             QStringLiteral("1"));
    d.optThumbnails[0]->click();
    QCOMPARE(ini.read(QStringLiteral("Configuration"), QStringLiteral("ReCreateThumbnails")).value_or(QString()),
             QStringLiteral("1"));
    d.optThumbnails[1]->click();
    QCOMPARE(ini.read(QStringLiteral("Configuration"), QStringLiteral("ReCreateThumbnails")).value_or(QString()),
             QStringLiteral("0"));

    frmDatabase reopened(*f.started.window);
    QVERIFY(reopened.chkThumbnails->isChecked());
    QVERIFY(reopened.optThumbnails[1]->isChecked());
}

QTEST_MAIN(frmDatabaseTest)
#include "frmDatabaseTest.moc"
