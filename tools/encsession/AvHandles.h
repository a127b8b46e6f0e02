#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>
#include <string>

// Owning handles for the libav objects of an encoding, freed by their own free functions.
struct AvFree
{
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
    void operator()(AVFrame* f) const { av_frame_free(&f); }
    void operator()(AVPacket* p) const { av_packet_free(&p); }
    void operator()(SwsContext* s) const { sws_freeContext(s); }
    void operator()(SwrContext* s) const { swr_free(&s); }
    void operator()(AVAudioFifo* f) const { av_audio_fifo_free(f); }
};

using CodecContextPtr = std::unique_ptr<AVCodecContext, AvFree>;
using FramePtr = std::unique_ptr<AVFrame, AvFree>;
using PacketPtr = std::unique_ptr<AVPacket, AvFree>;
using SwsPtr = std::unique_ptr<SwsContext, AvFree>;
using SwrPtr = std::unique_ptr<SwrContext, AvFree>;
using AudioFifoPtr = std::unique_ptr<AVAudioFifo, AvFree>;

// libav's text for error `code`.
inline std::string AvErrorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

// The libav address of a local file, so that no part of its name is taken for a protocol.
inline std::string FileUrl(const std::string& path)
{
    return "file:" + path;
}
