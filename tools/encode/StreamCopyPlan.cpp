#include "StreamCopyPlan.h"

#include "FfmpegCatalogue.h"

namespace {

const char* kindName(MediaStream::Type type)
{
    return type == MediaStream::Video ? "video" : type == MediaStream::Audio ? "audio" : "subtitle";
}

} // namespace

StreamCopyPlan StreamCopyPlan::make(const MediaProbeResult& input, const Request& request,
                                    const FfmpegCatalogue& ffmpeg)
{
    StreamCopyPlan plan;
    if (input.isStillPicture) {
        plan.refusal = QStringLiteral("encode: the input is a still picture, which has no "
                                      "stream to copy; choose a profile that encodes");
        return plan;
    }
    if (request.copyVideo && input.hasVideo && input.noTimestamps) {
        plan.refusal = QStringLiteral("encode: the input is a raw %1 stream without timestamps; "
                                      "a copy would not keep its timing. Choose a profile that "
                                      "encodes")
                           .arg(input.demuxer);
        return plan;
    }

    const bool matroska = request.muxer == QLatin1String("matroska");
    int copied = 0;
    int out = 0;
    for (int i = 0; i < input.streams.size(); ++i) {
        const MediaStream& s = input.streams[i];
        if (s.type == MediaStream::Other || s.cover)
            continue;
        if ((s.type == MediaStream::Video && request.noVideo) ||
            (s.type == MediaStream::Audio && request.noAudio))
            continue;
        const bool copy = s.type == MediaStream::Video   ? request.copyVideo
                          : s.type == MediaStream::Audio ? request.copyAudio
                                                         : true;
        const QString usual = ffmpeg.usualEncoder(request.muxer, s.type);
        if (s.type == MediaStream::Subtitle && !matroska && usual.isEmpty()) {
            plan.notes << QStringLiteral("encode: stream %1 (subtitle %2) left out: %3 takes no "
                                         "subtitles")
                              .arg(i)
                              .arg(s.codec, request.muxer);
            continue;
        }
        QString codec;
        if (copy && ffmpeg.holds(request.muxer, s.codec) != 0) {
            codec = QStringLiteral("copy");
            ++copied;
        } else if (!copy) {
            codec = s.type == MediaStream::Video ? request.videoEncoder : request.audioEncoder;
        } else if (s.type == MediaStream::Subtitle && !s.textSubtitle) {
            plan.notes << QStringLiteral("encode: stream %1 (subtitle %2) left out: %3 cannot "
                                         "hold picture subtitles")
                              .arg(i)
                              .arg(s.codec, request.muxer);
            continue;
        } else if (usual.isEmpty()) {
            plan.notes << QStringLiteral("encode: stream %1 (%2 %3) left out: %4 cannot hold it")
                              .arg(i)
                              .arg(QLatin1String(kindName(s.type)), s.codec, request.muxer);
            continue;
        } else {
            codec = usual;
            plan.notes << QStringLiteral("encode: stream %1 (%2 %3) re-encoded as %4: %5 cannot "
                                         "hold %3 as it is")
                              .arg(i)
                              .arg(QLatin1String(kindName(s.type)), s.codec, usual, request.muxer);
        }
        plan.arguments << QStringLiteral("-map") << QStringLiteral("0:%1").arg(i);
        if (!codec.isEmpty())
            plan.arguments << QStringLiteral("-c:%1").arg(out) << codec;
        ++out;
    }
    if (copied == 0)
        plan.refusal = QStringLiteral("encode: none of the input's streams can be copied into "
                                      "%1 as they are; choose a profile that encodes")
                           .arg(request.muxer);
    return plan;
}
