#pragma once

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QPushButton;
class QTreeView;

namespace zelvarion {

struct AppContext;

// The backup folder chooser: a list of the mounted volumes and the folder tree of the chosen one.
// OK makes the folder SaveFolder in memory at once, ending with a path separator.
class frmFolder : public QDialog
{
    Q_OBJECT
public:
    frmFolder(AppContext &context, QWidget *parent = nullptr);

    // The folder selected in the tree; empty when none is.
    QString selectedFolder() const;
    // Shows and selects a folder (its volume chosen in the list); false when it does not exist.
    bool selectFolder(const QString &path);
    void confirm();

private:
    void driveChanged(int position);

    AppContext &m_context;
    QComboBox *m_drives = nullptr;
    QTreeView *m_folders = nullptr;
    QFileSystemModel *m_model = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace zelvarion
