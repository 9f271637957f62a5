#include "platform/Terminal.h"

#include <unistd.h>

namespace zelvarion::terminal {

bool standardInputIsTerminal()
{
    return isatty(STDIN_FILENO) == 1;
}

} // namespace zelvarion::terminal
