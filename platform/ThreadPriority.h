#pragma once

namespace ThreadPriority {

// Lowers the calling thread so that a batch never competes with the window, but only as far
// as every process the thread starts can be put back to normal (ChildPriority): the lowest
// class the platform offers where that can be undone, a milder one where it cannot (an
// ordinary user on Linux). True when the thread was lowered at all.
bool setCurrentThreadIdle();

} // namespace ThreadPriority
