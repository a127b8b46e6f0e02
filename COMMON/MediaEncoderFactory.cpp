#include "MediaEncoderFactory.h"

#include "CFfmpegEncoder.h"
#include "CRmProducerEncoder.h"

std::unique_ptr<CMediaEncoder> CreateMediaEncoder(EncoderKind kind)
{
    switch (kind) {
    case EncoderKind::FfmpegTool:
        return std::make_unique<CFfmpegEncoder>();
    case EncoderKind::RealMediaProducer:
        return std::make_unique<CRmProducerEncoder>();
    }
    return nullptr;
}
