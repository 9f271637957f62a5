#pragma once

#include "core/iptc/IptcReader.h"
#include "core/search/RunSearch.h"
#include "ui/AppContext.h"
#include "ui/MainMenus.h"
#include "ui/ResultGrid.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QMimeData;
class QPushButton;

namespace zelvarion {

class DetailPanel;
class Feedback;
class SearchPanel;
class frmDisplayImage;
class frmStatistics;
class frmSQLQuery;
class frmSelections;

// The one top-level window, composed of the search panel, the result grid, the detail panel and
// the menus, each owning its controls. Loading it runs the start-up; closing it saves the
// geometry and the search history. Other windows use the operations and signals below, never
// the controls.
class frmZelvarion : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int kCells = ResultGrid::kCells;

    // feedback: where messages go (message boxes when null).
    explicit frmZelvarion(Feedback *feedback = nullptr, QWidget *parent = nullptr);
    ~frmZelvarion() override;

    // The start-up sequence from the settings to the enabled window (the single-instance check
    // runs before the window exists).
    void startUp();

    AppContext &context() { return m_context; }
    Feedback &feedback() { return *m_feedback; }

    // The modal database dialog; tests replace it.
    void setDatabaseDialogOpener(std::function<void()> opener) { m_openDatabaseDialog = std::move(opener); }
    void openDatabaseDialog();

    // Applies the loaded language pack to this window's captions and lists.
    void applyLanguage();
    // LoadLanguagePack: loads the pack named by the Language setting, then applies it.
    void loadLanguagePack();

    // Topmost when StayOnTop is on, without moving or resizing the window.
    void setOnTop();

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

    // A result built elsewhere (double file names, the SQL console, a restored selection): the
    // search display reset, the count shown, the first page.
    void showResult(ResultList result);
    const ResultList &result() const;
    const ResultPaging &paging() const;
    // ClearResultPage: the grid and the detail panel emptied.
    void clearResultPage();
    // Row `rank` of the result changed (a rename, a check mark); its cell follows.
    void updateResultRow(int rank, const ResultRow &row);
    // The file and row of image `rank` were rewritten: its cell, thumbnail and, when it is the
    // image shown there, the detail panel are drawn again from the catalogue.
    void refreshRevisedImage(int rank);
    // The edit dialog on image `rank` of the result (the pop-up's and the detail panel's command).
    void editResultImage(int rank);
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
    void setPropertiesShower(std::function<void(const QString &path)> shower) { m_showProperties = std::move(shower); }

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
    void createCatalogueStatus(QWidget *central);
    void layOut(QWidget *central);
    void connectPanels();
    void runMenuCommand(MenuCommand command);
    void toggleSetting(MenuToggle toggle, bool on);
    void chooseLanguage(const QString &language);
    void readWindowPlacement();
    void applyConfiguration();
    void chooseAndOpenCatalogue();
    void openCatalogueAtStartUp();
    void runCloseSequence();
    void resetSearchDisplay();
    void showImageDetail(const CellImage &image);
    IptcSource imageIptcSource(const CellImage &image, const std::vector<QStringList> &rows) const;
    void openCellImage(int cell);
    void openImagePopup(int cell, const QPoint &at);
    void showInDisplayWindow(const CellImage &image);
    void minimiseDisplayWindow();
    void showSearchOptions();
    void applyLayoutRule();
    void showAbout();
    // frmZelvarionCaptioning.cpp
    void connectCaptioning();
    void applyTemplateToResult();
    void undoLastTemplateRun();
    void showHelp();
    void openExportDialog();
    void openStatisticsWindow();
    void openEmptyWordsDialog();
    // Marks, selections, the SQL console and the image file commands (frmZelvarionImageCommands.cpp).
    void runImageCommand(MenuCommand command);
    void markWholeResult(bool mark);
    void removeAllMarks();
    void openSelections();
    void openSqlConsole();
    void deletePopupImage();
    void renamePopupImage();
    void showPopupProperties();
    void searchDoubleFileNames();
    void copyResultImages();

    AppContext m_context;
    std::unique_ptr<Feedback> m_ownFeedback;
    Feedback *m_feedback;
    std::function<void()> m_openDatabaseDialog;
    bool m_closeSequenceDone = false;
    SearchState m_search;
    int m_popupCell = -1;
    QPointer<frmDisplayImage> m_displayWindow;
    QPointer<frmStatistics> m_statistics;
    QPointer<frmSelections> m_selections;
    QPointer<frmSQLQuery> m_sqlConsole;
    std::function<void(const QString &path)> m_showProperties;

    MainMenus *m_menus = nullptr;
    SearchPanel *m_searchPanel = nullptr;
    ResultGrid *m_grid = nullptr;
    DetailPanel *m_detail = nullptr;
    QPushButton *cmdDatabase = nullptr;
    QLabel *lbllblCount = nullptr, *lblCount = nullptr, *lblDB = nullptr;
};

} // namespace zelvarion
