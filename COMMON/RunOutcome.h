#pragma once

#include "QualityVerdict.h"

#include <QString>

// How the last conversion of a job ended, beyond its 1/0 result: written by the engine on the
// batch worker when bDoConvert returns, read by the batch to judge and explain the row.
struct RunOutcome
{
    bool stopped = false;   // a Stop cut it short; what it wrote is kept
    QString reason;         // why it failed, in one line; empty when nothing went wrong
    QualityVerdict verdict; // how the output compares with its source, as the tool measured it
    QString cropFound;      // the black borders the tool found in the source; empty: none
};
