#pragma once

#include <QString>

// A row's pace: while it converts, its speed against real time and the time left; once it has
// been judged, the time it took. What the Status cell's tooltip and the terminal show.
struct RowTiming
{
    bool finished = false;   // the row has been judged; `elapsed` is the time it took
    double speed = 0;        // seconds of media per second of wall clock; 0 while unknown
    double secondsLeft = -1; // wall seconds still to go; negative while unknown
    double elapsed = 0;      // wall seconds since the row's conversion started

    // "1.8×" (one decimal); empty while the speed is unknown.
    QString speedText() const;
    // "00:00:12 left"; empty while unknown.
    QString leftText() const;
    // "0:00:12", the time left as a clock shows it; empty while unknown.
    QString leftClock() const;
    // "00:01:05" (the elapsed time, rounded to whole seconds).
    QString elapsedText() const;
    // The tooltip: "1.8×, 00:00:12 left" while converting (empty until the tool's first
    // progress), "Took 00:01:05 (1.8×)" once finished.
    QString text() const;
};
