#include "cli/Commands.h"

namespace zelvarion::cli {
namespace {

const Command kCommands[] = {
    {kReadSyntax, runReadCommand},
    {kWriteSyntax, runWriteCommand},
    {kScanSyntax, runScanCommand, true},
    {kSearchSyntax, runSearchCommand},
    {kTemplateSyntax, runTemplateCommand},
    {kApplySyntax, runApplyCommand},
    {kUndoSyntax, runUndoCommand},
    {kExportSyntax, runExportCommand, true},
    {kStatsSyntax, runStatsCommand},
    {kEmptyWordsSyntax, runEmptyWordsCommand, true},
    {kKeywordsSyntax, runKeywordsCommand},
    {kMarkSyntax, runMarkCommand},
    {kMarksSyntax, runMarksCommand},
    {kUnmarkAllSyntax, runUnmarkAllCommand},
    {kSelectionSyntax, runSelectionCommand},
    {kDoublesSyntax, runDoublesCommand},
    {kRenameSyntax, runRenameCommand},
    {kDeleteSyntax, runDeleteCommand},
    {kCopySyntax, runCopyCommand},
    {kSqlSyntax, runSqlCommand},
    {kCatalogueSyntax, runCatalogueCommand},
};

} // namespace

std::span<const Command> commandTable() { return kCommands; }

} // namespace zelvarion::cli
