#include "StdinWatcher.h"

#include "EncoderToolContract.h"

#include <QFile>

#include <thread>

void StdinWatcher::start()
{
    if (m_started)
        return;
    m_started = true;
    // Detached: a read blocked on an idle pipe must not hold up the tool's exit. The watcher
    // is owned by main() and outlives every use of the flag.
    std::thread([this] {
        QFile in;
        if (!in.open(0, QIODevice::ReadOnly | QIODevice::Unbuffered))
            return;
        // One byte at a time: a file read waits to fill its whole buffer, and the request
        // is a handful of bytes.
        char c = 0;
        while (in.read(&c, 1) == 1) {
            if (c == EncoderToolContract::kStopLetter) {
                m_stop.store(true, std::memory_order_release);
                return;
            }
        }
        // End of input: nothing to do.
    }).detach();
}
