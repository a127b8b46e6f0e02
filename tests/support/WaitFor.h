#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>
#include <string>

// The one way a test waits: poll `done`, serving the calling thread's events in between, until
// it holds. The limit is only a safety net for a stuck test, never a timing check; a failure
// names `what` was awaited. Threads: any; events are served only where the thread has a loop.
inline ::testing::AssertionResult waitFor(const std::function<bool()>& done, int limitMs = 120000,
                                          const std::string& what = "the awaited condition")
{
    QDeadlineTimer limit(limitMs);
    while (!done()) {
        if (limit.hasExpired())
            return ::testing::AssertionFailure()
                   << "gave up after " << limitMs << " ms waiting for " << what;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return ::testing::AssertionSuccess();
}
