#include "platform/ScriptRun.h"

#include <QFileInfo>
#include <QProcess>

namespace zelvarion::scriptrun {

ScriptResult runAndWait(const QString &script, const std::function<void()> &whileWaiting)
{
    ScriptResult result;
    // The shell would start and then fail on a missing script: asked first.
    if (!QFileInfo(script).isFile()) {
        result.notStarted = QStringLiteral("No such file");
        return result;
    }
    QProcess process;
    process.setWorkingDirectory(QFileInfo(script).absolutePath());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QStringLiteral("/bin/sh"), {script});
    if (!process.waitForStarted()) {
        result.notStarted = process.errorString();
        return result;
    }
    whileWaiting();
    // Read as it comes, so a talkative script never waits on a full pipe.
    while (process.state() != QProcess::NotRunning) {
        process.waitForFinished(50);
        result.output += process.readAll();
        whileWaiting();
    }
    result.output += process.readAll();
    result.succeeded = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return result;
}

} // namespace zelvarion::scriptrun
