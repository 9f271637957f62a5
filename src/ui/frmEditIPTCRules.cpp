// The rules of the edit dialog that span its panels: length control (EditLengthControl) on every
// change, OK waits for valid dates and times, clicks on labels, leaving boxes, the tab keys and the
// calendar's way out. Messages go to the status line.
#include "ui/frmEditIPTC.h"

#include "platform/gui/ShellServices.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"
#include "ui/EditCustomizedRows.h"
#include "ui/EditDatesAndTimes.h"
#include "ui/EditFieldRows.h"
#include "ui/EditLengthControl.h"
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
    m_length->checkField(index, fieldText(index));
}

// OK, Previous and Next follow the rules: none of them while every field but one is locked, so a
// value cannot be saved or carried to another image half-corrected, and OK not while a date or
// time does not parse (it would be stored empty). A read-only file is never saved.
void frmEditIPTC::updateCommandButtons()
{
    m_ok->setEnabled(!readOnly() && !m_length->locked() && !m_dates->invalidField());
    if (editsImage())
        m_image->enableButtons(m_length->locked());
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
        m_fields->labelClicked(field);
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
