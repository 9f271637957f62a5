#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace zelvarion::scriptrun {

// Starts script with /bin/sh in the script's own folder, its output on ours, and waits for its
// end, calling whileWaiting every 50 ms so a window stays responsive. Returns why it could not be
// started, or nothing once it has run (whatever its exit status).
std::optional<QString> runAndWait(const QString &script, const std::function<void()> &whileWaiting);

} // namespace zelvarion::scriptrun
