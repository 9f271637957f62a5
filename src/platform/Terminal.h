#pragma once

namespace zelvarion::terminal {

// True when the process reads its standard input from a terminal (a user who can answer a
// question), false for a pipe, a file or nothing.
bool standardInputIsTerminal();

} // namespace zelvarion::terminal
