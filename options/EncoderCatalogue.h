#pragma once

#include <QString>

// Which encoders and output formats an FFmpeg has: what the codec-name rules ask of it.
class EncoderCatalogue
{
public:
    virtual ~EncoderCatalogue() = default;

    // True when FFmpeg has an encoder of this name for video (or for audio).
    virtual bool hasEncoder(const QString& name, bool video) const = 0;
    // True when FFmpeg can write the format of this short name ("avi", "mp4").
    virtual bool hasMuxer(const QString& name) const = 0;
    // The short name of the format FFmpeg writes for this file name; empty when none.
    virtual QString muxerForFile(const QString& fileName) const = 0;
};
