#include "ChildPriority.h"

#include <QProcess>

#include <cerrno>
#include <csignal>
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
    // The terminal program blocks SIGTERM to take it as an interrupt; the tool and its ffmpeg
    // must still end on it.
    sigset_t termination;
    sigemptyset(&termination);
    sigaddset(&termination, SIGTERM);
    // A forked child inherits the lowered worker's class; undo that in the child.
    process.setChildProcessModifier([policy, nice, niceKnown, termination] {
        sigprocmask(SIG_UNBLOCK, &termination, nullptr);
        sched_param param{};
        sched_setscheduler(0, policy, &param);
        if (niceKnown)
            setpriority(PRIO_PROCESS, 0, nice);
    });
}
