#pragma once

#include "core/catalogue/TemplateRecord.h"
#include "core/catalogue/TemplatesTable.h"

#include <QObject>
#include <array>

class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;

namespace zelvarion {

struct AppContext;
class EditCodeTyping;
class EditStatusLine;

// The sixteen customized rows of the edit dialog (label, dataset number, text, spell button):
// a number is checked when its box is left, a configured name replaces the label, and a click on
// the label sets the row aside.
class EditCustomizedRows : public QObject
{
    Q_OBJECT
public:
    EditCustomizedRows(QWidget *frame, const AppContext &context, EditStatusLine &status);

    // The rows of a template's cells ("n/v"), named after their configured names.
    void fill(const TemplateRecord &record);
    void showLabelsGrey();
    void clear();
    void forgetKept();
    // While loading, a changed number leaves labels and status alone.
    void setLoading(bool loading) { m_loading = loading; }

    QString text(int row) const;
    void setText(int row, const QString &text);
    std::array<CustomizedCell, kTemplateCustomizedCount> cells() const;
    void watchCodes(EditCodeTyping &codes);
    void markChecking(int row, bool on);

    // The row whose label or number box that is; -1 for another control.
    int rowOfLabel(const QObject *control) const;
    int rowOfNumber(const QObject *control) const;
    void labelClicked(int row);
    // The number box was left: numberAccepted, or numberRefused with the reason on the status line.
    void leaveNumber(int row);

    // Every row, or all but one (-1: none), takes input.
    void setLocked(bool locked, int exceptRow = -1);
    void setSpellingAvailable(bool available);

Q_SIGNALS:
    void spellRequested(int row);
    void numberAccepted();
    void numberRefused(int row);

private:
    struct Row
    {
        QLabel *label = nullptr;
        QLineEdit *number = nullptr;
        QLineEdit *text = nullptr;
        QToolButton *spell = nullptr;
        QString keptNumber, keptText;
        bool blue = false;
    };

    void create(QWidget *frame);
    void connectRow(int row);
    void numberChanged(int row);
    void updateSpellButton(int row);
    QString configuredName(const QString &number) const;

    const AppContext &m_context;
    EditStatusLine &m_status;
    std::array<Row, kTemplateCustomizedCount> m_rows;
    bool m_loading = true;
    bool m_spellingAvailable = false;
};

} // namespace zelvarion
