#include "platform/ScriptRun.h"

#include <QFileInfo>
#include <QProcess>

namespace zelvarion::scriptrun {

std::optional<QString> runAndWait(const QString &script, const std::function<void()> &whileWaiting)
{
    // The shell would start and then fail on a missing script: asked first.
    if (!QFileInfo(script).isFile())
        return QStringLiteral("No such file");
    QProcess process;
    process.setWorkingDirectory(QFileInfo(script).absolutePath());
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(QStringLiteral("/bin/sh"), {script});
    if (!process.waitForStarted())
        return process.errorString();
    whileWaiting();
    while (process.state() != QProcess::NotRunning) {
        process.waitForFinished(50);
        whileWaiting();
    }
    return std::nullopt;
}

} // namespace zelvarion::scriptrun
