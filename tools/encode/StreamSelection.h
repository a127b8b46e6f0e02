#pragma once

#include "MediaProbe.h"
#include "TrackSettings.h"

#include <QList>
#include <QString>
#include <QStringList>

class FfmpegCatalogue;

// Which streams of the input a re-encoding keeps when the track rows choose them: the first
// video, the sound tracks asked for (each keeps its language, title and default mark), the
// subtitles the container can carry, and the metadata kept or stripped.
struct StreamSelection
{
    struct Request
    {
        QString muxer; // the output format's short name
        bool noVideo = false;
        bool noAudio = false;
        bool copyAudio = false;   // the profile copies sound rather than encoding it
        bool coverAsClip = false; // an album cover becomes the picture
    };

    QString videoMap;      // "0:N" for the picture, empty without one
    QStringList arguments; // the other maps and per-stream options, after the picture's
    QStringList notes;
    QList<int> audio;      // input stream of each kept sound track, in output order
    QList<int> subtitles;  // input stream of each kept subtitle, in output order
    int burn = -1;         // input stream of the subtitle drawn onto the picture; -1: none
    int burnSubtitle = -1; // the same among the subtitle streams only
    bool burnText = false; // the burned subtitle is text (else pictures)
    QString refusal;       // not empty: the rows ask what the input cannot give, and why

    // The selection for `input` (a probe that found its streams).
    static StreamSelection make(const MediaProbeResult& input, const TrackSettings& settings,
                                const Request& request, const FfmpegCatalogue& ffmpeg);

private:
    void chooseAudio(const MediaProbeResult& input, const TrackSettings& settings,
                     const Request& request);
    void chooseSubtitles(const MediaProbeResult& input, const TrackSettings& settings,
                         const Request& request, const FfmpegCatalogue& ffmpeg);
    void keepTitles(const MediaProbeResult& input, const QString& muxer);
    void codecForAudio(const MediaProbeResult& input, const Request& request,
                       const FfmpegCatalogue& ffmpeg);
};
