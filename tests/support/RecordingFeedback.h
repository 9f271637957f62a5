#pragma once

#include "core/session/Feedback.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace zelvarion::test {

// Records every message and answers questions from a queue (Yes when the queue is empty).
class RecordingFeedback : public Feedback
{
public:
    struct Message
    {
        QString text;
        MessageIcon icon;
        QString title;
    };

    void showMessage(const QString &text, MessageIcon icon, const QString &title = {}) override;
    bool askYesNo(const QString &text, MessageIcon icon = MessageIcon::Question) override;
    bool stopRequested() const override { return stop; }
    void progress(const QString &line) override { progressLines << line; }

    // The texts of the messages, in order.
    QStringList texts() const;

    std::vector<Message> messages;
    QStringList questions;
    std::vector<bool> answers; // consumed from the front
    QStringList progressLines;
    bool stop = false;
};

} // namespace zelvarion::test
