// The main window: its panels and controllers put together, the menu commands it dispatches,
// the layout rule and the close sequence; the operations other windows call, forwarded to the
// part that owns them.
#include "ui/frmZelvarion.h"

#include "core/session/AppInfo.h"
#include "platform/gui/MessageBoxFeedback.h"
#include "ui/CaptioningCommands.h"
#include "ui/CatalogueSession.h"
#include "ui/CatalogueStatus.h"
#include "ui/ConfigurationMenus.h"
#include "ui/DetailPanel.h"
#include "ui/ImageCommands.h"
#include "ui/Pictures.h"
#include "ui/ResultBrowser.h"
#include "ui/SearchPanel.h"
#include "core/session/Twips.h"
#include "ui/ToolsWindows.h"
#include "ui/frmDatabase.h"
#include "ui/SearchIndexProgress.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zelvarion {

namespace {

constexpr int kWindowWidthTwips = 10728;
constexpr int kShortWindowHeightTwips = 7356;
constexpr int kPanelMinimumTwips = 1000;
constexpr int kPanelBottomGapTwips = 50;

constexpr int kPanelMargin = 8;
// The detail panel keeps at least this part of the height when the cells grow.
constexpr double kDetailShareOfHeight = 0.35;

} // namespace

frmZelvarion::frmZelvarion(Feedback *feedback, QWidget *parent)
    : QMainWindow(parent),
      m_ownFeedback(feedback ? nullptr : std::make_unique<MessageBoxFeedback>(this)),
      m_feedback(feedback ? feedback : m_ownFeedback.get())
{
    setObjectName(QStringLiteral("frmZelvarion"));
    // The core's failures are told in the pack the Language menu chose, as the window's texts are.
    m_feedback->setLanguage(&m_context.language);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(applicationTitle());
    setWindowIcon(pictures::applicationIcon());
    // A compact font gives the captions of every language room in the designed width.
    QFont compact = font();
    compact.setPointSizeF(8);
    setFont(compact);
    createPanels();
    resize(designGeometry().size());
    move(designGeometry().topLeft());
    // Narrower than designed, the ten cells would no longer fit.
    setMinimumWidth(designGeometry().width());
    createControllers();
    // A search that finds images enables the commands on its result.
    m_menus->setCommandsEnabled({MenuCommand::Statistics, MenuCommand::ApplyTemplate, MenuCommand::CopyImages}, false);
    setDatabaseDialogOpener([this] {
        frmDatabase dialog(*this);
        dialog.exec();
        // A scan or another catalogue: the new rows are indexed before the next search.
        updateSearchIndex(this, m_context.catalogue.path, m_context.language);
    });
}

frmZelvarion::~frmZelvarion() = default;

QRect frmZelvarion::designGeometry()
{
    return {120, 80, pixels(kWindowWidthTwips), 640};
}

// The panels, each owning its controls; the catalogue's corner sits in the search panel's top
// right.
void frmZelvarion::createPanels()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(central);
    m_menus = new MainMenus(this);
    setMenuBar(m_menus);
    m_searchPanel = new SearchPanel(m_context, *m_feedback, central);
    m_status = new CatalogueStatus(m_searchPanel);
    m_searchPanel->setCornerWidget(m_status);
    m_grid = new ResultGrid(m_context.settings, central);
    m_detail = new DetailPanel(central);
    layOut(central);
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

// Each controller connects the panel signals it answers; the menu commands go through
// runMenuCommand, and the image and captioning commands hear them after it, in that order.
void frmZelvarion::createControllers()
{
    const MainWindowParts parts{*this, m_context, *m_feedback, *m_menus, *m_searchPanel, *m_grid, *m_detail, *m_status};
    m_tools = std::make_unique<ToolsWindows>(parts);
    m_browser = std::make_unique<ResultBrowser>(parts, *m_tools);
    m_configuration = std::make_unique<ConfigurationMenus>(parts);
    m_session = std::make_unique<CatalogueSession>(parts, *m_configuration);
    m_imageCommands = std::make_unique<ImageCommands>(parts, *m_browser);
    m_captioning = std::make_unique<CaptioningCommands>(parts, *m_browser);
    connect(m_imageCommands.get(), &ImageCommands::catalogueRowsRemoved, m_session.get(),
            &CatalogueSession::recountCatalogueImages);
    connect(m_menus, &MainMenus::commandChosen, this, &frmZelvarion::runMenuCommand);
    connect(m_tools.get(), &ToolsWindows::wordSearchRequested, m_browser.get(), &ResultBrowser::searchFor);
    connect(m_browser.get(), &ResultBrowser::cellClicked, this, &frmZelvarion::cellClicked);
    connect(this, &frmZelvarion::menuCommandChosen, m_imageCommands.get(), &ImageCommands::run);
    connect(this, &frmZelvarion::menuCommandChosen, m_captioning.get(), &CaptioningCommands::run);
}

void frmZelvarion::runMenuCommand(MenuCommand command)
{
    switch (command) {
    case MenuCommand::Base: m_session->openDatabaseDialog(); break;
    case MenuCommand::FileExit:
        close();
        QApplication::quit();
        break;
    case MenuCommand::OpenImage: m_browser->openPopupImage(); break;
    default:
        m_configuration->run(command);
        m_tools->run(command);
        break;
    }
    Q_EMIT menuCommandChosen(command);
}

// The layout stretches the detail panel to just above the bottom edge in every state, maximised
// too (no blank band below it). A window larger than designed enlarges the result cells, as far
// as the detail panel keeps a good share of the height. In the normal state a window too short
// for the panel is made taller again.
void frmZelvarion::applyLayoutRule()
{
    if (!isVisible() || (windowState() & Qt::WindowMinimized))
        return;
    growResultGrid();
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
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

void frmZelvarion::growResultGrid()
{
    QWidget *central = centralWidget();
    const int spacing = central->layout()->spacing();
    const int detailShare = std::max(pixels(kPanelMinimumTwips), int(central->height() * kDetailShareOfHeight));
    const int gridHeight = central->height() - pixels(kPanelBottomGapTwips) - m_searchPanel->height()
                           - 2 * spacing - detailShare;
    m_grid->fitInto(QSize(central->width(), gridHeight));
    // At once, so the panels never lie on each other while the window is drawn.
    central->layout()->activate();
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

// Tab and Shift+Tab walk the cells, turning the page at either end.
bool frmZelvarion::focusNextPrevChild(bool next)
{
    m_browser->walkCells(next);
    return true;
}

void frmZelvarion::closeEvent(QCloseEvent *event)
{
    if (!m_tools->closeStatisticsWindow()) {
        // The analysis stops at the next image; the window closes after it.
        event->ignore();
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    if (!m_closeSequenceDone) {
        m_closeSequenceDone = true;
        m_session->saveAtClose();
        m_imageCommands->closeSqlConsole(); // its history is written as it closes
        m_browser->closeDisplayWindow();    // and its place
    }
    event->accept();
}

void frmZelvarion::startUp()
{
    m_session->startUp();
}

void frmZelvarion::setDatabaseDialogOpener(std::function<void()> opener)
{
    m_session->setDatabaseDialogOpener(std::move(opener));
}

void frmZelvarion::showCatalogueCount(long long total)
{
    m_session->showCatalogueCount(total);
}

void frmZelvarion::showCataloguePath(const QString &path)
{
    m_session->showCataloguePath(path);
}

void frmZelvarion::applyTranslationsState()
{
    m_session->applyTranslationsState();
}

void frmZelvarion::runSearch(const std::function<void(SearchRequest &)> &adjust)
{
    m_browser->runSearch(adjust);
}

void frmZelvarion::searchFor(const QString &word)
{
    m_browser->searchFor(word);
}

void frmZelvarion::showOpenedImage(const QString &path)
{
    m_browser->showOpenedImage(path);
}

void frmZelvarion::showResult(ResultList result)
{
    m_browser->showResult(std::move(result));
}

const ResultList &frmZelvarion::result() const
{
    return m_grid->result();
}

const ResultPaging &frmZelvarion::paging() const
{
    return m_grid->paging();
}

void frmZelvarion::clearResultPage()
{
    m_grid->clearPage();
}

void frmZelvarion::updateResultRow(int rank, const ResultRow &row)
{
    m_grid->updateResultRow(rank, row);
}

void frmZelvarion::removeResultRow(int rank)
{
    m_grid->removeResultRow(rank);
}

void frmZelvarion::replaceResultRows(ResultList result)
{
    m_grid->replaceResultRows(std::move(result));
}

void frmZelvarion::clickCell(int cell)
{
    m_browser->clickCell(cell);
}

int frmZelvarion::selectedCell() const
{
    return m_grid->selectedCell();
}

std::vector<int> frmZelvarion::selectedCells() const
{
    return m_grid->selectedCells();
}

std::optional<CellImage> frmZelvarion::cellImage(int cell) const
{
    return m_grid->cellImage(cell);
}

void frmZelvarion::setCellCheck(int cell, bool marked, const QString &toolTip)
{
    m_grid->setCellCheck(cell, marked, toolTip);
}

QMimeData *frmZelvarion::selectedPathsData() const
{
    return m_grid->selectedPathsData();
}

bool frmZelvarion::isStatisticsWindowOpen() const
{
    return m_tools->isStatisticsWindowOpen();
}

void frmZelvarion::setMenuCommandsEnabled(std::initializer_list<MenuCommand> commands, bool enabled)
{
    m_menus->setCommandsEnabled(commands, enabled);
}

bool frmZelvarion::isMenuCommandEnabled(MenuCommand command) const
{
    return m_menus->isCommandEnabled(command);
}

void frmZelvarion::toggleCellMark(int cell)
{
    m_imageCommands->toggleCellMark(cell);
}

int frmZelvarion::listMarkedImages()
{
    return m_imageCommands->listMarkedImages();
}

void frmZelvarion::setPropertiesShower(std::function<void(const QString &path)> shower)
{
    m_imageCommands->setPropertiesShower(std::move(shower));
}

} // namespace zelvarion
