#pragma once

#include "core/iptc/IptcField.h"

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zelvarion {

struct AppContext;

// Display names for up to 16 customized dataset numbers; OK rewrites "CustomizedFieldNames".
class frmEditCustomizedFieldNames : public QDialog
{
    Q_OBJECT
public:
    frmEditCustomizedFieldNames(AppContext &context, QWidget *parent = nullptr);

    // OK: every row with a valid number and a name is written and kept in memory; the others
    // become empty.
    void confirm();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Row
    {
        QLineEdit *number = nullptr;
        QLineEdit *name = nullptr;
        QLabel *numberLabel = nullptr;
        QLabel *nameLabel = nullptr;
    };
    void createControls();
    void numberChanged(int row);
    void leaveNumber(int row);
    void showHint();

    AppContext &m_context;
    std::array<Row, kCustomizedSlotCount> m_rows;
    QLabel *m_status = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace zelvarion
