#include "LibavMediaLibrary.h"

#include "EncoderToolContract.h"

#include <QFile>
#include <QFileInfo>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libavutil/parseutils.h>
}

namespace {

bool knownBy(const AVClass* cls, const char* name)
{
    return av_opt_find(&cls, name, nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ | AV_OPT_SEARCH_CHILDREN);
}

bool isPictureCodec(AVCodecID id)
{
    return id == AV_CODEC_ID_PNG || id == AV_CODEC_ID_MJPEG || id == AV_CODEC_ID_BMP;
}

} // namespace

LibavMediaLibrary::LibavMediaLibrary()
{
    // libav's own messages would land before the information reply or repeat what ffmpeg says.
    av_log_set_level(AV_LOG_QUIET);
}

MediaProbeResult LibavMediaLibrary::probe(const QString& path) const
{
    return ProbeMediaFile(path);
}

bool LibavMediaLibrary::hasEncoder(const QString& name, bool video) const
{
    const AVCodec* codec = avcodec_find_encoder_by_name(name.toLatin1().constData());
    return codec && codec->type == (video ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_AUDIO);
}

bool LibavMediaLibrary::hasMuxer(const QString& name) const
{
    return av_guess_format(name.toLatin1().constData(), nullptr, nullptr) != nullptr;
}

QString LibavMediaLibrary::muxerForFile(const QString& fileName) const
{
    const AVOutputFormat* f = av_guess_format(nullptr, fileName.toLocal8Bit().constData(), nullptr);
    return f ? QString::fromLatin1(f->name).section(QLatin1Char(','), 0, 0) : QString();
}

bool LibavMediaLibrary::takesMovingVideo(const QString& muxer) const
{
    const AVOutputFormat* f = av_guess_format(muxer.toLatin1().constData(), nullptr, nullptr);
    // MP3 and FLAC default to a picture codec: they keep a cover, not a clip.
    return f && f->video_codec != AV_CODEC_ID_NONE && !isPictureCodec(f->video_codec);
}

bool LibavMediaLibrary::takesAudio(const QString& muxer) const
{
    const AVOutputFormat* f = av_guess_format(muxer.toLatin1().constData(), nullptr, nullptr);
    return f && f->audio_codec != AV_CODEC_ID_NONE;
}

bool LibavMediaLibrary::knowsOption(const QByteArray& name) const
{
    return knownBy(avcodec_get_class(), name.constData()) ||
           knownBy(avformat_get_class(), name.constData());
}

QByteArray LibavMediaLibrary::capabilities() const
{
    QByteArray text;
    void* at = nullptr;
    while (const AVCodec* codec = av_codec_iterate(&at)) {
        if (!av_codec_is_encoder(codec))
            continue;
        if (codec->type == AVMEDIA_TYPE_VIDEO)
            text += QByteArray(EncoderToolContract::kVideoEncoderWord) + ' ' + codec->name + '\n';
        else if (codec->type == AVMEDIA_TYPE_AUDIO)
            text += QByteArray(EncoderToolContract::kAudioEncoderWord) + ' ' + codec->name + '\n';
    }
    at = nullptr;
    while (const AVOutputFormat* format = av_muxer_iterate(&at))
        text += QByteArray(EncoderToolContract::kMuxerWord) + ' ' + format->name + ' ' +
                (format->extensions ? format->extensions : "") + '\n';
    return text;
}

QList<double> LibavMediaLibrary::keyframeTimes(const QString& path) const
{
    QList<double> times;
    AVFormatContext* context = nullptr;
    // "file:" keeps a name like "a:b.mkv" a local file name.
    const QByteArray url = "file:" + QFile::encodeName(QFileInfo(path).absoluteFilePath());
    if (avformat_open_input(&context, url.constData(), nullptr, nullptr) < 0)
        return times;
    const int video = avformat_find_stream_info(context, nullptr) < 0
                          ? -1
                          : av_find_best_stream(context, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video >= 0) {
        for (unsigned i = 0; i < context->nb_streams; ++i)
            if (int(i) != video)
                context->streams[i]->discard = AVDISCARD_ALL;
        const AVRational base = context->streams[video]->time_base;
        // Times as ffmpeg's -ss counts them: from the file's start.
        const int64_t start = context->start_time == AV_NOPTS_VALUE ? 0 : context->start_time;
        AVPacket* packet = av_packet_alloc();
        while (packet && av_read_frame(context, packet) >= 0) {
            const int64_t at = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            if (packet->stream_index == video && (packet->flags & AV_PKT_FLAG_KEY) &&
                at != AV_NOPTS_VALUE)
                times << double(av_rescale_q(at, base, AV_TIME_BASE_Q) - start) / AV_TIME_BASE;
            av_packet_unref(packet);
        }
        av_packet_free(&packet);
    }
    avformat_close_input(&context);
    return times;
}

int LibavMediaLibrary::holds(const QString& muxer, const QString& codec) const
{
    const AVOutputFormat* f = av_guess_format(muxer.toLatin1().constData(), nullptr, nullptr);
    const AVCodecDescriptor* d = avcodec_descriptor_get_by_name(codec.toLatin1().constData());
    if (!f || !d)
        return 0;
    const int answer = avformat_query_codec(f, d->id, FF_COMPLIANCE_NORMAL);
    return answer < 0 ? -1 : answer > 0 ? 1 : 0;
}

QString LibavMediaLibrary::usualEncoder(const QString& muxer, MediaStream::Type type) const
{
    const AVOutputFormat* f = av_guess_format(muxer.toLatin1().constData(), nullptr, nullptr);
    if (!f)
        return QString();
    const AVCodecID id = type == MediaStream::Video      ? f->video_codec
                         : type == MediaStream::Audio    ? f->audio_codec
                         : type == MediaStream::Subtitle ? f->subtitle_codec
                                                         : AV_CODEC_ID_NONE;
    // MP4 names no subtitle codec of its own, yet stores text as 3GPP timed text.
    const AVCodecID own = type == MediaStream::Subtitle && id == AV_CODEC_ID_NONE &&
                                  avformat_query_codec(f, AV_CODEC_ID_MOV_TEXT, 0) == 1
                              ? AV_CODEC_ID_MOV_TEXT
                              : id;
    const AVCodec* codec = own == AV_CODEC_ID_NONE ? nullptr : avcodec_find_encoder(own);
    return codec ? QString::fromLatin1(codec->name) : QString();
}

bool LibavMediaLibrary::parseFrameSize(const QString& text, int& width, int& height) const
{
    int w = 0, h = 0;
    if (av_parse_video_size(&w, &h, text.trimmed().toLatin1().constData()) < 0)
        return false;
    width = w;
    height = h;
    return true;
}

bool LibavMediaLibrary::parseDuration(const QString& text, double& seconds) const
{
    int64_t us = 0;
    if (av_parse_time(&us, text.trimmed().toLatin1().constData(), 1) < 0)
        return false;
    seconds = double(us) / 1e6;
    return true;
}
