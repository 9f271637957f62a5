#include "ui/frmDatabase.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/EngineStatements.h"
#include "core/catalogue/FolderRegistry.h"
#include "core/catalogue/ThumbnailSizing.h"
#include "core/search/SearchIndex.h"
#include "core/session/Feedback.h"
#include "core/session/Twips.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/ToolkitLanguage.h"
#include "platform/ThumbnailStore.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"
#include "ui/frmFolderBrowser.h"
#include "ui/frmZelvarion.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zelvarion {
using namespace controls;

namespace {

// Enter in the address box connects, and stops there: passed on, the dialog would also press its
// default button and open the file chooser over the catalogue just connected.
class AddressEdit : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        QLineEdit::keyPressEvent(event);
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            event->accept();
    }
};

constexpr QSize kDesignSize{720, 680}; // room for the server address row below the catalogue's buttons
constexpr int kButtonWidth = 132;
constexpr int kThumbnailColumnWidth = 224;

// Qt's own file dialog rather than the desktop's, so its labels and buttons speak the language
// of the pack like every other window.
QString chooseDatabaseFile(QWidget *owner, const LanguagePack &pack, frmDatabase::FileChoice choice,
                           const QString &title, const QString &startPath)
{
    using enum InterfaceText;
    const bool existing = choice == frmDatabase::FileChoice::ExistingCatalogue;
    QFileDialog dialog(owner, title, startPath);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    useToolkitLanguageIn(dialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite); // New asks its own question
    dialog.setAcceptMode(existing ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(existing ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(pack.text(CatalogueFileFilter) + QStringLiteral(" (*.db)"));
    if (!existing)
        dialog.setDefaultSuffix(QStringLiteral("db"));
    dialog.setLabelText(QFileDialog::LookIn, pack.text(FileDialogLookIn));
    dialog.setLabelText(QFileDialog::FileName, pack.text(SortFileName));
    dialog.setLabelText(QFileDialog::FileType, pack.text(FileDialogFilesOfType));
    dialog.setLabelText(QFileDialog::Accept, pack.text(existing ? FileDialogOpenButton : SaveButton));
    dialog.setLabelText(QFileDialog::Reject, pack.text(CancelButton));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

// Our own browser: the toolkit's dialogs decode folder names lossily, so a folder whose name is
// not UTF-8 could be neither read nor chosen by its real bytes.
QString chooseFolder(QWidget *owner, const LanguagePack &pack, const QString &title)
{
    frmFolderBrowser browser(title, pack, owner);
    return browser.exec() == QDialog::Accepted ? browser.selectedFolder() : QString();
}

QString startFolderFor(const QString &path)
{
    return path.isEmpty() ? programFolder::path() : path;
}

} // namespace

frmDatabase::frmDatabase(frmZelvarion &main)
    : QDialog(&main), m_main(main), m_context(main.context()), m_feedback(main.feedback())
{
    setObjectName(QStringLiteral("frmDatabase"));
    setModal(true);
    m_chooseFile = [this](FileChoice choice, const QString &title, const QString &start) {
        return chooseDatabaseFile(this, m_context.language, choice, title, start);
    };
    m_chooseFolder = [this](const QString &title) { return chooseFolder(this, m_context.language, title); };
    createControls();
    layOut();
    applyLanguage();
    for (QPushButton *button :
         {cmdSelect, cmdCreate, cmdCompact, cmdConnect, cmdAddFolder, cmdRemoveFolder, cmdScan, cmdCancel, cmdOK})
        roundCorners(button);
    lblDB->setText(m_context.catalogue.path);
    setThumbnailControls();
    refreshFolderList();
    setWindowFlag(Qt::WindowStaysOnTopHint, m_context.settings.stayOnTop);
    resize(kDesignSize.expandedTo(minimumSizeHint()));
    // Its wrapped notes need the design width to show whole: the window grows but never shrinks below it.
    setMinimumSize(size());
}

void frmDatabase::createControls()
{
    lbllblDB = named(new QLabel(this), QStringLiteral("lbllblDB"));
    lblDB = named(new QLabel(this), QStringLiteral("lblDB"));
    lblDB->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblDB->setMinimumWidth(1); // a long path is cut rather than widening the dialog
    lbllblCount = named(new QLabel(this), QStringLiteral("lbllblCount"));
    lblCount = named(new QLabel(this), QStringLiteral("lblCount"));
    const char *names[] = {"cmdSelect", "cmdCreate", "cmdCompact"};
    QPushButton **buttons[] = {&cmdSelect, &cmdCreate, &cmdCompact};
    for (int i = 0; i < 3; ++i)
        *buttons[i] = named(new QPushButton(this), QLatin1String(names[i]));
    connect(cmdSelect, &QPushButton::clicked, this, &frmDatabase::selectDatabase);
    connect(cmdCreate, &QPushButton::clicked, this, &frmDatabase::newDatabase);
    connect(cmdCompact, &QPushButton::clicked, this, &frmDatabase::compactDatabase);
    txtServer = named(new AddressEdit(this), QStringLiteral("txtServer"));
    cmdConnect = named(new QPushButton(this), QStringLiteral("cmdConnect"));
    connect(cmdConnect, &QPushButton::clicked, this, &frmDatabase::connectServer);
    connect(txtServer, &QLineEdit::returnPressed, this, &frmDatabase::connectServer);
    createFolderControls();
    createThumbnailControls();
    cmdOK = named(new QPushButton(this), QStringLiteral("cmdOK"));
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    lblStatus = named(new QLabel(this), QStringLiteral("lblStatus"));
}

void frmDatabase::createFolderControls()
{
    lvFolders = named(new QTreeWidget(this), QStringLiteral("lvFolders"));
    lvFolders->setRootIsDecorated(false);
    lvFolders->setColumnCount(4);
    lvFolders->header()->setStretchLastSection(false);
    lvFolders->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lvFolders->setMinimumHeight(150);
    FrameHelp = named(new QWidget(lvFolders->viewport()), QStringLiteral("FrameHelp"));
    auto *helpLines = new QVBoxLayout(FrameHelp);
    helpLines->setContentsMargins(10, 8, 10, 8);
    for (int i = 0; i < 3; ++i) {
        lblHelp[i] = named(new QLabel(FrameHelp), indexed("lblHelp", i));
        lblHelp[i]->setWordWrap(true);
        helpLines->addWidget(lblHelp[i]);
    }
    helpLines->addStretch(1);
    // The help lies over the empty list, as large as its visible part; the list keeps its own size.
    auto *over = new QVBoxLayout(lvFolders->viewport());
    over->setSizeConstraint(QLayout::SetNoConstraint);
    over->setContentsMargins(0, 0, 0, 0);
    over->addWidget(FrameHelp);
    lblSubFolder = named(new QLabel(this), QStringLiteral("lblSubFolder"));
    lblSubFolder->setWordWrap(true);
    lblSubFolder->setStyleSheet(textColourStyle(kLabelBlue));
    lblSubFolder->hide();
    const char *names[] = {"cmdAddFolder", "cmdRemoveFolder", "cmdScan", "cmdCancel"};
    QPushButton **buttons[] = {&cmdAddFolder, &cmdRemoveFolder, &cmdScan, &cmdCancel};
    for (int i = 0; i < 4; ++i)
        *buttons[i] = named(new QPushButton(this), QLatin1String(names[i]));
    // Stop takes the place of Scan while a scan runs.
    cmdScan->setEnabled(false);
    cmdCancel->hide();
    connect(cmdAddFolder, &QPushButton::clicked, this, &frmDatabase::addFolder);
    connect(cmdRemoveFolder, &QPushButton::clicked, this, &frmDatabase::removeFolder);
    connect(cmdScan, &QPushButton::clicked, this, &frmDatabase::scanCheckedFolders);
    connect(cmdCancel, &QPushButton::clicked, this, &frmDatabase::stopScan);
    connect(lvFolders, &QTreeWidget::itemChanged, this, &frmDatabase::updateScanButton);
    lvFolders->installEventFilter(this);
    sqlOutPut = named(new QListWidget(this), QStringLiteral("sqlOutPut"));
}

void frmDatabase::createThumbnailControls()
{
    chkThumbnails = named(new QCheckBox(this), QStringLiteral("chkThumbnails"));
    frameThumbnails = named(new QGroupBox(this), QStringLiteral("frameThumbnails"));
    auto *choices = new QVBoxLayout(frameThumbnails);
    for (int i = 0; i < 2; ++i) {
        optThumbnails[i] = named(new QRadioButton(frameThumbnails), indexed("optThumbnails", i));
        choices->addWidget(optThumbnails[i]);
        connect(optThumbnails[i], &QRadioButton::clicked, this, [this] {
            m_context.setSetting(&AppSettings::reCreateThumbnails, optThumbnails[0]->isChecked());
        });
    }
    lblThumbnails = named(new QLabel(this), QStringLiteral("lblThumbnails"));
    lblThumbnails->setWordWrap(true);
    lblThumbnails->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imgDest = named(new QLabel(this), QStringLiteral("imgDest"));
    // Room for the largest preview.
    imgDest->setFixedSize(thumbnailSizing::kMaxBoxTwips / kTwipsPerPixel);
    imgDest->setAlignment(Qt::AlignCenter);
    connect(chkThumbnails, &QCheckBox::clicked, this, &frmDatabase::thumbnailsClicked);
}

// The catalogue on top, the folders in the middle, the scan's log beside the thumbnail options
// below; the list and the log take the room a larger dialog gives.
void frmDatabase::layOut()
{
    auto *catalogue = new QGridLayout;
    catalogue->setHorizontalSpacing(10);
    catalogue->addWidget(lbllblDB, 0, 0);
    catalogue->addWidget(lblDB, 0, 1, 1, 2);
    catalogue->addWidget(lbllblCount, 1, 0);
    catalogue->addWidget(lblCount, 1, 1);
    auto *catalogueCommands = new QHBoxLayout;
    for (QPushButton *button : {cmdSelect, cmdCreate, cmdCompact})
        catalogueCommands->addWidget(button);
    catalogue->addLayout(catalogueCommands, 1, 2, Qt::AlignRight);
    auto *server = new QHBoxLayout;
    server->addWidget(txtServer, 1);
    server->addWidget(cmdConnect);
    catalogue->addLayout(server, 2, 1, 1, 2);
    catalogue->setColumnStretch(2, 1);

    auto *folderCommands = new QHBoxLayout;
    for (QPushButton *button : {cmdAddFolder, cmdRemoveFolder, cmdScan, cmdCancel})
        folderCommands->addWidget(button);
    folderCommands->addStretch(1);

    auto *thumbnails = new QVBoxLayout;
    thumbnails->addWidget(chkThumbnails);
    thumbnails->addWidget(frameThumbnails);
    thumbnails->addWidget(lblThumbnails);
    thumbnails->addWidget(imgDest, 0, Qt::AlignHCenter);
    thumbnails->addStretch(1);
    auto *scan = new QHBoxLayout;
    scan->addWidget(sqlOutPut, 1);
    scan->addLayout(thumbnails);
    chkThumbnails->setFixedWidth(kThumbnailColumnWidth);

    auto *closing = new QHBoxLayout;
    closing->addWidget(lblStatus, 1);
    closing->addWidget(cmdOK);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->addLayout(catalogue);
    column->addWidget(lvFolders, 3);
    column->addWidget(lblSubFolder);
    column->addLayout(folderCommands);
    column->addLayout(scan, 2);
    column->addLayout(closing);
}

void frmDatabase::applyLanguage()
{
    using enum InterfaceText;
    const LanguagePack &pack = m_context.language;
    setWindowTitle(withoutAccelerator(pack.text(DefineDatabaseMenuItem)));
    lbllblDB->setText(pack.text(DatabaseButton));
    lbllblCount->setText(pack.text(ImageCountLabel));
    cmdSelect->setText(pack.text(SelectDatabaseButton));
    cmdCreate->setText(pack.text(NewDatabaseButton));
    cmdCompact->setText(pack.text(CompactDatabaseButton));
    txtServer->setPlaceholderText(pack.text(ServerAddressHint));
    cmdConnect->setText(pack.text(ConnectButton));
    cmdAddFolder->setText(pack.text(AddFolderButton));
    cmdRemoveFolder->setText(pack.text(RemoveFolderButton));
    cmdScan->setText(pack.text(ScanButton));
    cmdCancel->setText(pack.text(StopButton));
    cmdOK->setText(pack.text(CloseButton));
    for (QPushButton *button :
         {cmdSelect, cmdCreate, cmdCompact, cmdConnect, cmdAddFolder, cmdRemoveFolder, cmdScan, cmdCancel, cmdOK})
        fitRoundedButton(button, kButtonWidth);
    lvFolders->setHeaderLabels({pack.text(FolderPathHeader), pack.text(FolderStatusHeader),
                                pack.text(FolderFilesHeader), pack.text(FolderLastScanHeader)});
    fitFolderColumns();
    lblSubFolder->setText(pack.message(Message::SubfolderRowsNote));
    const InterfaceText help[] = {DatabaseHelpLine1, DatabaseHelpLine2, DatabaseHelpLine3};
    for (int i = 0; i < 3; ++i)
        lblHelp[i]->setText(pack.text(help[i]));
    chkThumbnails->setText(pack.text(CreateThumbnailsOption));
    frameThumbnails->setTitle(pack.text(ExistingThumbnailsFrame));
    optThumbnails[0]->setText(pack.text(RecreateThumbnailsOption));
    optThumbnails[1]->setText(pack.text(KeepThumbnailsOption));
    showThumbnailExplanation();
}

void frmDatabase::setThumbnailStoreRoot(const QString &root)
{
    m_thumbnailStoreRoot = root;
    showThumbnailExplanation();
}

// Where the thumbnails are kept, below what they are.
void frmDatabase::showThumbnailExplanation()
{
    const QString store = m_thumbnailStoreRoot.isEmpty() ? ThumbnailStore().root() : m_thumbnailStoreRoot;
    lblThumbnails->setText(m_context.language.text(InterfaceText::ThumbnailsExplanation) + u'\n'
                           + QDir::toNativeSeparators(store));
}

// The path column takes the width the others leave; they are at least 800, 850 and 1600 twips,
// wider when their header or a value asks for more.
void frmDatabase::fitFolderColumns()
{
    const int designTwips[] = {800, 850, 1600};
    for (int column = 1; column <= 3; ++column) {
        lvFolders->resizeColumnToContents(column);
        lvFolders->setColumnWidth(column, std::max(lvFolders->columnWidth(column), pixels(designTwips[column - 1])));
    }
}

void frmDatabase::setThumbnailControls()
{
    const AppSettings &settings = m_context.settings;
    // The stored choice stays shown while thumbnails are off, so the frame never offers neither.
    optThumbnails[settings.reCreateThumbnails ? 0 : 1]->setChecked(true);
    chkThumbnails->setChecked(settings.createThumbnails);
    frameThumbnails->setEnabled(settings.createThumbnails);
    if (!m_context.namedStreamsAvailable) {
        chkThumbnails->setChecked(false);
        chkThumbnails->setEnabled(false);
        lblThumbnails->setEnabled(false);
    }
}

void frmDatabase::thumbnailsClicked()
{
    const bool create = chkThumbnails->isChecked();
    frameThumbnails->setEnabled(create);
    m_context.setSetting(&AppSettings::createThumbnails, create);
}

void frmDatabase::showPath(const QString &path)
{
    lblDB->setText(path);
    m_main.showCataloguePath(path);
    sqlOutPut->clear();
    cmdScan->setEnabled(false);
}

void frmDatabase::selectDatabase()
{
    const QString chosen = m_chooseFile(FileChoice::ExistingCatalogue, withoutAccelerator(cmdSelect->text()),
                                        startFolderFor(m_context.catalogue.path));
    if (chosen.isEmpty())
        return;
    const CatalogueFileCheck check = checkCatalogueFile(chosen);
    if (!check.isCatalogue()) {
        refuseCatalogue(check, chosen);
        return;
    }
    useCatalogue(chosen);
}

// What is wrong with the catalogue asked for; the one in use stays, and the message says so.
void frmDatabase::refuseCatalogue(const CatalogueFileCheck &check, const QString &asked)
{
    const LanguagePack &pack = m_context.language;
    QString text = catalogueFileProblem(check, asked, pack);
    if (!m_context.catalogue.path.isEmpty())
        text += QStringLiteral("\n\n") + pack.message(Message::CatalogueKept) + u'\n' + m_context.catalogue.path;
    m_feedback.showMessage(text, MessageIcon::Critical);
}

void frmDatabase::connectServer()
{
    const QString address = txtServer->text().trimmed();
    if (address.isEmpty())
        return;
    const CatalogueFileCheck check = CatalogueDb::isServerCatalogue(address) ? checkCatalogueFile(address)
                                                                             : CatalogueFileCheck{};
    if (check.kind == CatalogueFileKind::Missing && CatalogueDb::isServerCatalogue(address)) {
        // A database of its own for the catalogue, still empty: the first connection makes the tables.
        const QString before = m_context.catalogue.path;
        m_context.catalogue.path = address;
        if (!m_context.createSchema(m_feedback)) {
            m_context.catalogue.path = before; // told why; the catalogue in use stays
            return;
        }
        m_main.applyTranslationsState();
        showPath(address);
        refreshFolderList();
        return;
    }
    if (!check.isCatalogue()) {
        refuseCatalogue(check, address);
        return;
    }
    useCatalogue(address);
}

void frmDatabase::useCatalogue(const QString &chosen)
{
    m_context.catalogue.path = chosen;
    m_context.rememberCatalogue(chosen);
    showPath(chosen);
    if (m_context.catalogue.openOrReport(m_feedback)) {
        m_context.loadTranslations(m_feedback);
        m_main.applyTranslationsState();
        m_context.catalogue.close();
        m_main.clearResultPage();
    }
    repaint();
    refreshFolderList();
}

void frmDatabase::newDatabase()
{
    const QString chosen = m_chooseFile(FileChoice::NewCatalogue, withoutAccelerator(cmdCreate->text()),
                                        startFolderFor(m_context.catalogue.path));
    if (chosen.isEmpty())
        return;
    if (QFileInfo::exists(chosen)) {
        if (!m_feedback.askYesNo(m_context.language.message(Message::ReplaceExistingFile) + u'\n' + chosen))
            return;
        QFile::remove(chosen); // a failure shows through the schema's own reports
    }
    m_context.catalogue.path = chosen;
    m_context.createSchema(m_feedback);
    m_main.applyTranslationsState();
    showPath(chosen);
    refreshFolderList();
}

void frmDatabase::reportMissingCatalogue()
{
    m_feedback.showMessage(m_context.missingCatalogueText(m_context.catalogue.path), MessageIcon::Critical);
}

void frmDatabase::compactDatabase()
{
    QElapsedTimer elapsed; // monotonic: a compaction across midnight reports its true duration
    elapsed.start();
    BusyCursor busy;
    CatalogueDb &catalogue = m_context.catalogue;
    if (catalogueFileMissing() || !catalogue.openOrReport(m_feedback))
        return;
    const QString rowidsBefore = searchIndex::rowidFingerprint(catalogue);
    const bool compacted = compactCatalogue(catalogue, m_feedback);
    if (compacted && searchIndex::rowidFingerprint(catalogue) != rowidsBefore)
        searchIndex::drop(catalogue); // made anew before the next search
    if (compacted)
        lblStatus->setText(u' ' + m_context.language.message(Message::ElapsedTime) + u' '
                           + QString::number(elapsed.elapsed() / 1000) + QStringLiteral(" s"));
    catalogue.close();
}

void frmDatabase::refreshFolderList()
{
    lvFolders->clear();
    lblSubFolder->hide();
    CatalogueDb &catalogue = m_context.catalogue;
    const bool there = catalogue.isServer() || QFileInfo(catalogue.path).isFile(); // a server's is checked by opening
    if (!catalogue.path.isEmpty() && there && catalogue.openOrReport(m_feedback)) {
        BusyCursor busy;
        if (const auto rows = selectFolders(catalogue, m_feedback)) {
            for (const FolderRow &row : *rows) {
                const bool exists = filenames::fileFacts(row.folder).isFolder; // by the name's own bytes
                const QString state =
                    exists ? QStringLiteral("OK") : m_context.language.message(Message::FolderMissing);
                auto *item = new QTreeWidgetItem(lvFolders, {row.folder, state, row.files, row.lastScan});
                item->setCheckState(0, Qt::Unchecked);
                item->setTextAlignment(1, Qt::AlignCenter);
                item->setTextAlignment(2, Qt::AlignCenter);
                if (!exists)
                    for (int c = 0; c < 4; ++c)
                        item->setForeground(c, kStatusRed);
            }
            const long long total = totalFiles(*rows);
            lblCount->setText(QString::number(total));
            m_main.showCatalogueCount(total);
        }
        catalogue.close();
    }
    fitFolderColumns();
    FrameHelp->setVisible(lvFolders->topLevelItemCount() == 0);
}

} // namespace zelvarion
