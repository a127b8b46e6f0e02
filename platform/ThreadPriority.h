#pragma once

namespace ThreadPriority {

// Puts the calling thread into the lowest scheduling class the platform offers, so that a
// batch never competes with the user's own work. True when the change was accepted.
bool setCurrentThreadIdle();

} // namespace ThreadPriority
