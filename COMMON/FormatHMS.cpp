#include "FormatHMS.h"

#include <cmath>

QString FormatHMS(long long seconds)
{
    if (seconds < 0)
        seconds = 0;
    const long long hours = seconds / 3600;
    const int minutes = int(seconds / 60 % 60);
    const int secs = int(seconds % 60);
    return QString::asprintf("%02lld:%02d:%02d", hours, minutes, secs);
}

long long MeasuredSeconds(double storedDuration)
{
    const double measured = storedDuration - 1.0;
    return measured > 0 ? std::llround(measured) : 0;
}
