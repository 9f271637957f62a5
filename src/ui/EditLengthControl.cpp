#include "ui/EditLengthControl.h"

#include "core/captioning/TemplateVariables.h"
#include "core/editing/FieldRules.h"
#include "ui/AppContext.h"
#include "ui/EditCustomizedRows.h"
#include "ui/EditFieldRows.h"
#include "ui/EditListPanel.h"
#include "ui/EditStatusLine.h"

#include <QApplication>

namespace zelvarion {

EditLengthControl::EditLengthControl(QObject *parent, const AppContext &context, Panels panels,
                                     std::function<iptctext::Charset()> charset, bool templateTexts)
    : QObject(parent), m_context(context), m_panels(panels), m_charset(std::move(charset)),
      m_templateTexts(templateTexts)
{
}

QString EditLengthControl::measuredText(const QString &text) const
{
    return m_templateTexts ? fixedTextOf(text) : text;
}

// Dates and times in the user's formats are checked as such when their box is left; the lists
// are checked entry by entry.
void EditLengthControl::checkField(int index, const QString &text)
{
    if (!m_context.settings.controlLengthFields || isListField(index) || isShownInUserFormat(index))
        return;
    unlockAll();
    if (const auto excess = editing::exceededLimit(index, measuredText(text), m_charset())) {
        const LanguagePack &pack = m_context.language;
        m_panels.status.show(editing::tooLongMessage(pack.message(Message::TextTooLong),
                                                     pack.message(Message::ValueTooManyBytes),
                                                     m_panels.fields.labelText(index), *excess));
        lockAllBut(index, -1);
        QApplication::beep();
    }
}

void EditLengthControl::checkEntry(EditListPanel &list)
{
    if (!m_context.settings.controlLengthFields)
        return;
    unlockAll();
    if (const auto excess = editing::entryExceedsLimit(list.fieldIndex(), measuredText(list.entryText()), m_charset())) {
        const LanguagePack &pack = m_context.language;
        m_panels.status.show(editing::tooLongMessage(pack.message(Message::TextTooLong),
                                                     pack.message(Message::ValueTooManyBytes),
                                                     list.entryLabelText(), *excess));
        lockAllBut(list.fieldIndex(), -1);
        list.refuseLongEntry();
        QApplication::beep();
    }
}

void EditLengthControl::lockAllBut(int field, int customizedRow)
{
    m_panels.fields.lockAllBut(field);
    m_panels.customized.setLocked(true, customizedRow);
    for (EditListPanel *list : {&m_panels.keywords, &m_panels.categories})
        list->setLocked(field != list->fieldIndex());
    m_locked = true;
    Q_EMIT lockChanged();
}

void EditLengthControl::unlockAll()
{
    m_panels.fields.unlockAll();
    m_panels.customized.setLocked(false);
    for (EditListPanel *list : {&m_panels.keywords, &m_panels.categories})
        list->setLocked(false);
    m_locked = false;
    Q_EMIT lockChanged();
}

} // namespace zelvarion
