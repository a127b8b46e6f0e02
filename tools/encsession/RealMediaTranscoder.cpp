#include "RealMediaTranscoder.h"

#include "AudioPipeline.h"
#include "AvCodecs.h"
#include "AvHandles.h"
#include "LogHub.h"
#include "VideoPipeline.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

struct InputCloser
{
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};

// Closes the output file and frees the muxer.
struct OutputCloser
{
    void operator()(AVFormatContext* c) const
    {
        if (c->pb)
            avio_closep(&c->pb);
        avformat_free_context(c);
    }
};

using AvCodecs::findStream;

} // namespace

RealMediaTranscoder::RealMediaTranscoder(const EncodePlan& plan, const std::atomic<bool>& cancel,
                                         Progress progress, Log log)
    : m_plan(plan), m_cancel(cancel), m_progress(std::move(progress)), m_log(std::move(log))
{
}

ESResult RealMediaTranscoder::run()
{
    AVFormatContext* rawIn = nullptr;
    int result = avformat_open_input(&rawIn, FileUrl(m_plan.inputPath).c_str(), nullptr, nullptr);
    std::unique_ptr<AVFormatContext, InputCloser> in(rawIn);
    if (result < 0 || avformat_find_stream_info(in.get(), nullptr) < 0) {
        m_log(LogHub::Error, "cannot read " + m_plan.inputPath + ": " + AvErrorText(result));
        return ES_E_INPUT;
    }
    const int videoIndex = m_plan.video ? findStream(in.get(), AVMEDIA_TYPE_VIDEO) : -1;
    const int audioIndex = m_plan.audio ? findStream(in.get(), AVMEDIA_TYPE_AUDIO) : -1;
    if (videoIndex < 0 && audioIndex < 0) {
        m_log(LogHub::Error, "nothing in " + m_plan.inputPath + " to encode for this audience");
        return ES_E_INPUT;
    }

    AVFormatContext* rawOut = nullptr;
    avformat_alloc_output_context2(&rawOut, nullptr, "rm", nullptr);
    if (!rawOut)
        return ES_E_OUTPUT;
    std::unique_ptr<AVFormatContext, OutputCloser> out(rawOut);

    std::string error, summary, note;
    std::unique_ptr<VideoPipeline> video;
    std::unique_ptr<AudioPipeline> audio;
    if (videoIndex >= 0) {
        video = VideoPipeline::open(in.get(), in->streams[videoIndex], out.get(), m_plan, error,
                                    summary);
        if (!video) {
            m_log(LogHub::Error, error);
            return ES_E_CODEC;
        }
        m_log(LogHub::Information, "Video: " + summary);
    }
    if (audioIndex >= 0) {
        audio = AudioPipeline::open(in.get(), in->streams[audioIndex], out.get(), m_plan, error,
                                    summary, note);
        if (!audio) {
            m_log(LogHub::Error, error);
            return ES_E_CODEC;
        }
        if (!note.empty())
            m_log(LogHub::Warning, note);
        m_log(LogHub::Information, "Audio: " + summary);
    }

    result = avio_open(&out->pb, FileUrl(m_plan.outputPath).c_str(), AVIO_FLAG_WRITE);
    if (result < 0) {
        m_log(LogHub::Error, "cannot write " + m_plan.outputPath + ": " + AvErrorText(result));
        return ES_E_OUTPUT;
    }
    result = avformat_write_header(out.get(), nullptr);
    if (result < 0) {
        m_log(LogHub::Error, "cannot write " + m_plan.outputPath + ": " + AvErrorText(result));
        out.reset();
        std::remove(m_plan.outputPath.c_str());
        return ES_E_OUTPUT;
    }

    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return ES_E_OUTOFMEMORY;
    const int64_t start = in->start_time == AV_NOPTS_VALUE ? 0 : in->start_time;
    int lastPercent = -1;
    bool cancelled = false;
    result = 0;
    while (result >= 0) {
        if (m_cancel.load()) {
            cancelled = true;
            break;
        }
        result = av_read_frame(in.get(), packet.get());
        if (result < 0) {
            // A damaged tail ends the input as its end would.
            if (result != AVERROR_EOF)
                m_log(LogHub::Warning, "the input ends early: " + AvErrorText(result));
            result = 0;
            break;
        }
        const AVStream* stream = in->streams[packet->stream_index];
        const int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (packet->stream_index == videoIndex)
            result = video->push(packet.get());
        else if (packet->stream_index == audioIndex)
            result = audio->push(packet.get());
        av_packet_unref(packet.get());
        if (m_plan.duration > 0 && stamp != AV_NOPTS_VALUE) {
            const double seconds =
                double(av_rescale_q(stamp, stream->time_base, AV_TIME_BASE_Q) - start) /
                AV_TIME_BASE;
            // 100 is left for the end.
            const int percent = std::clamp(int(seconds / m_plan.duration * 100.0), 0, 99);
            if (percent > lastPercent) {
                lastPercent = percent;
                m_progress(percent);
            }
        }
    }
    if (result >= 0 && video)
        result = video->finish(!cancelled);
    if (result >= 0 && audio)
        result = audio->finish(!cancelled);
    const int trailer = av_write_trailer(out.get());
    if (result >= 0)
        result = trailer;
    out.reset();
    if (result < 0) {
        m_log(LogHub::Error, "encoding failed: " + AvErrorText(result));
        std::remove(m_plan.outputPath.c_str());
        return ES_E_CODEC;
    }
    if (!cancelled)
        m_progress(100);
    return cancelled ? ES_FALSE : ES_OK;
}
