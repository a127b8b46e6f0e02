#include "EventLog.h"

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <syslog.h>
#include <unistd.h>

namespace {

constexpr const char* kSystemLog = "/dev/log";

// Writes to the system log's socket itself rather than through syslog(3), which formats a
// local time and so takes the C library's time zone lock on the batch worker (see FileDates.h).
// The message carries no time stamp: the system log stamps what it receives.
class SyslogEventLog final : public EventLog
{
public:
    int report(Type type, int id, const std::optional<QByteArray>& text) override
    {
        const int priority = LOG_USER | (type == Error ? LOG_ERR : LOG_INFO);
        // The text is data, never a format: file names hold percent signs.
        QByteArray message = '<' + QByteArray::number(priority) + '>' + kEventSourceName + '[' +
                             QByteArray::number(getpid()) + "]: [event " + QByteArray::number(id) +
                             ']';
        if (text)
            message += ' ' + *text;
        const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return 1;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, kSystemLog, sizeof address.sun_path - 1);
        // Like syslog(3), an absent or full system log loses the event without a word.
        sendto(fd, message.constData(), size_t(message.size()), MSG_NOSIGNAL,
               reinterpret_cast<const sockaddr*>(&address), sizeof address);
        close(fd);
        return 1;
    }
};

} // namespace

std::unique_ptr<EventLog> EventLog::createSystem()
{
    return std::make_unique<SyslogEventLog>();
}
