#include "CWindowBatchUser.h"

#include "MessageBoxes.h"

#include <QThread>
#include <QWidget>
#include <condition_variable>
#include <memory>
#include <mutex>

CWindowBatchUser::CWindowBatchUser(QWidget* owner, Hooks hooks)
    : QObject(owner), m_owner(owner), m_hooks(std::move(hooks))
{
}

namespace {

// The worker's wait for a call it queued to the UI thread. Not Qt's blocking connection: its
// semaphore lives in the uninstrumented Qt, so ThreadSanitizer would not see that what the UI
// thread wrote (an answer, the worker's stack it read) comes before the worker goes on.
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

void CWindowBatchUser::onUiThread(const std::function<void()>& work)
{
    if (QThread::currentThread() == thread()) {
        work();
        return;
    }
    auto handoff = std::make_shared<Handoff>();
    // Finished when the queued call has gone, run or dropped with this object, as Qt's
    // blocking connection would release its caller.
    std::shared_ptr<void> finisher(nullptr, [handoff](void*) { handoff->finish(); });
    QMetaObject::invokeMethod(
        this, [&work, finisher] { work(); }, Qt::QueuedConnection);
    finisher.reset();
    handoff->wait();
}

void CWindowBatchUser::later(std::function<void()> work)
{
    if (QThread::currentThread() == thread())
        work();
    else
        QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void CWindowBatchUser::showMessage(const QString& text, const QString& caption, Icon icon)
{
    onUiThread([&] {
        if (!m_quiet.load())
            MessageBoxes::show(m_owner, text, caption, icon);
    });
}

bool CWindowBatchUser::askYesNo(const QString& text, const QString& caption)
{
    bool yes = false;
    onUiThread([&] { yes = !m_quiet.load() && MessageBoxes::askYesNo(m_owner, text, caption); });
    return yes;
}

QString CWindowBatchUser::outputBoxText()
{
    QString text;
    onUiThread([&] { text = m_hooks.outputBoxText(); });
    return text;
}

void CWindowBatchUser::setOutputBoxText(const QString& text)
{
    later([this, text] { m_hooks.setOutputBoxText(text); });
}

void CWindowBatchUser::enableControls(bool enable)
{
    later([this, enable] { m_hooks.enableControls(enable); });
}

void CWindowBatchUser::enableEncode()
{
    later([this] { m_hooks.enableEncode(); });
}

void CWindowBatchUser::stopPreview()
{
    later([this] { m_hooks.stopPreview(); });
}

void CWindowBatchUser::writeBackSelectedProfile()
{
    // The worker reads the profiles right after this: the values must be in place first.
    onUiThread([this] { m_hooks.writeBackSelectedProfile(); });
}

void CWindowBatchUser::openOutputFolder(const QString& folder)
{
    later([this, folder] { m_hooks.openOutputFolder(folder); });
}
