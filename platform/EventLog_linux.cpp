#include "EventLog.h"

#include <mutex>
#include <syslog.h>

namespace {

// syslog keeps one ident per process; the lock makes open, write and close one unit.
std::mutex g_syslogLock;

class SyslogEventLog final : public EventLog
{
public:
    int report(Type type, int id, const std::optional<QByteArray>& text) override
    {
        const int priority = type == Error ? LOG_ERR : LOG_INFO;
        std::lock_guard lock(g_syslogLock);
        openlog(kEventSourceName, LOG_PID, LOG_USER);
        // The text is data, never a format: file names hold percent signs.
        if (text)
            syslog(priority, "[event %d] %s", id, text->constData());
        else
            syslog(priority, "[event %d]", id);
        closelog();
        return 1;
    }
};

} // namespace

std::unique_ptr<EventLog> EventLog::createSystem()
{
    return std::make_unique<SyslogEventLog>();
}
