#pragma once

#include "cli/CliContext.h"

namespace zelvarion::cli {

int runReadCommand(CliContext &context);
int runWriteCommand(CliContext &context);

} // namespace zelvarion::cli
