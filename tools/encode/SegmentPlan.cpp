#include "SegmentPlan.h"

#include <algorithm>

SegmentPlan::Lanes SegmentPlan::lanesFor(int processors)
{
    processors = std::max(1, processors);
    if (processors < 4)
        return {processors, 1};
    return {processors / 2, 2};
}

namespace {

// Why key frames stored as `keyframes` cannot be trusted for a source of `duration` s.
QString untrusted(const QList<double>& keyframes, double duration)
{
    if (keyframes.isEmpty())
        return QStringLiteral("no key frames were found");
    for (qsizetype i = 1; i < keyframes.size(); ++i)
        if (!(keyframes[i] > keyframes[i - 1]))
            return QStringLiteral("the key frames' times are out of order");
    if (keyframes.first() < -SegmentPlan::kCutMargin || keyframes.last() > duration + 1.0)
        return QStringLiteral("the key frames' times lie outside the file's length");
    return QString();
}

// The length of the next segment when `remaining` seconds are left: shorter towards the end, so
// that the lanes run out of work at nearly the same moment instead of one finishing alone.
double tapered(double length, double remaining, int lanes)
{
    return std::max(length / 4, std::min(length, remaining / (2.0 * std::max(1, lanes))));
}

} // namespace

SegmentPlan SegmentPlan::make(double duration, const QList<double>& keyframes, int lanes,
                              double segmentSeconds, double shortestSegment)
{
    SegmentPlan plan;
    plan.duration = duration;
    const double shortest = segmentSeconds > 0 ? 2 * segmentSeconds : kShortestSource;
    if (!(duration >= shortest)) {
        plan.refusal = QStringLiteral("the video is shorter than %1 s").arg(shortest);
        plan.tooShort = true;
        return plan;
    }
    plan.refusal = untrusted(keyframes, duration);
    if (!plan.refusal.isEmpty())
        return plan;
    const double length =
        segmentSeconds > 0
            ? segmentSeconds
            : std::clamp(duration / (std::max(1, lanes) * kSegmentsPerLane),
                         std::min(shortestSegment, kLongestSegment), kLongestSegment);
    double last = 0;
    double next = segmentSeconds > 0 ? length : tapered(length, duration, lanes);
    for (const double at : keyframes) {
        // A last segment much shorter than the others would only add a seam.
        if (at - last >= next && duration - at > next / 2) {
            plan.cuts << at;
            last = at;
            if (segmentSeconds <= 0)
                next = tapered(length, duration - last, lanes);
        }
    }
    double longest = duration - last;
    for (int i = 0; i + 1 < plan.count(); ++i)
        longest = std::max(longest, plan.end(i) - plan.start(i));
    // Key frames too far apart leave one lane doing most of the work.
    if (plan.cuts.isEmpty() || longest > 3 * length) {
        plan.cuts.clear();
        plan.refusal = QStringLiteral("the key frames lie too far apart to cut at");
    }
    return plan;
}
