#include "ui/frmZelvarion.h"

#include "core/shell/AppInfo.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/MessageBoxFeedback.h"
#include "platform/gui/ShellServices.h"
#include "ui/Pictures.h"
#include "ui/Twips.h"
#include "ui/frmAbout.h"
#include "ui/frmDatabase.h"
#include "ui/frmSearchOptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QToolButton>

namespace zelvarion {

frmZelvarion::frmZelvarion(Feedback *feedback, QWidget *parent)
    : QMainWindow(parent),
      m_ownFeedback(feedback ? nullptr : std::make_unique<MessageBoxFeedback>(this)),
      m_feedback(feedback ? feedback : m_ownFeedback.get())
{
    setObjectName(QStringLiteral("frmZelvarion"));
    setWindowTitle(applicationTitle());
    setWindowIcon(pictures::applicationIcon());
    // The controls are placed at fixed positions; a compact font keeps their captions whole.
    QFont compact = font();
    compact.setPointSizeF(8);
    setFont(compact);
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(central);
    createMenus();
    createSearchControls(central);
    createResultGrid(central);
    createPanelAndLegend(central);
    setGeometry(designGeometry());
    setFixedWidth(designGeometry().width());
    m_wholeWordTop = chkWholeWord->y();
    connectCommands();
    connectSearchControls();
    connectNavigation();
    watchCells();
    setInitialSearchControlStates();
    setNavigationEnabled(false);
    disableLaterCommands();
    clearResultPage();
    m_openDatabaseDialog = [this] {
        frmDatabase dialog(*this);
        dialog.exec();
    };
}

frmZelvarion::~frmZelvarion() = default;

QAction *frmZelvarion::addItem(QMenu *menu, const char *name, const QString &caption)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    return item;
}

void frmZelvarion::createMenus()
{
    auto topMenu = [this](const char *name, const QString &caption) {
        QMenu *menu = menuBar()->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        return menu;
    };
    mnuFile = topMenu("mnuFile", QStringLiteral("File"));
    mnuBase = addItem(mnuFile, "mnuBase", QStringLiteral("Define database and folders to scan"));
    mnuFile->addSeparator();
    mnuFileExit = addItem(mnuFile, "mnuFileExit", QStringLiteral("Exit"));

    mnuConfiguration = topMenu("mnuConfiguration", QStringLiteral("Configuration"));
    mnuSearchOptions = addItem(mnuConfiguration, "mnuSearchOptions", QStringLiteral("Search options"));
    mnuEditIPTCOptions = addItem(mnuConfiguration, "mnuEditIPTCOptions", QStringLiteral("Edit IPTC options"));
    mnuConfiguration->addSeparator();
    mnuDisplayImage = addItem(mnuConfiguration, "mnuDisplayImage", QStringLiteral("Display image"));
    mnuStayOnTop = addItem(mnuConfiguration, "mnuStayOnTop", QStringLiteral("Stay on top"));
    mnuUseThumbnails = addItem(mnuConfiguration, "mnuUseThumbnails",
                               QStringLiteral("Use generated thumbnails to display images"));
    for (QAction *item : {mnuDisplayImage, mnuStayOnTop, mnuUseThumbnails})
        item->setCheckable(true);

    mnuTemplates = topMenu("mnuTemplates", QStringLiteral("Templates"));
    mnuDefineTemplates = addItem(mnuTemplates, "mnuDefineTemplates", QStringLiteral("Define IPTC templates"));
    mnuApplyTemplate = addItem(mnuTemplates, "mnuApplyTemplate",
                               QStringLiteral("Apply template to images in search result"));

    mnuSelectedImages = topMenu("mnuSelectedImages", QStringLiteral("Selection"));
    mnuDisplaySelected = addItem(mnuSelectedImages, "mnuDisplaySelected", QStringLiteral("Display selected images"));
    mnuRemoveSelection = addItem(mnuSelectedImages, "mnuRemoveSelection", QStringLiteral("Remove all selection marks"));
    mnuSelections = addItem(mnuSelectedImages, "mnuSelections", QStringLiteral("Save selections"));
    mnuSelectResult = addItem(mnuSelectedImages, "mnuSelectResult", QStringLiteral("Select all images in result"));
    mnuUnselectResult = addItem(mnuSelectedImages, "mnuUnselectResult", QStringLiteral("Unselect all images in result"));
    // The legend's pictures beside the first two items.
    mnuDisplaySelected->setIcon(QIcon(pictures::checkMark(1)));
    mnuRemoveSelection->setIcon(QIcon(pictures::checkMark(0)));

    mnuTools = topMenu("mnuTools", QStringLiteral("Tools"));
    mnuStatistics = addItem(mnuTools, "mnuStatistics", QStringLiteral("Word statistics"));
    mnuEmptyWordsList = addItem(mnuTools, "mnuEmptyWordsList", QStringLiteral("Empty words list"));
    mnuSearchDoubles = addItem(mnuTools, "mnuSearchDoubles", QStringLiteral("Search double filenames"));
    mnuCopyImages = addItem(mnuTools, "mnuCopyImages", QStringLiteral("Copy images"));
    mnuSQLQuery = addItem(mnuTools, "mnuSQLQuery", QStringLiteral("SQL Select Query [expert]"));
    mnuExportxML = addItem(mnuTools, "mnuExportxML", QStringLiteral("XML Export"));

    mnuLanguages = topMenu("mnuLanguages", QStringLiteral("Language"));
    for (int i = 0; i < kLanguageItems; ++i) {
        mnuLanguage[i] = mnuLanguages->addAction(i == 0 ? QStringLiteral("English") : QString());
        mnuLanguage[i]->setObjectName(QStringLiteral("mnuLanguage_") + QString::number(i));
        mnuLanguage[i]->setCheckable(true);
        mnuLanguage[i]->setVisible(i == 0);
    }

    mnuAboutHelp = topMenu("mnuAboutHelp", QStringLiteral("?"));
    mnuHelp = addItem(mnuAboutHelp, "mnuHelp", QStringLiteral("Help"));
    mnuAbout = addItem(mnuAboutHelp, "mnuAbout", QStringLiteral("About"));

    mnuIPTCPopup = new QMenu(this);
    mnuIPTCPopup->setObjectName(QStringLiteral("mnuIPTCPopup"));
    mnuIPTCCopy = addItem(mnuIPTCPopup, "mnuIPTCCopy", QStringLiteral("Copy"));
    mnuImagePopup = new QMenu(this);
    mnuImagePopup->setObjectName(QStringLiteral("mnuImagePopup"));
    mnuEditIPTC = addItem(mnuImagePopup, "mnuEditIPTC", QStringLiteral("Edit IPTC informations"));
    mnuOpenImage = addItem(mnuImagePopup, "mnuOpenImage", QStringLiteral("Open image"));
    mnuDelete = addItem(mnuImagePopup, "mnuDelete", QStringLiteral("Delete"));
    mnuRename = addItem(mnuImagePopup, "mnuRename", QStringLiteral("Rename"));
    mnuProperties = addItem(mnuImagePopup, "mnuProperties", QStringLiteral("Properties"));
}

void frmZelvarion::connectCommands()
{
    connect(cmdDatabase, &QPushButton::clicked, this, &frmZelvarion::openDatabaseDialog);
    connect(mnuBase, &QAction::triggered, this, &frmZelvarion::openDatabaseDialog);
    connect(mnuFileExit, &QAction::triggered, this, [this] {
        close();
        QApplication::quit();
    });
    connect(mnuDisplayImage, &QAction::triggered, this,
            [this] { toggleSetting(mnuDisplayImage, m_context.settings.displayImage, "DisplayImage"); });
    connect(mnuStayOnTop, &QAction::triggered, this, [this] {
        toggleSetting(mnuStayOnTop, m_context.settings.stayOnTop, "StayOnTop");
        setOnTop();
    });
    connect(mnuUseThumbnails, &QAction::triggered, this,
            [this] { toggleSetting(mnuUseThumbnails, m_context.settings.useThumbnails, "UseThumbnails"); });
    for (int i = 0; i < kLanguageItems; ++i)
        connect(mnuLanguage[i], &QAction::triggered, this, [this, i] { chooseLanguage(i); });
    connect(mnuAbout, &QAction::triggered, this, &frmZelvarion::showAbout);
    connect(mnuHelp, &QAction::triggered, this, &frmZelvarion::showHelp);
    connect(mnuSearchOptions, &QAction::triggered, this, &frmZelvarion::showSearchOptions);
}

// Commands whose work is not in this version are shown, captioned and disabled.
void frmZelvarion::disableLaterCommands()
{
    for (QAction *item : {mnuEditIPTCOptions, mnuDefineTemplates, mnuApplyTemplate, mnuDisplaySelected,
                          mnuRemoveSelection, mnuSelections, mnuSelectResult, mnuUnselectResult, mnuStatistics,
                          mnuEmptyWordsList, mnuSearchDoubles, mnuCopyImages, mnuSQLQuery, mnuExportxML,
                          mnuEditIPTC, mnuDelete, mnuRename, mnuProperties})
        item->setEnabled(false);
}

void frmZelvarion::openDatabaseDialog()
{
    if (m_openDatabaseDialog)
        m_openDatabaseDialog();
}

void frmZelvarion::toggleSetting(QAction *item, bool &setting, const char *key)
{
    setting = item->isChecked();
    writeSwitch(m_context.ini, QStringLiteral("Configuration"), QLatin1String(key), setting);
}

void frmZelvarion::setOnTop()
{
    const bool wasVisible = isVisible();
    const QRect placement = geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, m_context.settings.stayOnTop);
    // Changing a window flag hides the window; show it again where it was.
    if (wasVisible) {
        setGeometry(placement);
        show();
    }
}

void frmZelvarion::chooseLanguage(int item)
{
    QAction *chosen = mnuLanguage[item];
    const QString language = item == 0 ? QStringLiteral("English") : chosen->text();
    if (language == m_context.settings.language) {
        chosen->setChecked(true); // choosing the checked item changes nothing
        return;
    }
    m_context.settings.language = language;
    m_context.ini.write(QStringLiteral("Configuration"), QStringLiteral("Language"), language);
    checkLanguageItem(language);
    loadLanguagePack();
}

void frmZelvarion::checkLanguageItem(const QString &language)
{
    for (QAction *item : mnuLanguage)
        item->setChecked(item->isVisible() && item->text() == language);
}

void frmZelvarion::showCatalogueCount(long long total)
{
    lblCount->setText(QString::number(total));
    FrameHelp->setVisible(total == 0);
}

void frmZelvarion::showCataloguePath(const QString &path)
{
    lblDB->setText(path);
}

void frmZelvarion::applyTranslationsState()
{
    const TranslationsState &state = m_context.translations;
    if (!state.tableCleared)
        return;
    chkTranslation->setVisible(state.fileExists);
    chkWholeWord->move(chkWholeWord->x(), state.fileExists ? m_wholeWordTop : chkTranslation->y());
}

void frmZelvarion::clearResultPage()
{
    rtfIPTC->clear();
    rtfIPTC->repaint();
    for (int i = 0; i < kCells; ++i) {
        ResultCell &cell = cells[i];
        cell.thumb->clear();
        cell.thumb->setGeometry(cell.name->x(), cell.name->y() - pixels(1200), pixels(1800), pixels(1200));
        cell.thumb->setFrameShape(QFrame::Box);
        cell.folder.clear();
        cell.file.clear();
        cell.selected = false;
        cell.draggable = false;
        cell.name->clear();
        cell.name->setToolTip(QString());
        cell.name->setProperty("tag", QString());
        cell.name->setStyleSheet(QStringLiteral("color: black;"));
        cell.check->hide();
        cell.check->setToolTip(QString());
        cell.check->setProperty("tag", QString());
        cell.lineTop->hide();
        cell.lineDown->hide();
        cell.rank->hide();
    }
}

void frmZelvarion::closeEvent(QCloseEvent *event)
{
    runCloseSequence();
    event->accept();
}

void frmZelvarion::runCloseSequence()
{
    if (m_closeSequenceDone)
        return;
    m_closeSequenceDone = true;
    writeWindowTwips(m_context.ini, QStringLiteral("MainWindow"), twips(QRect(pos(), size())));
    QStringList history;
    for (int i = 0; i < lstTxtSearch->count(); ++i)
        history << lstTxtSearch->itemText(i);
    writeSearchHistory(m_context.ini, history);
}

void frmZelvarion::showSearchOptions()
{
    frmSearchOptions options(m_context, *m_feedback, this);
    options.exec();
}

void frmZelvarion::showAbout()
{
    frmAbout about(m_context, this);
    about.exec();
}

void frmZelvarion::showHelp()
{
    if (!shell::openWithDefaultProgram(programFolder::helpFilePath()))
        m_feedback->showMessage(programFolder::helpFilePath(), MessageIcon::Warning);
}

} // namespace zelvarion
