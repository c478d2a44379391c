// A console program's stop requests. On POSIX systems: SIGINT (Ctrl-C) and
// SIGTERM. On Windows: Ctrl-C, Ctrl-Break, a closed console window, log-off
// and shut-down (the console control events). The handler only counts; the
// program looks at the count. The first request is the stop button, a second
// one means "now".
#pragma once

namespace gleaner::cli {

// Installs the handlers and ignores broken pipes (a closed standard output
// is reported as a write failure instead of ending the process).
void installInterruptSignals();

// Stop requests received since the handlers were installed.
int interruptCount();

// The signal of the first stop request (SIGINT or SIGTERM; on Windows Ctrl-C
// and Ctrl-Break count as SIGINT, a closed console, log-off and shut-down as
// SIGTERM); 0 before any. A stopped run exits with 128 + this.
int interruptSignal();

}  // namespace gleaner::cli
