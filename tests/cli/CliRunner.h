#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace zelvarion::test {

struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

inline CliRun runProgram(const QString &program, const QStringList &arguments,
                         const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

inline CliRun runCli(const QStringList &arguments) { return runProgram(QStringLiteral(ZELVARION_CLI_PATH), arguments); }

inline QString exiftoolPath() { return QStandardPaths::findExecutable(QStringLiteral("exiftool")); }

} // namespace zelvarion::test
