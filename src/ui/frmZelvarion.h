#pragma once

#include "ui/AppContext.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QTextEdit;
class QToolButton;

namespace zelvarion {

class Feedback;

// The one top-level window: search controls, the grid of ten result cells, the detail panel and
// the menus. Loading it runs the start-up; closing it saves the geometry and the search history.
class frmZelvarion : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int kCells = 10;
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

    // Empties the grid and the detail panel.
    void clearResultPage();

    // The design geometry in pixels, used when the configuration file has none.
    static QRect designGeometry();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    struct ResultCell
    {
        QLabel *thumb = nullptr;
        QLabel *name = nullptr;
        QLabel *rank = nullptr;
        QLabel *check = nullptr;
        QFrame *lineTop = nullptr;
        QFrame *lineDown = nullptr;
    };

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
    void applyLayoutRule();
    void showAbout();
    void showHelp();

    AppContext m_context;
    std::unique_ptr<Feedback> m_ownFeedback;
    Feedback *m_feedback;
    std::function<void()> m_openDatabaseDialog;
    bool m_closeSequenceDone = false;
    int m_wholeWordTop = 0;

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
