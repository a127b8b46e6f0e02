#pragma once

#include <QString>

// Whole seconds as "%02d:%02d:%02d"; hours are not wrapped at 24. Negative counts as 0.
QString FormatHMS(long long seconds);
