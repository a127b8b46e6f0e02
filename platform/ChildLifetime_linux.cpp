#include "ChildLifetime.h"

#include <QProcess>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

ChildLifetime::ChildLifetime() = default;
ChildLifetime::~ChildLifetime() = default;

void ChildLifetime::bind(QProcess& process)
{
    const pid_t parent = getpid();
    // Runs in the child between fork and exec: plain system calls only. The signal follows the
    // death of the thread that forked, which is why that thread must outlive the child.
    process.setChildProcessModifier([parent] {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        // The parent may have died before the request took effect.
        if (getppid() != parent)
            _exit(127);
    });
}
