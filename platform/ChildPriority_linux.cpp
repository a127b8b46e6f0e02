#include "ChildPriority.h"

#include <QProcess>

#include <sched.h>
#include <sys/resource.h>

void ChildPriority::startAtNormalPriority(QProcess& process)
{
    // A forked child inherits the idle worker's scheduling class; undo that in the child.
    // Both calls are plain system calls, safe between fork and exec; failures leave it idle.
    process.setChildProcessModifier([] {
        sched_param param{};
        sched_setscheduler(0, SCHED_OTHER, &param);
        setpriority(PRIO_PROCESS, 0, 0);
    });
}
