#include "cli/Commands.h"

namespace zelvarion::cli {

int runReadCommand(CliContext &context)
{
    context.err << "zelvarion-cli: read is not available in this build\n";
    return 3;
}

int runWriteCommand(CliContext &context)
{
    context.err << "zelvarion-cli: write is not available in this build\n";
    return 3;
}

} // namespace zelvarion::cli
