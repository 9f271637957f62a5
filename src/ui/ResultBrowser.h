#pragma once

#include "core/iptc/IptcReader.h"
#include "core/search/RunSearch.h"
#include "ui/MainWindowParts.h"
#include "ui/ResultGrid.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QPoint;

namespace zelvarion {

class frmDisplayImage;
class ToolsWindows;

// The search and the result on show: the search of the search panel, results built elsewhere,
// and the answers to the grid: the cell-click with the detail panel and the display window, the
// double-click, the image pop-up menu and walking the cells with Tab.
class ResultBrowser : public QObject
{
    Q_OBJECT
public:
    // tools: a search leaves the statistics item disabled while its window is open.
    ResultBrowser(const MainWindowParts &parts, const ToolsWindows &tools);

    // RunSearch: `adjust` may change the request first (the marked images, one image).
    void runSearch(const std::function<void(SearchRequest &)> &adjust = {});
    void searchFor(const QString &word);
    // A file a file manager asked to open: its catalogue row shown as the single-image search
    // shows it, or a message that the catalogue does not hold it.
    void showOpenedImage(const QString &path);
    // A result built elsewhere; `description` says in the search box what it is (none: the box
    // is left as it is).
    void showResult(ResultList result, const QString &description = {});
    // Everything the last search showed is cleared.
    void resetSearchDisplay();
    // Before a result built elsewhere: the counter, the grid and the commands on the result are
    // cleared; the search box and the translation found by the last search stay.
    void resetResultDisplay();

    void clickCell(int cell);
    // Tab and Shift+Tab: the next or previous cell, turning the page at either end.
    void walkCells(bool next);
    // The detail panel drawn for `image` from its catalogue row.
    void showImageDetail(const CellImage &image);
    // The image of the cell the pop-up menu was last opened on.
    std::optional<CellImage> popupImage() const;
    // Open image of the pop-up menu.
    void openPopupImage();
    // The display window closes, remembering where it was (the main window closes).
    void closeDisplayWindow();

Q_SIGNALS:
    // A click on a cell that shows an image, after the detail panel followed.
    void cellClicked(int cell);

private:
    bool isCatalogued(const SingleImage &image) const;
    IptcSource imageIptcSource(const CellImage &image, const std::vector<QStringList> &rows) const;
    void openCellImage(int cell);
    void openImagePopup(int cell, const QPoint &at);
    void showInDisplayWindow(const CellImage &image);
    void minimiseDisplayWindow();

    const MainWindowParts m_parts;
    const ToolsWindows &m_tools;
    SearchState m_search;
    int m_popupCell = -1;
    QPointer<frmDisplayImage> m_displayWindow;
};

} // namespace zelvarion
