#pragma once

#include <QString>
#include <QStringList>

// The constant-quality ("crf") and speed ("preset") options of today's encoders, written the
// way each FFmpeg 5.1 encoder takes them and checked against the values it accepts.
class QualityOptions
{
public:
    struct Result
    {
        QStringList arguments; // ffmpeg's output options
        QStringList notes;     // lines for the log
        QString refusal;       // not empty: a value the encoder does not take; convert nothing
    };

    // The options for `encoder` (FFmpeg's name, "libx264"; "copy"; empty when the format
    // chooses). `crf` and `preset` are the profile's values, empty when not given;
    // `hasBitRate` says whether the line gives a video bit rate of its own.
    static Result translate(const QString& encoder, const QString& crf, const QString& preset,
                            bool hasBitRate);

    // The highest CRF `encoder` takes (its worst quality); -1 when it has no constant-quality
    // mode.
    static int crfCeiling(const QString& encoder);

    // The x264 / x265 preset names, fastest first.
    static const QStringList& presetNames();
};
