#include "ui/EditStatusLine.h"

#include "ui/Controls.h"

#include <QApplication>
#include <QLabel>

namespace zelvarion {
using namespace controls;

EditStatusLine::EditStatusLine(QWidget *dialog) : m_label(named(new QLabel(dialog), QStringLiteral("lblStatus")))
{
    m_label->setMinimumHeight(40);
    m_label->setWordWrap(true);
    setTextColour(m_label, kStatusRed);
}

void EditStatusLine::show(const QString &text) { m_label->setText(text); }

void EditStatusLine::clear() { m_label->clear(); }

void EditStatusLine::clearWhenShown()
{
    if (m_label->window()->isVisible())
        m_label->clear();
}

bool EditStatusLine::isEmpty() const { return m_label->text().isEmpty(); }

void EditStatusLine::refuse(const QString &text)
{
    QApplication::beep();
    show(text);
}

} // namespace zelvarion
