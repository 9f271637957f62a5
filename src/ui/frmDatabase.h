#pragma once

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace zelvarion {

struct AppContext;
class Feedback;
class frmZelvarion;

// The modal database dialog: choose, create and compact the catalogue; the registered folders
// and the thumbnail options of the scan.
class frmDatabase : public QDialog
{
    Q_OBJECT
public:
    explicit frmDatabase(frmZelvarion &main);

    // The file dialog of Select and New; tests replace it. Returns an empty text on cancel.
    using FileChooser = std::function<QString(const QString &title, const QString &startPath)>;
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    void selectDatabase();
    void newDatabase();
    void compactDatabase();
    void refreshFolderList();

    QLabel *lbllblDB = nullptr, *lblDB = nullptr, *lbllblCount = nullptr, *lblCount = nullptr;
    QPushButton *cmdSelect = nullptr, *cmdCreate = nullptr, *cmdCompact = nullptr, *cmdAddFolder = nullptr,
                *cmdRemoveFolder = nullptr, *cmdScan = nullptr, *cmdCancel = nullptr, *cmdOK = nullptr;
    QTreeWidget *lvFolders = nullptr;
    QLabel *lblSubFolder = nullptr;
    QWidget *FrameHelp = nullptr;
    std::array<QLabel *, 3> lblHelp{};
    QCheckBox *chkThumbnails = nullptr;
    QGroupBox *frameThumbnails = nullptr;
    std::array<QRadioButton *, 2> optThumbnails{};
    QLabel *lblThumbnails = nullptr;
    QLabel *imgDest = nullptr;
    QListWidget *sqlOutPut = nullptr;
    QLabel *lblStatus = nullptr;

private:
    void createControls();
    void createFolderControls();
    void createThumbnailControls();
    void applyLanguage();
    void setThumbnailControls();
    void thumbnailsClicked();
    void showPath(const QString &path);
    void reportMissingCatalogue();

    frmZelvarion &m_main;
    AppContext &m_context;
    Feedback &m_feedback;
    FileChooser m_chooseFile;
};

} // namespace zelvarion
