#pragma once

#include "MediaProbe.h"

#include <QString>
#include <QStringList>

class FfmpegCatalogue;

// Which streams of the input a copy keeps and how: copied as they are where the output format
// holds them, re-encoded to the format's usual codec where it does not (with a line saying
// why), dropped where the format takes no such stream. Matroska keeps every video, audio and
// subtitle stream; other formats keep video and audio, and subtitles where they have a codec
// of their own for them (text subtitles become MP4's).
struct StreamCopyPlan
{
    struct Request
    {
        QString muxer; // the output format's short name
        bool copyVideo = false;
        bool copyAudio = false;
        QString videoEncoder; // for video that is not copied; empty: the format's default
        QString audioEncoder;
        bool noVideo = false; // -vn
        bool noAudio = false; // -an
    };

    QStringList arguments; // ffmpeg's -map and per-stream -c options
    QStringList notes;
    QString refusal; // not empty: there is nothing sound to copy, and this says why

    // The plan for `input` (a probe that found its streams).
    static StreamCopyPlan make(const MediaProbeResult& input, const Request& request,
                               const FfmpegCatalogue& ffmpeg);
};
