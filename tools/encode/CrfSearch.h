#pragma once

#include <map>

// Finds the highest CRF whose samples reach a target SSIM in few probes. SSIM in decibels is
// near straight in the CRF over a short span, so each probe after the first aims where the line
// through the nearest measures crosses the target; the search keeps the highest CRF that reached
// it and the lowest that did not, and bisects when the line keeps missing on one side.
// Plain value; any thread.
class CrfSearch
{
public:
    static constexpr int kMostProbes = 6;

    // A search for `goal` (SSIM, 0..1) over CRF 0..`ceiling`, starting at `start`.
    CrfSearch(double goal, int ceiling, int start);

    // The next CRF to probe; -1 once the search is done.
    int next() const { return m_next; }

    // Records that `crf` gave `ssim`; moves next() on.
    void add(int crf, double ssim);

    // The highest CRF probed that reached the goal; -1 when none did.
    int chosen() const { return m_reached; }

    // SSIM as decibels, the scale the search works on.
    static double decibels(double ssim);

private:
    int aim() const;

    const double m_goal; // in decibels
    const int m_ceiling;
    std::map<int, double> m_measured; // CRF -> decibels
    int m_reached = -1;               // highest CRF at or over the goal
    int m_missed;                     // lowest CRF under it; ceiling + 1 while none
    int m_next;
    bool m_lastReached = false;
    bool m_sameSide = false; // the last two probes landed on the same side of the goal
};
