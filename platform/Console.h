#pragma once

// The terminal a command-line program runs in.
namespace Console {

// Takes Ctrl+C (an interrupt) away from its default action, for this process and for the
// programs it starts, which ignore it: only this program decides what an interrupt means. A
// termination request (SIGTERM) counts as an interrupt too.
// Call first thing in main, before any thread exists.
void catchInterrupt();

// Waits up to `milliseconds` for an interrupt; true when one arrived. Each interrupt is
// reported once. Call from one ordinary thread.
bool waitForInterrupt(int milliseconds);

// True when standard output is a terminal (not a file or a pipe).
bool standardOutputIsTerminal();

// The terminal's width in characters; 80 when it cannot be told.
int terminalWidth();

} // namespace Console
