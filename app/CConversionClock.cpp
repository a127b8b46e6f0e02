#include "CConversionClock.h"

#include <algorithm>

namespace {

// Below this the first progress line says more about the tool's start than about its speed.
constexpr double kShortestWallSeconds = 0.05;

double wallSeconds(const QElapsedTimer& wall)
{
    return wall.isValid() ? double(wall.nsecsElapsed()) / 1e9 : 0.0;
}

} // namespace

void CConversionClock::start(double duration)
{
    m_duration = duration;
    m_lastMedia = 0;
    m_wall.start();
}

RowTiming CConversionClock::progress(double mediaSeconds)
{
    m_lastMedia = std::max(m_lastMedia, mediaSeconds);
    return estimate(m_duration, m_lastMedia, wallSeconds(m_wall));
}

RowTiming CConversionClock::finish()
{
    RowTiming timing = estimate(m_duration, m_lastMedia, wallSeconds(m_wall));
    timing.finished = true;
    timing.secondsLeft = -1;
    return timing;
}

RowTiming CConversionClock::estimate(double duration, double mediaSeconds, double wallSeconds)
{
    RowTiming timing;
    timing.elapsed = std::max(0.0, wallSeconds);
    if (mediaSeconds <= 0 || wallSeconds < kShortestWallSeconds)
        return timing;
    timing.speed = mediaSeconds / wallSeconds;
    if (duration > 0)
        timing.secondsLeft = std::max(0.0, duration - mediaSeconds) / timing.speed;
    return timing;
}
