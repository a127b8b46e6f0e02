#pragma once

#include <QObject>
#include <functional>

// The one way code here hands work to the thread that owns an object (the UI thread, for the
// window's objects). Both run `work` at once when the caller already is that thread.
//
// Qt's queued calls and its blocking connection synchronise inside the uninstrumented Qt, so
// ThreadSanitizer would take every hand-off for a race; these mark the hand-off for it, so a
// real race beside one is still reported.
namespace ThreadHandOff {

// Queues `work` to `context`'s thread, after every call queued there before; dropped with
// `context`.
void post(QObject* context, std::function<void()> work);

// Runs `work` on `context`'s thread and returns when it has run (or was dropped with
// `context`). The owning thread must never wait for the caller.
void callAndWait(QObject* context, const std::function<void()>& work);

} // namespace ThreadHandOff
