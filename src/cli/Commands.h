#pragma once

#include "cli/CliContext.h"
#include "cli/CommandLine.h"
#include "core/search/ResultList.h"
#include "core/search/RunSearch.h"
#include "core/session/Session.h"

#include <optional>
#include <span>
#include <vector>

namespace zelvarion::cli {

// Each command: the description its arguments are parsed and its --help is made from, and the
// function that runs it.
extern const CommandSyntax kReadSyntax;
extern const CommandSyntax kWriteSyntax;
extern const CommandSyntax kScanSyntax;
extern const CommandSyntax kSearchSyntax;
extern const CommandSyntax kTemplateSyntax;
extern const CommandSyntax kApplySyntax;
extern const CommandSyntax kExportSyntax;
extern const CommandSyntax kStatsSyntax;
extern const CommandSyntax kEmptyWordsSyntax;
extern const CommandSyntax kMarkSyntax;
extern const CommandSyntax kMarksSyntax;
extern const CommandSyntax kUnmarkAllSyntax;
extern const CommandSyntax kSelectionSyntax;
extern const CommandSyntax kDoublesSyntax;
extern const CommandSyntax kRenameSyntax;
extern const CommandSyntax kDeleteSyntax;
extern const CommandSyntax kCopySyntax;
extern const CommandSyntax kSqlSyntax;
extern const CommandSyntax kUndoSyntax;
extern const CommandSyntax kKeywordsSyntax;
extern const CommandSyntax kCatalogueSyntax;

int runReadCommand(CliContext &context);
int runWriteCommand(CliContext &context);
int runScanCommand(CliContext &context);
int runSearchCommand(CliContext &context);
int runTemplateCommand(CliContext &context);
int runApplyCommand(CliContext &context);
int runExportCommand(CliContext &context);
int runStatsCommand(CliContext &context);
int runEmptyWordsCommand(CliContext &context);
int runMarkCommand(CliContext &context);
int runMarksCommand(CliContext &context);
int runUnmarkAllCommand(CliContext &context);
int runSelectionCommand(CliContext &context);
int runDoublesCommand(CliContext &context);
int runRenameCommand(CliContext &context);
int runDeleteCommand(CliContext &context);
int runCopyCommand(CliContext &context);
int runSqlCommand(CliContext &context);
int runUndoCommand(CliContext &context);
int runKeywordsCommand(CliContext &context);
int runCatalogueCommand(CliContext &context);

// A command of zelvarion-cli as the program's table lists it.
struct Command
{
    const CommandSyntax &syntax;
    CommandFunction run;
    bool writesProgramFolder = false; // its catalogue, settings or exports: a new --program-folder is made
};

// Every command, in the order zelvarion-cli --help lists them.
std::span<const Command> commandTable();

// The options of search that every command working on "the result" takes, followed by the
// command's own (a function, so other files' syntax tables may use it while they are made).
std::vector<OptionSyntax> withSearchOptions(std::vector<OptionSyntax> own, std::vector<OptionSyntax> more = {});

// What a command that works on "the result" has after the search of its arguments: the session
// and what it found.
struct CommandSearch : Session
{
    ResultList results;
};

// Runs the search of the parsed arguments (options of withSearchOptions, the operands as the
// text) as zelvarion-cli search does; an exit code when the command cannot go on (2 for
// arguments search refuses, 1 for a failed search or an empty result).
std::optional<int> searchForCommand(const char *command, const ParsedArguments &arguments, CliContext &context,
                                    CommandSearch &search);

// searchForCommand in two steps, for a command that runs the search itself: the session, the
// request and the catalogue's search index ready (or the exit code), then the environment to
// search in, the translations loaded when the request uses them (failures go to feedback).
std::optional<int> prepareSearchForCommand(const char *command, const ParsedArguments &arguments, CliContext &context,
                                           Session &session, SearchRequest &request);
SearchEnvironment searchEnvironmentFor(const SearchRequest &request, Session &session, Feedback &feedback);

} // namespace zelvarion::cli
