#include "ChildPriority.h"

#include <QProcess>

#include <cerrno>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

void ChildPriority::startAtNormalPriority(QProcess& process)
{
    // The main thread (its id is the process's) keeps the session's priority; read it here,
    // since between fork and exec only plain system calls are safe.
    const pid_t self = getpid();
    int policy = sched_getscheduler(self);
    if (policy != SCHED_OTHER && policy != SCHED_BATCH)
        policy = SCHED_OTHER;
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(self));
    const bool niceKnown = errno == 0;
    // A forked child inherits the lowered worker's class; undo that in the child.
    process.setChildProcessModifier([policy, nice, niceKnown] {
        sched_param param{};
        sched_setscheduler(0, policy, &param);
        if (niceKnown)
            setpriority(PRIO_PROCESS, 0, nice);
    });
}
