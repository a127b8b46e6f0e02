#include "VideoPipeline.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Lowest legal luma of limited-range video.
constexpr uint8_t kBlack = 16;

int multipleOf4(double side)
{
    return std::clamp(int(std::lround(side / 4.0)) * 4, 16, 4096);
}

void clampBlack(AVFrame* frame)
{
    for (int y = 0; y < frame->height; ++y) {
        uint8_t* row = frame->data[0] + ptrdiff_t(y) * frame->linesize[0];
        for (int x = 0; x < frame->width; ++x)
            row[x] = std::max(row[x], kBlack);
    }
}

} // namespace

VideoPipeline::~VideoPipeline() = default;

void VideoPipeline::frameSize(const EncodePlan& plan, int width, int height,
                              AVRational sampleAspect, int& outWidth, int& outHeight)
{
    const double w = plan.width > 0 ? plan.width : width;
    double h = plan.height;
    if (plan.height <= 0) {
        const double sar =
            sampleAspect.num > 0 && sampleAspect.den > 0 ? av_q2d(sampleAspect) : 1.0;
        h = width > 0 ? w * height / (width * sar) : height;
    }
    outWidth = multipleOf4(w);
    outHeight = multipleOf4(h);
}

void VideoPipeline::pictureRect(int frameWidth, int frameHeight, int width, int height,
                                AVRational sampleAspect, int& x, int& y, int& pictureWidth,
                                int& pictureHeight)
{
    x = y = 0;
    pictureWidth = frameWidth;
    pictureHeight = frameHeight;
    if (width <= 0 || height <= 0 || frameWidth <= 0 || frameHeight <= 0)
        return;
    const double sar = sampleAspect.num > 0 && sampleAspect.den > 0 ? av_q2d(sampleAspect) : 1.0;
    const double source = width * sar / height;
    const double frame = double(frameWidth) / frameHeight;
    if (std::fabs(source / frame - 1.0) <= 0.02)
        return;
    // Even sizes and offsets: the chroma planes have half the resolution.
    if (source > frame)
        pictureHeight = std::max(2, int(std::lround(frameWidth / source / 2.0)) * 2);
    else
        pictureWidth = std::max(2, int(std::lround(frameHeight * source / 2.0)) * 2);
    x = (frameWidth - pictureWidth) / 4 * 2;
    y = (frameHeight - pictureHeight) / 4 * 2;
}

std::unique_ptr<VideoPipeline> VideoPipeline::open(AVFormatContext* in, AVStream* stream,
                                                   AVFormatContext* out, const EncodePlan& plan,
                                                   std::string& error, std::string& summary)
{
    std::unique_ptr<VideoPipeline> pipe(new VideoPipeline);
    pipe->m_blackLevel = plan.blackLevel;
    if (!pipe->openInput(in, stream, out, error))
        return nullptr;
    const AVCodecParameters* par = stream->codecpar;

    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_RV20);
    pipe->m_encoder.reset(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!pipe->m_encoder) {
        error = "no RealVideo 2.0 encoder";
        return nullptr;
    }
    AVCodecContext* enc = pipe->m_encoder.get();
    const AVRational sampleAspect = av_guess_sample_aspect_ratio(in, stream, nullptr);
    frameSize(plan, par->width, par->height, sampleAspect, enc->width, enc->height);
    pictureRect(enc->width, enc->height, par->width, par->height, sampleAspect, pipe->m_x,
                pipe->m_y, pipe->m_pictureWidth, pipe->m_pictureHeight);
    // The input's own rate unless the audience allows fewer frames.
    AVRational rate = av_guess_frame_rate(in, stream, nullptr);
    const double limit = plan.maxFrameRate > 0 ? plan.maxFrameRate : 30.0;
    if (rate.num <= 0 || rate.den <= 0 || av_q2d(rate) > limit + 0.001)
        rate = av_d2q(limit, 1001000);
    enc->time_base = av_inv_q(rate);
    enc->framerate = rate;
    enc->pix_fmt = AV_PIX_FMT_YUV420P;
    enc->bit_rate = std::max(plan.videoBitrate, 8000);
    enc->gop_size = std::max(1, int(std::lround(plan.keyFrameSeconds * av_q2d(rate))));
    // The player's start-up buffer bounds the rate's swings; peaks of twice the rate fit in.
    if (plan.startupLatency > 0) {
        enc->rc_buffer_size = int(std::min(double(enc->bit_rate) * plan.startupLatency, 1e9));
        enc->rc_max_rate = 2 * enc->bit_rate;
    }
    if (plan.complexity == "low")
        av_opt_set(enc, "motion_est", "zero", AV_OPT_SEARCH_CHILDREN);
    else if (plan.complexity == "high")
        enc->mb_decision = FF_MB_DECISION_RD;
    if (out->oformat->flags & AVFMT_GLOBALHEADER)
        enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int result = avcodec_open2(enc, codec, nullptr);
    if (result < 0) {
        error = "cannot open the RealVideo 2.0 encoder: " + AvErrorText(result);
        return nullptr;
    }
    if (!pipe->addOutputStream("video", error))
        return nullptr;
    pipe->m_outStream->avg_frame_rate = rate;

    pipe->m_scaled.reset(av_frame_alloc());
    if (!pipe->m_scaled) {
        error = "out of memory";
        return nullptr;
    }
    summary = "RealVideo 2.0 " + std::to_string(enc->width) + "x" + std::to_string(enc->height) +
              ", " + std::to_string(enc->bit_rate) + " bit/s, " +
              std::to_string(av_q2d(rate)).substr(0, 6) + " frames/s, a key frame every " +
              std::to_string(enc->gop_size) + " frames" +
              (pipe->m_pictureWidth != enc->width || pipe->m_pictureHeight != enc->height
                   ? ", the picture kept in shape at " + std::to_string(pipe->m_pictureWidth) +
                         "x" + std::to_string(pipe->m_pictureHeight) + " with black " +
                         (pipe->m_pictureHeight < enc->height ? "bars above and below"
                                                              : "bars left and right")
                   : std::string()) +
              (plan.blackLevel ? ", black level clamped" : "");
    return pipe;
}

int VideoPipeline::encodeDecoded(const AVFrame* decoded)
{
    AVCodecContext* enc = m_encoder.get();
    int64_t inputPts = decoded->best_effort_timestamp;
    if (inputPts == AV_NOPTS_VALUE)
        inputPts = m_nextInputPts;
    m_nextInputPts = inputPts + std::max<int64_t>(decoded->pkt_duration, 1);
    int64_t pts = av_rescale_q_rnd(inputPts - m_start, m_inStream->time_base, enc->time_base,
                                   AVRounding(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
    if (m_lastPts == AV_NOPTS_VALUE)
        pts = std::max<int64_t>(pts, 0);
    else if (pts <= m_lastPts)
        return 0; // above the audience's frame rate, or a repeated time stamp
    m_lastPts = pts;

    m_scaler.reset(sws_getCachedContext(
        m_scaler.release(), decoded->width, decoded->height, AVPixelFormat(decoded->format),
        m_pictureWidth, m_pictureHeight, enc->pix_fmt, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!m_scaler)
        return AVERROR(EINVAL);
    AVFrame* scaled = m_scaled.get();
    if (!scaled->data[0]) {
        scaled->format = enc->pix_fmt;
        scaled->width = enc->width;
        scaled->height = enc->height;
        if (const int result = av_frame_get_buffer(scaled, 0); result < 0)
            return result;
    }
    // The encoder may still hold the last frame's buffer.
    if (const int result = av_frame_make_writable(scaled); result < 0)
        return result;
    uint8_t* planes[4] = {scaled->data[0], scaled->data[1], scaled->data[2], nullptr};
    if (m_pictureWidth != enc->width || m_pictureHeight != enc->height) {
        // Black bars: limited-range black, neutral colour.
        for (int y = 0; y < enc->height; ++y)
            std::memset(scaled->data[0] + ptrdiff_t(y) * scaled->linesize[0], kBlack,
                        size_t(enc->width));
        for (int plane = 1; plane <= 2; ++plane)
            for (int y = 0; y < enc->height / 2; ++y)
                std::memset(scaled->data[plane] + ptrdiff_t(y) * scaled->linesize[plane], 128,
                            size_t(enc->width / 2));
        planes[0] += ptrdiff_t(m_y) * scaled->linesize[0] + m_x;
        for (int plane = 1; plane <= 2; ++plane)
            planes[plane] += ptrdiff_t(m_y / 2) * scaled->linesize[plane] + m_x / 2;
    }
    sws_scale(m_scaler.get(), decoded->data, decoded->linesize, 0, decoded->height, planes,
              scaled->linesize);
    if (m_blackLevel)
        clampBlack(scaled);
    scaled->pts = pts;
    return encodeAndWrite(scaled);
}
