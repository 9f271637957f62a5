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
    : m_window(parts.window), m_context(parts.context), m_feedback(&parts.feedback),
      m_searchPanel(&parts.searchPanel), m_grid(&parts.grid), m_browser(browser)
{
    connect(m_grid, &ResultGrid::checkClicked, this, &ImageCommands::toggleCellMark);
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
    const std::optional<CellImage> image = m_grid->cellImage(cell);
    if (!image)
        return;
    const QString mark = toggledMark(m_grid->cellMark(cell), todaysMarkText());
    if (image->rank >= 1 && image->rank <= m_grid->result().count()) {
        ResultRow row = m_grid->result().row(image->rank);
        row.checkMark = mark;
        m_grid->updateResultRow(image->rank, row);
    }
    m_grid->setCellCheck(cell, !mark.isEmpty(), mark);
    writeImageMark({m_context.catalogue, *m_feedback, m_context.language}, image->folder, image->file, mark);
}

void ImageCommands::markWholeResult(bool mark)
{
    ResultList marked = m_grid->result();
    const CatalogueCommand command{m_context.catalogue, *m_feedback, m_context.language};
    const BusyPointer busy;
    if (mark ? markResult(command, marked, todaysMarkText()) : unmarkResult(command, marked))
        m_grid->replaceResultRows(std::move(marked));
}

void ImageCommands::removeAllMarks()
{
    ResultList cleared = m_grid->result();
    const BusyPointer busy;
    if (clearAllMarks({m_context.catalogue, *m_feedback, m_context.language}, cleared))
        m_grid->replaceResultRows(std::move(cleared));
}

// "Display selected images": the search box emptied, the marked images searched with the
// revised filter and the sort of the search controls.
int ImageCommands::listMarkedImages()
{
    m_searchPanel->setSearchText(QString());
    m_browser.runSearch([](SearchRequest &request) { request = markedImagesRequest(request); });
    m_searchPanel->describeResult(m_context.language.text(InterfaceText::MarkedImagesResult));
    return m_grid->result().count();
}

void ImageCommands::openSelections()
{
    if (!m_selections) {
        m_selections = new frmSelections(m_context, *m_feedback, [this] { return listMarkedImages(); }, &m_window);
        m_selections->setAttribute(Qt::WA_DeleteOnClose);
        moveBesideOwner(*m_selections, m_window, false); // not over the thumbnails it marks
    }
    m_selections->show();
    m_selections->raise();
    m_selections->activateWindow();
}

void ImageCommands::openSqlConsole()
{
    if (!m_sqlConsole) {
        m_sqlConsole = new frmSQLQuery(m_context, *m_feedback, &m_window);
        m_sqlConsole->setAttribute(Qt::WA_DeleteOnClose);
        moveBesideOwner(*m_sqlConsole, m_window, false); // not over the image a click shows
        connect(m_sqlConsole, &frmSQLQuery::showImageRequested, this, [this](const QString &folder, const QString &file) {
            m_browser.runSearch([&](SearchRequest &request) { request.singleImage = SingleImage{folder, file}; });
            m_searchPanel->describeResult(m_context.language.text(InterfaceText::ConsoleImageResult));
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
    CatalogueWriteLock lock(m_context.catalogue.path);
    if (!lock.takeOrRefuse(*m_feedback, m_context.language))
        return;
    ResultList changed = m_grid->result();
    const ThumbnailStore thumbnails;
    const DeleteResult deleted =
        deleteImage({m_context.catalogue, *m_feedback, m_context.language, thumbnails}, changed, {image->folder, image->file});
    if (!deleted.forgetCell())
        return;
    Q_EMIT catalogueRowsRemoved();
    // The first row of the image is blanked; the cell the menu was opened on empties too.
    for (const int rank : {deleted.blankedRank, image->rank})
        if (rank > 0)
            m_grid->removeResultRow(rank);
}

void ImageCommands::renamePopupImage()
{
    const std::optional<CellImage> image = m_browser.popupImage();
    if (!image)
        return;
    const QString title = withoutAccelerator(m_context.language.text(InterfaceText::RenameMenuItem));
    const QString answer = askForName(&m_window, title, m_context.language.message(Message::NewFileNamePrompt), image->file);
    CatalogueWriteLock lock(m_context.catalogue.path);
    if (!lock.takeOrRefuse(*m_feedback, m_context.language))
        return;
    ResultList changed = m_grid->result();
    const ThumbnailStore thumbnails;
    const RenameResult renamed =
        renameImage({m_context.catalogue, *m_feedback, m_context.language, thumbnails}, changed, {image->folder, image->file},
                    answer);
    if (!renamed.renamed)
        return;
    for (const int rank : {renamed.changedRank, image->rank}) {
        if (rank < 1)
            continue;
        ResultRow row = m_grid->result().row(rank);
        row.file = renamed.newName;
        m_grid->updateResultRow(rank, row);
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
    frmProperties properties(image->path(), m_context.language, &m_window);
    properties.exec();
}

// The translation label and the words kept for highlighting stay as the last search left them.
void ImageCommands::searchDoubleFileNames()
{
    m_browser.resetResultDisplay();
    const BusyPointer busy;
    std::optional<std::vector<ResultRow>> doubles = findDoubleFileNames(m_context.catalogue, *m_feedback);
    ResultList list;
    if (doubles)
        list.assign(std::move(*doubles));
    m_browser.showResult(std::move(list), m_context.language.text(InterfaceText::DoubleFileNamesResult));
    m_window.activateWindow();
}

void ImageCommands::copyResultImages()
{
    frmFolderSelected destination(m_context, *m_feedback, m_grid->result(), &m_window);
    destination.exec();
}

} // namespace zelvarion
