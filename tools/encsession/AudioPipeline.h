#pragma once

#include "EncodePlan.h"
#include "StreamPipeline.h"

#include <memory>
#include <string>

// One audio stream from the input to AC-3 in the output: decode, resample to the audience's
// rate and channels, apply the gain pre-filter and encode in the encoder's frame size.
// Threads: the encoding thread only.
class AudioPipeline : public StreamPipeline
{
public:
    // Decoder, resampler and encoder for `stream` of `in`, with a new stream in `out`; null
    // with `error`. `summary` says what the output will be, `note` why a rate was changed.
    static std::unique_ptr<AudioPipeline> open(AVFormatContext* in, AVStream* stream,
                                               AVFormatContext* out, const EncodePlan& plan,
                                               std::string& error, std::string& summary,
                                               std::string& note);
    ~AudioPipeline() override;

    // The AC-3 bit rate nearest to `wanted` that `channels` channels can be encoded with.
    static int ac3BitRate(int wanted, int channels);

private:
    AudioPipeline() = default;
    // Resamples and queues the frame, then encodes the whole encoder frames queued.
    int encodeDecoded(const AVFrame* decoded) override;
    // What the resampler (once the decoder is drained) and the queue still hold.
    int flushKept(bool drained) override;
    int convert(const AVFrame* decoded);
    int encodeWholeFrames(bool last);

    SwrPtr m_resampler;
    AudioFifoPtr m_fifo;
    FramePtr m_frame;
    uint8_t** m_buffer = nullptr; // resampled planes, m_bufferSamples long
    int m_bufferSamples = 0;
    AVChannelLayout m_inLayout{};
    int m_inRate = 0;
    AVSampleFormat m_inFormat = AV_SAMPLE_FMT_NONE;
    int64_t m_nextPts = AV_NOPTS_VALUE; // in samples of the output rate
    float m_gain = 1.0f;
};
