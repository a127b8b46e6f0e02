#pragma once

#include "AvHandles.h"

#include <string>

// The steps both stream pipelines share.
namespace AvCodecs {

// A decoder for `stream`, opened with as many threads as libav sees fit; null with `error`.
CodecContextPtr openDecoder(const AVStream* stream, std::string& error);

// Sends `frame` (null: the end) to `encoder` and writes every packet it gives into `stream`
// of `out`. 0 or an libav error code.
int encodeAndWrite(AVCodecContext* encoder, const AVFrame* frame, AVFormatContext* out,
                   AVStream* stream, AVPacket* packet);

} // namespace AvCodecs
