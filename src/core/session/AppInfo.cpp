#include "core/session/AppInfo.h"

#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"

namespace zelvarion {

QString versionText() { return QStringLiteral(ZELVARION_VERSION); }

QString editionText() { return QStringLiteral(" Basic"); }

QString applicationTitle()
{
    return QStringLiteral("Zelvarion") + editionText() + QStringLiteral(" - ") + versionText();
}

void report(Feedback &feedback, const Failure &failure)
{
    feedback.reportFailure(failure, MessageIcon::Critical);
}

const LanguagePack &Feedback::language() const
{
    return m_language ? *m_language : shippedEnglishPack();
}

void Feedback::reportFailure(const Failure &failure, MessageIcon icon)
{
    showMessage(describe(failure, language()), icon);
}

} // namespace zelvarion
