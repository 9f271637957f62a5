#pragma once

// The benchmarks' feedback: messages go to stderr, questions get a fixed answer.

#include "core/session/Feedback.h"

#include <QTextStream>

namespace zelvarion::bench {

class StderrFeedback : public Feedback
{
public:
    explicit StderrFeedback(bool answer = false) : m_answer(answer) {}
    void showMessage(const QString &text, MessageIcon, const QString &) override { QTextStream(stderr) << text << '\n'; }
    bool askYesNo(const QString &, MessageIcon) override { return m_answer; }

private:
    bool m_answer;
};

} // namespace zelvarion::bench
