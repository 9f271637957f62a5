#pragma once

#include "cli/CliContext.h"

namespace zelvarion::cli {

int runReadCommand(CliContext &context);
int runWriteCommand(CliContext &context);
int runScanCommand(CliContext &context);
int runSearchCommand(CliContext &context);
int runMarkCommand(CliContext &context);
int runMarksCommand(CliContext &context);
int runUnmarkAllCommand(CliContext &context);
int runSelectionCommand(CliContext &context);
int runDoublesCommand(CliContext &context);
int runRenameCommand(CliContext &context);
int runDeleteCommand(CliContext &context);
int runCopyCommand(CliContext &context);
int runSqlCommand(CliContext &context);

} // namespace zelvarion::cli
