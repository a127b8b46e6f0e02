#include "ChildCpuTime.h"

// Windows keeps no total for ended children; a job object would have to hold them from their
// start.
double ChildCpuTime::milliseconds()
{
    return -1;
}
