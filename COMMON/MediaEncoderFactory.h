#pragma once

#include "CMediaEncoder.h"

#include <memory>

// A fresh encoder of `kind`: 0 the FFmpeg tool encoder, 1 the RealMedia producer driver.
// Null for any other kind.
std::unique_ptr<CMediaEncoder> CreateMediaEncoder(int kind);
