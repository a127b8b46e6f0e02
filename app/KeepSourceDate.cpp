#include "KeepSourceDate.h"

#include "FileDates.h"

bool KeepSourceDate(const QString& source, const QString& target)
{
    // The batch worker calls this: no local-time conversion (FileDates says why).
    return FileDates::copyModified(source, target);
}
