#include "StreamPipeline.h"

#include "AvCodecs.h"

StreamPipeline::~StreamPipeline() = default;

bool StreamPipeline::openInput(AVFormatContext* in, AVStream* stream, AVFormatContext* out,
                               std::string& error)
{
    m_out = out;
    m_inStream = stream;
    m_decoder = AvCodecs::openDecoder(stream, error);
    if (!m_decoder)
        return false;
    m_decoded.reset(av_frame_alloc());
    m_packet.reset(av_packet_alloc());
    if (!m_decoded || !m_packet) {
        error = "out of memory";
        return false;
    }
    m_start = in->start_time == AV_NOPTS_VALUE
                  ? 0
                  : av_rescale_q(in->start_time, AV_TIME_BASE_Q, stream->time_base);
    return true;
}

bool StreamPipeline::addOutputStream(const char* kind, std::string& error)
{
    m_outStream = avformat_new_stream(m_out, nullptr);
    if (!m_outStream ||
        avcodec_parameters_from_context(m_outStream->codecpar, m_encoder.get()) < 0) {
        error = std::string("cannot add the ") + kind + " stream";
        return false;
    }
    m_outStream->time_base = m_encoder->time_base;
    return true;
}

int StreamPipeline::push(const AVPacket* packet)
{
    const int result = avcodec_send_packet(m_decoder.get(), packet);
    // A damaged packet costs a frame, not the file.
    if (result < 0 && result != AVERROR(EAGAIN) && result != AVERROR_INVALIDDATA)
        return result;
    return drainDecoder();
}

int StreamPipeline::finish(bool drainAll)
{
    if (drainAll) {
        avcodec_send_packet(m_decoder.get(), nullptr);
        if (const int result = drainDecoder(); result < 0)
            return result;
    }
    if (const int result = flushKept(drainAll); result < 0)
        return result;
    return encodeAndWrite(nullptr);
}

int StreamPipeline::encodeAndWrite(const AVFrame* frame)
{
    return AvCodecs::encodeAndWrite(m_encoder.get(), frame, m_out, m_outStream, m_packet.get());
}

int StreamPipeline::drainDecoder()
{
    return AvCodecs::drainDecoder(m_decoder.get(), m_decoded.get(),
                                  [this](AVFrame* frame) { return encodeDecoded(frame); });
}
