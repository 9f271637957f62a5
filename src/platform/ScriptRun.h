#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace zelvarion::scriptrun {

struct ScriptResult
{
    std::optional<QString> notStarted; // why the script could not be started
    bool succeeded = false;            // ended by itself with status 0
    QByteArray output;                 // what it wrote on its output and error output, in order
};

// Starts script with /bin/sh in the script's own folder and waits for its end, calling
// whileWaiting every 50 ms so a window stays responsive. Its output is kept, never passed to the
// program's own terminal: a program started from one must not fill it with the script's chatter.
ScriptResult runAndWait(const QString &script, const std::function<void()> &whileWaiting);

} // namespace zelvarion::scriptrun
