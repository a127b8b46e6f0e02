#include "Console.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <pthread.h>
#include <sys/ioctl.h>
#include <unistd.h>

// SIGINT stays blocked in every thread and ignored as an action, and the waiting thread takes
// it with sigtimedwait: no handler runs at all. Linux keeps a blocked signal pending even when
// its action is to ignore it. Started programs inherit the mask and the ignore, so a Ctrl+C at
// the terminal does not kill the encoder tool under a running conversion. SIGTERM is blocked
// alike and taken as an interrupt, but not ignored, and the tools are started with it
// unblocked (ChildPriority): they still end on it.

void Console::catchInterrupt()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    struct sigaction action = {};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

bool Console::waitForInterrupt(int milliseconds)
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    timespec timeout{milliseconds / 1000, long(milliseconds % 1000) * 1000000L};
    for (;;) {
        const int signal = sigtimedwait(&set, nullptr, &timeout);
        if (signal == SIGINT || signal == SIGTERM)
            return true;
        if (signal < 0 && errno == EINTR)
            continue;
        return false;
    }
}

bool Console::standardOutputIsTerminal()
{
    return isatty(STDOUT_FILENO) == 1;
}

int Console::terminalWidth()
{
    winsize size = {};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}
