#pragma once

#include <QList>
#include <QString>

// What a look at the source's pictures and sound found, for the rows that adapt to it.
struct SourceFindings
{
    // One sound track's first-pass loudness figures, as FFmpeg's loudnorm reports them.
    struct Loudness
    {
        bool ok = false; // false: the track could not be measured (silence, no sound)
        QString integrated, truePeak, range, threshold, offset;
    };

    bool analysed = false;
    int crop[4] = {0, 0, 0, 0}; // black borders found: top, bottom, left, right
    bool interlaced = false;
    QList<Loudness> loudness; // per kept sound track, in output order
};
