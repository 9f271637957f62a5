#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zelvarion {

struct AppContext;
struct CatalogueFileCheck;
class Feedback;
class frmZelvarion;

// The modal database dialog: choose, create and compact the catalogue; the registered folders
// and the thumbnail options of the scan.
class frmDatabase : public QDialog
{
    Q_OBJECT
public:
    explicit frmDatabase(frmZelvarion &main);

    // The file dialog of Select (an existing catalogue) and New (any name); tests replace it.
    // Returns an empty text on cancel.
    enum class FileChoice { ExistingCatalogue, NewCatalogue };
    using FileChooser = std::function<QString(FileChoice choice, const QString &title, const QString &startPath)>;
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    // The folder browser of Add folder; tests replace it. Returns an empty text on cancel.
    using FolderChooser = std::function<QString(const QString &title)>;
    void setFolderChooser(FolderChooser chooser) { m_chooseFolder = std::move(chooser); }

    // Where the scan stores thumbnails; empty for the user's thumbnail cache. For tests.
    void setThumbnailStoreRoot(const QString &root);

    void selectDatabase();
    // Opens the catalogue on the server typed in the address box, making its tables when the
    // database holds none yet.
    void connectServer();
    void refuseCatalogue(const CatalogueFileCheck &check, const QString &asked);
    void newDatabase();
    void compactDatabase();
    void refreshFolderList();
    void addFolder();
    void removeFolder();
    void scanCheckedFolders();
    void stopScan() { m_stopRequested = true; }
    bool isScanning() const { return m_scanning; }

    // While a scan runs the dialog stays open: closing asks the scan to stop and closes the dialog
    // once it has.
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class ScanProgress;
    void createControls();
    void createFolderControls();
    void createThumbnailControls();
    void layOut();
    void fitFolderColumns();
    void showThumbnailExplanation();
    void applyLanguage();
    void setThumbnailControls();
    void thumbnailsClicked();
    void showPath(const QString &path);
    void reportMissingCatalogue();
    bool catalogueFileMissing();
    bool catalogueChosen();
    // Makes chosen the catalogue in use and remembers it.
    void useCatalogue(const QString &chosen);
    void updateScanButton();
    void setScanning(bool on);
    void showThumbnail(const QByteArray &jpeg);
    void addSubfolderRow(const QString &folder, int parentRow);
    void setRowBold(QTreeWidgetItem *item, bool bold);
    void runScan();

    frmZelvarion &m_main;
    AppContext &m_context;
    Feedback &m_feedback;
    FileChooser m_chooseFile;
    FolderChooser m_chooseFolder;
    QString m_thumbnailStoreRoot;
    bool m_scanning = false;
    bool m_stopRequested = false;
    std::optional<int> m_doneAfterScan;

    QLabel *lbllblDB = nullptr, *lblDB = nullptr, *lbllblCount = nullptr, *lblCount = nullptr;
    QPushButton *cmdSelect = nullptr, *cmdCreate = nullptr, *cmdCompact = nullptr, *cmdAddFolder = nullptr,
                *cmdRemoveFolder = nullptr, *cmdScan = nullptr, *cmdCancel = nullptr, *cmdOK = nullptr;
    QLineEdit *txtServer = nullptr;
    QPushButton *cmdConnect = nullptr;
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
};

} // namespace zelvarion
