#pragma once

// The command line's texts that belong to no command's syntax: the frame of every --help and the
// refusals of arguments a command reads itself. Each is printed through textOf, so a pack's
// "[CommandLine]" section may translate it; kAllNamedTexts lists them for the check of the packs.
#include "cli/CliText.h"

namespace zelvarion::cli::texts {

// The frame of --help ("#" and "%" are values where a text says so).
inline constexpr NamedText kUsage{"usage", "Usage:"};
inline constexpr NamedText kOptions{"help.options", "Options:"};
inline constexpr NamedText kRepeatable{"help.repeatable", "(may be repeated)"};
inline constexpr NamedText kHelpOption{"help.help", "prints this text"};
inline constexpr NamedText kOptionsAnywhere{"help.options-anywhere",
                                            "Options may stand before or after the operands; '--' ends them."};
inline constexpr NamedText kExitStatus{"help.exit", "Exit status: 0 done, 1 some items failed, 2 bad arguments."};
inline constexpr NamedText kExitStatusOnResult{
    "help.exit-on-result",
    "Exit status: 0 done, 1 when the search finds no image (as grep does) or some items failed, 2 bad arguments."};
inline constexpr NamedText kCommandList{"overview.commands", "Commands (zelvarion-cli COMMAND --help tells more):"};
inline constexpr NamedText kProgramFolderOption{
    "overview.--program-folder",
    "the folder of Zelvarion.ini, the language packs and the default\n"
    "catalogue (default: the window program's program folder); it gets\n"
    "the shipped stylesheets, packs and guide it lacks, and scan, export and\n"
    "empty-words make it when it does not exist"};
inline constexpr NamedText kExitCodes{
    "overview.exit",
    "Exit codes: 0 done, 1 some items failed (and, for a command on the images a search finds,\n"
    "none found, as grep does), 2 bad arguments. Texts come from the language pack in use."};

// Refusals of operands and option values, before anything is done.
inline constexpr NamedText kNoOperands{"refuse.no-operands", "takes no operands"};
inline constexpr NamedText kNoFiles{"refuse.no-files", "no files given"};
inline constexpr NamedText kNoFolders{"refuse.no-folders", "no folders given"};
inline constexpr NamedText kSwitchBothWays{"refuse.switch-both-ways", "# and % exclude each other"};
inline constexpr NamedText kCodeDelimiter{
    "refuse.code-delimiter", "--code-delimiter takes one character that is neither a letter, a digit, a blank nor #, not '%'"};
inline constexpr NamedText kSearchOutputs{"refuse.search-outputs", "--json, -0 and --sql exclude each other"};
inline constexpr NamedText kOperator{"refuse.operator", "--operator takes exact, and or or, not '#'"};
inline constexpr NamedText kField{"refuse.field", "--field needs a column name such as City or Caption, not '#'"};
inline constexpr NamedText kSort{
    "refuse.sort",
    "--sort takes a column name such as FileSize, File or City (or the window's sort list entry, 0 to 40), not '#'"};
inline constexpr NamedText kRevisedBoth{"refuse.revised-both", "--never-revised and --revised exclude each other"};
inline constexpr NamedText kReverseAlone{"refuse.reverse-alone", "--reverse orders revised images only (with --revised)"};
inline constexpr NamedText kKeywordsOperands{"refuse.keywords-operands", "takes at most one PREFIX"};
inline constexpr NamedText kEmptyWordsAction{"refuse.empty-words-action", "list, add WORD or remove WORD"};
inline constexpr NamedText kSelectionAction{"refuse.selection-action",
                                            "save NAME, list, restore NAME, rename OLD NEW or remove NAME"};
inline constexpr NamedText kTemplateAction{"refuse.template-action", "expected #"};
inline constexpr NamedText kTemplateSetOptions{"refuse.template-set-options",
                                               "--customized, --codes and --code-delimiter belong to set"};
inline constexpr NamedText kTemplateCustomized{"refuse.template-customized", "--customized needs N=Value, not '#'"};
inline constexpr NamedText kTemplateColumnValue{"refuse.template-column-value",
                                                "expected Column=Value with a column name such as Caption, not '#'"};
inline constexpr NamedText kRenameOperands{"refuse.rename-operands", "needs FILE and NEWNAME"};
inline constexpr NamedText kRenameBlank{"refuse.rename-blank", "NEWNAME is blank; give the new file name"};
inline constexpr NamedText kDeleteOperands{"refuse.delete-operands", "needs at least one FILE"};
inline constexpr NamedText kCopyTo{"refuse.copy-to", "--to needs an existing folder"};
inline constexpr NamedText kSqlOperands{"refuse.sql-operands", "needs the statement, and one of --json and --csv at most"};
inline constexpr NamedText kUndoRun{"refuse.undo-run", "--run takes a run number from --list, not '#'"};
inline constexpr NamedText kUndoOperands{"refuse.undo-operands", "takes no operands, and --list no --run"};
inline constexpr NamedText kApplyMode{"refuse.apply-mode", "--mode takes 0, 1 or 2, not '#'"};
inline constexpr NamedText kApplyKeywords{"refuse.apply-keywords",
                                          "--add-keywords, --remove-keywords and their --no- forms exclude each other"};
inline constexpr NamedText kApplyModeTwo{"refuse.apply-mode-2",
                                         "mode 2 makes the images equal to the template: it takes no keyword option"};
inline constexpr NamedText kWriteSet{"refuse.write-set",
                                     "--set needs Column=Value with a column name such as Caption, not '#'"};
inline constexpr NamedText kWriteCustomizedText{"refuse.write-customized-text",
                                                "the Customized text is not written; use --customized N=Value"};

// The catalogue command's own texts ("#", "%" and "$" are values where a text says so).
inline constexpr NamedText kCatalogueAction{"refuse.catalogue-action", "copy SOURCE TARGET"};
inline constexpr NamedText kCatalogueSameTwice{"refuse.catalogue-same", "SOURCE and TARGET are the same catalogue"};
inline constexpr NamedText kCatalogueTargetHoldsWork{
    "catalogue.target-holds-work",
    "# holds images, folders, templates or selections already; --replace replaces them"};
inline constexpr NamedText kCatalogueCopyProgress{"catalogue.progress", "#: % of $ rows copied"};

inline constexpr const NamedText *kAllNamedTexts[] = {
    &kUsage, &kOptions, &kRepeatable, &kHelpOption, &kOptionsAnywhere, &kExitStatus, &kExitStatusOnResult,
    &kCommandList, &kProgramFolderOption, &kExitCodes, &kNoOperands, &kNoFiles, &kNoFolders, &kSwitchBothWays,
    &kCodeDelimiter, &kSearchOutputs, &kOperator, &kField, &kSort, &kRevisedBoth, &kReverseAlone, &kKeywordsOperands,
    &kEmptyWordsAction, &kSelectionAction, &kTemplateAction, &kTemplateSetOptions, &kTemplateCustomized,
    &kTemplateColumnValue, &kRenameOperands, &kRenameBlank, &kDeleteOperands, &kCopyTo, &kSqlOperands, &kUndoRun,
    &kUndoOperands, &kApplyMode, &kApplyKeywords, &kApplyModeTwo, &kWriteSet, &kWriteCustomizedText,
    &kCatalogueAction, &kCatalogueSameTwice, &kCatalogueTargetHoldsWork, &kCatalogueCopyProgress,
};

} // namespace zelvarion::cli::texts
