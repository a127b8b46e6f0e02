#pragma once

#include "EncSession.h"

#include <atomic>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// A listener owned by its test (never deleted by a Release) that keeps every event with its
// value and the thread it came on.
class RecordingListener final : public IESListener
{
public:
    struct Event
    {
        int32_t kind;
        int32_t value; // the pointed-to value, -1 for none
        std::thread::id thread;
    };

    ESResult QueryInterface(const ESGuid& iid, void** out) override
    {
        if (!out)
            return ES_E_POINTER;
        *out = iid == IESListener::kIid || iid == IESUnknown::kIid ? this : nullptr;
        if (!*out)
            return ES_E_NOINTERFACE;
        AddRef();
        return ES_OK;
    }
    uint32_t AddRef() override { return ++refs; }
    uint32_t Release() override { return --refs; }
    ESResult OnEvent(int32_t kind, const void* value) override
    {
        const int32_t number =
            value && kind != ES_EVENT_FAILED ? *static_cast<const int32_t*>(value) : -1;
        std::lock_guard lock(m_lock);
        m_events.push_back({kind, number, std::this_thread::get_id()});
        return ES_OK;
    }

    std::vector<Event> events() const
    {
        std::lock_guard lock(m_lock);
        return m_events;
    }
    // The highest progress seen so far, -1 before any.
    int32_t progress() const
    {
        int32_t best = -1;
        for (const Event& e : events())
            if (e.kind == ES_EVENT_PROGRESS)
                best = std::max(best, e.value);
        return best;
    }

    std::atomic<uint32_t> refs{0};

private:
    mutable std::mutex m_lock;
    std::vector<Event> m_events;
};
