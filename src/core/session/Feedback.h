#pragma once

#include "core/session/Result.h"

#include <QString>

namespace zelvarion {

class LanguagePack;

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

    // The pack failures are told in: the one set by the window or command that owns this
    // feedback, else the English built into the program.
    void setLanguage(const LanguagePack *pack) { m_language = pack; }
    virtual const LanguagePack &language() const;

    // A failure in the words of language(), as a message box with the application title.
    void reportFailure(const Failure &failure, MessageIcon icon = MessageIcon::Critical);

protected:
    const LanguagePack *m_language = nullptr;
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
    // A dialog's own loop speaks the language of the window it belongs to.
    const LanguagePack &language() const override { return m_language ? *m_language : m_outer.language(); }

private:
    Feedback &m_outer;
};

// The one error-report form after a failed catalogue open or statement: what failed, a line
// break, the engine's text; critical icon, application title.
void report(Feedback &feedback, const Failure &failure);

} // namespace zelvarion
