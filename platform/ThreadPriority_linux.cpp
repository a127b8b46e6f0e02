#include "ThreadPriority.h"

#include <QByteArray>
#include <QFile>

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int kCapSysNice = 23; // its bit in /proc's CapEff mask (linux/capability.h)

bool hasCapSysNice()
{
    QFile status(QStringLiteral("/proc/thread-self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("CapEff:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> kCapSysNice) & 1U;
    return false;
}

// Whether a thread of this process may leave SCHED_IDLE again for the process's own nice value:
// the kernel asks for CAP_SYS_NICE or a RLIMIT_NICE that reaches it, which ordinary users lack.
bool canLeaveIdle()
{
    if (hasCapSysNice())
        return true;
    rlimit limit{};
    const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(getpid()));
    return getrlimit(RLIMIT_NICE, &limit) == 0 &&
           (limit.rlim_cur == RLIM_INFINITY || static_cast<long>(limit.rlim_cur) >= 20 - nice);
}

} // namespace

bool ThreadPriority::setCurrentThreadIdle()
{
    sched_param param{};
    param.sched_priority = 0;
    // SCHED_BATCH can always be left again; SCHED_IDLE, or a raised nice value, only by a
    // process that may lower its nice value, and a child inherits them before it can try.
    const int policy = canLeaveIdle() ? SCHED_IDLE : SCHED_BATCH;
    return pthread_setschedparam(pthread_self(), policy, &param) == 0;
}
