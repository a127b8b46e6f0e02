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
// after the hand-off began, so every move marks the hand-off again: the last one comes after
// everything the caller wrote into the call. Running or dropping it takes the mark.
class Marked
{
public:
    explicit Marked(std::function<void()> work)
        : m_token(std::make_shared<char>()), m_work(std::move(work))
    {
        released(m_token.get());
    }
    Marked(Marked&& other) noexcept
        : m_token(std::move(other.m_token)), m_work(std::move(other.m_work))
    {
        if (m_token)
            released(m_token.get());
    }
    Marked(const Marked&) = delete;
    Marked& operator=(const Marked&) = delete;
    Marked& operator=(Marked&&) = delete;
    ~Marked()
    {
        if (m_token)
            acquired(m_token.get());
    }
    void operator()()
    {
        acquired(m_token.get());
        m_work();
        // What the work did comes before whatever the caller does once it is told.
        released(m_token.get());
    }
    void* token() const { return m_token.get(); }

private:
    std::shared_ptr<char> m_token;
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
    QMetaObject::invokeMethod(context, Marked([&work, finisher] { work(); }), Qt::QueuedConnection);
    finisher.reset();
    handoff->wait();
}
