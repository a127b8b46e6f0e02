#pragma once

#include "AvHandles.h"

#include <functional>
#include <string>

// The steps both stream pipelines share.
namespace AvCodecs {

// The first stream of `kind` in `in` that is real media, not a cover picture; -1 when none.
int findStream(AVFormatContext* in, AVMediaType kind);

// A decoder for `stream`, opened with as many threads as libav sees fit; null with `error`.
CodecContextPtr openDecoder(const AVStream* stream, std::string& error);

// Sends `frame` (null: the end) to `encoder` and writes every packet it gives into `stream`
// of `out`. 0 or an libav error code.
int encodeAndWrite(AVCodecContext* encoder, const AVFrame* frame, AVFormatContext* out,
                   AVStream* stream, AVPacket* packet);

// Takes every frame `decoder` has ready into `frame` and hands it to `use`, then unrefs it;
// damaged frames are skipped. 0 once the decoder wants more input or has ended, else the
// first error of the decoder or of `use`.
int drainDecoder(AVCodecContext* decoder, AVFrame* frame, const std::function<int(AVFrame*)>& use);

} // namespace AvCodecs
