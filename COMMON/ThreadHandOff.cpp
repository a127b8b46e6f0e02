#include "ThreadHandOff.h"

#include <QThread>
#include <condition_variable>
#include <memory>
#include <mutex>

#if defined(__SANITIZE_THREAD__)
#define TOVEL_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TOVEL_TSAN 1
#endif
#endif

#ifdef TOVEL_TSAN
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
#endif

namespace {

bool onThreadOf(const QObject* context)
{
    return QThread::currentThread() == context->thread();
}

// What happens before the hand-off happens before the work; what the work does happens
// before the waiting caller goes on.
void released(void* token)
{
#ifdef TOVEL_TSAN
    __tsan_release(token);
#else
    (void)token;
#endif
}

void acquired(void* token)
{
#ifdef TOVEL_TSAN
    __tsan_acquire(token);
#else
    (void)token;
#endif
}

// The caller's wait: not Qt's blocking connection, whose semaphore the sanitizer cannot see.
class Handoff
{
public:
    void finish()
    {
        std::lock_guard lock(m_lock);
        m_done = true;
        m_changed.notify_all();
    }
    void wait()
    {
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return m_done; });
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_done = false;
};

} // namespace

void ThreadHandOff::post(QObject* context, std::function<void()> work)
{
    if (onThreadOf(context)) {
        work();
        return;
    }
    auto token = std::make_shared<char>();
    released(token.get());
    QMetaObject::invokeMethod(
        context,
        [token, work = std::move(work)] {
            acquired(token.get());
            work();
        },
        Qt::QueuedConnection);
}

void ThreadHandOff::callAndWait(QObject* context, const std::function<void()>& work)
{
    if (onThreadOf(context)) {
        work();
        return;
    }
    auto handoff = std::make_shared<Handoff>();
    // Finished when the queued call has gone, run or dropped with `context`, as Qt's blocking
    // connection would release its caller.
    std::shared_ptr<void> finisher(nullptr, [handoff](void*) { handoff->finish(); });
    released(handoff.get());
    QMetaObject::invokeMethod(
        context,
        [&work, finisher, token = handoff.get()] {
            acquired(token);
            work();
            released(token);
        },
        Qt::QueuedConnection);
    finisher.reset();
    handoff->wait();
    acquired(handoff.get());
}
