#include "core/session/AppInfo.h"

#include "core/session/Feedback.h"

namespace zelvarion {

QString versionText() { return QStringLiteral(ZELVARION_VERSION); }

QString editionText() { return QStringLiteral(" Basic"); }

QString applicationTitle()
{
    return QStringLiteral("Zelvarion") + editionText() + QStringLiteral(" - ") + versionText();
}

void report(Feedback &feedback, const QString &what, const QString &engineText)
{
    feedback.showMessage(what + u'\n' + engineText, MessageIcon::Critical);
}

} // namespace zelvarion
