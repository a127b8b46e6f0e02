#pragma once

#include "CMediaEncoder.h"
#include "EncoderKind.h"

#include <memory>

// A fresh encoder of `kind`: the FFmpeg tool encoder or the RealMedia producer driver.
// Null for any other value.
std::unique_ptr<CMediaEncoder> CreateMediaEncoder(EncoderKind kind);
