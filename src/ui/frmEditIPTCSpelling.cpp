// The edit dialog's spell checking: its buttons follow the spelling service, each command shows
// the correction dialog for every text it checks and puts the corrected text back in its place.
#include "ui/frmEditIPTC.h"

#include "ui/AppContext.h"
#include "ui/frmSpelling.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

namespace zelvarion {

void frmEditIPTC::setSpellCheckingAvailable(bool available)
{
    m_spellingAvailable = available;
    m_spellAll->setEnabled(available);
    m_spellAllLabel->setEnabled(available);
    for (int i = 0; i < kIptcFieldCount; ++i)
        updateFieldSpellButton(i);
    updateListSpellButton(m_keywords);
    updateListSpellButton(m_categories);
    for (int row = 0; row < kTemplateCustomizedCount; ++row)
        m_rows[std::size_t(row)].spell->setEnabled(available && !customizedText(row).isEmpty());
}

// The text being checked: its box takes the tool-tip background and its label turns bold.
void frmEditIPTC::markChecking(const SpellTarget &target, bool on)
{
    QWidget *box = nullptr;
    QLabel *label = nullptr;
    switch (target.kind) {
    case SpellTarget::Kind::Field:
        box = m_box[std::size_t(target.index)];
        label = m_label[std::size_t(target.index)];
        break;
    case SpellTarget::Kind::ListEntries: {
        const ListControls &list = target.index == kKeywordsIndex ? m_keywords : m_categories;
        box = list.entry;
        label = list.entryLabel;
        break;
    }
    case SpellTarget::Kind::CustomizedRow:
        box = m_rows[std::size_t(target.index)].text;
        label = m_rows[std::size_t(target.index)].label;
        break;
    }
    QPalette colours = box->palette();
    const QPalette program = QApplication::palette();
    colours.setColor(QPalette::Base, on ? program.color(QPalette::ToolTipBase) : program.color(QPalette::Base));
    colours.setColor(QPalette::Text, on ? program.color(QPalette::ToolTipText) : program.color(QPalette::Text));
    box->setPalette(colours);
    QFont font = label->font();
    font.setBold(on);
    label->setFont(font);
}

// One command with the correction dialog over this window; a service that could not start
// leaves every button disabled afterwards.
template <typename Command>
void frmEditIPTC::runSpellCheck(Command &&command)
{
    DialogCorrector corrector(m_context.language, this);
    SpellCheckCommands commands(m_context.spelling, corrector, m_context.language);
    command(commands);
    setSpellCheckingAvailable(m_context.spelling.available());
}

void frmEditIPTC::spellCheckField(int index)
{
    runSpellCheck([&](SpellCheckCommands &commands) { commands.checkField(*this, index); });
}

void frmEditIPTC::spellCheckCustomizedRow(int row)
{
    runSpellCheck([&](SpellCheckCommands &commands) { commands.checkCustomizedRow(*this, row); });
}

void frmEditIPTC::spellCheckAll()
{
    const bool rows = m_context.settings.editCustomizedFields;
    runSpellCheck([&](SpellCheckCommands &commands) { commands.checkAll(*this, rows); });
}

} // namespace zelvarion
