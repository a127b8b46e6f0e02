#include "OutputCheck.h"

#include <algorithm>

QString OutputCheck::fault(const OutputExpectation& expected, const MediaProbeResult& found)
{
    if (!found.ok)
        return QStringLiteral("the output cannot be read back");
    if (expected.video && !found.hasVideo)
        return QStringLiteral("the output has no video stream");
    if (expected.audio && !found.hasAudio)
        return QStringLiteral("the output has no audio stream");
    // A picture has no play time, and a guessed one is no ground for failing.
    if (expected.seconds <= 0 || found.isStillPicture || found.lengthEstimated)
        return QString();
    const double allowed = std::max(expected.seconds * kShortShare, kShortSeconds);
    if (found.duration >= expected.seconds - allowed)
        return QString();
    return QStringLiteral("the output plays %1 s of the %2 s expected")
        .arg(found.duration, 0, 'f', 2)
        .arg(expected.seconds, 0, 'f', 2);
}
