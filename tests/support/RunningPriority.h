#pragma once

#include <QString>

#include <optional>
#include <sys/types.h>

// How the kernel schedules the processes a test started, read from /proc, and a way to make
// the test's own process as unable to raise priority as an ordinary desktop user is.
namespace RunningPriority {

struct Priority
{
    int policy = -1; // SCHED_OTHER, SCHED_BATCH, SCHED_IDLE...
    int nice = 0;
};

// The priority of a running process named `name` that descends from `ancestor`; none when no
// such process runs now.
std::optional<Priority> ofDescendant(pid_t ancestor, const QString& name);

// The priority of this process's main thread (the session the test was started in).
Priority ofThisProcess();

// Drops CAP_SYS_NICE from the calling thread (and the threads and programs it starts) and sets
// RLIMIT_NICE to 0, as an ordinary user has them; empty when done, else why not. Cannot be
// undone: use it in a test that runs in a process of its own.
QString dropPriorityRaising();

} // namespace RunningPriority
