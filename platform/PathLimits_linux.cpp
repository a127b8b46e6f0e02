#include "PathLimits.h"

#include <climits>

int PathLimits::maxPathBytes()
{
    return PATH_MAX - 1;
}

int PathLimits::maxNameBytes()
{
    return NAME_MAX;
}
