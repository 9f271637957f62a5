// The edit dialog's spell checking: each command shows the correction dialog for every text it
// checks and puts the corrected text back in its place.
#include "ui/EditSpellCheck.h"

#include "ui/AppContext.h"
#include "ui/Controls.h"
#include "ui/EditCustomizedRows.h"
#include "ui/EditFieldRows.h"
#include "ui/EditListPanel.h"
#include "ui/EditStatusLine.h"
#include "ui/EditTabs.h"
#include "ui/frmSpelling.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace zelvarion {
using namespace controls;

EditSpellCheck::EditSpellCheck(QWidget *dialog, AppContext &context, EditTexts texts)
    : QObject(dialog), m_dialog(dialog), m_context(context), m_texts(texts),
      m_all(newSpellButton(dialog, QStringLiteral("cmdSpellCheckerAll"))),
      m_allLabel(named(new QLabel(dialog), QStringLiteral("lblSpellCheckerAll")))
{
    m_all->setFixedSize(28, 28);
    connect(m_all, &QToolButton::clicked, this, &EditSpellCheck::checkAll);
}

void EditSpellCheck::applyTexts()
{
    m_allLabel->setText(m_context.language.text(InterfaceText::SpellCheckAllLabel));
    m_all->setToolTip(m_context.language.text(InterfaceText::SpellCheckAllLabel));
}

void EditSpellCheck::setAvailable(bool available)
{
    m_all->setEnabled(available);
    m_allLabel->setEnabled(available);
    m_texts.fields.setSpellingAvailable(available);
    for (EditListPanel *list : m_texts.lists)
        list->setSpellingAvailable(available);
    m_texts.customized.setSpellingAvailable(available);
}

// A service that could not start leaves every button disabled afterwards.
template <typename Command>
void EditSpellCheck::run(Command &&command)
{
    DialogCorrector corrector(m_context.language, m_dialog);
    SpellCheckCommands commands(m_context.spelling, corrector, m_context.language);
    command(commands);
    setAvailable(m_context.spelling.available());
}

void EditSpellCheck::checkField(int index)
{
    run([&](SpellCheckCommands &commands) { commands.checkField(*this, index); });
}

void EditSpellCheck::checkCustomizedRow(int row)
{
    run([&](SpellCheckCommands &commands) { commands.checkCustomizedRow(*this, row); });
}

void EditSpellCheck::checkAll()
{
    const bool rows = m_context.settings.editCustomizedFields;
    run([&](SpellCheckCommands &commands) { commands.checkAll(*this, rows); });
}

QString EditSpellCheck::fieldText(int index) const { return m_texts.fields.text(index); }

void EditSpellCheck::setFieldText(int index, const QString &text) { m_texts.fields.setText(index, text); }

QStringList EditSpellCheck::listEntries(int index) const { return list(index).entries(); }

void EditSpellCheck::setListEntry(int index, int row, const QString &text) { list(index).setEntry(row, text); }

QString EditSpellCheck::customizedText(int row) const { return m_texts.customized.text(row); }

void EditSpellCheck::setCustomizedText(int row, const QString &text) { m_texts.customized.setText(row, text); }

void EditSpellCheck::selectTab(int tab) { m_texts.tabs.select(tab); }

void EditSpellCheck::showStatus(const QString &text) { m_texts.status.show(text); }

EditListPanel &EditSpellCheck::list(int index) const
{
    return index == kKeywordsIndex ? *m_texts.lists[0] : *m_texts.lists[1];
}

void EditSpellCheck::markChecking(const SpellTarget &target, bool on)
{
    switch (target.kind) {
    case SpellTarget::Kind::Field: m_texts.fields.markChecking(target.index, on); break;
    case SpellTarget::Kind::ListEntries: list(target.index).markChecking(on); break;
    case SpellTarget::Kind::CustomizedRow: m_texts.customized.markChecking(target.index, on); break;
    }
}

} // namespace zelvarion
