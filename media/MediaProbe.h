#pragma once

#include <QList>
#include <QString>
#include <cstdint>

// One stream of a media file as a copy of it needs to know it.
struct MediaStream
{
    enum Type
    {
        Video,
        Audio,
        Subtitle,
        Other // data, attachments
    };
    Type type = Other;
    QString codec;             // libavcodec's short name ("h264", "pcm_s16le", "subrip")
    bool cover = false;        // an attached picture (album cover), not moving video
    bool textSubtitle = false; // a subtitle made of text, which MP4's own format can take
    bool decodable = true;     // this FFmpeg has a decoder for the codec
};

// What a stream is marked with, for choosing among streams of one kind.
struct MediaStreamTags
{
    QString language; // as the file tags it ("eng"), empty when untagged
    QString title;
    bool defaultTrack = false; // marked to be played when no choice is made
    bool forced = false;       // marked as forced (subtitles shown whatever the choice)
    int sampleRate = 0;        // Hz, for sound
};

// What an in-process look at a media file finds (libavformat here). Shared by the encoder
// tool's information mode and the program's own media detector.
struct MediaProbeResult
{
    bool ok = false;          // false: empty, missing or unreadable file; nothing else is set
    double duration = 0;      // seconds: the longer of the video and audio stream lengths;
                              // 0 for a single still picture
    double videoDuration = 0; // seconds, 0 without a video stream
    double audioDuration = 0; // seconds, 0 without an audio stream
    double frameRate = 0;     // frames per second of the video stream, 0 when unknown
    int width = 0;            // frame size of the video stream
    int height = 0;           // always positive when there is a video stream
    int64_t videoBitRate = 0; // bits per second, 0 when unknown
    int64_t audioBitRate = 0; // bits per second, 0 when unknown
    int sampleRate = 0;       // Hz
    int channels = 0;
    bool hasVideo = false; // a real video stream: an attached cover picture is not one
    bool hasAudio = false;
    bool isStillPicture = false;  // a single picture (JPEG, PNG, BMP, one-frame GIF)
    bool hasCoverPicture = false; // an attached picture (album cover) beside the streams
    bool lengthEstimated = false; // the duration is a guess from sizes and bit rates only
    QString demuxer;              // libavformat's reader, by its first short name ("mov", "image2")
    bool noTimestamps = false;    // a raw stream whose packets carry no time of their own
    double displayAspect = 0;     // width to height of the picture as shown, 0 without video
    QList<MediaStream> streams;   // every stream in file order
    QList<MediaStreamTags> tags;  // the marks of each stream of `streams`, in the same order
    // When !ok: why, in a few words ("it is empty", "Invalid data found when processing
    // input"), and whether the file is simply not media (no reader knows its content) rather
    // than damaged or unreadable media.
    QString failure;
    bool notMedia = false;
};

// Probes `path` in process; reads headers (and as little more as the frame size and
// duration need: a raw video stream, which stores no length, is read through to its end, or
// far enough to estimate it). Thread-safe; never throws.
MediaProbeResult ProbeMediaFile(const QString& path);

// Keeps the media library's own diagnostics ("moov atom not found") off standard error for the
// rest of the process; a probe's result already says whether a file could be read.
void QuietMediaProbeLog();
