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

// What one run holds open: the input, the muxer and a pipeline per stream it encodes.
struct RealMediaTranscoder::Session
{
    std::unique_ptr<AVFormatContext, InputCloser> in;
    std::unique_ptr<AVFormatContext, OutputCloser> out;
    int videoIndex = -1;
    int audioIndex = -1;
    std::unique_ptr<VideoPipeline> video;
    std::unique_ptr<AudioPipeline> audio;
};

ESResult RealMediaTranscoder::run()
{
    Session s;
    ESResult step = openInput(s);
    if (step == ES_OK)
        step = openPipelines(s);
    if (step == ES_OK)
        step = openOutputFile(s);
    if (step != ES_OK)
        return step;

    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return ES_E_OUTOFMEMORY;
    bool cancelled = false;
    int result = pump(s, packet.get(), cancelled);
    if (result >= 0 && s.video)
        result = s.video->finish(!cancelled);
    if (result >= 0 && s.audio)
        result = s.audio->finish(!cancelled);
    const int trailer = av_write_trailer(s.out.get());
    if (result >= 0)
        result = trailer;
    s.out.reset();
    if (result < 0) {
        m_log(LogHub::Error, "encoding failed: " + AvErrorText(result));
        std::remove(m_plan.outputPath.c_str());
        return ES_E_CODEC;
    }
    if (!cancelled)
        m_progress(100);
    return cancelled ? ES_FALSE : ES_OK;
}

ESResult RealMediaTranscoder::openInput(Session& s)
{
    AVFormatContext* rawIn = nullptr;
    const int result =
        avformat_open_input(&rawIn, FileUrl(m_plan.inputPath).c_str(), nullptr, nullptr);
    s.in.reset(rawIn);
    if (result < 0 || avformat_find_stream_info(s.in.get(), nullptr) < 0) {
        m_log(LogHub::Error, "cannot read " + m_plan.inputPath + ": " + AvErrorText(result));
        return ES_E_INPUT;
    }
    s.videoIndex = m_plan.video ? findStream(s.in.get(), AVMEDIA_TYPE_VIDEO) : -1;
    s.audioIndex = m_plan.audio ? findStream(s.in.get(), AVMEDIA_TYPE_AUDIO) : -1;
    if (s.videoIndex < 0 && s.audioIndex < 0) {
        m_log(LogHub::Error, "nothing in " + m_plan.inputPath + " to encode for this audience");
        return ES_E_INPUT;
    }
    return ES_OK;
}

ESResult RealMediaTranscoder::openPipelines(Session& s)
{
    AVFormatContext* rawOut = nullptr;
    avformat_alloc_output_context2(&rawOut, nullptr, "rm", nullptr);
    if (!rawOut)
        return ES_E_OUTPUT;
    s.out.reset(rawOut);

    std::string error, summary, note;
    if (s.videoIndex >= 0) {
        s.video = VideoPipeline::open(s.in.get(), s.in->streams[s.videoIndex], s.out.get(), m_plan,
                                      error, summary);
        if (!s.video) {
            m_log(LogHub::Error, error);
            return ES_E_CODEC;
        }
        m_log(LogHub::Information, "Video: " + summary);
    }
    if (s.audioIndex >= 0) {
        s.audio = AudioPipeline::open(s.in.get(), s.in->streams[s.audioIndex], s.out.get(), m_plan,
                                      error, summary, note);
        if (!s.audio) {
            m_log(LogHub::Error, error);
            return ES_E_CODEC;
        }
        if (!note.empty())
            m_log(LogHub::Warning, note);
        m_log(LogHub::Information, "Audio: " + summary);
    }
    return ES_OK;
}

ESResult RealMediaTranscoder::openOutputFile(Session& s)
{
    int result = avio_open(&s.out->pb, FileUrl(m_plan.outputPath).c_str(), AVIO_FLAG_WRITE);
    if (result < 0) {
        m_log(LogHub::Error, "cannot write " + m_plan.outputPath + ": " + AvErrorText(result));
        return ES_E_OUTPUT;
    }
    result = avformat_write_header(s.out.get(), nullptr);
    if (result < 0) {
        m_log(LogHub::Error, "cannot write " + m_plan.outputPath + ": " + AvErrorText(result));
        s.out.reset();
        std::remove(m_plan.outputPath.c_str());
        return ES_E_OUTPUT;
    }
    return ES_OK;
}

int RealMediaTranscoder::pump(Session& s, AVPacket* packet, bool& cancelled)
{
    const int64_t start = s.in->start_time == AV_NOPTS_VALUE ? 0 : s.in->start_time;
    int lastPercent = -1;
    int result = 0;
    while (result >= 0) {
        if (m_cancel.load()) {
            cancelled = true;
            break;
        }
        result = av_read_frame(s.in.get(), packet);
        if (result < 0) {
            // A damaged tail ends the input as its end would.
            if (result != AVERROR_EOF)
                m_log(LogHub::Warning, "the input ends early: " + AvErrorText(result));
            return 0;
        }
        const AVStream* stream = s.in->streams[packet->stream_index];
        const int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (packet->stream_index == s.videoIndex)
            result = s.video->push(packet);
        else if (packet->stream_index == s.audioIndex)
            result = s.audio->push(packet);
        av_packet_unref(packet);
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
    return result;
}
