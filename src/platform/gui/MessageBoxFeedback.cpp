#include "platform/gui/MessageBoxFeedback.h"

#include "core/session/AppInfo.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

namespace zelvarion {
namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// A message box must not show the busy cursor of the work that raised it.
class NormalCursorWhileAsking
{
public:
    NormalCursorWhileAsking() : m_busy(QGuiApplication::overrideCursor() != nullptr)
    {
        if (m_busy)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~NormalCursorWhileAsking()
    {
        if (m_busy)
            QGuiApplication::restoreOverrideCursor();
    }

private:
    bool m_busy;
};

} // namespace

void MessageBoxFeedback::showMessage(const QString &text, MessageIcon icon, const QString &title)
{
    NormalCursorWhileAsking cursor;
    QMessageBox box(boxIcon(icon), title.isEmpty() ? applicationTitle() : title, text,
                    QMessageBox::Ok, m_owner);
    box.exec();
}

bool MessageBoxFeedback::askYesNo(const QString &text, MessageIcon icon)
{
    NormalCursorWhileAsking cursor;
    QMessageBox box(boxIcon(icon), applicationTitle(), text, QMessageBox::Yes | QMessageBox::No,
                    m_owner);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxFeedback::processEvents()
{
    QApplication::processEvents();
}

} // namespace zelvarion
