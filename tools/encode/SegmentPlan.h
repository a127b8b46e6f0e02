#pragma once

#include <QList>
#include <QString>

// Where a video is cut into segments that lanes encode side by side, and how many lanes with
// how many encoder threads each fill the processors. Pure arithmetic on the source's length and
// key frames; any thread.
struct SegmentPlan
{
    // Shortest source worth cutting, and the segment length aimed at, unless a caller sets its
    // own: below this the start-up of the lanes and the join eat what they gain.
    static constexpr double kShortestSource = 60.0;
    static constexpr double kShortestSegment = 5.0;
    static constexpr double kLongestSegment = 60.0;
    // Segments per lane aimed at: enough that the last ones finish close together and that a
    // stop loses little of the segments in flight.
    static constexpr int kSegmentsPerLane = 10;
    // How far before a key frame a cut is made: less than any frame lasts, so the key frame
    // starts its segment though times are rounded to microseconds on the way.
    static constexpr double kCutMargin = 0.001;

    struct Lanes
    {
        int lanes = 1;
        int threads = 1; // each lane's encoder threads
    };

    QList<double> cuts; // key frame times where segments 2..n start, in order
    double duration = 0;
    QString refusal;       // not empty: not cut, and this says why
    bool tooShort = false; // not cut for its length alone, the usual case: nothing worth saying

    int count() const { return int(cuts.size()) + 1; }
    // Start and length of segment `i` on the source's time line: from its key frame to the
    // next (segment 0 from the file's start; the last one to the end, length 0 for "open").
    double start(int i) const { return i == 0 ? 0.0 : cuts[i - 1]; }
    double end(int i) const { return i + 1 < count() ? cuts[i] : 0.0; }

    // Lanes for `processors`: two threads each where there are four or more, else one lane per
    // processor; never fewer than one.
    static Lanes lanesFor(int processors);

    // The plan for a source of `duration` seconds whose video key frames lie at `keyframes`
    // (as stored), for `lanes` lanes; `segmentSeconds` > 0 sets the length aimed at (and the
    // shortest source, twice that); else segments are no shorter than `shortestSegment` seconds.
    static SegmentPlan make(double duration, const QList<double>& keyframes, int lanes,
                            double segmentSeconds = 0, double shortestSegment = kShortestSegment);
};
