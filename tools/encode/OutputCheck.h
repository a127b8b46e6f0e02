#pragma once

#include "LegacyTranslator.h"
#include "MediaProbe.h"

#include <QString>

// Whether a finished conversion holds what was asked for: a file that reads back, with the
// streams expected, playing at least the expected time less a tolerance.
class OutputCheck
{
public:
    // The output may fall short by this share of the expected time or by kShortSeconds,
    // whichever is larger: the encoders' own start and end padding, and inputs whose stored
    // length runs a little past their last frame.
    static constexpr double kShortShare = 0.10;
    static constexpr double kShortSeconds = 1.5;

    // What is wrong with an output that a probe found as `found`; empty when nothing is.
    static QString fault(const OutputExpectation& expected, const MediaProbeResult& found);
};
