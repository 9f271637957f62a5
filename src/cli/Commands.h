#pragma once

#include "cli/CliContext.h"
#include "cli/CommandLine.h"

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

} // namespace zelvarion::cli
