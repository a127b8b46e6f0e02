#pragma once

#include "EventLog.h"

#include <QList>
#include <mutex>

// Keeps every reported event so a test can look at what the engine said.
class CapturingEventLog : public EventLog
{
public:
    struct Event
    {
        Type type;
        int id;
        std::optional<QByteArray> text;
    };

    int report(Type type, int id, const std::optional<QByteArray>& text) override
    {
        std::lock_guard lock(m_lock);
        m_events.append({type, id, text});
        return 1;
    }

    QList<Event> events() const
    {
        std::lock_guard lock(m_lock);
        return m_events;
    }

    void clear()
    {
        std::lock_guard lock(m_lock);
        m_events.clear();
    }

private:
    mutable std::mutex m_lock;
    QList<Event> m_events;
};
