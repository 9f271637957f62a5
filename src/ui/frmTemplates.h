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

// The template dialog: the list of templates with the one in use ticked, and the commands that
// add, rename, remove and edit them. The catalogue is its only state.
class frmTemplates : public QDialog
{
    Q_OBJECT
public:
    frmTemplates(AppContext &context, Feedback &feedback, QWidget *parent = nullptr);

    // Opens the edit dialog for a template, modally; tests replace it.
    using EditOpener = std::function<void(const QString &templateName)>;
    void setEditOpener(EditOpener opener) { m_openEditor = std::move(opener); }

    // UpdateListTemplates: refills the list from the catalogue.
    void updateListTemplates();
    void addTemplate();
    void replaceTemplate();
    void removeTemplate();
    void editTemplate();

    // The name of the selected row; empty when none is selected.
    QString selectedName() const;

private:
    void createControls();
    void applyTexts();
    void fitColumns();
    int widestDate() const;
    void rowTicked(QTreeWidgetItem *item, int column);
    void showTaken();

    AppContext &m_context;
    Feedback &m_feedback;
    EditOpener m_openEditor;
    QLineEdit *m_name = nullptr;
    QTreeWidget *m_list = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_nameLabel = nullptr;
    QPushButton *m_add = nullptr, *m_replace = nullptr, *m_remove = nullptr, *m_edit = nullptr, *m_ok = nullptr;
    bool m_filling = false;
};

} // namespace zelvarion
