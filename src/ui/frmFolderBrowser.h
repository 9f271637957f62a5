#pragma once

#include <QDialog>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zelvarion {

class LanguagePack;

// The folder browser of Add folder: the folder tree from the root, each level listed when it is
// first opened. Names are read by their own bytes (filenames::listFolder), so a folder whose name
// is not UTF-8 reads as text and is chosen by its real bytes. Hidden folders are left out.
class frmFolderBrowser : public QDialog
{
    Q_OBJECT
public:
    frmFolderBrowser(const QString &title, const LanguagePack &language, QWidget *owner);

    // The chosen folder, as filenames::decode gives its path; empty when none is chosen.
    QString selectedFolder() const;
    // Opens the tree down to a folder and chooses it; false when the tree has no such folder.
    bool selectFolder(const QString &path);

private:
    void listSubfolders(QTreeWidgetItem *item);

    QTreeWidget *dirList = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace zelvarion
