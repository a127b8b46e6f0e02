#include "ThreadPriority.h"

#include <windows.h>

bool ThreadPriority::setCurrentThreadIdle()
{
    return SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE) != 0;
}
