#include "support/RecordingFeedback.h"

namespace zelvarion::test {

void RecordingFeedback::showMessage(const QString &text, MessageIcon icon, const QString &title)
{
    messages.push_back({text, icon, title});
}

bool RecordingFeedback::askYesNo(const QString &text, MessageIcon)
{
    questions << text;
    if (answers.empty())
        return true;
    const bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

QStringList RecordingFeedback::texts() const
{
    QStringList result;
    for (const auto &m : messages)
        result << m.text;
    return result;
}

} // namespace zelvarion::test
