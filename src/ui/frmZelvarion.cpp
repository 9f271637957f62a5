// The main window: its panels put together, the menu commands it runs itself, the setting
// toggles, the language switch, the layout rule and the close sequence.
#include "ui/frmZelvarion.h"

#include "core/session/AppInfo.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/MessageBoxFeedback.h"
#include "platform/gui/ShellServices.h"
#include "ui/Controls.h"
#include "ui/DetailPanel.h"
#include "ui/Pictures.h"
#include "ui/SearchPanel.h"
#include "core/session/Twips.h"
#include "ui/frmAbout.h"
#include "ui/frmDatabase.h"
#include "ui/SearchIndexProgress.h"
#include "ui/frmDisplayImage.h"
#include "ui/frmSQLQuery.h"
#include "ui/frmSearchOptions.h"
#include "ui/frmStatistics.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace zelvarion {
using namespace controls;

namespace {

constexpr int kWindowWidthTwips = 10728;
constexpr int kShortWindowHeightTwips = 7356;
constexpr int kPanelMinimumTwips = 1000;
constexpr int kPanelBottomGapTwips = 50;

constexpr int kPanelMargin = 8;
constexpr int kDatabaseButtonWidth = 109;

} // namespace

frmZelvarion::frmZelvarion(Feedback *feedback, QWidget *parent)
    : QMainWindow(parent),
      m_ownFeedback(feedback ? nullptr : std::make_unique<MessageBoxFeedback>(this)),
      m_feedback(feedback ? feedback : m_ownFeedback.get())
{
    setObjectName(QStringLiteral("frmZelvarion"));
    // The width is fixed: a maximised window would only be taller, so none is offered.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(applicationTitle());
    setWindowIcon(pictures::applicationIcon());
    // A compact font gives the captions of every language room in the fixed width.
    QFont compact = font();
    compact.setPointSizeF(8);
    setFont(compact);
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(central);

    m_menus = new MainMenus(this);
    setMenuBar(m_menus);
    m_searchPanel = new SearchPanel(m_context, *m_feedback, central);
    createCatalogueStatus(central);
    m_grid = new ResultGrid(m_context.settings, central);
    m_detail = new DetailPanel(central);
    layOut(central);

    setGeometry(designGeometry());
    setFixedWidth(designGeometry().width());
    connectPanels();
    connectCaptioning();
    // A search that finds images enables the commands on its result.
    m_menus->setCommandsEnabled({MenuCommand::Statistics, MenuCommand::ApplyTemplate, MenuCommand::CopyImages}, false);
    m_openDatabaseDialog = [this] {
        frmDatabase dialog(*this);
        dialog.exec();
        // A scan or another catalogue: the new rows are indexed before the next search.
        updateSearchIndex(this, m_context.catalogue.path, m_context.language);
    };
}

frmZelvarion::~frmZelvarion() = default;

QRect frmZelvarion::designGeometry()
{
    return {120, 80, pixels(kWindowWidthTwips), 640};
}

// The catalogue's button and image count sit in the search panel's top right corner.
void frmZelvarion::createCatalogueStatus(QWidget *central)
{
    auto *corner = new QWidget(m_searchPanel);
    corner->setObjectName(QStringLiteral("CatalogueStatus"));
    cmdDatabase = named(new QPushButton(QStringLiteral("Database"), corner), QStringLiteral("cmdDatabase"));
    roundCorners(cmdDatabase);
    lbllblCount = named(new QLabel(QStringLiteral("#Images:"), corner), QStringLiteral("lbllblCount"));
    lblCount = named(new QLabel(corner), QStringLiteral("lblCount"));
    lblCount->setMinimumWidth(SearchPanel::countWidth(lblCount));
    auto *grid = new QGridLayout(corner);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(6);
    grid->addWidget(cmdDatabase, 0, 0, 1, 2);
    grid->addWidget(lbllblCount, 1, 0);
    grid->addWidget(lblCount, 1, 1);
    grid->setRowStretch(2, 1);
    m_searchPanel->setCornerWidget(corner);
    lblDB = named(new QLabel(central), QStringLiteral("lblDB"));
    lblDB->hide();
}

// The panels one above the other; the detail panel takes the height left, down to 50 twips
// above the bottom edge.
void frmZelvarion::layOut(QWidget *central)
{
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, pixels(kPanelBottomGapTwips));
    column->setSpacing(4);
    column->addWidget(m_searchPanel);
    column->addWidget(m_grid);
    auto *detail = new QHBoxLayout;
    detail->setContentsMargins(kPanelMargin, 0, kPanelMargin, 0);
    detail->addWidget(m_detail);
    column->addLayout(detail, 1);
    m_detail->setMinimumHeight(pixels(kPanelMinimumTwips - kPanelBottomGapTwips));
}

void frmZelvarion::connectPanels()
{
    connect(cmdDatabase, &QPushButton::clicked, this, &frmZelvarion::openDatabaseDialog);
    connect(m_menus, &MainMenus::commandChosen, this, &frmZelvarion::runMenuCommand);
    connect(m_menus, &MainMenus::toggled, this, &frmZelvarion::toggleSetting);
    connect(m_menus, &MainMenus::languageChosen, this, &frmZelvarion::chooseLanguage);
    connect(m_searchPanel, &SearchPanel::searchRequested, this, [this] { runSearch(); });
    connect(m_grid, &ResultGrid::pageCleared, m_detail, &DetailPanel::clear);
    connect(m_grid, &ResultGrid::cellClicked, this, &frmZelvarion::clickCell);
    connect(m_grid, &ResultGrid::cellDoubleClicked, this, &frmZelvarion::openCellImage);
    connect(m_grid, &ResultGrid::cellMenuRequested, this, &frmZelvarion::openImagePopup);
    connect(m_grid, &ResultGrid::checkClicked, this, &frmZelvarion::toggleCellMark);
    connect(this, &frmZelvarion::menuCommandChosen, this, &frmZelvarion::runImageCommand);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &frmZelvarion::minimiseDisplayWindow);
}

void frmZelvarion::runMenuCommand(MenuCommand command)
{
    switch (command) {
    case MenuCommand::Base: openDatabaseDialog(); break;
    case MenuCommand::FileExit:
        close();
        QApplication::quit();
        break;
    case MenuCommand::SearchOptions: showSearchOptions(); break;
    case MenuCommand::Help: showHelp(); break;
    case MenuCommand::About: showAbout(); break;
    case MenuCommand::ExportxML: openExportDialog(); break;
    case MenuCommand::Statistics: openStatisticsWindow(); break;
    case MenuCommand::EmptyWordsList: openEmptyWordsDialog(); break;
    case MenuCommand::OpenImage:
        if (m_popupCell >= 0)
            openCellImage(m_popupCell);
        break;
    default: break;
    }
    Q_EMIT menuCommandChosen(command);
}

void frmZelvarion::openDatabaseDialog()
{
    if (m_openDatabaseDialog)
        m_openDatabaseDialog();
}

void frmZelvarion::toggleSetting(MenuToggle toggle, bool on)
{
    switch (toggle) {
    case MenuToggle::DisplayImage: m_context.setSetting(&AppSettings::displayImage, on); break;
    case MenuToggle::StayOnTop:
        m_context.setSetting(&AppSettings::stayOnTop, on);
        setOnTop();
        break;
    case MenuToggle::UseThumbnails: m_context.setSetting(&AppSettings::useThumbnails, on); break;
    }
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

// Choosing the checked language changes nothing.
void frmZelvarion::chooseLanguage(const QString &language)
{
    const bool changed = language != m_context.settings.language;
    if (changed)
        m_context.setSetting(&AppSettings::language, language);
    m_menus->checkLanguage(m_context.settings.language);
    if (changed)
        loadLanguagePack();
}

void frmZelvarion::loadLanguagePack()
{
    m_context.language.load(programFolder::languageFolder(), m_context.settings.language);
    applyLanguage();
}

void frmZelvarion::applyLanguage()
{
    const LanguagePack &pack = m_context.language;
    m_menus->applyLanguage(pack);
    m_searchPanel->applyLanguage();
    m_grid->applyLanguage(pack);
    m_detail->applyLanguage(pack);
    cmdDatabase->setText(pack.text(InterfaceText::DatabaseButton));
    fitRoundedButton(cmdDatabase, kDatabaseButtonWidth);
    lbllblCount->setText(pack.text(InterfaceText::ImageCountLabel));
}

void frmZelvarion::showCatalogueCount(long long total)
{
    lblCount->setText(QString::number(total));
    m_grid->setHelpVisible(total == 0);
}

void frmZelvarion::showCataloguePath(const QString &path)
{
    lblDB->setText(path);
}

void frmZelvarion::applyTranslationsState()
{
    m_searchPanel->applyTranslationsState(m_context.translations);
}

void frmZelvarion::setMenuCommandsEnabled(std::initializer_list<MenuCommand> commands, bool enabled)
{
    m_menus->setCommandsEnabled(commands, enabled);
}

bool frmZelvarion::isMenuCommandEnabled(MenuCommand command) const
{
    return m_menus->isCommandEnabled(command);
}

// The width is fixed and the layout stretches the detail panel to just above the bottom edge in
// every state, maximised too (no blank band below it). In the normal state a window too short
// for the panel is made taller again.
void frmZelvarion::applyLayoutRule()
{
    if (!isVisible() || (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const int panelTop = m_detail->mapTo(this, QPoint(0, 0)).y();
    if (twips(panelTop) + kPanelMinimumTwips > twips(height())) {
        // The panel lies lower here than in the window this height was made for: a height that
        // still leaves no room would hide the panel, so the panel's minimum wins.
        const int snapped = std::max(pixels(kShortWindowHeightTwips),
                                     panelTop + pixels(kPanelMinimumTwips + kPanelBottomGapTwips));
        resize(width(), snapped);
    }
}

void frmZelvarion::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    applyLayoutRule();
}

void frmZelvarion::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    applyLayoutRule();
}

void frmZelvarion::closeEvent(QCloseEvent *event)
{
    if (m_statistics && m_statistics->isAnalysing()) {
        // The analysis runs inside the statistics window; it ends at the next image, then the
        // window closes.
        m_statistics->stop();
        event->ignore();
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    if (m_statistics)
        m_statistics->close(); // its options are stored, and it does not outlive the program
    runCloseSequence();
    event->accept();
}

void frmZelvarion::runCloseSequence()
{
    if (m_closeSequenceDone)
        return;
    m_closeSequenceDone = true;
    writeWindowTwips(m_context.ini, QLatin1String(kMainWindowSection), twips(QRect(pos(), size())));
    writeSearchHistory(m_context.ini, m_searchPanel->history());
    if (m_sqlConsole)
        m_sqlConsole->close(); // its history is written as it closes
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

// A guide that cannot be shown is reported with what failed and where the guide should be.
void frmZelvarion::showHelp()
{
    const QString guide = programFolder::helpFilePath();
    if (!QFileInfo(guide).isFile()) {
        m_feedback->showMessage(m_context.language.message(Message::HelpFileMissing) + u'\n' + guide,
                                MessageIcon::Warning);
        return;
    }
    if (!shell::openWithDefaultProgram(guide))
        m_feedback->showMessage(m_context.language.message(Message::HelpNotOpened) + u'\n' + guide,
                                MessageIcon::Warning);
}

void frmZelvarion::showInDisplayWindow(const CellImage &image)
{
    if (!m_displayWindow)
        m_displayWindow = new frmDisplayImage(m_context.ini, this);
    m_displayWindow->showImage(image.path(), image.file);
}

void frmZelvarion::minimiseDisplayWindow()
{
    if (m_context.settings.displayImage && m_displayWindow && m_displayWindow->isVisible())
        m_displayWindow->showMinimized();
}

} // namespace zelvarion
