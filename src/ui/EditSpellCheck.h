#pragma once

#include "core/spelling/SpellCheckCommands.h"

#include <QObject>
#include <array>

class QLabel;
class QToolButton;
class QWidget;

namespace zelvarion {

struct AppContext;
class EditCustomizedRows;
class EditFieldRows;
class EditListPanel;
class EditStatusLine;
class EditTabs;

// The panels of the edit dialog that hold texts to check.
struct EditTexts
{
    EditFieldRows &fields;
    std::array<EditListPanel *, 2> lists; // keywords, supplemental categories
    EditCustomizedRows &customized;
    EditTabs &tabs;
    EditStatusLine &status;
};

// The edit dialog's spell checking: the form the spell-check commands check and correct, their
// buttons (every one of them disabled while the spelling service is off) and cmdSpellCheckerAll.
class EditSpellCheck : public QObject, public SpellCheckForm
{
public:
    EditSpellCheck(QWidget *dialog, AppContext &context, EditTexts texts);

    void applyTexts();
    // Called at loading and after each command.
    void setAvailable(bool available);

    // cmdSpellChecker i, cmdSpellCheckerCustomized r and cmdSpellCheckerAll.
    void checkField(int index);
    void checkCustomizedRow(int row);
    void checkAll();

    QString fieldText(int index) const override;
    void setFieldText(int index, const QString &text) override;
    QStringList listEntries(int index) const override;
    void setListEntry(int index, int row, const QString &text) override;
    QString customizedText(int row) const override;
    void setCustomizedText(int row, const QString &text) override;
    void markChecking(const SpellTarget &target, bool on) override;
    void selectTab(int tab) override;
    void showStatus(const QString &text) override;

private:
    template <typename Command>
    void run(Command &&command);
    EditListPanel &list(int index) const;

    QWidget *m_dialog;
    AppContext &m_context;
    EditTexts m_texts;
    QToolButton *m_all;
    QLabel *m_allLabel;
};

} // namespace zelvarion
