#include "AudioPipeline.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// kbit/s an AC-3 frame can carry.
constexpr int kAc3Rates[] = {32,  40,  48,  56,  64,  80,  96,  112, 128, 160,
                             192, 224, 256, 320, 384, 448, 512, 576, 640};

int nearestRate(const int* supported, int wanted)
{
    int best = 0;
    for (const int* r = supported; r && *r; ++r)
        if (best == 0 || std::abs(*r - wanted) < std::abs(best - wanted))
            best = *r;
    return best ? best : wanted;
}

// The decoder's layout, or the usual one for its channel count when the file names none.
AVChannelLayout layoutOf(const AVChannelLayout& layout)
{
    AVChannelLayout out{};
    if (layout.order == AV_CHANNEL_ORDER_UNSPEC || layout.nb_channels <= 0)
        av_channel_layout_default(&out, std::max(layout.nb_channels, 1));
    else
        av_channel_layout_copy(&out, &layout);
    return out;
}

std::string decibels(double gain)
{
    char text[32];
    std::snprintf(text, sizeof text, "%+.1f dB", gain);
    return text;
}

} // namespace

int AudioPipeline::ac3BitRate(int wanted, int channels)
{
    // Below 32 kbit/s a channel of more than stereo the encoder runs out of bits.
    const int lowest = channels > 2 ? 32 * channels : 32;
    int best = 0;
    for (int rate : kAc3Rates) {
        if (rate < lowest)
            continue;
        if (best == 0 || std::abs(rate * 1000 - wanted) < std::abs(best * 1000 - wanted))
            best = rate;
    }
    return best * 1000;
}

AudioPipeline::~AudioPipeline()
{
    if (m_buffer)
        av_freep(&m_buffer[0]);
    av_freep(&m_buffer);
    av_channel_layout_uninit(&m_inLayout);
}

std::unique_ptr<AudioPipeline> AudioPipeline::open(AVFormatContext* in, AVStream* stream,
                                                   AVFormatContext* out, const EncodePlan& plan,
                                                   std::string& error, std::string& summary,
                                                   std::string& note)
{
    std::unique_ptr<AudioPipeline> pipe(new AudioPipeline);
    if (!pipe->openInput(in, stream, out, error))
        return nullptr;

    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AC3);
    pipe->m_encoder.reset(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!pipe->m_encoder) {
        error = "no AC-3 encoder";
        return nullptr;
    }
    AVCodecContext* enc = pipe->m_encoder.get();
    const int channels = std::clamp(plan.channels, 1, 6);
    av_channel_layout_default(&enc->ch_layout, channels);
    enc->sample_fmt = AV_SAMPLE_FMT_FLTP;
    enc->sample_rate = nearestRate(codec->supported_samplerates, plan.sampleRate);
    enc->bit_rate = ac3BitRate(plan.audioBitrate, channels);
    enc->time_base = AVRational{1, enc->sample_rate};
    if (out->oformat->flags & AVFMT_GLOBALHEADER)
        enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (enc->bit_rate != plan.audioBitrate || enc->sample_rate != plan.sampleRate)
        note = "audio " + std::to_string(plan.audioBitrate) + " bit/s at " +
               std::to_string(plan.sampleRate) + " Hz becomes " + std::to_string(enc->bit_rate) +
               " bit/s at " + std::to_string(enc->sample_rate) + " Hz, the nearest AC-3 allows";
    int result = avcodec_open2(enc, codec, nullptr);
    if (result < 0) {
        error = "cannot open the AC-3 encoder: " + AvErrorText(result);
        return nullptr;
    }
    if (!pipe->addOutputStream("audio", error))
        return nullptr;

    pipe->m_fifo.reset(av_audio_fifo_alloc(enc->sample_fmt, channels, enc->frame_size * 2));
    pipe->m_frame.reset(av_frame_alloc());
    if (!pipe->m_fifo || !pipe->m_frame) {
        error = "out of memory";
        return nullptr;
    }
    pipe->m_gain = float(std::pow(10.0, plan.gainDb / 20.0));
    summary = "AC-3 " + std::to_string(enc->bit_rate) + " bit/s, " + std::to_string(channels) +
              (channels == 1 ? " channel, " : " channels, ") + std::to_string(enc->sample_rate) +
              " Hz" + (plan.gainDb != 0 ? ", gain " + decibels(plan.gainDb) : "");
    return pipe;
}

int AudioPipeline::encodeDecoded(const AVFrame* decoded)
{
    const int result = convert(decoded);
    return result < 0 ? result : encodeWholeFrames(false);
}

int AudioPipeline::flushKept(bool drained)
{
    if (drained && m_resampler) {
        if (const int result = convert(nullptr); result < 0)
            return result;
    }
    return encodeWholeFrames(true);
}

int AudioPipeline::convert(const AVFrame* decoded)
{
    AVCodecContext* enc = m_encoder.get();
    if (decoded) {
        // A stream may change its layout or rate midway; the resampler follows it.
        AVChannelLayout layout = layoutOf(decoded->ch_layout);
        const bool changed = !m_resampler || decoded->sample_rate != m_inRate ||
                             decoded->format != m_inFormat ||
                             av_channel_layout_compare(&layout, &m_inLayout) != 0;
        if (changed) {
            SwrContext* swr = nullptr;
            int result = swr_alloc_set_opts2(
                &swr, &enc->ch_layout, enc->sample_fmt, enc->sample_rate, &layout,
                AVSampleFormat(decoded->format), decoded->sample_rate, 0, nullptr);
            m_resampler.reset(swr);
            if (result >= 0)
                result = swr_init(swr);
            av_channel_layout_uninit(&m_inLayout);
            m_inLayout = layout;
            m_inRate = decoded->sample_rate;
            m_inFormat = AVSampleFormat(decoded->format);
            if (result < 0)
                return result;
        } else {
            av_channel_layout_uninit(&layout);
        }
        if (m_nextPts == AV_NOPTS_VALUE) {
            const int64_t pts = decoded->best_effort_timestamp;
            m_nextPts =
                pts == AV_NOPTS_VALUE
                    ? 0
                    : std::max<int64_t>(
                          0, av_rescale_q(pts - m_start, m_inStream->time_base, enc->time_base));
        }
    }

    const int wanted = swr_get_out_samples(m_resampler.get(), decoded ? decoded->nb_samples : 0);
    if (wanted < 0)
        return wanted;
    if (wanted > m_bufferSamples) {
        if (m_buffer)
            av_freep(&m_buffer[0]);
        av_freep(&m_buffer);
        if (av_samples_alloc_array_and_samples(&m_buffer, nullptr, enc->ch_layout.nb_channels,
                                               wanted, enc->sample_fmt, 0) < 0)
            return AVERROR(ENOMEM);
        m_bufferSamples = wanted;
    }
    const int got =
        swr_convert(m_resampler.get(), m_buffer, m_bufferSamples,
                    decoded ? const_cast<const uint8_t**>(decoded->extended_data) : nullptr,
                    decoded ? decoded->nb_samples : 0);
    if (got <= 0)
        return got;
    if (m_gain != 1.0f) {
        for (int c = 0; c < enc->ch_layout.nb_channels; ++c) {
            float* samples = reinterpret_cast<float*>(m_buffer[c]);
            for (int i = 0; i < got; ++i)
                samples[i] = std::clamp(samples[i] * m_gain, -1.0f, 1.0f);
        }
    }
    return av_audio_fifo_write(m_fifo.get(), reinterpret_cast<void**>(m_buffer), got) < 0
               ? AVERROR(ENOMEM)
               : 0;
}

int AudioPipeline::encodeWholeFrames(bool last)
{
    AVCodecContext* enc = m_encoder.get();
    AVFrame* frame = m_frame.get();
    while (av_audio_fifo_size(m_fifo.get()) >= enc->frame_size ||
           (last && av_audio_fifo_size(m_fifo.get()) > 0)) {
        av_frame_unref(frame);
        // The encoder pads a short last frame itself.
        frame->nb_samples = std::min(av_audio_fifo_size(m_fifo.get()), enc->frame_size);
        frame->format = enc->sample_fmt;
        frame->sample_rate = enc->sample_rate;
        if (int result = av_channel_layout_copy(&frame->ch_layout, &enc->ch_layout); result < 0)
            return result;
        if (int result = av_frame_get_buffer(frame, 0); result < 0)
            return result;
        av_audio_fifo_read(m_fifo.get(), reinterpret_cast<void**>(frame->data), frame->nb_samples);
        frame->pts = m_nextPts == AV_NOPTS_VALUE ? 0 : m_nextPts;
        m_nextPts = frame->pts + frame->nb_samples;
        if (int result = encodeAndWrite(frame); result < 0)
            return result;
    }
    return 0;
}
