// The runner's stop requests from the terminal or the system: SIGINT (Ctrl-C)
// and SIGTERM. The handler only counts; the runner looks at the count. The
// first request is the stop button, a second one means "now".
#pragma once

namespace gleaner::cli {

// Installs the handlers and ignores broken pipes (a closed standard output
// is reported as a write failure instead of ending the process).
void installInterruptSignals();

// Stop requests received since the handlers were installed.
int interruptCount();

}  // namespace gleaner::cli
