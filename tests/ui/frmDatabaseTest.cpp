// Window tests of the database dialog: select, new and compact, the folder list and the
// thumbnail options.
#include "WindowTestSupport.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/CatalogueTables.h"
#include "support/TestServerDatabase.h"
#include "platform/IniFile.h"
#include "platform/gui/ToolkitLanguage.h"
#include "ui/frmDatabase.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QDir>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QFile>
#include <QFileDialog>
#include <QApplication>
#include <QTimer>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTest>
#include <QTreeView>
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
    TempFolder images;
    TempFolder thumbnails;
    StartedWindow started;
    std::unique_ptr<frmDatabase> dialog;
    QString chosen;
    QString chosenFolder;
    QList<frmDatabase::FileChoice> choices;

    Fixture()
    {
        started.start();
        dialog = std::make_unique<frmDatabase>(*started.window);
        dialog->setFileChooser([this](frmDatabase::FileChoice choice, const QString &, const QString &) {
            choices << choice;
            return chosen;
        });
        dialog->setFolderChooser([this](const QString &) { return chosenFolder; });
        dialog->setThumbnailStoreRoot(thumbnails.path());
    }
    RecordingFeedback &feedback() { return started.feedback; }
    QString catalogue() const { return folder.file(QStringLiteral("Images.db")); }
    // The dialog's control named `name` (element `index` of a control array).
    template <typename T>
    T *control(const char *name) const
    {
        return find<T>(dialog.get(), name);
    }
    template <typename T>
    T *control(const char *name, int index) const
    {
        return find<T>(dialog.get(), name, index);
    }
    // Clicks the thumbnails box itself, left of its caption.
    void clickThumbnailsBox() const
    {
        auto *box = control<QCheckBox>("chkThumbnails");
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    }
    QTreeWidgetItem *row(int i) const { return control<QTreeWidget>("lvFolders")->topLevelItem(i); }

    // Adds a folder of the images folder through Add folder; its path ends with "/".
    QString add(const QString &relative)
    {
        chosenFolder = images.file(relative);
        QDir().mkpath(chosenFolder);
        dialog->addFolder();
        return chosenFolder + u'/';
    }
    void checkAll()
    {
        for (int i = 0; i < control<QTreeWidget>("lvFolders")->topLevelItemCount(); ++i)
            row(i)->setCheckState(0, Qt::Checked);
    }
    QStringList select(const QString &statement) const
    {
        CatalogueDb db;
        db.path = catalogue();
        db.open();
        db.execute(statement);
        QStringList cells;
        for (int r = 1; r <= db.rowCount(); ++r)
            cells << db.cell(0, r);
        db.close();
        return cells;
    }
    // Runs `action` once the scan log reaches `lines` lines.
    void whenLogReaches(int lines, std::function<void()> action)
    {
        auto *log = control<QListWidget>("sqlOutPut");
        QObject::connect(log->model(), &QAbstractItemModel::rowsInserted, dialog.get(),
                         [log, lines, action, done = std::make_shared<bool>(false)] {
                             if (!*done && log->count() >= lines) {
                                 *done = true;
                                 action();
                             }
                         });
    }
};

} // namespace

class frmDatabaseTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opensWithThePathAndAnEmptyFolderList();
    void folderListShowsRowsCountsAndMissingFoldersInRed();
    void selectRemembersTheChosenCatalogue();
    void anAddressTypedOpensTheServersCatalogueAndTheWindowSearchesIt();
    void anAddressOfNoServerIsRefusedAndTheCatalogueInUseStays();
    void selectRefusesAFileThatIsNoCatalogueAndKeepsTheOneInUse();
    void selectOpensAnOpenDialogInThePacksLanguage();
    void theFileDialogWritesFoldersAndSizesInTheLanguageChosen();
    void cancelledFileDialogChangesNothing();
    void newOnAnExistingFileAnsweredNoKeepsTheCurrentCatalogue();
    void newOnAnExistingFileAnsweredYesReplacesItWithAnEmptyCatalogue();
    void compactReportsItsDuration();
    void compactWithAMissingCatalogueForgetsIt();
    void thumbnailOptionsFollowAndWriteTheSettings();
    void addFolderRegistersANewFolder();
    void addFolderWithoutACatalogueSaysSo();
    void addFolderRefusesTheRootAndOverlappingFolders();
    void addFolderInsideARegisteredFolderAddsABlueSubfolderRow();
    void removeFolderAsksAndRemovesTheFolderWithItsImages();
    void removeFolderWithoutASelectionSaysSo();
    void scanButtonFollowsTheCheckBoxes();
    void scanFillsTheCatalogueAndReportsItsDuration();
    void scanLogKeepsTheNewestHundredLines();
    void scanShowsHowManyFilesItHasReadOfAllItWillRead_data();
    void scanShowsHowManyFilesItHasReadOfAllItWillRead();
    void stopEndsTheScanAndKeepsWhatWasWritten();
    void closingDuringAScanStopsItFirst();
    void scanWithAMissingCatalogueForgetsIt();
    void scanShowsThePreviewOfTheLastThumbnail();
};

void frmDatabaseTest::opensWithThePathAndAnEmptyFolderList()
{
    Fixture f;
    QCOMPARE(f.control<QLabel>("lblDB")->text(), f.folder.file(QStringLiteral("Images.db")));
    QCOMPARE(f.control<QTreeWidget>("lvFolders")->topLevelItemCount(), 0);
    QVERIFY(f.control<QWidget>("FrameHelp")->isVisibleTo(f.dialog.get()));
    QVERIFY(!f.control<QPushButton>("cmdCancel")->isVisibleTo(f.dialog.get()));
    QCOMPARE(f.control<QTreeWidget>("lvFolders")->headerItem()->text(0),
             f.started.window->context().language.text(18));
}

void frmDatabaseTest::folderListShowsRowsCountsAndMissingFoldersInRed()
{
    Fixture f;
    const QString existing = f.folder.path() + u'/';
    addFolderRows(f.folder.file(QStringLiteral("Images.db")),
                  {QStringLiteral("insert into Folders values(%1, '12', '2026/01/02 10:00:00');").arg(sqlText(existing)),
                   QStringLiteral("insert into Folders values('/no/such/folder/', '3x', '');")});
    f.dialog->refreshFolderList();
    QTreeWidget *list = f.control<QTreeWidget>("lvFolders");
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("OK"));
    QCOMPARE(list->topLevelItem(1)->text(1), f.started.window->context().language.message(12));
    QCOMPARE(list->topLevelItem(1)->foreground(0).color(), QColor(255, 0, 0));
    QCOMPARE(f.control<QLabel>("lblCount")->text(), QStringLiteral("15")); // "3x" reads as 3
    QCOMPARE(find<QLabel>(f.started.window.get(), "lblCount")->text(), QStringLiteral("15"));
    QVERIFY(!find<QWidget>(f.started.window.get(), "FrameHelp")->isVisibleTo(f.started.window.get()));
    QVERIFY(!f.control<QWidget>("FrameHelp")->isVisibleTo(f.dialog.get()));
}

void frmDatabaseTest::selectRemembersTheChosenCatalogue()
{
    Fixture f;
    f.chosen = f.folder.file(QStringLiteral("other.db"));
    CatalogueDb other;
    other.path = f.chosen;
    RecordingFeedback quiet;
    QVERIFY(createCatalogueSchema(other, quiet, {}));
    addFolderRows(f.chosen, {QStringLiteral("insert into Folders values('/x/', '7', '');")});
    f.dialog->selectDatabase();
    QCOMPARE(f.choices, QList<frmDatabase::FileChoice>({frmDatabase::FileChoice::ExistingCatalogue}));
    QCOMPARE(f.started.window->context().catalogue.path, f.chosen);
    QCOMPARE(lastDb(f.folder), f.chosen);
    QCOMPARE(f.control<QLabel>("lblDB")->text(), f.chosen);
    QCOMPARE(find<QLabel>(f.started.window.get(), "lblDB")->text(), f.chosen);
    QCOMPARE(f.control<QTreeWidget>("lvFolders")->topLevelItemCount(), 1);
    QVERIFY(f.feedback().messages.empty());
}

void frmDatabaseTest::anAddressTypedOpensTheServersCatalogueAndTheWindowSearchesIt()
{
    TestServerDatabase server;
    if (server.address().isEmpty())
        QSKIP("no test server: ZELVARION_TEST_PG is not set");
    // The server's catalogue as a scan elsewhere left it: a folder and three images, two in Lyon.
    CatalogueDb db;
    db.path = server.address();
    RecordingFeedback quiet;
    QVERIFY(createCatalogueSchema(db, quiet, {}));
    QVERIFY(db.open());
    QCOMPARE(db.execute(QStringLiteral("insert into Folders values('/photos/', '3', '');")), 0);
    const char *cities[] = {"Lyon", "Paris", "Lyon"};
    for (int i = 0; i < 3; ++i) {
        ImagesRow row;
        row[ImagesColumn::Folder] = QStringLiteral("/photos/");
        row[ImagesColumn::File] = QStringLiteral("street%1.jpg").arg(i + 1);
        row[imagesColumnOfField(kCityIndex)] = QLatin1String(cities[i]);
        row[imagesColumnOfField(kCaptionIndex)] = QStringLiteral("A street in ") + QLatin1String(cities[i]);
        row[ImagesColumn::SupportIPTC] = QStringLiteral("1");
        QCOMPARE(db.execute(insertImagesRowStatement(row)), 0);
    }
    db.close();

    Fixture f;
    QTest::keyClicks(f.control<QLineEdit>("txtServer"), server.address());
    QTest::mouseClick(f.control<QPushButton>("cmdConnect"), Qt::LeftButton);
    QVERIFY2(f.feedback().messages.empty(), qPrintable(f.feedback().messages.empty() ? QString() : f.feedback().messages.front().text));
    frmZelvarion *w = f.started.window.get();
    QCOMPARE(w->context().catalogue.path, server.address());
    QCOMPARE(lastDb(f.folder), server.address());
    QCOMPARE(f.control<QLabel>("lblDB")->text(), server.address());
    QCOMPARE(f.control<QTreeWidget>("lvFolders")->topLevelItemCount(), 1);
    QCOMPARE(f.control<QLabel>("lblCount")->text(), QStringLiteral("3"));
    f.dialog->accept();

    find<QComboBox>(w, "lstTxtSearch")->setCurrentText(QStringLiteral("Lyon"));
    find<QPushButton>(w, "cmdSearch")->click();
    QCOMPARE(find<QLabel>(w, "lblFound")->text(), QStringLiteral("2"));
    QCOMPARE(find<QLabel>(w, "lblImage", 0)->text(), QStringLiteral("street1.jpg"));
    QCOMPARE(find<QLabel>(w, "lblImage", 1)->text(), QStringLiteral("street3.jpg"));
    QVERIFY(f.feedback().messages.empty());
}

void frmDatabaseTest::anAddressOfNoServerIsRefusedAndTheCatalogueInUseStays()
{
    Fixture f;
    f.dialog->show(); // the default button answers Enter only when shown
    const QString before = f.started.window->context().catalogue.path;
    // Nothing listens on port 1; a typed file name is no address either.
    for (const QString &typed : {QStringLiteral("postgresql://nobody@127.0.0.1:1/none"), f.folder.file(QStringLiteral("x.db"))}) {
        f.feedback().messages.clear();
        f.control<QLineEdit>("txtServer")->setText(typed);
        QTest::keyClick(f.control<QLineEdit>("txtServer"), Qt::Key_Return);
        QVERIFY(f.choices.isEmpty()); // Enter stays with the address: no file chooser
        QCOMPARE(f.feedback().messages.size(), std::size_t(1));
        QVERIFY(f.feedback().messages.front().text.contains(before));
        QCOMPARE(f.started.window->context().catalogue.path, before);
        QCOMPARE(lastDb(f.folder), before);
    }
}

// The undo journal, a text file or an empty file were taken as the catalogue, and every command
// after that failed with the engine's words.
void frmDatabaseTest::selectRefusesAFileThatIsNoCatalogueAndKeepsTheOneInUse()
{
    Fixture f;
    const QString before = f.started.window->context().catalogue.path;
    const LanguagePack &pack = f.started.window->context().language;
    const QString journal = f.folder.file(QStringLiteral("Images.undo.db"));
    addFolderRows(journal, {QStringLiteral("create table Runs(Run integer primary key);")});
    const QString candidates[] = {journal, f.folder.write(QStringLiteral("notes.db"), "my notes"),
                                  f.folder.write(QStringLiteral("empty.db"), QByteArray())};
    for (const QString &candidate : candidates) {
        const QByteArray bytes = f.folder.read(QFileInfo(candidate).fileName());
        f.feedback().messages.clear();
        f.chosen = candidate;
        f.dialog->selectDatabase();
        QCOMPARE(f.feedback().texts(), QStringList({pack.message(Message::NotACatalogue) + u'\n' + candidate + QStringLiteral("\n\n")
                                                    + pack.message(Message::CatalogueKept) + u'\n' + before}));
        QCOMPARE(f.feedback().messages.front().icon, MessageIcon::Critical);
        QCOMPARE(f.started.window->context().catalogue.path, before);
        QCOMPARE(lastDb(f.folder), before);
        QCOMPARE(f.control<QLabel>("lblDB")->text(), before);
        QCOMPARE(f.folder.read(QFileInfo(candidate).fileName()), bytes);
    }
    f.feedback().messages.clear();
    f.chosen = f.folder.file(QStringLiteral("gone.db"));
    f.dialog->selectDatabase();
    QVERIFY(f.feedback().texts().front().startsWith(pack.message(Message::CatalogueNotFound) + u'\n' + f.chosen));
    QVERIFY(!QFile::exists(f.chosen));
    QCOMPARE(f.started.window->context().catalogue.path, before);
}

// The desktop's save dialog spoke English whatever the pack, and accepted a name not yet there.
void frmDatabaseTest::selectOpensAnOpenDialogInThePacksLanguage()
{
    Fixture f;
    StartedWindow &started = f.started;
    LanguagePack &pack = started.window->context().language;
    pack.setText(int(InterfaceText::FileDialogOpenButton), QStringLiteral("Ouvrir"));
    pack.setText(int(InterfaceText::CancelButton), QStringLiteral("Annuler"));
    pack.setText(int(InterfaceText::CatalogueFileFilter), QStringLiteral("Catalogues"));
    frmDatabase dialog(*started.window); // with its own file dialog
    QFileDialog *shown = nullptr;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptSave;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    QString accept, reject, filter;
    QTimer::singleShot(0, [&] {
        shown = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!shown)
            return;
        mode = shown->acceptMode();
        fileMode = shown->fileMode();
        accept = shown->labelText(QFileDialog::Accept);
        reject = shown->labelText(QFileDialog::Reject);
        filter = shown->nameFilters().value(0);
        shown->reject();
    });
    const QString before = started.window->context().catalogue.path;
    dialog.selectDatabase();
    QVERIFY(shown);
    QCOMPARE(mode, QFileDialog::AcceptOpen);
    QCOMPARE(fileMode, QFileDialog::ExistingFile);
    QCOMPARE(accept, QStringLiteral("Ouvrir"));
    QCOMPARE(reject, QStringLiteral("Annuler"));
    QCOMPARE(filter, QStringLiteral("Catalogues (*.db)"));
    QCOMPARE(started.window->context().catalogue.path, before);
}

// In French the type and size columns said "Folder" and "KiB": the toolkit's catalogue keeps the
// word under another context, and its file model writes sizes and dates in the system's locale.
void frmDatabaseTest::theFileDialogWritesFoldersAndSizesInTheLanguageChosen()
{
    Fixture f;
    QVERIFY(QDir(f.folder.path()).mkdir(QStringLiteral("albums")));
    const QLocale before;
    useToolkitLanguage(QLocale(QLocale::French));
    const auto restore = qScopeGuard([&before] { useToolkitLanguage(before); });
    if (QCoreApplication::translate("QFileDialog", "Folder") == QStringLiteral("Folder"))
        QSKIP("the system holds no French catalogue of the toolkit");
    frmDatabase dialog(*f.started.window);
    QString folderType, catalogueSize, catalogueDate;
    QTimer::singleShot(0, [&] {
        auto *shown = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!shown)
            return;
        const QTreeView *view = shown->findChild<QTreeView *>(QStringLiteral("treeView"));
        const QAbstractItemModel *model = view ? view->model() : nullptr;
        const auto rowOf = [&](const QString &name) {
            const QModelIndex root = view->rootIndex();
            for (int r = 0; model && r < model->rowCount(root); ++r)
                if (model->index(r, 0, root).data().toString() == name)
                    return model->index(r, 0, root);
            return QModelIndex();
        };
        if (model && QTest::qWaitFor([&] { return rowOf(QStringLiteral("albums")).isValid() && rowOf(QStringLiteral("Images.db")).isValid(); })) {
            folderType = rowOf(QStringLiteral("albums")).siblingAtColumn(2).data().toString();
            catalogueSize = rowOf(QStringLiteral("Images.db")).siblingAtColumn(1).data().toString();
            catalogueDate = rowOf(QStringLiteral("Images.db")).siblingAtColumn(3).data().toString();
        }
        shown->reject();
    });
    dialog.selectDatabase();
    QCOMPARE(folderType, QStringLiteral("Dossier"));
    QVERIFY2(catalogueSize.endsWith(QStringLiteral(" Kio")), qPrintable(catalogueSize));
    const QDateTime written = QFileInfo(f.folder.file(QStringLiteral("Images.db"))).lastModified();
    QCOMPARE(catalogueDate, QLocale(QLocale::French).toString(written, QStringLiteral("dd/MM/yyyy HH:mm")));
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
    QCOMPARE(f.control<QLabel>("lblDB")->text(), before);
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
    QCOMPARE(f.control<QTreeWidget>("lvFolders")->topLevelItemCount(), 1);
    f.chosen = old;
    f.feedback().answers = {true};
    f.dialog->newDatabase();
    QCOMPARE(f.control<QTreeWidget>("lvFolders")->topLevelItemCount(), 0);
    QCOMPARE(f.control<QLabel>("lblCount")->text(), QStringLiteral("0"));
    QCOMPARE(catalogueObjects(old, QStringLiteral("table")).size(), 5);
    QVERIFY(f.feedback().messages.empty());
}

void frmDatabaseTest::compactReportsItsDuration()
{
    Fixture f;
    f.dialog->compactDatabase();
    const QString message = f.started.window->context().language.message(11);
    QCOMPARE(f.control<QLabel>("lblStatus")->text(), u' ' + message + QStringLiteral(" 0 s"));
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
    QVERIFY(f.control<QLabel>("lblDB")->text().isEmpty());
    QVERIFY(!QFile::exists(path));
}

void frmDatabaseTest::thumbnailOptionsFollowAndWriteTheSettings()
{
    Fixture f;
    QVERIFY(!f.control<QCheckBox>("chkThumbnails")->isChecked());
    QVERIFY(!f.control<QGroupBox>("frameThumbnails")->isEnabled());
    // The stored choice shows while thumbnails are off.
    QVERIFY(f.control<QRadioButton>("optThumbnails", 1)->isChecked());
    QVERIFY(f.control<QLabel>("lblThumbnails")->text().endsWith(u'\n'
                                                                  + QDir::toNativeSeparators(f.thumbnails.path())));

    f.clickThumbnailsBox();
    QVERIFY(f.control<QGroupBox>("frameThumbnails")->isEnabled());
    const IniFile ini(f.folder.file(QStringLiteral("Zelvarion.ini")));
    QCOMPARE(ini.read(QStringLiteral("Configuration"), QStringLiteral("CreateThumbnails")).value_or(QString()),
             QStringLiteral("1"));
    f.control<QRadioButton>("optThumbnails", 0)->click();
    QCOMPARE(ini.read(QStringLiteral("Configuration"), QStringLiteral("ReCreateThumbnails")).value_or(QString()),
             QStringLiteral("1"));
    f.control<QRadioButton>("optThumbnails", 1)->click();
    QCOMPARE(ini.read(QStringLiteral("Configuration"), QStringLiteral("ReCreateThumbnails")).value_or(QString()),
             QStringLiteral("0"));
    f.control<QCheckBox>("chkThumbnails")->click();
    QVERIFY(!f.control<QGroupBox>("frameThumbnails")->isEnabled()
            && f.control<QRadioButton>("optThumbnails", 1)->isChecked());
    f.control<QCheckBox>("chkThumbnails")->click();

    frmDatabase reopened(*f.started.window);
    QVERIFY(find<QCheckBox>(&reopened, "chkThumbnails")->isChecked());
    QVERIFY(find<QRadioButton>(&reopened, "optThumbnails", 1)->isChecked());
}

void frmDatabaseTest::addFolderRegistersANewFolder()
{
    Fixture f;
    const QString folder = f.add(QStringLiteral("O'Brien 100%"));
    QCOMPARE(f.select(QStringLiteral("select Folder from Folders;")), QStringList({folder}));
    QCOMPARE(f.control<QTreeWidget>("lvFolders")->topLevelItemCount(), 1);
    QCOMPARE(f.row(0)->text(0), folder);
    QCOMPARE(f.row(0)->text(1), QStringLiteral("OK"));
    QVERIFY(!f.control<QWidget>("FrameHelp")->isVisibleTo(f.dialog.get()));
    QVERIFY(f.feedback().messages.empty());
}

// With no catalogue in use Add folder read "Cannot open '' no database file name given".
void frmDatabaseTest::addFolderWithoutACatalogueSaysSo()
{
    Fixture f;
    const LanguagePack &pack = f.started.window->context().language;
    f.started.window->context().catalogue.path.clear();
    f.chosenFolder = f.images.file(QStringLiteral("photos"));
    f.dialog->addFolder();
    QCOMPARE(f.feedback().texts(), QStringList({pack.message(Message::NoCatalogueChosen)}));
    QVERIFY(f.started.window->context().catalogue.path.isEmpty());
    QVERIFY(!QFile::exists(f.catalogue() + QStringLiteral("-journal")));
}

void frmDatabaseTest::addFolderRefusesTheRootAndOverlappingFolders()
{
    Fixture f;
    const LanguagePack &pack = f.started.window->context().language;
    f.chosenFolder = QStringLiteral("/");
    f.dialog->addFolder();
    f.chosenFolder = QStringLiteral("/proc");
    f.dialog->addFolder();
    const QString inner = f.add(QStringLiteral("photos/2004"));
    f.add(QStringLiteral("photos"));
    f.add(QStringLiteral("photos/200")); // a plain text search: "photos/200" is inside "photos/2004/"
    const QStringList texts = f.feedback().texts();
    QCOMPARE(texts, QStringList({pack.message(3) + QStringLiteral("\n/"), pack.message(3) + QStringLiteral("\n/proc"),
                                 pack.message(4) + u'\n' + inner, pack.message(4) + u'\n' + inner}));
    QCOMPARE(f.feedback().messages.front().icon, MessageIcon::Critical);
    QCOMPARE(f.select(QStringLiteral("select Folder from Folders;")), QStringList({inner}));
}

void frmDatabaseTest::addFolderInsideARegisteredFolderAddsABlueSubfolderRow()
{
    Fixture f;
    f.add(QStringLiteral("other"));
    const QString parent = f.add(QStringLiteral("photos"));
    const QString sub = f.add(QStringLiteral("photos/2004"));
    QCOMPARE(f.control<QTreeWidget>("lvFolders")->topLevelItemCount(), 3);
    QCOMPARE(f.row(2)->text(0), sub);
    QCOMPARE(f.row(2)->foreground(0).color(), QColor(0, 0, 255));
    QCOMPARE(f.row(2)->data(0, Qt::UserRole).toInt(), 2); // the tag names the parent row from 1
    QVERIFY(f.control<QLabel>("lblSubFolder")->isVisibleTo(f.dialog.get()));
    QCOMPARE(f.select(QStringLiteral("select count(*) from Folders;")), QStringList({QStringLiteral("2")}));
    // Every refresh drops the subfolder rows.
    f.dialog->refreshFolderList();
    QCOMPARE(f.control<QTreeWidget>("lvFolders")->topLevelItemCount(), 2);
    QVERIFY(!f.control<QLabel>("lblSubFolder")->isVisibleTo(f.dialog.get()));
    Q_UNUSED(parent);
}

void frmDatabaseTest::removeFolderAsksAndRemovesTheFolderWithItsImages()
{
    Fixture f;
    const QString kept = f.add(QStringLiteral("a"));
    const QString removed = f.add(QStringLiteral("it's"));
    f.images.write(QStringLiteral("a/1.txt"), "x");
    f.images.write(QStringLiteral("it's/1.txt"), "x");
    f.checkAll();
    f.dialog->scanCheckedFolders();
    QCOMPARE(f.select(QStringLiteral("select count(*) from Images;")), QStringList({QStringLiteral("2")}));

    f.row(1)->setSelected(true);
    f.feedback().answers = {false};
    f.dialog->removeFolder();
    QCOMPARE(f.control<QTreeWidget>("lvFolders")->topLevelItemCount(), 2);
    QCOMPARE(f.feedback().questions.back(), f.started.window->context().language.message(8) + u'\n' + removed);

    f.row(1)->setSelected(true);
    f.control<QTreeWidget>("lvFolders")->setFocus();
    QTest::keyClick(f.control<QTreeWidget>("lvFolders"), Qt::Key_Delete); // answered Yes
    QCOMPARE(f.select(QStringLiteral("select Folder from Folders;")), QStringList({kept}));
    QCOMPARE(f.select(QStringLiteral("select Folder || File from Images;")), QStringList({kept + QStringLiteral("1.txt")}));
    QCOMPARE(f.control<QLabel>("lblCount")->text(), QStringLiteral("1"));
    QVERIFY(!f.control<QPushButton>("cmdScan")->isEnabled());
}

void frmDatabaseTest::removeFolderWithoutASelectionSaysSo()
{
    Fixture f;
    f.add(QStringLiteral("a"));
    f.dialog->removeFolder();
    QCOMPARE(f.feedback().texts(), QStringList({f.started.window->context().language.message(7)}));
    QCOMPARE(f.feedback().messages.front().icon, MessageIcon::Information);
    QVERIFY(f.feedback().questions.isEmpty());
}

void frmDatabaseTest::scanButtonFollowsTheCheckBoxes()
{
    Fixture f;
    f.add(QStringLiteral("a"));
    f.add(QStringLiteral("b"));
    QVERIFY(!f.control<QPushButton>("cmdScan")->isEnabled());
    f.row(1)->setCheckState(0, Qt::Checked);
    QVERIFY(f.control<QPushButton>("cmdScan")->isEnabled());
    f.row(0)->setCheckState(0, Qt::Checked);
    f.row(1)->setCheckState(0, Qt::Unchecked);
    QVERIFY(f.control<QPushButton>("cmdScan")->isEnabled());
    f.row(0)->setCheckState(0, Qt::Unchecked);
    QVERIFY(!f.control<QPushButton>("cmdScan")->isEnabled());
}

void frmDatabaseTest::scanFillsTheCatalogueAndReportsItsDuration()
{
    Fixture f;
    const QString folder = f.add(QStringLiteral("photos"));
    f.images.write(QStringLiteral("photos/a.txt"), "x");
    f.images.write(QStringLiteral("photos/sub/b.txt"), "y");
    f.checkAll();
    bool commandsDisabledWhileScanning = false;
    f.whenLogReaches(1, [&] {
        frmDatabase &d = *f.dialog;
        const auto enabled = [&f](const char *name) { return f.control<QPushButton>(name)->isEnabled(); };
        const auto visible = [&](const char *name) { return f.control<QPushButton>(name)->isVisibleTo(&d); };
        commandsDisabledWhileScanning = d.isScanning() && !enabled("cmdOK") && !enabled("cmdSelect")
                                        && !enabled("cmdCreate") && !enabled("cmdCompact") && !enabled("cmdAddFolder")
                                        && !enabled("cmdRemoveFolder") && visible("cmdCancel") && !visible("cmdScan");
    });
    QTest::mouseClick(f.control<QPushButton>("cmdScan"), Qt::LeftButton);
    QVERIFY(commandsDisabledWhileScanning);
    const frmDatabase &d = *f.dialog;
    QCOMPARE(f.control<QListWidget>("sqlOutPut")->count(), 2);
    QCOMPARE(f.control<QListWidget>("sqlOutPut")->item(0)->text(), folder + QStringLiteral("sub/b.txt -> 2"));
    QCOMPARE(f.control<QListWidget>("sqlOutPut")->item(1)->text(), folder + QStringLiteral("a.txt -> 1"));
    QCOMPARE(f.row(0)->text(2), QStringLiteral("2"));
    QVERIFY(!f.row(0)->text(3).isEmpty());
    QCOMPARE(f.control<QLabel>("lblCount")->text(), QStringLiteral("2"));
    QCOMPARE(find<QLabel>(f.started.window.get(), "lblCount")->text(), QStringLiteral("2"));
    QCOMPARE(f.control<QLabel>("lblStatus")->text(),
             u' ' + f.started.window->context().language.message(11) + QStringLiteral(" 0 h 0 min 0 s"));
    QVERIFY(!f.control<QPushButton>("cmdCancel")->isVisibleTo(&d));
    QVERIFY(f.control<QPushButton>("cmdScan")->isVisibleTo(&d));
    QVERIFY(!f.control<QPushButton>("cmdScan")->isEnabled());
    QVERIFY(f.control<QPushButton>("cmdOK")->isEnabled() && f.control<QPushButton>("cmdAddFolder")->isEnabled());
    QVERIFY(f.feedback().messages.empty());
}

void frmDatabaseTest::scanShowsHowManyFilesItHasReadOfAllItWillRead_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << QStringLiteral("English");
    QTest::newRow("French") << QStringLiteral("French");
}

// The total is counted by the scan's own rules before the first file: the files of subfolders
// count, hidden files do not.
void frmDatabaseTest::scanShowsHowManyFilesItHasReadOfAllItWillRead()
{
    QFETCH(QString, language);
    Fixture f;
    LanguagePack &pack = f.started.window->context().language;
    QVERIFY(pack.load(f.folder.file(QStringLiteral("Zelvarion-Language")), language));
    f.add(QStringLiteral("photos"));
    for (const char *name : {"photos/a.txt", "photos/b.txt", "photos/sub/c.txt", "photos/.hidden.txt"})
        f.images.write(QLatin1String(name), "x");
    f.checkAll();
    QString shownAtThirdFile;
    f.whenLogReaches(3, [&] { shownAtThirdFile = f.control<QLabel>("lblStatus")->text(); });
    f.dialog->scanCheckedFolders();
    // The third log line comes as the third file is written, before its count is shown.
    QCOMPARE(shownAtThirdFile, pack.text(InterfaceText::ScanFileProgress).replace(u'#', u'2').replace(u'%', u'3'));
    QCOMPARE(f.select(QStringLiteral("select count(*) from Images;")), QStringList({QStringLiteral("3")}));
    QVERIFY(f.control<QLabel>("lblStatus")->text().contains(pack.message(Message::ElapsedTime)));
}

void frmDatabaseTest::scanLogKeepsTheNewestHundredLines()
{
    Fixture f;
    const QString folder = f.add(QStringLiteral("many"));
    for (int i = 0; i < 120; ++i)
        f.images.write(QStringLiteral("many/%1.txt").arg(i, 3, 10, QLatin1Char('0')), "x");
    f.checkAll();
    f.dialog->scanCheckedFolders();
    QCOMPARE(f.control<QListWidget>("sqlOutPut")->count(), 100);
    QCOMPARE(f.control<QListWidget>("sqlOutPut")->item(0)->text(), folder + QStringLiteral("119.txt -> 120"));
    QCOMPARE(f.control<QListWidget>("sqlOutPut")->item(99)->text(), folder + QStringLiteral("020.txt -> 21"));
}

void frmDatabaseTest::stopEndsTheScanAndKeepsWhatWasWritten()
{
    Fixture f;
    const QString folder = f.add(QStringLiteral("many"));
    for (int i = 0; i < 60; ++i)
        f.images.write(QStringLiteral("many/%1.txt").arg(i, 3, 10, QLatin1Char('0')), "x");
    f.checkAll();
    f.whenLogReaches(5, [&] { QTest::mouseClick(f.control<QPushButton>("cmdCancel"), Qt::LeftButton); });
    f.dialog->scanCheckedFolders();
    QCOMPARE(f.control<QListWidget>("sqlOutPut")->count(), 5);
    QCOMPARE(f.select(QStringLiteral("select count(*) from Images;")), QStringList({QStringLiteral("5")}));
    QCOMPARE(f.row(0)->text(2), QStringLiteral("5"));
    QVERIFY(!f.dialog->isScanning());

    // A stopped rescan: the files not reached keep the rows they had.
    f.checkAll();
    f.dialog->scanCheckedFolders();
    f.checkAll();
    f.whenLogReaches(5, [&] { QTest::mouseClick(f.control<QPushButton>("cmdCancel"), Qt::LeftButton); });
    f.dialog->scanCheckedFolders();
    QCOMPARE(f.select(QStringLiteral("select count(*) from Images;")), QStringList({QStringLiteral("60")}));
    QCOMPARE(f.row(0)->text(2), QStringLiteral("60"));
    Q_UNUSED(folder);
}

void frmDatabaseTest::closingDuringAScanStopsItFirst()
{
    Fixture f;
    f.add(QStringLiteral("many"));
    for (int i = 0; i < 40; ++i)
        f.images.write(QStringLiteral("many/%1.txt").arg(i, 3, 10, QLatin1Char('0')), "x");
    f.checkAll();
    f.dialog->show();
    bool stillOpen = false;
    f.whenLogReaches(3, [&] {
        f.dialog->close();
        stillOpen = f.dialog->isVisible() && f.dialog->isScanning();
    });
    f.dialog->scanCheckedFolders();
    QVERIFY(stillOpen);
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
    QCOMPARE(f.select(QStringLiteral("select count(*) from Images;")), QStringList({QStringLiteral("3")}));
}

void frmDatabaseTest::scanWithAMissingCatalogueForgetsIt()
{
    Fixture f;
    f.add(QStringLiteral("a"));
    f.checkAll();
    QVERIFY(QFile::remove(f.catalogue()));
    f.dialog->scanCheckedFolders();
    QCOMPARE(f.feedback().messages.size(), std::size_t(1));
    QVERIFY(f.feedback().messages.front().text.contains(u'\n' + f.catalogue() + QStringLiteral("\n\n")));
    QVERIFY(f.started.window->context().catalogue.path.isEmpty());
    QVERIFY(!QFile::exists(f.catalogue()));
    QVERIFY(f.control<QPushButton>("cmdScan")->isVisibleTo(f.dialog.get()));
    QVERIFY(f.control<QPushButton>("cmdOK")->isEnabled());
}

void frmDatabaseTest::scanShowsThePreviewOfTheLastThumbnail()
{
    Fixture f;
    f.add(QStringLiteral("photos"));
    QVERIFY(QFile::copy(testDataFile(QStringLiteral("iptc/pillow/Tests/images/iptc.jpg")),
                        f.images.file(QStringLiteral("photos/iptc.jpg"))));
    f.clickThumbnailsBox();
    f.checkAll();
    f.dialog->scanCheckedFolders();
    QVERIFY(!f.control<QLabel>("imgDest")->pixmap().isNull());
    const QSize shown = f.control<QLabel>("imgDest")->pixmap().size();
    QVERIFY(shown.width() <= 120 && shown.height() <= 80);
    QCOMPARE(f.select(QStringLiteral("select SupportIPTC from Images;")), QStringList({QStringLiteral("1")}));
}

QTEST_MAIN(frmDatabaseTest)
#include "frmDatabaseTest.moc"
