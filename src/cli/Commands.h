#pragma once

#include "cli/CliContext.h"

namespace zelvarion::cli {

int runReadCommand(CliContext &context);
int runWriteCommand(CliContext &context);
int runScanCommand(CliContext &context);
int runSearchCommand(CliContext &context);
int runTemplateCommand(CliContext &context);

} // namespace zelvarion::cli
