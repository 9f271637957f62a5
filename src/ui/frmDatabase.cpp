#include "ui/frmDatabase.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/FolderRegistry.h"
#include "core/catalogue/ThumbnailSizing.h"
#include "core/shell/Feedback.h"
#include "platform/ProgramFolder.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"
#include "ui/frmZelvarion.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace zelvarion {
using namespace controls;

namespace {

QString chooseDatabaseFile(QWidget *owner, const QString &title, const QString &startPath)
{
    QString filter = QStringLiteral("Database (*.db)");
    return QFileDialog::getSaveFileName(owner, title, startPath, filter, &filter,
                                        QFileDialog::DontConfirmOverwrite);
}

QString chooseFolder(QWidget *owner, const QString &title)
{
    return QFileDialog::getExistingDirectory(owner, title, QString(), QFileDialog::ShowDirsOnly);
}

QString startFolderFor(const QString &path)
{
    return path.isEmpty() ? programFolder::path() : path;
}

// Restores the normal cursor however the command ends.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace

frmDatabase::frmDatabase(frmZelvarion &main)
    : QDialog(&main), m_main(main), m_context(main.context()), m_feedback(main.feedback())
{
    setObjectName(QStringLiteral("frmDatabase"));
    setModal(true);
    m_chooseFile = [this](const QString &title, const QString &start) { return chooseDatabaseFile(this, title, start); };
    m_chooseFolder = [this](const QString &title) { return chooseFolder(this, title); };
    createControls();
    applyLanguage();
    for (QPushButton *button : {cmdSelect, cmdCreate, cmdCompact, cmdAddFolder, cmdRemoveFolder, cmdScan, cmdCancel, cmdOK})
        roundCorners(button);
    lblDB->setText(m_context.catalogue.path);
    setThumbnailControls();
    refreshFolderList();
    setWindowFlag(Qt::WindowStaysOnTopHint, m_context.settings.stayOnTop);
}

void frmDatabase::createControls()
{
    setFixedSize(720, 640);
    lbllblDB = named(new QLabel(this), QStringLiteral("lbllblDB"));
    lbllblDB->setGeometry(12, 12, 130, 20);
    lblDB = named(new QLabel(this), QStringLiteral("lblDB"));
    lblDB->setGeometry(144, 12, 564, 20);
    lblDB->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbllblCount = named(new QLabel(this), QStringLiteral("lbllblCount"));
    lbllblCount->setGeometry(12, 36, 130, 20);
    lblCount = named(new QLabel(this), QStringLiteral("lblCount"));
    lblCount->setGeometry(144, 36, 120, 20);
    const char *names[] = {"cmdSelect", "cmdCreate", "cmdCompact"};
    QPushButton **buttons[] = {&cmdSelect, &cmdCreate, &cmdCompact};
    for (int i = 0; i < 3; ++i) {
        *buttons[i] = named(new QPushButton(this), QLatin1String(names[i]));
        (*buttons[i])->setGeometry(300 + 138 * i, 32, 132, 30);
    }
    connect(cmdSelect, &QPushButton::clicked, this, &frmDatabase::selectDatabase);
    connect(cmdCreate, &QPushButton::clicked, this, &frmDatabase::newDatabase);
    connect(cmdCompact, &QPushButton::clicked, this, &frmDatabase::compactDatabase);
    createFolderControls();
    createThumbnailControls();
    cmdOK = named(new QPushButton(this), QStringLiteral("cmdOK"));
    cmdOK->setGeometry(576, 598, 132, 30);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    lblStatus = named(new QLabel(this), QStringLiteral("lblStatus"));
    lblStatus->setGeometry(12, 602, 556, 22);
}

void frmDatabase::createFolderControls()
{
    lvFolders = named(new QTreeWidget(this), QStringLiteral("lvFolders"));
    lvFolders->setGeometry(12, 70, 696, 180);
    lvFolders->setRootIsDecorated(false);
    lvFolders->setColumnCount(4);
    lvFolders->header()->setStretchLastSection(false);
    FrameHelp = named(new QWidget(lvFolders->viewport()), QStringLiteral("FrameHelp"));
    FrameHelp->setGeometry(10, 8, 660, 150);
    for (int i = 0; i < 3; ++i) {
        lblHelp[i] = named(new QLabel(FrameHelp), indexed("lblHelp", i));
        lblHelp[i]->setWordWrap(true);
        lblHelp[i]->setGeometry(0, 40 * i, 660, 38);
    }
    lblSubFolder = named(new QLabel(this), QStringLiteral("lblSubFolder"));
    lblSubFolder->setGeometry(12, 250, 696, 32);
    lblSubFolder->setWordWrap(true);
    lblSubFolder->setStyleSheet(QStringLiteral("color: rgb(0, 0, 255);"));
    lblSubFolder->hide();
    const char *names[] = {"cmdAddFolder", "cmdRemoveFolder", "cmdScan", "cmdCancel"};
    QPushButton **buttons[] = {&cmdAddFolder, &cmdRemoveFolder, &cmdScan, &cmdCancel};
    for (int i = 0; i < 4; ++i) {
        *buttons[i] = named(new QPushButton(this), QLatin1String(names[i]));
        (*buttons[i])->setGeometry(12 + 138 * i, 284, 132, 30);
    }
    // Stop takes the place of Scan while a scan runs.
    cmdCancel->setGeometry(cmdScan->geometry());
    cmdScan->setEnabled(false);
    cmdCancel->hide();
    connect(cmdAddFolder, &QPushButton::clicked, this, &frmDatabase::addFolder);
    connect(cmdRemoveFolder, &QPushButton::clicked, this, &frmDatabase::removeFolder);
    connect(cmdScan, &QPushButton::clicked, this, &frmDatabase::scanCheckedFolders);
    connect(cmdCancel, &QPushButton::clicked, this, &frmDatabase::stopScan);
    connect(lvFolders, &QTreeWidget::itemChanged, this, &frmDatabase::updateScanButton);
    lvFolders->installEventFilter(this);
    sqlOutPut = named(new QListWidget(this), QStringLiteral("sqlOutPut"));
    sqlOutPut->setGeometry(12, 322, 460, 266);
}

void frmDatabase::createThumbnailControls()
{
    chkThumbnails = named(new QCheckBox(this), QStringLiteral("chkThumbnails"));
    chkThumbnails->setGeometry(484, 322, 224, 22);
    frameThumbnails = named(new QGroupBox(this), QStringLiteral("frameThumbnails"));
    frameThumbnails->setGeometry(484, 346, 224, 70);
    for (int i = 0; i < 2; ++i) {
        optThumbnails[i] = named(new QRadioButton(frameThumbnails), indexed("optThumbnails", i));
        optThumbnails[i]->setGeometry(10, 20 + 24 * i, 204, 22);
        connect(optThumbnails[i], &QRadioButton::clicked, this, [this] {
            m_context.setSetting(&AppSettings::reCreateThumbnails, optThumbnails[0]->isChecked());
        });
    }
    lblThumbnails = named(new QLabel(this), QStringLiteral("lblThumbnails"));
    lblThumbnails->setGeometry(484, 420, 224, 90);
    lblThumbnails->setWordWrap(true);
    lblThumbnails->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imgDest = named(new QLabel(this), QStringLiteral("imgDest"));
    // Room for the largest preview.
    imgDest->setGeometry(QRect(QPoint(536, 512), thumbnailSizing::kMaxBoxTwips / kTwipsPerPixel));
    imgDest->setAlignment(Qt::AlignCenter);
    connect(chkThumbnails, &QCheckBox::clicked, this, &frmDatabase::thumbnailsClicked);
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
    cmdAddFolder->setText(pack.text(AddFolderButton));
    cmdRemoveFolder->setText(pack.text(RemoveFolderButton));
    cmdScan->setText(pack.text(ScanButton));
    cmdCancel->setText(pack.text(StopButton));
    cmdOK->setText(pack.text(CloseButton));
    lvFolders->setHeaderLabels({pack.text(FolderPathHeader), pack.text(FolderStatusHeader),
                                pack.text(FolderFilesHeader), pack.text(FolderLastScanHeader)});
    lvFolders->setColumnWidth(1, 53); // 800 twips
    lvFolders->setColumnWidth(2, 57); // 850 twips
    lvFolders->setColumnWidth(3, 107); // 1600 twips
    // The viewport has no size before the dialog is first shown; the list's own width is known.
    lvFolders->setColumnWidth(0, lvFolders->width() - 2 * lvFolders->frameWidth() - 53 - 57 - 107 - 3);
    lblSubFolder->setText(pack.message(Message::SubfolderRowsNote));
    const InterfaceText help[] = {DatabaseHelpLine1, DatabaseHelpLine2, DatabaseHelpLine3};
    for (int i = 0; i < 3; ++i)
        lblHelp[i]->setText(pack.text(help[i]));
    chkThumbnails->setText(pack.text(CreateThumbnailsOption));
    frameThumbnails->setTitle(pack.text(ExistingThumbnailsFrame));
    optThumbnails[0]->setText(pack.text(RecreateThumbnailsOption));
    optThumbnails[1]->setText(pack.text(KeepThumbnailsOption));
    lblThumbnails->setText(pack.text(ThumbnailsExplanation));
}

void frmDatabase::setThumbnailControls()
{
    const AppSettings &settings = m_context.settings;
    optThumbnails[settings.reCreateThumbnails ? 0 : 1]->setChecked(true);
    chkThumbnails->setChecked(settings.createThumbnails);
    frameThumbnails->setEnabled(settings.createThumbnails);
    if (!settings.createThumbnails) {
        for (QRadioButton *choice : optThumbnails) {
            choice->setAutoExclusive(false);
            choice->setChecked(false);
            choice->setAutoExclusive(true);
        }
    }
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
    if (!create) {
        for (QRadioButton *choice : optThumbnails) {
            choice->setAutoExclusive(false);
            choice->setChecked(false);
            choice->setAutoExclusive(true);
        }
    }
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
    const QString chosen = m_chooseFile(cmdSelect->text(), startFolderFor(m_context.catalogue.path));
    if (chosen.isEmpty())
        return;
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
    const QString chosen = m_chooseFile(cmdCreate->text(), startFolderFor(m_context.catalogue.path));
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
    if (catalogue.executeOrReport(m_feedback, QStringLiteral("vacuum;"),
                                  QStringLiteral("Cannot run VACUUM '") + catalogue.path + u'\''))
        lblStatus->setText(u' ' + m_context.language.message(Message::ElapsedTime) + u' '
                           + QString::number(elapsed.elapsed() / 1000) + QStringLiteral(" s"));
    catalogue.close();
}

void frmDatabase::refreshFolderList()
{
    lvFolders->clear();
    lblSubFolder->hide();
    CatalogueDb &catalogue = m_context.catalogue;
    if (!catalogue.path.isEmpty() && QFileInfo(catalogue.path).isFile() && catalogue.openOrReport(m_feedback)) {
        BusyCursor busy;
        if (const auto rows = selectFolders(catalogue, m_feedback)) {
            for (const FolderRow &row : *rows) {
                const bool exists = QFileInfo(row.folder).isDir();
                const QString state =
                    exists ? QStringLiteral("OK") : m_context.language.message(Message::FolderMissing);
                auto *item = new QTreeWidgetItem(lvFolders, {row.folder, state, row.files, row.lastScan});
                item->setCheckState(0, Qt::Unchecked);
                item->setTextAlignment(1, Qt::AlignCenter);
                item->setTextAlignment(2, Qt::AlignCenter);
                if (!exists)
                    for (int c = 0; c < 4; ++c)
                        item->setForeground(c, QColor(255, 0, 0));
            }
            const long long total = totalFiles(*rows);
            lblCount->setText(QString::number(total));
            m_main.showCatalogueCount(total);
        }
        catalogue.close();
    }
    FrameHelp->setVisible(lvFolders->topLevelItemCount() == 0);
}

} // namespace zelvarion
