#include "EventLog.h"

#include <QFile>
#include <cstring>
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Binds a datagram socket at the system log's address when nobody listens there, so the
// real syslog() delivery can be read back. -1 when that is not possible here.
int bindSystemLog()
{
    if (QFile::exists("/dev/log"))
        return -1;
    const int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    if (fd < 0)
        return -1;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, "/dev/log", sizeof addr.sun_path - 1);
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return -1;
    }
    timeval tv{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    return fd;
}

QByteArray receive(int fd)
{
    char buffer[4096];
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    return n > 0 ? QByteArray(buffer, int(n)) : QByteArray();
}

} // namespace

TEST(EventLog, SyslogDeliversTextAsDataWithSourceIdAndPriority)
{
    const int fd = bindSystemLog();
    if (fd < 0)
        GTEST_SKIP() << "the system log's address is taken or cannot be bound here";
    auto log = EventLog::createSystem();

    EXPECT_EQ(log->report(EventLog::Error, 1,
                          QByteArray("Module:ffff01,Line:PostMessage,Error "
                                     "Info :100% %s %n done")),
              1);
    const QByteArray error = receive(fd);
    EXPECT_EQ(log->report(EventLog::Information, 3, std::nullopt), 1);
    const QByteArray info = receive(fd);
    unlink("/dev/log");
    close(fd);

    // <11> is user.err, <14> user.info.
    EXPECT_TRUE(error.startsWith("<11>")) << error.constData();
    EXPECT_TRUE(error.contains("Tovel Video Converter[")) << error.constData();
    EXPECT_TRUE(
        error.contains("[event 1] Module:ffff01,Line:PostMessage,Error Info :100% %s %n done"))
        << error.constData();
    EXPECT_TRUE(info.startsWith("<14>")) << info.constData();
    EXPECT_TRUE(info.endsWith("[event 3]")) << info.constData();
}
