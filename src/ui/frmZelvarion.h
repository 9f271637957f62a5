#pragma once

#include "core/search/RunSearch.h"
#include "ui/AppContext.h"
#include "ui/MainMenus.h"
#include "ui/ResultGrid.h"

#include <QMainWindow>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

class QMimeData;

namespace zelvarion {

class CaptioningCommands;
class CatalogueSession;
class CatalogueStatus;
class ConfigurationMenus;
class DetailPanel;
class Feedback;
class ImageCommands;
class ResultBrowser;
class SearchPanel;
class ToolsWindows;

// The one top-level window, composed of the search panel, the result grid, the detail panel, the
// catalogue's corner and the menus, each owning its controls, and of the controllers that run
// its commands, each owning its state. Loading it runs the start-up; closing it saves the
// geometry and the search history. Other windows use the operations and signals below, never
// the controls.
class frmZelvarion : public QMainWindow
{
    Q_OBJECT
public:
    // feedback: where messages go (message boxes when null).
    explicit frmZelvarion(Feedback *feedback = nullptr, QWidget *parent = nullptr);
    ~frmZelvarion() override;

    // The start-up sequence from the settings to the enabled window (the single-instance check
    // runs before the window exists).
    void startUp();

    AppContext &context() { return m_context; }
    Feedback &feedback() { return *m_feedback; }

    // The modal database dialog; tests replace it.
    void setDatabaseDialogOpener(std::function<void()> opener);

    // The catalogue in use, for the database dialog: the image total (the help frame shows
    // while it is 0), the path in the hidden lblDB, the translations state after a load.
    void showCatalogueCount(long long total);
    void showCataloguePath(const QString &path);
    void applyTranslationsState();

    // RunSearch: the search of the search controls, its first page shown. `adjust` may change
    // the request first (the marked images only, the one image of the SQL console).
    void runSearch(const std::function<void(SearchRequest &)> &adjust = {});
    // A search for one word, as the statistics window's double-click asks.
    void searchFor(const QString &word);
    // An image a file manager asked to open (Open With): shown and its detail given when the
    // catalogue holds it, else a message says it does not.
    void showOpenedImage(const QString &path);

    // A result built elsewhere (double file names, the SQL console, a restored selection): the
    // search display reset, the count shown, the first page.
    void showResult(ResultList result);
    const ResultList &result() const;
    const ResultPaging &paging() const;
    // ClearResultPage: the grid and the detail panel emptied.
    void clearResultPage();
    // Row `rank` of the result changed (a rename, a check mark); its cell follows.
    void updateResultRow(int rank, const ResultRow &row);
    // Row `rank` was deleted: it keeps its rank, empty, and its cell is emptied.
    void removeResultRow(int rank);
    // The rows changed in place with their ranks kept (marks of the whole result); the cells on
    // the page follow.
    void replaceResultRows(ResultList result);

    // The cell-click: selection, detail panel, display window; cellClicked follows for a cell
    // that shows an image.
    void clickCell(int cell);
    int selectedCell() const;
    std::vector<int> selectedCells() const;
    std::optional<CellImage> cellImage(int cell) const;
    void setCellCheck(int cell, bool marked, const QString &toolTip);
    // The drag data of the selected cells.
    QMimeData *selectedPathsData() const;

    // The word statistics window is open: its menu item stays disabled and searches leave it so.
    bool isStatisticsWindowOpen() const;

    void setMenuCommandsEnabled(std::initializer_list<MenuCommand> commands, bool enabled);
    bool isMenuCommandEnabled(MenuCommand command) const;

    // Check marks: toggling a cell's mark, the marked images listed (the result count returned).
    void toggleCellMark(int cell);
    int listMarkedImages();
    // The file manager's properties of a file, or our dialog where none answers; tests replace it.
    void setPropertiesShower(std::function<void(const QString &path)> shower);

    // The design geometry in pixels, used when the configuration file has none.
    static QRect designGeometry();

Q_SIGNALS:
    void cellClicked(int cell);
    // Every command of the menus and of the image pop-up menu, after the window ran its own part.
    void menuCommandChosen(zelvarion::MenuCommand command);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createPanels();
    void layOut(QWidget *central);
    void createControllers();
    void runMenuCommand(MenuCommand command);
    void applyLayoutRule();
    void growResultGrid();

    AppContext m_context;
    std::unique_ptr<Feedback> m_ownFeedback;
    Feedback *m_feedback;
    bool m_closeSequenceDone = false;

    MainMenus *m_menus = nullptr;
    SearchPanel *m_searchPanel = nullptr;
    CatalogueStatus *m_status = nullptr;
    ResultGrid *m_grid = nullptr;
    DetailPanel *m_detail = nullptr;

    // Destroyed before the panels and the context they use.
    std::unique_ptr<ToolsWindows> m_tools;
    std::unique_ptr<ResultBrowser> m_browser;
    std::unique_ptr<ConfigurationMenus> m_configuration;
    std::unique_ptr<CatalogueSession> m_session;
    std::unique_ptr<ImageCommands> m_imageCommands;
    std::unique_ptr<CaptioningCommands> m_captioning;
};

} // namespace zelvarion
