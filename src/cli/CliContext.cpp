#include "cli/CliContext.h"

#include "core/session/LanguagePack.h"

#include <optional>

namespace zelvarion::cli {

namespace {

std::optional<LanguagePack> &commandLanguage()
{
    static std::optional<LanguagePack> pack;
    return pack;
}

} // namespace

void rememberCommandLanguage(const LanguagePack &pack) { commandLanguage() = pack; }

const LanguagePack &StreamFeedback::language() const
{
    if (!m_language && commandLanguage())
        return *commandLanguage();
    return Feedback::language();
}

void StreamFeedback::showMessage(const QString &text, MessageIcon icon, const QString &)
{
    m_err << text << Qt::endl; // at once, between the progress lines of a long run
    m_failed = m_failed || icon == MessageIcon::Critical || icon == MessageIcon::Information;
}

} // namespace zelvarion::cli
