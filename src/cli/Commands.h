#pragma once

#include "cli/CliContext.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/search/ResultList.h"
#include "core/shell/AppSettings.h"
#include "core/shell/LanguagePack.h"

#include <optional>

namespace zelvarion::cli {

int runReadCommand(CliContext &context);
int runWriteCommand(CliContext &context);
int runScanCommand(CliContext &context);
int runSearchCommand(CliContext &context);
int runExportCommand(CliContext &context);
int runStatsCommand(CliContext &context);
int runEmptyWordsCommand(CliContext &context);

// What a command that works on "the result" has after the search of its arguments.
struct CommandSearch
{
    AppSettings settings;
    CatalogueDb db;
    LanguagePack pack;
    ResultList results;
};

// Runs the search of the arguments as zelvarion-cli search does; an exit code when the command
// cannot go on (2 for arguments search refuses, 1 for a failed search).
std::optional<int> searchForCommand(const QString &command, const QStringList &arguments, CliContext &context,
                                    CommandSearch &search);

} // namespace zelvarion::cli
