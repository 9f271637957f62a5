#pragma once

#include "core/export/XmlExport.h"

#include <QDialog>
#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace zelvarion {

struct AppContext;
class Feedback;
class ResultList;

// The modal XML export of the search result, and its display: as it is, or rendered by a
// stylesheet of the export folder to HTML, another text or, through the FO formatter, a PDF.
class frmExportXML : public QDialog
{
    Q_OBJECT
public:
    frmExportXML(AppContext &context, const ResultList &results, Feedback &feedback, QWidget *parent = nullptr);

    // How files are handed to the desktop; tests replace it.
    void setOpener(std::function<void(const QString &)> opener) { m_open = std::move(opener); }
    // How the FO formatter is run; empty for the real one. For tests.
    void setFormatter(std::function<bool(const QString &script)> formatter) { m_formatter = std::move(formatter); }
    // The store the thumbnails are copied from; empty for the user's thumbnail cache. For tests.
    void setThumbnailStoreRoot(const QString &root) { m_thumbnailStoreRoot = root; }

    const ExportFolder &exportFolder() const { return m_folder; }
    void exportDocument();
    void displayDocument();
    // While an export or a rendering runs (the window's events run meanwhile) the dialog cannot
    // be closed: the main window would then open a second export over the folder in use.
    void reject() override;

private:
    void createControls();
    void createDisplayControls();
    void applyTexts();
    void placeControls();
    void fillStylesheetList(const QString &remembered);
    void setBusy(bool busy);
    void takeExportFolder(ExportFolderLock &lock);
    void showProgress(int rank);

    AppContext &m_context;
    const ResultList &m_results;
    Feedback &m_feedback;
    ExportFolder m_folder;
    std::function<void(const QString &)> m_open;
    QString m_thumbnailStoreRoot;
    std::function<bool(const QString &)> m_formatter;
    bool m_busy = false;

    QLabel *lblTitle = nullptr;
    QLineEdit *txtXMLTitle = nullptr;
    std::array<QRadioButton *, 2> optThumbnails{};
    QLabel *lblXMLFile = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QLabel *lblMin = nullptr, *lblMax = nullptr, *lblCurrent = nullptr;
    QPushButton *cmdExportXML = nullptr, *cmdCancel = nullptr, *cmdDisplayXML = nullptr;
    QLabel *lblSelectXSL = nullptr;
    QComboBox *lstXSL = nullptr;
    QLabel *lblDisplayMessage = nullptr;
};

} // namespace zelvarion
