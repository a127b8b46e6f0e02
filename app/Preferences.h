#pragma once

#include <atomic>

// The preferences of this run; never stored. Both start at 0.
// Threads: written by the UI thread, read by the batch worker (each a single atomic int).
extern std::atomic<int> g_bOverwrite; // 1 overwrite an existing output file, 0 auto-rename
extern std::atomic<int> g_bShutdown;  // 1 power the computer off when a batch ends
