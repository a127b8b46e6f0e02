#pragma once

#include "LegacyCommandLine.h"

#include <QString>
#include <QStringList>

// What the rows for tracks, metadata, crop, deinterlacing and loudness ask, read from a
// command line. An absent row keeps the old tool's behaviour. Any thread.
struct TrackSettings
{
    enum class Audio
    {
        Unset, // ffmpeg's own choice, as before
        All,
        First,
        Languages
    };
    enum class Subtitles
    {
        Unset,
        None,
        Keep,
        Burn,
        Forced
    };
    enum class Crop
    {
        None,
        Auto,
        Manual
    };
    enum class Interlace
    {
        Off,
        Auto,
        On
    };

    Audio audio = Audio::Unset;
    QStringList languages; // for Languages, in the order asked
    Subtitles subtitles = Subtitles::Unset;
    QString burnLanguage; // for Burn: empty takes the first subtitle
    bool metadataRow = false;
    bool strip = false;
    Crop crop = Crop::None;
    int cropPixels[4] = {0, 0, 0, 0}; // top, bottom, left, right for Manual
    Interlace interlace = Interlace::Off;
    double loudness = 0; // target in LUFS; 0 for off
    QString refusal;     // a value that does not parse, and what is accepted

    // The rows of `line`; the last of each name counts.
    static TrackSettings read(const LegacyCommandLine& line);

    // True when an option named `name` is one of these rows.
    static bool isTrackOption(const QString& name);

    // True when streams must be chosen one by one rather than by ffmpeg.
    bool mapsStreams() const
    {
        return audio != Audio::Unset || subtitles != Subtitles::Unset || metadataRow;
    }
    // True when the source must be looked at before the conversion can be written.
    bool needsAnalysis() const
    {
        return crop == Crop::Auto || interlace == Interlace::Auto || loudness != 0;
    }
};
