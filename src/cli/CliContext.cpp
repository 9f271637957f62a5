#include "cli/CliContext.h"

namespace zelvarion::cli {

void StreamFeedback::showMessage(const QString &text, MessageIcon icon, const QString &)
{
    m_err << text << Qt::endl; // at once, between the progress lines of a long run
    m_failed = m_failed || icon == MessageIcon::Critical || icon == MessageIcon::Information;
}

} // namespace zelvarion::cli
