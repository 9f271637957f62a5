#pragma once

#include <QString>

namespace zelvarion {

enum class MessageIcon { None, Information, Warning, Critical, Question };

// How the core reaches the user: message boxes, questions, progress and the stop flag of long
// loops. The windows implement it with real dialogs; tests record what was said.
class Feedback
{
public:
    virtual ~Feedback() = default;

    // A message box with one OK button. An empty title means the application title.
    virtual void showMessage(const QString &text, MessageIcon icon, const QString &title = {}) = 0;

    // A Yes/No question; true for Yes.
    virtual bool askYesNo(const QString &text, MessageIcon icon = MessageIcon::Question) = 0;

    // Long loops call this once per item so pending window events run.
    virtual void processEvents() {}

    // Set by a Stop button while a long loop runs.
    virtual bool stopRequested() const { return false; }

    // A line of progress for long work (the scan log, the command line's output).
    virtual void progress(const QString &line) { (void)line; }
};

// Passes everything on to another feedback; a window's long loop overrides what it adds (its own
// Stop button, its own event processing).
class ForwardingFeedback : public Feedback
{
public:
    explicit ForwardingFeedback(Feedback &outer) : m_outer(outer) {}
    void showMessage(const QString &text, MessageIcon icon, const QString &title = {}) override
    {
        m_outer.showMessage(text, icon, title);
    }
    bool askYesNo(const QString &text, MessageIcon icon = MessageIcon::Question) override
    {
        return m_outer.askYesNo(text, icon);
    }
    void processEvents() override { m_outer.processEvents(); }
    bool stopRequested() const override { return m_outer.stopRequested(); }
    void progress(const QString &line) override { m_outer.progress(line); }

private:
    Feedback &m_outer;
};

// The one error-report form after a failed catalogue open or statement: what failed, a line
// break, the engine's text; critical icon, application title.
void report(Feedback &feedback, const QString &what, const QString &engineText);

} // namespace zelvarion
