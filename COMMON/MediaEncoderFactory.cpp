#include "MediaEncoderFactory.h"

#include "CFfmpegEncoder.h"
#include "CUnavailableEncoder.h"

std::unique_ptr<CMediaEncoder> CreateMediaEncoder(int kind)
{
    switch (kind) {
    case 0:
        return std::make_unique<CFfmpegEncoder>();
    case 1:
        return std::make_unique<CUnavailableEncoder>();
    default:
        return nullptr;
    }
}
