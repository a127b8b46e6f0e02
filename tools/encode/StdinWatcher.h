#pragma once

#include <atomic>

// Watches standard input for the stop request: its letter (EncoderToolContract::kStopLetter;
// the bytes after it are padding). Everything else, and the end of input, changes nothing.
// A detached reader thread owns standard input; it only sets the flag, which the thread
// running ffmpeg polls.
class StdinWatcher
{
public:
    // Starts the reader thread once; later calls do nothing.
    void start();
    // True once "q" was read.
    bool stopRequested() const { return m_stop.load(std::memory_order_acquire); }

private:
    std::atomic<bool> m_stop{false};
    bool m_started = false;
};
