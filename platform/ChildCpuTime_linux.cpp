#include "ChildCpuTime.h"

#include <sys/resource.h>

double ChildCpuTime::milliseconds()
{
    rusage usage{};
    if (getrusage(RUSAGE_CHILDREN, &usage) != 0)
        return -1;
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}
