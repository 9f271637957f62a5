#pragma once

#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace zelvarion::cli {

// What every command of zelvarion-cli gets: its own arguments (the command name removed, the
// program's own options already taken), the two output streams and the language pack.
struct CliContext
{
    QStringList arguments;
    QTextStream &out;
    QTextStream &err;
    // The pack of the language in use, for questions and refusals; English when none is given.
    const LanguagePack *language = nullptr;
};

using CommandFunction = int (*)(CliContext &context);

// A process runs one command in one language: once the command has read its settings and pack,
// the core's failures are told in that pack by every feedback of the command.
void rememberCommandLanguage(const LanguagePack &pack);

// How the core reaches the user of the command line: messages go to the error stream (a
// critical or information message marks the command as failed), progress lines to the output,
// and no question is asked (the commands ask theirs before they start).
class StreamFeedback : public Feedback
{
public:
    explicit StreamFeedback(CliContext &context) : m_out(context.out), m_err(context.err) {}
    void showMessage(const QString &text, MessageIcon icon, const QString &title = {}) override;
    bool askYesNo(const QString &, MessageIcon) override { return false; }
    void progress(const QString &line) override { m_out << line << '\n'; }
    // The command's language (rememberCommandLanguage) unless one was set on this feedback.
    const LanguagePack &language() const override;
    bool failed() const { return m_failed; }

private:
    QTextStream &m_out;
    QTextStream &m_err;
    bool m_failed = false;
};

} // namespace zelvarion::cli
