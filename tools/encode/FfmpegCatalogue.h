#pragma once

#include "EncoderCatalogue.h"
#include "MediaProbe.h"

#include <QByteArray>
#include <QString>

// What the translation of an old command line asks of FFmpeg: which encoders, formats and
// options exist, and how FFmpeg reads a frame size or a time. The answers come from the FFmpeg
// libraries, which are slow to load; a stand-in that trusts every name lets ffmpeg start first.
class FfmpegCatalogue : public EncoderCatalogue
{
public:
    // True when the format writes moving video by default, not just a cover picture or nothing.
    virtual bool takesMovingVideo(const QString& muxer) const = 0;
    // True when the format writes sound by default.
    virtual bool takesAudio(const QString& muxer) const = 0;
    // 1 when the format stores a stream of this codec (libavcodec's short name) as it is,
    // 0 when it cannot, -1 when FFmpeg does not say.
    virtual int holds(const QString& muxer, const QString& codec) const = 0;
    // The encoder FFmpeg uses by default for this kind of stream in the format ("libx264"
    // for MP4 video, "mov_text" for its subtitles); empty when the format takes none.
    virtual QString usualEncoder(const QString& muxer, MediaStream::Type type) const = 0;
    // True when some codec or format option of FFmpeg has this name (without the dash).
    virtual bool knowsOption(const QByteArray& name) const = 0;
    // Reads "WxH" or an abbreviation such as "cif"; false when it cannot.
    virtual bool parseFrameSize(const QString& text, int& width, int& height) const = 0;
    // Reads a duration as FFmpeg does ("90", "1:30", "00:01:30.5", "1500ms"); false when it
    // cannot.
    virtual bool parseDuration(const QString& text, double& seconds) const = 0;
};
