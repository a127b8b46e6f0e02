#include "PathLimits.h"

#include <windows.h>

int PathLimits::maxPathBytes()
{
    return MAX_PATH - 1;
}

int PathLimits::maxNameBytes()
{
    return 255;
}
