#pragma once

#include "AvHandles.h"

#include <string>

// What the audio and the video pipeline share: one input stream's decoder feeding one output
// stream's encoder, packets pushed in and everything held flushed out at the end. A kind of
// pipeline says what becomes of each decoded frame. Threads: the encoding thread only.
class StreamPipeline
{
public:
    StreamPipeline(const StreamPipeline&) = delete;
    StreamPipeline& operator=(const StreamPipeline&) = delete;
    virtual ~StreamPipeline();

    // Decodes one packet of the input stream and encodes what it completes. 0 or an error.
    int push(const AVPacket* packet);
    // Encodes what the decoder still holds (unless `drainDecoder` is false), what the pipeline
    // keeps between decoder and encoder, and what the encoder holds. 0 or an error.
    int finish(bool drainDecoder);

protected:
    StreamPipeline() = default;

    // One decoded frame on its way to the encoder. 0 or an error.
    virtual int encodeDecoded(const AVFrame* decoded) = 0;
    // The decoder has given its last frame (`drained` false: it was not asked to): what the
    // pipeline still keeps goes to the encoder. 0 or an error.
    virtual int flushKept(bool /*drained*/) { return 0; }

    // Opens the decoder for `stream` of `in` and the frame and packet buffers; false with
    // `error`.
    bool openInput(AVFormatContext* in, AVStream* stream, AVFormatContext* out, std::string& error);
    // Adds the output stream the opened encoder writes, in the encoder's time base; false
    // with `error`, which names the stream as `kind` ("audio", "video").
    bool addOutputStream(const char* kind, std::string& error);
    // Encodes `frame` (null: the end) and writes its packets. 0 or an error.
    int encodeAndWrite(const AVFrame* frame);

    AVFormatContext* m_out = nullptr;
    AVStream* m_inStream = nullptr;
    AVStream* m_outStream = nullptr;
    CodecContextPtr m_decoder;
    CodecContextPtr m_encoder;
    int64_t m_start = 0; // the input's start in the stream's time base

private:
    int drainDecoder();

    FramePtr m_decoded;
    PacketPtr m_packet;
};
