#pragma once

#include "cli/CliContext.h"
#include "cli/CommandLine.h"
#include "core/search/ResultList.h"
#include "core/shell/AppSettings.h"

#include <vector>

namespace zelvarion::cli {

// Each command: the description its arguments are parsed and its --help is made from, and the
// function that runs it.
extern const CommandSyntax kReadSyntax;
extern const CommandSyntax kWriteSyntax;
extern const CommandSyntax kScanSyntax;
extern const CommandSyntax kSearchSyntax;

int runReadCommand(CliContext &context);
int runWriteCommand(CliContext &context);
int runScanCommand(CliContext &context);
int runSearchCommand(CliContext &context);
int runTemplateCommand(CliContext &context);
int runApplyCommand(CliContext &context);


// The result of the search the arguments of `search` describe (without --sql), run as `search`
// runs it. exitCode is 0 when the search ran, 1 when it failed, 2 for bad arguments; messages go
// to err, prefixed by the command's name.
struct CommandSearch
{
    int exitCode = 0;
    std::vector<ResultRow> rows;
    QString cataloguePath;
};
CommandSearch searchForCommand(const QStringList &arguments, const AppSettings &settings, QTextStream &err,
                               const QString &command);

} // namespace zelvarion::cli
