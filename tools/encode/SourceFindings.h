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

    // HDR10's static metadata of the first picture: the mastering display and light levels.
    struct Hdr
    {
        bool mastering = false;
        double primaries[8] = {}; // red x, y, green x, y, blue x, y, white point x, y
        double maxLuminance = 0, minLuminance = 0; // cd/m2
        int maxCll = 0, maxFall = 0;               // 0: not given
    };

    bool analysed = false;
    Hdr hdr;
    int crop[4] = {0, 0, 0, 0}; // black borders found: top, bottom, left, right
    bool interlaced = false;
    QList<Loudness> loudness; // per kept sound track, in output order
};
