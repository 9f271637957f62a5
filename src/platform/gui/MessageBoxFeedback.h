#pragma once

#include "core/session/Feedback.h"

#include <QPointer>
#include <QWidget>

namespace zelvarion {

// The core's messages and questions as message boxes owned by a window.
class MessageBoxFeedback : public Feedback
{
public:
    explicit MessageBoxFeedback(QWidget *owner = nullptr) : m_owner(owner) {}

    void setOwner(QWidget *owner) { m_owner = owner; }
    void showMessage(const QString &text, MessageIcon icon, const QString &title = {}) override;
    bool askYesNo(const QString &text, MessageIcon icon = MessageIcon::Question) override;
    void processEvents() override;

private:
    QPointer<QWidget> m_owner;
};

} // namespace zelvarion
