#pragma once

#include <QString>

// Whole seconds as "%02d:%02d:%02d"; hours are not wrapped at 24. Negative counts as 0.
QString FormatHMS(long long seconds);

// The measured length of a probed duration (the probe stores measured seconds + 1, which
// progress divides by), rounded to the nearest whole second; never negative.
long long MeasuredSeconds(double storedDuration);
