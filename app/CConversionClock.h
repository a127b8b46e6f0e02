#pragma once

#include "RowTiming.h"

#include <QElapsedTimer>

// Times one row's conversion: the tool's "time=" seconds against the wall clock give the speed
// (averaged over the whole run so far, as the tool's own counters are) and, with the row's
// duration, the time left. Threads: used by the one thread that converts the row.
class CConversionClock
{
public:
    // Starts the wall clock for a row whose media lasts `duration` seconds.
    void start(double duration);
    // The tool reports `mediaSeconds` done; returns the pace now.
    RowTiming progress(double mediaSeconds);
    // The row has ended; returns the time it took with the last speed seen.
    RowTiming finish();

    // The pace after `mediaSeconds` of `duration` were done in `wallSeconds`.
    static RowTiming estimate(double duration, double mediaSeconds, double wallSeconds);

private:
    QElapsedTimer m_wall;
    double m_duration = 0;
    double m_lastMedia = 0;
};
