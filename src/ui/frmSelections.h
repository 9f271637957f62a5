#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zelvarion {

struct AppContext;
class Feedback;

// The Selections window: saves the marked images under a name, lists the saved selections with
// their number of images, restores one as the current marks, renames and removes them. Shown
// without blocking its owner; the list is read from the catalogue when the window opens.
class frmSelections : public QDialog
{
    Q_OBJECT
public:
    // Lists the marked images in the main window and returns how many were found.
    using MarkedImagesLister = std::function<int()>;
    // The input box of Rename (prompt, title, default answer); an empty text for Cancel.
    using NameAsker = std::function<QString(const QString &prompt, const QString &title, const QString &current)>;

    frmSelections(AppContext &context, Feedback &feedback, MarkedImagesLister listMarkedImages, QWidget *owner);

    void setNameAsker(NameAsker asker) { m_askName = std::move(asker); }

    void saveSelection();
    void showCurrentSelection();
    void displaySelection();
    void renameSelection();
    void removeSelection();

private:
    void createControls();
    void applyTexts();
    void placeControls();
    void fitButtonsToCaptions();
    void readList();
    void addEntry(const QString &name, const QString &count);
    QStringList listedNames() const;
    void startCommand();
    void refuse(const QString &text);
    QTreeWidgetItem *chosenEntry();
    void showCount(int count);
    void setButtonsEnabled(bool enabled);

    AppContext &m_context;
    Feedback &m_feedback;
    MarkedImagesLister m_listMarkedImages;
    NameAsker m_askName;

    QLabel *lblSaveSelection = nullptr;
    QLineEdit *txtSaveSelection = nullptr;
    QTreeWidget *lvSelections = nullptr;
    QLabel *lblNbCurrentSelection = nullptr;
    QLabel *lblError = nullptr;
    QPushButton *cmdCurrentSelection = nullptr, *cmdSaveSelection = nullptr, *cmdRemoveSelection = nullptr,
                *cmdRenameSelection = nullptr, *cmdDisplaySelection = nullptr, *cmdCancel = nullptr;
};

} // namespace zelvarion
