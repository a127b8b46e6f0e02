#pragma once

#include <QByteArray>
#include <QString>

// What the translation of an old command line asks of FFmpeg: which encoders, formats and
// options exist, and how FFmpeg reads a frame size or a time. The answers come from the FFmpeg
// libraries, which are slow to load; a stand-in that trusts every name lets ffmpeg start first.
class FfmpegCatalogue
{
public:
    virtual ~FfmpegCatalogue() = default;

    // True when FFmpeg has an encoder of this name for video (or for audio).
    virtual bool hasEncoder(const QString& name, bool video) const = 0;
    // True when FFmpeg can write the format of this short name ("avi", "mp4").
    virtual bool hasMuxer(const QString& name) const = 0;
    // The short name of the format FFmpeg writes for this file name; empty when none.
    virtual QString muxerForFile(const QString& fileName) const = 0;
    // True when the format writes moving video by default, not just a cover picture or nothing.
    virtual bool takesMovingVideo(const QString& muxer) const = 0;
    // True when the format writes sound by default.
    virtual bool takesAudio(const QString& muxer) const = 0;
    // True when some codec or format option of FFmpeg has this name (without the dash).
    virtual bool knowsOption(const QByteArray& name) const = 0;
    // Reads "WxH" or an abbreviation such as "cif"; false when it cannot.
    virtual bool parseFrameSize(const QString& text, int& width, int& height) const = 0;
    // Reads a duration as FFmpeg does ("90", "1:30", "00:01:30.5", "1500ms"); false when it
    // cannot.
    virtual bool parseDuration(const QString& text, double& seconds) const = 0;
};
