#pragma once

#include "EncodePlan.h"
#include "StreamPipeline.h"

#include <memory>
#include <string>

// One video stream from the input to RealVideo 2.0 in the output: decode, drop frames above
// the audience's frame rate, scale to the frame size, clamp black to legal levels (the
// black-level pre-filter) and encode. Threads: the encoding thread only.
class VideoPipeline : public StreamPipeline
{
public:
    // Decoder and encoder for `stream` of `in`, with a new stream in `out`; null with `error`.
    // `summary` says what the output will be.
    static std::unique_ptr<VideoPipeline> open(AVFormatContext* in, AVStream* stream,
                                               AVFormatContext* out, const EncodePlan& plan,
                                               std::string& error, std::string& summary);
    ~VideoPipeline() override;

    // The frame size an input of `width` x `height` with `sampleAspect` gets for the plan's
    // size; RealVideo wants both sides a multiple of 4.
    static void frameSize(const EncodePlan& plan, int width, int height, AVRational sampleAspect,
                          int& outWidth, int& outHeight);

    // Where the picture goes inside a fixed frame: RealMedia carries no aspect, so a picture of
    // another shape is scaled to fit and the rest of the frame stays black. The whole frame
    // when the shapes agree.
    static void pictureRect(int frameWidth, int frameHeight, int width, int height,
                            AVRational sampleAspect, int& x, int& y, int& pictureWidth,
                            int& pictureHeight);

private:
    VideoPipeline() = default;
    // Drops the frame above the frame rate, else scales it into the frame and encodes it.
    int encodeDecoded(const AVFrame* decoded) override;

    SwsPtr m_scaler;
    FramePtr m_scaled;
    int64_t m_lastPts = AV_NOPTS_VALUE;
    int64_t m_nextInputPts = 0;
    bool m_blackLevel = false;
    int m_x = 0, m_y = 0, m_pictureWidth = 0, m_pictureHeight = 0; // the picture in the frame
};
