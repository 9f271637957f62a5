#pragma once

#include "core/search/SqlConsole.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace zelvarion {

struct AppContext;
class ConsoleTableModel;
class Feedback;

// The SQL console: a select typed by the user, run on the catalogue opened for reading, every
// column of its result in a table. When the result has a Folder and a File column, a click on a
// row asks the main window to show that one image. Keeps the last ten statements.
class frmSQLQuery : public QDialog
{
    Q_OBJECT
public:
    frmSQLQuery(AppContext &context, Feedback &feedback, QWidget *owner);
    ~frmSQLQuery() override;

    // Execute, and Enter in the statement box.
    void execute();
    // A click on row (0-based) of the table.
    void clickRow(int row);
    const ConsoleResult &result() const { return m_result; }
    // Closing by any way (Cancel, the close box, Escape) writes the history.
    void reject() override;

Q_SIGNALS:
    void showImageRequested(const QString &folder, const QString &file);

private:
    void createControls();
    void layOut();
    void applyTexts();
    void fitColumns();
    void rememberStatement(const QString &statement);
    void showStatus();
    QStringList history() const;

    AppContext &m_context;
    Feedback &m_feedback;
    ConsoleResult m_result;
    ConsoleTableModel *m_model = nullptr;

    QLabel *lblSQLQuery = nullptr;
    QComboBox *lstTxtSQL = nullptr;
    QPushButton *cmdExecute = nullptr;
    QPushButton *cmdCancel = nullptr;
    QTableView *lvSQLOutput = nullptr;
    QLabel *lblStatus = nullptr;
};

} // namespace zelvarion
