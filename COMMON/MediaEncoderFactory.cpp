#include "MediaEncoderFactory.h"

#include "CFfmpegEncoder.h"
#include "CRmProducerEncoder.h"

std::unique_ptr<CMediaEncoder> CreateMediaEncoder(int kind)
{
    switch (kind) {
    case 0:
        return std::make_unique<CFfmpegEncoder>();
    case 1:
        return std::make_unique<CRmProducerEncoder>();
    default:
        return nullptr;
    }
}
