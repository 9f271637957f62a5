// Searching and the result on show: the search itself, results built elsewhere, the cell-click
// with its detail panel, opening images and walking the cells with Tab.
#include "ui/ResultBrowser.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueTables.h"
#include "core/catalogue/ImagesTable.h"
#include "core/iptc/IptcReader.h"
#include "core/search/ImageDetail.h"
#include "core/session/Feedback.h"
#include "platform/gui/ShellServices.h"
#include "ui/AppContext.h"
#include "ui/BesideOwner.h"
#include "ui/DetailPanel.h"
#include "ui/MainMenus.h"
#include "ui/SearchPanel.h"
#include "ui/ToolsWindows.h"
#include "ui/frmDisplayImage.h"

#include "ui/SearchIndexProgress.h"

#include <QApplication>
#include <QShortcut>

namespace zelvarion {
namespace {

// The commands that work on the images of a non-empty result; a search disables them first. The
// statistics window, while open, keeps its own item disabled.
constexpr std::initializer_list<MenuCommand> kResultCommands = {MenuCommand::Statistics, MenuCommand::ApplyTemplate,
                                                                MenuCommand::CopyImages};

} // namespace

ResultBrowser::ResultBrowser(const MainWindowParts &parts, const ToolsWindows &tools)
    : m_parts(parts), m_tools(tools)
{
    connect(&m_parts.searchPanel, &SearchPanel::searchRequested, this, [this] { runSearch(); });
    connect(&m_parts.grid, &ResultGrid::pageCleared, &m_parts.detail, &DetailPanel::clear);
    connect(&m_parts.grid, &ResultGrid::cellClicked, this, &ResultBrowser::clickCell);
    connect(&m_parts.grid, &ResultGrid::cellDoubleClicked, this, &ResultBrowser::openCellImage);
    connect(&m_parts.grid, &ResultGrid::cellMenuRequested, this, &ResultBrowser::openImagePopup);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), &m_parts.window);
    connect(escape, &QShortcut::activated, this, &ResultBrowser::minimiseDisplayWindow);
}

// Everything the last search showed is cleared before the next one runs.
void ResultBrowser::resetSearchDisplay()
{
    m_parts.searchPanel.clearOutcome();
    m_parts.menus.setCommandsEnabled(kResultCommands, false);
    m_parts.grid.clearResult();
}

void ResultBrowser::resetResultDisplay()
{
    m_parts.searchPanel.clearFound();
    m_parts.menus.setCommandsEnabled(kResultCommands, false);
    m_parts.grid.clearResult();
}

void ResultBrowser::runSearch(const std::function<void(SearchRequest &)> &adjust)
{
    resetSearchDisplay();
    updateSearchIndex(&m_parts.window, m_parts.context.catalogue.path, m_parts.context.language);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_search.history = m_parts.searchPanel.history();
    SearchEnvironment environment{m_parts.context.catalogue, m_parts.feedback, searchMessages(m_parts.context.language),
                                  m_parts.context.translations.loaded, m_tools.isStatisticsWindowOpen()};
    SearchRequest request = m_parts.searchPanel.request();
    if (adjust)
        adjust(request);
    const SearchOutcome outcome = zelvarion::runSearch(request, m_search, environment);
    if (outcome.historyChanged)
        m_parts.searchPanel.setHistory(m_search.history);
    m_parts.searchPanel.showOutcome(outcome);
    if (outcome.showFirstPage) {
        m_parts.grid.showResult(std::move(m_search.results));
        m_parts.menus.setCommandsEnabled({MenuCommand::ApplyTemplate}, outcome.enableApplyTemplate);
        m_parts.menus.setCommandsEnabled({MenuCommand::Statistics}, outcome.enableWordStatistics);
        m_parts.menus.setCommandsEnabled({MenuCommand::CopyImages}, outcome.enableCopyImages);
    }
    QApplication::restoreOverrideCursor();
}

void ResultBrowser::searchFor(const QString &word)
{
    m_parts.searchPanel.prepareWordSearch(word);
    runSearch();
}

// Asked first, so a file the catalogue lacks leaves the result on show as it was.
bool ResultBrowser::isCatalogued(const SingleImage &image) const
{
    CatalogueDb &catalogue = m_parts.context.catalogue;
    if (catalogue.path.isEmpty() || !catalogue.openOrReport(m_parts.feedback))
        return false;
    const bool found =
        imagesTable::selectImage(catalogue, m_parts.feedback, image.folder, image.file) && catalogue.rowCount() > 0;
    catalogue.close();
    return found;
}

void ResultBrowser::showOpenedImage(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const SingleImage image{path.left(slash + 1), path.mid(slash + 1)};
    if (slash >= 0 && !image.file.isEmpty() && isCatalogued(image)) {
        runSearch([&image](SearchRequest &request) { request.singleImage = image; });
        m_parts.searchPanel.describeResult(m_parts.context.language.text(InterfaceText::OpenedImageResult));
        clickCell(0);
        return;
    }
    const QString message = m_parts.context.language.message(Message::ImageNotCatalogued);
    m_parts.feedback.showMessage(QString(message).replace(u'#', path), MessageIcon::Information);
}

void ResultBrowser::showResult(ResultList result, const QString &description)
{
    resetResultDisplay();
    m_parts.searchPanel.showFound(result.count());
    m_parts.grid.showResult(std::move(result));
    const bool found = m_parts.grid.result().count() > 0;
    m_parts.menus.setCommandsEnabled({MenuCommand::ApplyTemplate}, found);
    // The statistics window, while open, keeps its own item and Copy images disabled.
    m_parts.menus.setCommandsEnabled({MenuCommand::Statistics, MenuCommand::CopyImages},
                                     found && !m_tools.isStatisticsWindowOpen());
    if (!description.isEmpty())
        m_parts.searchPanel.describeResult(description);
}

void ResultBrowser::clickCell(int cell)
{
    m_parts.detail.clear();
    const std::optional<CellImage> image = m_parts.grid.cellImage(cell);
    if (!image)
        return; // an empty cell leaves the selection as it was
    m_parts.grid.selectCell(cell);
    showImageDetail(*image);
    if (m_parts.context.settings.displayImage)
        showInDisplayWindow(*image);
    m_parts.window.setFocus();
    Q_EMIT cellClicked(cell);
}

// Where the file keeps the values shown: the catalogue does not record it, so a file whose row
// holds IPTC values is asked. The resource, found in the first bytes, costs one short read.
IptcSource ResultBrowser::imageIptcSource(const CellImage &image, const std::vector<QStringList> &rows) const
{
    if (rows.empty())
        return IptcSource::ImageResource;
    const ImagesRow row(rows.front());
    bool hasValues = false;
    for (int i = 0; i < kIptcFieldCount && !hasValues; ++i)
        hasValues = !row[imagesColumnOfField(i)].isEmpty();
    if (!hasValues || row[ImagesColumn::SupportIPTC] == supportIptcCode(IptcFileKind::NotSearched))
        return IptcSource::ImageResource;
    return readImageIptc(image.path(), m_parts.context.language.text(InterfaceText::CustomizedFieldLabel)).source;
}

void ResultBrowser::showImageDetail(const CellImage &image)
{
    CatalogueDb &catalogue = m_parts.context.catalogue;
    if (!catalogue.openOrReport(m_parts.feedback))
        return;
    if (imagesTable::selectImage(catalogue, m_parts.feedback, image.folder, image.file)) {
        std::vector<QStringList> rows;
        for (int r = 1; r <= catalogue.rowCount(); ++r) {
            QStringList row;
            for (int c = 0; c < catalogue.columnCount(); ++c)
                row << catalogue.cell(c, r);
            rows.push_back(row);
        }
        const auto pieces = withDocumentLineEnds(composeImageDetail(
            rows, m_parts.context.language, m_parts.searchPanel.searchedFieldLabel(), QLocale(), imageIptcSource(image, rows)));
        HighlightRequest highlight = m_parts.searchPanel.highlightRequest();
        highlight.lastSearchText = m_search.lastSearchText;
        highlight.lastSearchWords = m_search.lastSearchWords;
        m_parts.detail.showDetail(pieces, highlightRanges(pieces, highlight));
    }
    catalogue.close();
}

void ResultBrowser::openCellImage(int cell)
{
    if (const std::optional<CellImage> image = m_parts.grid.cellImage(cell))
        shell::openWithDefaultProgram(image->path()); // errors are ignored
}

void ResultBrowser::openImagePopup(int cell, const QPoint &at)
{
    const std::optional<CellImage> image = m_parts.grid.cellImage(cell);
    m_popupCell = cell;
    QString caption = m_parts.context.language.text(InterfaceText::OpenImageMenuItem);
    m_parts.menus.popupImageMenu(caption.replace(u'%', image ? image->file : QString()), at);
}

std::optional<CellImage> ResultBrowser::popupImage() const
{
    return m_parts.grid.cellImage(m_popupCell);
}

void ResultBrowser::openPopupImage()
{
    if (m_popupCell >= 0)
        openCellImage(m_popupCell);
}

// Tab and Shift+Tab walk the cells, turning the page at either end.
void ResultBrowser::walkCells(bool next)
{
    const int selected = m_parts.grid.selectedCell();
    if (selected < 0) {
        clickCell(0);
    } else if (next && selected == ResultGrid::kCells - 1) {
        m_parts.grid.turnPage(ResultGrid::PageStep::Forward);
        clickCell(0);
    } else if (!next && selected == 0) {
        m_parts.grid.turnPage(ResultGrid::PageStep::Back);
        if (const int last = m_parts.grid.lastFilledCell(); last >= 0)
            clickCell(last);
    } else {
        clickCell(selected + (next ? 1 : -1));
    }
}

void ResultBrowser::showInDisplayWindow(const CellImage &image)
{
    if (!m_displayWindow) {
        m_displayWindow = new frmDisplayImage(m_parts.context.ini, &m_parts.window);
        // Its stored place, unless that covers the thumbnails and the screen has room beside.
        moveBesideOwner(*m_displayWindow, m_parts.window, true);
    }
    m_displayWindow->showImage(image.path(), image.file);
}

void ResultBrowser::closeDisplayWindow()
{
    if (m_displayWindow)
        m_displayWindow->close();
}

void ResultBrowser::minimiseDisplayWindow()
{
    if (m_parts.context.settings.displayImage && m_displayWindow && m_displayWindow->isVisible())
        m_displayWindow->showMinimized();
}

} // namespace zelvarion
