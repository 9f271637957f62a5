// The main window's share of check marks and selections, the SQL console and the image file
// commands: each menu command runs the core's command on the result on show and shows what
// changed in the cells.
#include "ui/ImageCommands.h"

#include "core/catalogue/CatalogueCommand.h"
#include "core/catalogue/CatalogueWriteLock.h"
#include "core/filecommands/DeleteImage.h"
#include "core/filecommands/DoubleFileNames.h"
#include "core/filecommands/RenameImage.h"
#include "core/search/CheckMarks.h"
#include "platform/ThumbnailStore.h"
#include "platform/gui/ShellServices.h"
#include "ui/AppContext.h"
#include "ui/BesideOwner.h"
#include "ui/BusyPointer.h"
#include "ui/NameQuestion.h"
#include "ui/ResultBrowser.h"
#include "ui/SearchPanel.h"
#include "ui/frmFolderSelected.h"
#include "ui/frmProperties.h"
#include "ui/frmSQLQuery.h"
#include "ui/frmSelections.h"


namespace zelvarion {

ImageCommands::ImageCommands(const MainWindowParts &parts, ResultBrowser &browser)
    : m_parts(parts), m_browser(browser)
{
    connect(&m_parts.grid, &ResultGrid::checkClicked, this, &ImageCommands::toggleCellMark);
}

void ImageCommands::run(MenuCommand command)
{
    switch (command) {
    case MenuCommand::DisplaySelected: listMarkedImages(); break;
    case MenuCommand::RemoveSelection: removeAllMarks(); break;
    case MenuCommand::Selections: openSelections(); break;
    case MenuCommand::SelectResult: markWholeResult(true); break;
    case MenuCommand::UnselectResult: markWholeResult(false); break;
    case MenuCommand::SearchDoubles: searchDoubleFileNames(); break;
    case MenuCommand::CopyImages: copyResultImages(); break;
    case MenuCommand::SQLQuery: openSqlConsole(); break;
    case MenuCommand::Delete: deletePopupImage(); break;
    case MenuCommand::Rename: renamePopupImage(); break;
    case MenuCommand::Properties: showPopupProperties(); break;
    default: break;
    }
}

// The cell and its result row take the new mark before the catalogue is written, and keep it
// when writing fails.
void ImageCommands::toggleCellMark(int cell)
{
    const std::optional<CellImage> image = m_parts.grid.cellImage(cell);
    if (!image)
        return;
    const QString mark = toggledMark(m_parts.grid.cellMark(cell), todaysMarkText());
    if (image->rank >= 1 && image->rank <= m_parts.grid.result().count()) {
        ResultRow row = m_parts.grid.result().row(image->rank);
        row.checkMark = mark;
        m_parts.grid.updateResultRow(image->rank, row);
    }
    m_parts.grid.setCellCheck(cell, !mark.isEmpty(), mark);
    writeImageMark({m_parts.context.catalogue, m_parts.feedback, m_parts.context.language}, image->folder, image->file,
                   mark);
}

void ImageCommands::markWholeResult(bool mark)
{
    ResultList marked = m_parts.grid.result();
    const CatalogueCommand command{m_parts.context.catalogue, m_parts.feedback, m_parts.context.language};
    const BusyPointer busy;
    if (mark ? markResult(command, marked, todaysMarkText()) : unmarkResult(command, marked))
        m_parts.grid.replaceResultRows(std::move(marked));
}

void ImageCommands::removeAllMarks()
{
    ResultList cleared = m_parts.grid.result();
    const BusyPointer busy;
    if (clearAllMarks({m_parts.context.catalogue, m_parts.feedback, m_parts.context.language}, cleared))
        m_parts.grid.replaceResultRows(std::move(cleared));
}

// "Display selected images": the search box emptied, the marked images searched with the
// revised filter and the sort of the search controls.
int ImageCommands::listMarkedImages()
{
    m_parts.searchPanel.setSearchText(QString());
    m_browser.runSearch([](SearchRequest &request) { request = markedImagesRequest(request); });
    m_parts.searchPanel.describeResult(m_parts.context.language.text(InterfaceText::MarkedImagesResult));
    return m_parts.grid.result().count();
}

void ImageCommands::openSelections()
{
    if (!m_selections) {
        m_selections = new frmSelections(m_parts.context, m_parts.feedback, [this] { return listMarkedImages(); },
                                         &m_parts.window);
        m_selections->setAttribute(Qt::WA_DeleteOnClose);
        moveBesideOwner(*m_selections, m_parts.window, false); // not over the thumbnails it marks
    }
    m_selections->show();
    m_selections->raise();
    m_selections->activateWindow();
}

void ImageCommands::openSqlConsole()
{
    if (!m_sqlConsole) {
        m_sqlConsole = new frmSQLQuery(m_parts.context, m_parts.feedback, &m_parts.window);
        m_sqlConsole->setAttribute(Qt::WA_DeleteOnClose);
        moveBesideOwner(*m_sqlConsole, m_parts.window, false); // not over the image a click shows
        connect(m_sqlConsole, &frmSQLQuery::showImageRequested, this, [this](const QString &folder, const QString &file) {
            m_browser.runSearch([&](SearchRequest &request) { request.singleImage = SingleImage{folder, file}; });
            m_parts.searchPanel.describeResult(m_parts.context.language.text(InterfaceText::ConsoleImageResult));
        });
    }
    m_sqlConsole->show();
    m_sqlConsole->raise();
    m_sqlConsole->activateWindow();
}

void ImageCommands::closeSqlConsole()
{
    if (m_sqlConsole)
        m_sqlConsole->close();
}

void ImageCommands::deletePopupImage()
{
    const std::optional<CellImage> image = m_browser.popupImage();
    if (!image)
        return;
    CatalogueWriteLock lock(m_parts.context.catalogue.path);
    if (!lock.takeOrRefuse(m_parts.feedback, m_parts.context.language))
        return;
    ResultList changed = m_parts.grid.result();
    const ThumbnailStore thumbnails;
    const DeleteResult deleted =
        deleteImage({m_parts.context.catalogue, m_parts.feedback, m_parts.context.language, thumbnails}, changed,
                    {image->folder, image->file});
    if (!deleted.forgetCell())
        return;
    Q_EMIT catalogueRowsRemoved();
    // The first row of the image is blanked; the cell the menu was opened on empties too.
    for (const int rank : {deleted.blankedRank, image->rank})
        if (rank > 0)
            m_parts.grid.removeResultRow(rank);
}

void ImageCommands::renamePopupImage()
{
    const std::optional<CellImage> image = m_browser.popupImage();
    if (!image)
        return;
    const QString title = withoutAccelerator(m_parts.context.language.text(InterfaceText::RenameMenuItem));
    const QString answer =
        askForName(&m_parts.window, title, m_parts.context.language.message(Message::NewFileNamePrompt), image->file);
    CatalogueWriteLock lock(m_parts.context.catalogue.path);
    if (!lock.takeOrRefuse(m_parts.feedback, m_parts.context.language))
        return;
    ResultList changed = m_parts.grid.result();
    const ThumbnailStore thumbnails;
    const RenameResult renamed =
        renameImage({m_parts.context.catalogue, m_parts.feedback, m_parts.context.language, thumbnails}, changed,
                    {image->folder, image->file}, answer);
    if (!renamed.renamed)
        return;
    for (const int rank : {renamed.changedRank, image->rank}) {
        if (rank < 1)
            continue;
        ResultRow row = m_parts.grid.result().row(rank);
        row.file = renamed.newName;
        m_parts.grid.updateResultRow(rank, row);
    }
}

void ImageCommands::showPopupProperties()
{
    const std::optional<CellImage> image = m_browser.popupImage();
    if (!image)
        return;
    if (m_showProperties) {
        m_showProperties(image->path());
        return;
    }
    if (shell::showFileProperties(image->path()))
        return;
    frmProperties properties(image->path(), m_parts.context.language, &m_parts.window);
    properties.exec();
}

// The translation label and the words kept for highlighting stay as the last search left them.
void ImageCommands::searchDoubleFileNames()
{
    m_browser.resetResultDisplay();
    const BusyPointer busy;
    std::optional<std::vector<ResultRow>> doubles = findDoubleFileNames(m_parts.context.catalogue, m_parts.feedback);
    ResultList list;
    if (doubles)
        list.assign(std::move(*doubles));
    m_browser.showResult(std::move(list), m_parts.context.language.text(InterfaceText::DoubleFileNamesResult));
    m_parts.window.activateWindow();
}

void ImageCommands::copyResultImages()
{
    frmFolderSelected destination(m_parts.context, m_parts.feedback, m_parts.grid.result(), &m_parts.window);
    destination.exec();
}

} // namespace zelvarion
