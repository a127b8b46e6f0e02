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

// The work as it travels in a queued call. Qt builds the call around it on the caller's thread
// after the hand-off began, so each move marks the hand-off at the work's new place: the last
// one comes after everything the caller wrote into the call. Running or dropping it takes the
// mark there before anything of it is read.
class Marked
{
public:
    explicit Marked(std::function<void()> work) : m_work(std::move(work)) { released(this); }
    Marked(Marked&& other) noexcept : m_work(std::move(other.m_work)) { released(this); }
    Marked(const Marked&) = delete;
    Marked& operator=(const Marked&) = delete;
    Marked& operator=(Marked&&) = delete;
    ~Marked() { acquired(this); }
    void operator()()
    {
        acquired(this);
        if (m_work)
            m_work();
        // Qt may let go of the call on the caller's thread once it has run here.
        released(this);
    }

private:
    std::function<void()> m_work;
};

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
    QMetaObject::invokeMethod(context, Marked(std::move(work)), Qt::QueuedConnection);
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
    // What the work wrote comes before the caller reads it, whichever thread lets go of the call.
    QMetaObject::invokeMethod(context, Marked([&work, finisher, token = handoff.get()] {
                                  work();
                                  released(token);
                              }),
                              Qt::QueuedConnection);
    finisher.reset();
    handoff->wait();
    acquired(handoff.get());
}
