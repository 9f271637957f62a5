// The rules of the edit dialog that span its panels: length control locks every other field
// until the text is short enough, OK waits for valid dates and times, clicks on labels, leaving
// boxes, the tab keys and the calendar's way out. Messages go to the status line.
#include "ui/frmEditIPTC.h"

#include "core/editing/FieldRules.h"
#include "core/captioning/TemplateEdits.h"
#include "core/captioning/TemplateVariables.h"
#include "platform/gui/ShellServices.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"
#include "ui/EditCustomizedRows.h"
#include "ui/EditDatesAndTimes.h"
#include "ui/EditFieldRows.h"
#include "ui/EditListPanel.h"
#include "ui/EditStatusLine.h"
#include "ui/EditTabs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zelvarion {
using namespace controls;

void frmEditIPTC::fieldChanged(int index)
{
    m_fields->updateSpellButton(index);
    if (m_loading)
        return;
    m_status->clearWhenShown();
    // Dates and times in the user's formats are checked as such when their box is left.
    if (!m_context.settings.controlLengthFields || isListField(index) || isShownInUserFormat(index))
        return;
    unlockAll();
    // Counted in the bytes the file will hold: in UTF-8 when any value on show needs it.
    const iptctext::Charset charset = templateWriteCharset(valuesToSave());
    if (const auto excess = editing::exceededLimit(index, measuredText(fieldText(index)), charset)) {
        m_status->show(editing::tooLongMessage(m_context.language.message(Message::TextTooLong),
                                               m_context.language.message(Message::ValueTooManyBytes),
                                               m_fields->label(index)->text(), *excess));
        lockAllBut(index, -1);
        QApplication::beep();
    }
}

void frmEditIPTC::entryChanged(EditListPanel &list)
{
    if (!m_context.settings.controlLengthFields)
        return;
    unlockAll();
    const iptctext::Charset charset = templateWriteCharset(valuesToSave());
    if (const auto excess = editing::entryExceedsLimit(list.fieldIndex(), measuredText(list.entryBox()->text()), charset)) {
        m_status->show(editing::tooLongMessage(m_context.language.message(Message::TextTooLong),
                                               m_context.language.message(Message::ValueTooManyBytes),
                                               list.entryLabel()->text(), *excess));
        lockAllBut(list.fieldIndex(), -1);
        list.refuseLongEntry();
        QApplication::beep();
    }
}

// What a text's length is held to: in a template, what every image gets (its variables give
// each image more, checked when the template is applied).
QString frmEditIPTC::measuredText(const QString &text) const
{
    return editsImage() ? text : fixedTextOf(text);
}

// Every control but the one to correct (a field or a customized row; -1 for neither).
void frmEditIPTC::lockAllBut(int field, int customizedRow)
{
    m_fields->lockAllBut(field);
    m_customized->setLocked(true, customizedRow);
    for (EditListPanel *list : {m_keywords, m_categories})
        list->setLocked(field != list->fieldIndex());
    m_fieldsLocked = true;
    updateCommandButtons();
}

void frmEditIPTC::unlockAll()
{
    m_fields->unlockAll();
    m_customized->setLocked(false);
    for (EditListPanel *list : {m_keywords, m_categories})
        list->setLocked(false);
    m_fieldsLocked = false;
    updateCommandButtons();
}

// OK, Previous and Next follow the rules: none of them while every field but one is locked, so a
// value cannot be saved or carried to another image half-corrected, and OK not while a date or
// time does not parse (it would be stored empty). A read-only file is never saved.
void frmEditIPTC::updateCommandButtons()
{
    m_ok->setEnabled(!readOnly() && !m_fieldsLocked && !m_dates->invalidField());
    if (editsImage())
        m_image->enableButtons(m_fieldsLocked);
}

// Clicks on labels, leaving boxes and keys, for every control of the dialog (the filter sits on
// the application, so keys reach it whichever control has the focus).
bool frmEditIPTC::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || (widget != this && !isAncestorOf(widget)))
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return m_tabs->handleKey(event);
    case QEvent::MouseButtonPress:
        return labelPressed(watched);
    case QEvent::MouseButtonDblClick:
        if (watched == m_logo)
            shell::openWithDefaultProgram(QStringLiteral("https://iptc.org/standards/iim/"));
        return false;
    case QEvent::FocusOut:
        controlLeft(watched);
        return false;
    default:
        return false;
    }
}

// A click on a label sets its text aside and brings the one set aside back; the copyright sign
// adds itself to the copyright.
bool frmEditIPTC::labelPressed(QObject *watched)
{
    if (m_fields->isCopyrightSign(watched)) {
        m_fields->addCopyrightSign();
        return true;
    }
    for (EditListPanel *list : {m_keywords, m_categories}) {
        if (list->ownsLabel(watched)) {
            list->labelClicked();
            return true;
        }
    }
    if (const int field = m_fields->fieldOfLabel(watched); field >= 0) {
        setTextColour(m_fields->label(field), m_fields->swapKept(field) ? kLabelBlue : kLabelGrey);
        return true;
    }
    if (const int row = m_customized->rowOfLabel(watched); row >= 0) {
        m_customized->labelClicked(row);
        return true;
    }
    return false;
}

void frmEditIPTC::controlLeft(QObject *watched)
{
    if (const int field = m_fields->fieldOfBox(watched); field >= 0 && isDateOrTimeField(field))
        m_dates->leave(field);
    if (const int row = m_customized->rowOfNumber(watched); row >= 0)
        m_customized->leaveNumber(row);
}

void frmEditIPTC::reject()
{
    if (m_dates->calendarShown()) {
        m_dates->hideCalendar(); // Esc and closing only put the calendar away
        return;
    }
    QDialog::reject();
}

void frmEditIPTC::closeEvent(QCloseEvent *event)
{
    if (m_dates->calendarShown()) {
        m_dates->hideCalendar();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace zelvarion
