#include "MediaProbe.h"

#include <QFile>
#include <QFileInfo>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
}

#include <cstring>

namespace {

// Owns one open demuxer context for the length of a probe.
struct InputCloser
{
    AVFormatContext* ctx = nullptr;
    ~InputCloser() { avformat_close_input(&ctx); }
};

bool isPictureCodec(AVCodecID id)
{
    switch (id) {
    case AV_CODEC_ID_MJPEG:
    case AV_CODEC_ID_PNG:
    case AV_CODEC_ID_BMP:
    case AV_CODEC_ID_GIF:
    case AV_CODEC_ID_TIFF:
    case AV_CODEC_ID_WEBP:
    case AV_CODEC_ID_JPEG2000:
    case AV_CODEC_ID_PPM:
    case AV_CODEC_ID_PGM:
    case AV_CODEC_ID_TARGA:
        return true;
    default:
        return false;
    }
}

// Demuxers that hold one picture per file: the image file reader and the
// per-format picture pipes ("jpeg_pipe", "png_pipe", ...).
bool isPictureDemuxer(const char* name)
{
    if (!name)
        return false;
    const size_t n = std::strlen(name);
    return std::strcmp(name, "image2") == 0 || (n > 5 && std::strcmp(name + n - 5, "_pipe") == 0);
}

double streamSeconds(const AVStream* st)
{
    if (st->duration == AV_NOPTS_VALUE || st->duration <= 0)
        return 0;
    return st->duration * av_q2d(st->time_base);
}

bool isCover(const AVStream* st)
{
    return st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
           (st->disposition & AV_DISPOSITION_ATTACHED_PIC);
}

// The first video stream that is real video (not a cover picture) and the first audio one.
void pickStreams(const AVFormatContext* ctx, const AVStream*& video, const AVStream*& audio)
{
    video = nullptr;
    audio = nullptr;
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        const AVStream* st = ctx->streams[i];
        const AVCodecParameters* par = st->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO && !video && !isCover(st))
            video = st;
        else if (par->codec_type == AVMEDIA_TYPE_AUDIO && !audio)
            audio = st;
    }
}

// True when the header alone left something out that the result needs.
bool needsAnalysis(const AVFormatContext* ctx, const AVStream* video, const AVStream* audio)
{
    if (ctx->nb_streams == 0 || (ctx->ctx_flags & AVFMTCTX_NOHEADER))
        return true;
    if (!video && !audio)
        return true;
    if (video && (video->codecpar->width <= 0 || video->codecpar->height <= 0))
        return true;
    if (audio && (audio->codecpar->sample_rate <= 0 || audio->codecpar->ch_layout.nb_channels <= 0))
        return true;
    const bool knownLength = ctx->duration != AV_NOPTS_VALUE ||
                             (video && streamSeconds(video) > 0) ||
                             (audio && streamSeconds(audio) > 0);
    return !knownLength;
}

// Counts the frames of a GIF up to two: one frame is a still picture.
int countGifFrames(AVFormatContext* ctx, int streamIndex)
{
    AVPacket* pkt = av_packet_alloc();
    if (!pkt)
        return 0;
    int frames = 0;
    while (frames < 2 && av_read_frame(ctx, pkt) >= 0) {
        if (pkt->stream_index == streamIndex)
            ++frames;
        av_packet_unref(pkt);
    }
    av_packet_free(&pkt);
    return frames;
}

// Bytes of a raw stream read to time it: beyond them the length is scaled from what was read,
// which keeps a probe of a multi-gigabyte stream to a fraction of a second.
constexpr int64_t kTimingBudget = 48 << 20;

// Seconds of a video stream that stores no length (raw H.264, MPEG video...): the frames' own
// durations added up to the end of the file, or scaled by the file's size past the budget.
// `estimated` says which.
double timeByReading(AVFormatContext* ctx, const AVStream* video, int64_t fileSize, bool& estimated)
{
    AVPacket* pkt = av_packet_alloc();
    if (!pkt)
        return 0;
    AVRational rate = video->avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0)
        rate = video->r_frame_rate;
    const double frameSeconds = rate.num > 0 && rate.den > 0 ? av_q2d(av_inv_q(rate)) : 0.04;
    // Whole ticks, added exactly: a sum of 0.04 s steps would fall short of the whole second.
    int64_t ticks = 0;
    int64_t untimed = 0;
    int64_t bytes = 0;
    bool atEnd = false;
    while (bytes < kTimingBudget) {
        if (av_read_frame(ctx, pkt) < 0) {
            atEnd = true;
            break;
        }
        if (pkt->stream_index == video->index) {
            if (pkt->duration > 0)
                ticks += pkt->duration;
            else
                ++untimed;
            bytes += pkt->size;
        }
        av_packet_unref(pkt);
    }
    av_packet_free(&pkt);
    const double seconds = ticks * av_q2d(video->time_base) + untimed * frameSeconds;
    estimated = !atEnd;
    if (atEnd || bytes <= 0)
        return seconds;
    return seconds * double(fileSize) / double(bytes);
}

// Whether any reader recognises the first bytes of `info`'s file as its own.
bool recognised(const QFileInfo& info)
{
    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray head = file.read(1 << 16);
    const int size = int(head.size());
    head.append(QByteArray(AVPROBE_PADDING_SIZE, '\0'));
    AVProbeData data{};
    data.buf = reinterpret_cast<unsigned char*>(head.data());
    data.buf_size = size;
    data.filename = "";
    int score = 0;
    return av_probe_input_format3(&data, 1, &score) && score > AVPROBE_SCORE_EXTENSION;
}

MediaProbeResult failed(const QString& why, bool notMedia)
{
    MediaProbeResult r;
    r.failure = why;
    r.notMedia = notMedia;
    return r;
}

// Opens `path` as a local file; false when libavformat cannot read it.
bool openInput(const QFileInfo& info, InputCloser& in, int& rc)
{
    // "file:" keeps a name like "http:x.mp4" or "a:b.avi" a local file name.
    const QByteArray url = "file:" + QFile::encodeName(info.absoluteFilePath());
    AVDictionary* opts = nullptr;
    // A picture whose name holds "%d" is one file, not a numbered sequence.
    av_dict_set(&opts, "pattern_type", "none", 0);
    rc = avformat_open_input(&in.ctx, url.constData(), nullptr, &opts);
    av_dict_free(&opts);
    return rc >= 0;
}

// Frame size, rate, bit rate and length of the video stream, and whether it is one picture.
void readVideo(AVFormatContext* ctx, const AVStream* video, MediaProbeResult& r)
{
    const AVCodecParameters* par = video->codecpar;
    r.hasVideo = true;
    r.width = par->width;
    r.height = par->height < 0 ? -par->height : par->height;
    r.videoBitRate = par->bit_rate > 0 ? par->bit_rate : 0;
    AVRational rate = video->avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0)
        rate = video->r_frame_rate;
    r.frameRate = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0;
    r.videoDuration = streamSeconds(video);

    if (isPictureCodec(par->codec_id)) {
        if (isPictureDemuxer(ctx->iformat->name))
            r.isStillPicture = true;
        else if (par->codec_id == AV_CODEC_ID_GIF && std::strcmp(ctx->iformat->name, "gif") == 0)
            r.isStillPicture = countGifFrames(ctx, video->index) == 1;
    }
    if (r.isStillPicture)
        r.videoDuration = 0;
}

void readAudio(const AVStream* audio, MediaProbeResult& r)
{
    const AVCodecParameters* par = audio->codecpar;
    r.hasAudio = true;
    r.sampleRate = par->sample_rate;
    r.channels = par->ch_layout.nb_channels;
    r.audioBitRate = par->bit_rate > 0 ? par->bit_rate : 0;
    r.audioDuration = streamSeconds(audio);
}

// The streams' lengths where they store none, and the whole file's.
void settleLengths(AVFormatContext* ctx, const AVStream* video, int64_t fileSize,
                   MediaProbeResult& r)
{
    // Streams without a length of their own take the container's, unless it is no more than a
    // guess from a bit rate: a raw video stream's header rate says little about its length.
    const bool guessed = ctx->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE;
    double whole = ctx->duration != AV_NOPTS_VALUE && ctx->duration > 0
                       ? ctx->duration / double(AV_TIME_BASE)
                       : 0;
    if (r.hasVideo && !r.isStillPicture && (guessed || (r.videoDuration <= 0 && whole <= 0))) {
        r.videoDuration = timeByReading(ctx, video, fileSize, r.lengthEstimated);
        if (guessed) {
            whole = 0;
            r.audioDuration = 0;
        }
    } else {
        r.lengthEstimated = guessed;
    }
    if (r.hasVideo && !r.isStillPicture && r.videoDuration <= 0)
        r.videoDuration = whole;
    if (r.hasAudio && r.audioDuration <= 0)
        r.audioDuration = whole;
    r.duration = r.audioDuration > r.videoDuration ? r.audioDuration : r.videoDuration;
}

QList<MediaStream> listStreams(const AVFormatContext* ctx)
{
    QList<MediaStream> streams;
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        const AVStream* st = ctx->streams[i];
        const AVCodecParameters* par = st->codecpar;
        MediaStream stream;
        stream.type = par->codec_type == AVMEDIA_TYPE_VIDEO      ? MediaStream::Video
                      : par->codec_type == AVMEDIA_TYPE_AUDIO    ? MediaStream::Audio
                      : par->codec_type == AVMEDIA_TYPE_SUBTITLE ? MediaStream::Subtitle
                                                                 : MediaStream::Other;
        stream.codec = QString::fromLatin1(avcodec_get_name(par->codec_id));
        stream.cover = isCover(st);
        const AVCodecDescriptor* desc = avcodec_descriptor_get(par->codec_id);
        stream.textSubtitle = desc && (desc->props & AV_CODEC_PROP_TEXT_SUB);
        stream.decodable = avcodec_find_decoder(par->codec_id) != nullptr;
        streams.append(stream);
    }
    return streams;
}

QList<MediaStreamTags> listTags(const AVFormatContext* ctx)
{
    QList<MediaStreamTags> tags;
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        const AVStream* st = ctx->streams[i];
        MediaStreamTags t;
        if (const AVDictionaryEntry* e = av_dict_get(st->metadata, "language", nullptr, 0))
            t.language = QString::fromUtf8(e->value).toLower();
        if (const AVDictionaryEntry* e = av_dict_get(st->metadata, "title", nullptr, 0))
            t.title = QString::fromUtf8(e->value);
        t.defaultTrack = (st->disposition & AV_DISPOSITION_DEFAULT) != 0;
        t.forced = (st->disposition & AV_DISPOSITION_FORCED) != 0;
        if (st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
            t.sampleRate = st->codecpar->sample_rate;
        tags.append(t);
    }
    return tags;
}

// What the reader itself says: whether its packets carry times, and its name for ffmpeg's -f.
void readDemuxer(const AVInputFormat* format, MediaProbeResult& r)
{
    // The raw elementary streams store no times; the demuxer makes them up from a guessed rate.
    static const char* const kRawStreams[] = {"h264", "hevc",  "m4v",   "mpegvideo", "cavsvideo",
                                              "vc1",  "dirac", "h261",  "h263",      "rawvideo",
                                              "obu",  "vvc",   "mjpeg", "avs2",      "avs3"};
    r.noTimestamps = (format->flags & AVFMT_NOTIMESTAMPS) != 0;
    for (const char* raw : kRawStreams)
        r.noTimestamps = r.noTimestamps || std::strcmp(format->name, raw) == 0;
    // "mov,mp4,m4a,3gp,3g2,mj2" is known to ffmpeg's -f by its first name.
    r.demuxer = QString::fromLatin1(format->name).section(QLatin1Char(','), 0, 0);
}

} // namespace

MediaProbeResult ProbeMediaFile(const QString& path)
{
    MediaProbeResult r;
    const QFileInfo info(path);
    // Only regular, non-empty files: a device or pipe would block the caller.
    if (path.isEmpty() || !info.isFile())
        return failed(QStringLiteral("it is not a file"), true);
    if (info.size() <= 0)
        return failed(QStringLiteral("it is empty"), false);
    if (!info.isReadable())
        return failed(QStringLiteral("it cannot be read"), false);
    InputCloser in;
    int rc = 0;
    if (!openInput(info, in, rc)) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(rc, text, sizeof text);
        return failed(QString::fromLocal8Bit(text), !recognised(info));
    }

    const AVStream* video = nullptr;
    const AVStream* audio = nullptr;
    pickStreams(in.ctx, video, audio);
    if (needsAnalysis(in.ctx, video, audio)) {
        if (avformat_find_stream_info(in.ctx, nullptr) < 0)
            return failed(QStringLiteral("its streams cannot be read"), false);
        pickStreams(in.ctx, video, audio);
    }

    if (video && video->codecpar->width > 0 && video->codecpar->height > 0)
        readVideo(in.ctx, video, r);
    if (audio && audio->codecpar->sample_rate > 0)
        readAudio(audio, r);
    if (!r.hasVideo && !r.hasAudio)
        return failed(QStringLiteral("it holds no sound or picture"), true);
    for (unsigned i = 0; i < in.ctx->nb_streams; ++i)
        r.hasCoverPicture = r.hasCoverPicture || isCover(in.ctx->streams[i]);

    settleLengths(in.ctx, video, info.size(), r);
    r.streams = listStreams(in.ctx);
    r.tags = listTags(in.ctx);
    if (r.hasVideo) {
        // The stream's own pixel shape, else the container's; square when neither says.
        AVRational sar = video->sample_aspect_ratio;
        if (sar.num <= 0 || sar.den <= 0)
            sar = video->codecpar->sample_aspect_ratio;
        const double pixel = sar.num > 0 && sar.den > 0 ? av_q2d(sar) : 1.0;
        r.displayAspect = double(r.width) * pixel / double(r.height);
    }
    readDemuxer(in.ctx->iformat, r);
    r.ok = true;
    return r;
}

void QuietMediaProbeLog()
{
    av_log_set_level(AV_LOG_QUIET);
}
