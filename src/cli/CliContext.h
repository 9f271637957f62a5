#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

namespace zelvarion::cli {

// What every command of zelvarion-cli gets: its own arguments (the command name removed, the
// global options already taken) and the two output streams.
struct CliContext
{
    QStringList arguments;
    QTextStream &out;
    QTextStream &err;
};

using CommandFunction = int (*)(CliContext &context);

// Takes "--name VALUE" or "--name=VALUE" out of arguments; nothing when absent.
std::optional<QString> takeOption(QStringList &arguments, const QString &name);
// Takes the flag "--name" out of arguments; true when it was there.
bool takeFlag(QStringList &arguments, const QString &name);

} // namespace zelvarion::cli
