#include "ChildPriority.h"

void ChildPriority::startAtNormalPriority(QProcess&)
{
    // A new process gets the normal priority class whatever its creator's thread priority.
}
