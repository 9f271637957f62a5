#pragma once

#include "core/search/ImageDetail.h"
#include "core/search/RunSearch.h"
#include "core/search/ResultPaging.h"
#include "core/search/SearchRequest.h"
#include "ui/AppContext.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMimeData;
class QMenu;
class QPushButton;
class QRadioButton;
class QTextEdit;
class QToolButton;

namespace zelvarion {

class Feedback;
class frmDisplayImage;

// The one top-level window: search controls, the grid of ten result cells, the detail panel and
// the menus. Loading it runs the start-up; closing it saves the geometry and the search history.
class frmZelvarion : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int kCells = 10;

    // One cell of the grid and the image it shows.
    struct ResultCell
    {
        QLabel *thumb = nullptr;
        QLabel *name = nullptr;
        QLabel *rank = nullptr;
        QLabel *check = nullptr;
        QFrame *lineTop = nullptr;
        QFrame *lineDown = nullptr;
        QString folder;        // as stored in the catalogue, ending with "/"
        QString file;
        int rankNumber = 0;
        bool selected = false;
        bool draggable = false; // after a click, until a mouse button is released
    };

    static constexpr int kLanguageItems = 11;

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

    // Shows the image total and hides the help frame when the catalogue holds images.
    void showCatalogueCount(long long total);
    // The catalogue path shown in the hidden lblDB.
    void showCataloguePath(const QString &path);

    // After a translations load: without a translations file the automatic-translation box is
    // hidden and the whole-word box takes its place.
    void applyTranslationsState();

    // Runs the search of the search controls and shows its first page.
    void runSearch();

    // The cell-click of the grid: selection, detail panel, display window.
    void clickCell(int index);
    int selectedCell() const;
    const ResultPaging &paging() const { return m_paging; }
    const ResultList &results() const { return m_search.results; }
    // The drag data of the selected cells.
    QMimeData *selectedPathsData() const;

    // Empties the grid and the detail panel.
    void clearResultPage();

    // The design geometry in pixels, used when the configuration file has none.
    static QRect designGeometry();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createMenus();
    QAction *addItem(QMenu *menu, const char *name, const QString &caption);
    void createSearchControls(QWidget *central);
    void createResultGrid(QWidget *central);
    void createPanelAndLegend(QWidget *central);
    void connectCommands();
    void disableLaterCommands();

    void readWindowPlacement();
    void fillLanguageMenu();
    void applyConfiguration();
    void applySearchOptions();
    void chooseAndOpenCatalogue();
    void openCatalogueAtStartUp();
    void checkLanguageItem(const QString &language);
    void chooseLanguage(int item);
    void toggleSetting(QAction *item, bool &setting, const char *key);
    void runCloseSequence();
    void connectSearchControls();
    void setInitialSearchControlStates();
    void setBoxChecked(QCheckBox *box, bool checked);
    static void uncheckRadio(QRadioButton *button);
    void iptcBoxClicked(int index);
    void exactOnlyBoxClicked(QCheckBox *box, const char *key);
    void operatorClicked(int index);
    void revisedClicked(int index);
    void sortedByClicked();
    void eraseClicked();
    void connectNavigation();
    void navigate(bool (ResultPaging::*step)());
    void setNavigationEnabled(bool enabled);
    void showResultPage();
    void fillCell(ResultCell &cell, const ResultRow &row, int rank);
    void fitResultThumbnail(ResultCell &cell);
    int lastFilledCell() const;
    void watchCells();
    int cellOf(QObject *watched) const;
    void selectCell(int index);
    void showImageDetail(const ResultCell &cell);
    HighlightRequest highlightRequest() const;
    void openCellImage(int index);
    void openImagePopup(int index, const QPoint &at);
    void startDrag(int index);
    void showInDisplayWindow(const ResultCell &cell);
    void minimiseDisplayWindow();
    void showSearchOptions();
    SearchRequest searchRequest() const;
    void resetSearchDisplay();
    void showSearchOutcome(const SearchOutcome &outcome);
    void applyLayoutRule();
    void showAbout();
    void showHelp();

    AppContext m_context;
    std::unique_ptr<Feedback> m_ownFeedback;
    Feedback *m_feedback;
    std::function<void()> m_openDatabaseDialog;
    bool m_closeSequenceDone = false;
    int m_wholeWordTop = 0;
    SearchState m_search;
    ResultPaging m_paging;
    bool m_shiftClick = false;
    QPoint m_dragStart;
    int m_popupCell = -1;
    QPointer<frmDisplayImage> m_displayWindow;

public:
    // Controls, named as the rest of the program refers to them.
    QComboBox *lstTxtSearch = nullptr;
    QPushButton *cmdSearch = nullptr;
    QGroupBox *FrameOperator = nullptr;
    std::array<QRadioButton *, 3> optOperator{};
    QCheckBox *chkWholeWord = nullptr;
    QCheckBox *chkTranslation = nullptr;
    QLabel *lblTranslation = nullptr;
    std::array<QCheckBox *, 3> chkIPTC{};
    QComboBox *lstFields = nullptr;
    std::array<QCheckBox *, 2> chkRevised{};
    std::array<QRadioButton *, 2> optOrder{};
    std::array<QRadioButton *, 2> optSortedBy{};
    QComboBox *lstSortedBy = nullptr;
    QLabel *lblSortedBy = nullptr;
    QToolButton *cmdErase = nullptr;
    QGroupBox *FrameImages = nullptr;
    std::array<ResultCell, kCells> cells{};
    QToolButton *cmdBegin = nullptr;
    QToolButton *cmdBack = nullptr;
    QToolButton *cmdForward = nullptr;
    QToolButton *cmdEnd = nullptr;
    QLabel *lbllblFound = nullptr;
    QLabel *lblFound = nullptr;
    QTextEdit *rtfIPTC = nullptr;
    QLabel *lblDB = nullptr;
    QLabel *lbllblCount = nullptr;
    QLabel *lblCount = nullptr;
    QPushButton *cmdDatabase = nullptr;
    QFrame *FrameHelp = nullptr;
    std::array<QLabel *, 4> lblHelp{};
    QGroupBox *FrameCheckMark = nullptr;
    std::array<QLabel *, 2> picCheck{};
    std::array<QLabel *, 2> lblCheckMark{};

    QMenu *mnuFile = nullptr, *mnuConfiguration = nullptr, *mnuTemplates = nullptr,
          *mnuSelectedImages = nullptr, *mnuTools = nullptr, *mnuLanguages = nullptr,
          *mnuAboutHelp = nullptr, *mnuIPTCPopup = nullptr, *mnuImagePopup = nullptr;
    QAction *mnuBase = nullptr, *mnuFileExit = nullptr, *mnuSearchOptions = nullptr,
            *mnuEditIPTCOptions = nullptr, *mnuDisplayImage = nullptr, *mnuStayOnTop = nullptr,
            *mnuUseThumbnails = nullptr, *mnuDefineTemplates = nullptr, *mnuApplyTemplate = nullptr,
            *mnuDisplaySelected = nullptr, *mnuRemoveSelection = nullptr, *mnuSelections = nullptr,
            *mnuSelectResult = nullptr, *mnuUnselectResult = nullptr, *mnuStatistics = nullptr,
            *mnuEmptyWordsList = nullptr, *mnuSearchDoubles = nullptr, *mnuCopyImages = nullptr,
            *mnuSQLQuery = nullptr, *mnuExportxML = nullptr, *mnuHelp = nullptr, *mnuAbout = nullptr,
            *mnuIPTCCopy = nullptr, *mnuEditIPTC = nullptr, *mnuOpenImage = nullptr,
            *mnuDelete = nullptr, *mnuRename = nullptr, *mnuProperties = nullptr;
    std::array<QAction *, kLanguageItems> mnuLanguage{};
};

} // namespace zelvarion
