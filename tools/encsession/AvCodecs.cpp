#include "AvCodecs.h"

namespace {

bool isCoverPicture(const AVStream* stream)
{
    return stream->disposition & AV_DISPOSITION_ATTACHED_PIC;
}

} // namespace

int AvCodecs::findStream(AVFormatContext* in, AVMediaType kind)
{
    const int best = av_find_best_stream(in, kind, -1, -1, nullptr, 0);
    if (best >= 0 && !isCoverPicture(in->streams[best]))
        return best;
    for (unsigned i = 0; i < in->nb_streams; ++i)
        if (in->streams[i]->codecpar->codec_type == kind && !isCoverPicture(in->streams[i]))
            return int(i);
    return -1;
}

CodecContextPtr AvCodecs::openDecoder(const AVStream* stream, std::string& error)
{
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) {
        error = std::string("no decoder for ") + avcodec_get_name(stream->codecpar->codec_id);
        return nullptr;
    }
    CodecContextPtr decoder(avcodec_alloc_context3(codec));
    if (!decoder) {
        error = "out of memory";
        return nullptr;
    }
    int result = avcodec_parameters_to_context(decoder.get(), stream->codecpar);
    if (result >= 0) {
        decoder->pkt_timebase = stream->time_base;
        decoder->thread_count = 0;
        result = avcodec_open2(decoder.get(), codec, nullptr);
    }
    if (result < 0) {
        error = std::string("cannot open the ") + codec->name + " decoder: " + AvErrorText(result);
        return nullptr;
    }
    return decoder;
}

int AvCodecs::encodeAndWrite(AVCodecContext* encoder, const AVFrame* frame, AVFormatContext* out,
                             AVStream* stream, AVPacket* packet)
{
    int result = avcodec_send_frame(encoder, frame);
    if (result < 0)
        return result;
    for (;;) {
        result = avcodec_receive_packet(encoder, packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return 0;
        if (result < 0)
            return result;
        av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
        packet->stream_index = stream->index;
        result = av_interleaved_write_frame(out, packet);
        if (result < 0)
            return result;
    }
}

int AvCodecs::drainDecoder(AVCodecContext* decoder, AVFrame* frame,
                           const std::function<int(AVFrame*)>& use)
{
    for (;;) {
        int result = avcodec_receive_frame(decoder, frame);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return 0;
        if (result == AVERROR_INVALIDDATA)
            continue;
        if (result < 0)
            return result;
        result = use(frame);
        av_frame_unref(frame);
        if (result < 0)
            return result;
    }
}
