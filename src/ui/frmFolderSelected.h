#pragma once

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

namespace zelvarion {

struct AppContext;
class Feedback;
class ResultList;

// The destination folder of "Copy images": a list of the mounted file systems and the folder
// tree of the chosen one. OK stores the folder as DestinationFolder, copies every image of the
// result there and tells what was copied; Cancel copies nothing.
class frmFolderSelected : public QDialog
{
    Q_OBJECT
public:
    frmFolderSelected(AppContext &context, Feedback &feedback, const ResultList &results, QWidget *owner);

    // The folder the tree shows as chosen, and choosing one (false when it cannot be shown).
    QString currentFolder() const;
    bool setCurrentFolder(const QString &folder);

    void confirm();

private:
    void createControls();
    void applyTexts();
    void fillDrives();
    void driveChosen(int index);
    void selectDriveOf(const QString &folder);

    AppContext &m_context;
    Feedback &m_feedback;
    const ResultList &m_results;
    QFileSystemModel *m_folders = nullptr;

    QLabel *lblDestination = nullptr;
    QComboBox *drvList = nullptr;
    QTreeView *dirList = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace zelvarion
