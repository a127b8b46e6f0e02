#pragma once

#include "ComObject.h"

#include <mutex>
#include <vector>

// A job's listeners. Fire runs on the job's encoding thread; Subscribe and Unsubscribe may
// come from any thread, also while Fire calls a listener (which keeps a reference of its own
// for the call).
class CEventManager final : public ComObject<IESEventManager>
{
public:
    CEventManager() = default;

    ESResult Subscribe(IESListener* listener) override;
    ESResult Unsubscribe(IESListener* listener) override;

    // Tells every listener registered now about event `kind` with `value`.
    void Fire(int32_t kind, const void* value);

private:
    std::mutex m_lock;
    std::vector<ESRef<IESListener>> m_listeners;
};
