#pragma once

#include <QByteArray>
#include <memory>
#include <optional>

// The operating system's application event log (syslog here), behind an interface so that
// tests can capture what the engine reports. Safe to call from any thread.
class EventLog
{
public:
    enum Type
    {
        Error = 1,
        Information = 4
    };

    virtual ~EventLog() = default;

    // Reports one event under the fixed source name with at most one text (none when absent).
    // Returns 1 when the source could be registered, 0 otherwise.
    virtual int report(Type type, int id, const std::optional<QByteArray>& text) = 0;

    // The system's own log for this platform.
    static std::unique_ptr<EventLog> createSystem();
};

// The fixed source name events are reported under.
inline constexpr const char* kEventSourceName = "Tovel Video Converter";
