// Preloaded into the test programs of ThreadSanitizer runs only (TOVEL_TSAN).
//
// Qt 6.4's QProcess starts a child with clone(CLONE_VM | CLONE_VFORK | CLONE_PIDFD). The TSan
// runtime of gcc 12 handles every clone as a fork, so the child runs TSan's after-fork reset on
// memory it shares with the parent; from then on a thread join in the parent no longer counts as
// synchronisation and every later access looks like a race. Dropping CLONE_VM and CLONE_VFORK
// makes that clone an ordinary fork: the child resets its own copy, the parent keeps its state.
// Qt learns of a failed exec through its own pipe, so it does not rely on the vfork wait.

#include <dlfcn.h>
#include <sched.h>
#include <sys/types.h>

#include <cstdarg>

namespace {
using CloneFunction = int (*)(int (*)(void*), void*, int, void*, ...);
}

extern "C" int clone(int (*fn)(void*), void* stack, int flags, void* arg, ...)
{
    va_list rest;
    va_start(rest, arg);
    pid_t* parentTid = va_arg(rest, pid_t*);
    void* tls = va_arg(rest, void*);
    pid_t* childTid = va_arg(rest, pid_t*);
    va_end(rest);

    static const auto next = reinterpret_cast<CloneFunction>(dlsym(RTLD_NEXT, "clone"));
    if ((flags & CLONE_VM) && (flags & CLONE_VFORK))
        flags &= ~(CLONE_VM | CLONE_VFORK);
    return next(fn, stack, flags, arg, parentTid, tls, childTid);
}
