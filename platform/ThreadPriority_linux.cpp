#include "ThreadPriority.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

bool ThreadPriority::setCurrentThreadIdle()
{
    sched_param param{};
    param.sched_priority = 0;
    if (pthread_setschedparam(pthread_self(), SCHED_IDLE, &param) == 0)
        return true;
    // Without SCHED_IDLE the thread's own nice value is the next best thing.
    const auto tid = static_cast<id_t>(syscall(SYS_gettid));
    return setpriority(PRIO_PROCESS, tid, 19) == 0;
}
