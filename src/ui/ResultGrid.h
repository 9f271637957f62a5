#pragma once

#include "core/search/ResultList.h"
#include "core/search/ResultPaging.h"
#include "ui/ResultGridGeometry.h"
#include "ui/ResultPagingStrip.h"

#include <QWidget>
#include <array>
#include <optional>
#include <vector>

class QFrame;
class QGroupBox;
class QLabel;
class QMimeData;

namespace zelvarion {

struct AppSettings;
class LanguagePack;
class SharperThumbnails;

// The image a result cell shows.
struct CellImage
{
    QString folder; // as stored in the catalogue, ending with "/"
    QString file;
    int rank = 0;   // in the result, from 1
    QString path() const { return folder + file; }
};

// The result grid of the main window: the current result shown ten images a page in cells 0 to
// 9, the four paging buttons and keys, the selection of cells, dragging their paths out, the
// check pictures of the cells and their legend, and the help frame of an empty catalogue.
// It owns the result on show; the window and the windows that follow read and change it here.
class ResultGrid : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kCells = ResultPaging::kPageSize;
    using PageStep = zelvarion::PageStep;

    // settings: UseThumbnails is read whenever a page is filled.
    ResultGrid(const AppSettings &settings, QWidget *parent);
    ~ResultGrid() override;

    void applyLanguage(const LanguagePack &pack);
    // The help frame is shown while the catalogue holds no image.
    void setHelpVisible(bool visible);
    // The frame of cells takes the largest scale that fits in `room` (this panel's width and
    // height allowed), never below the designed size; the page on show follows.
    void fitInto(QSize room);

    // A new result, its first page shown: a search, the double-file-name search, the SQL console
    // or a restored selection. The paging buttons work when it has more than one page.
    void showResult(ResultList result);
    // No result: before a search runs. Clears the page, the caption, the selection state.
    void clearResult();
    const ResultList &result() const { return m_result; }
    const ResultPaging &paging() const { return m_paging; }

    // ClearResultPage: every cell emptied (pageCleared is signalled first).
    void clearPage();
    // ShowResultPage: the cells filled from the first rank of the page on.
    void showPage();
    // A paging button or key; the page is shown again when the step applies.
    void turnPage(PageStep step);

    bool hasImage(int cell) const;
    std::optional<CellImage> cellImage(int cell) const;
    int lastFilledCell() const; // -1 on an empty page

    // Selection: a click selects its cell alone, or beside the others when Shift alone was held
    // as the button went down; a selected cell can then be dragged out.
    void selectCell(int cell);
    int selectedCell() const; // the first selected cell, -1 when none
    std::vector<int> selectedCells() const;
    // The selected cells' paths, in cell order, one a line; file managers get the same as URLs.
    QMimeData *selectedPathsData() const;

    // Changes row `rank` of the result and shows the change in its cell when it is on the page
    // (after a rename or a check mark).
    void updateResultRow(int rank, const ResultRow &row);
    // A deleted image: the row keeps its rank with an empty folder and file, so paging skips it;
    // its cell is emptied but keeps its rank label. The count does not change.
    void removeResultRow(int rank);
    // The check picture of a cell: the filled square when marked; the tool tip is the mark.
    void setCellCheck(int cell, bool marked, const QString &toolTip);
    // The mark a cell shows (its check picture's tool tip); empty when it shows none.
    QString cellMark(int cell) const;
    // The rows of the result changed in place, ranks kept (marks of the whole result): the cells
    // on the page show their rows again.
    void replaceResultRows(ResultList result);

Q_SIGNALS:
    void cellClicked(int cell);
    // A double-click, or Insert on the selected cell.
    void cellDoubleClicked(int cell);
    // The right button on a cell that shows a picture.
    void cellMenuRequested(int cell, const QPoint &globalPosition);
    // The page is about to be emptied; the detail panel empties with it.
    void pageCleared();
    // A click on a cell's check picture, or Pause on the selected cell: its mark is to toggle.
    void checkClicked(int cell);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Cell
    {
        QLabel *thumb = nullptr;
        QLabel *name = nullptr;
        QLabel *rank = nullptr;
        QLabel *check = nullptr;
        QFrame *lineTop = nullptr;
        QFrame *lineDown = nullptr;
        CellImage image;
        QSize naturalSize; // of the picture first shown, before any sharper one
        bool selected = false;
        bool draggable = false; // after a click, until a mouse button is released
    };

    void createCells();
    void createHelp();
    void layOut();
    void connectKeys();
    void emptyCell(Cell &cell);
    void fillCell(Cell &cell, const ResultRow &row, int rank);
    void showRowInCell(Cell &cell, const ResultRow &row);
    void fitResultThumbnail(Cell &cell);
    void placeCell(int index);
    void sharpen(Cell &cell);
    void takeSharperPicture(const QString &path, QSize size, const QImage &picture);
    int cellOf(QObject *watched) const;
    int checkOf(QObject *watched) const;
    int cellShowing(int rank) const;
    bool mouseEvent(int index, QEvent *event);
    void startDrag(int index);

    const AppSettings &m_settings;
    ResultList m_result;
    ResultPaging m_paging;
    std::array<Cell, kCells> m_cells{};
    bool m_shiftClick = false;
    gridGeometry::GridScale m_scale;
    SharperThumbnails *m_sharper = nullptr;
    QPoint m_dragStart;

    QGroupBox *FrameImages = nullptr;
    ResultPagingStrip *m_strip = nullptr;
    QFrame *FrameHelp = nullptr;
    std::array<QLabel *, 4> lblHelp{};
};

} // namespace zelvarion
