// The in-process media probe on mutated small media files. Input: the file's bytes.
// Probing must never fail unsafely, and what it reports must be consistent.
#include "FuzzSupport.h"
#include "MediaProbe.h"

#include <cmath>

extern "C" {
#include <libavutil/log.h>
}

using namespace FuzzSupport;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    av_log_set_level(AV_LOG_QUIET);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QTemporaryFile file;
    if (!writeTemporary(file, bytes(data, size)))
        return 0;
    const MediaProbeResult r = ProbeMediaFile(file.fileName());
    if (!r.ok)
        return 0;
    check(r.hasVideo || r.hasAudio, "a file without streams reported");
    check(!r.hasVideo || (r.width > 0 && r.height > 0), "video without a frame size");
    check(!r.hasAudio || r.sampleRate > 0, "sound without a sample rate");
    check(std::isfinite(r.duration) && r.duration >= 0 && r.duration >= r.videoDuration &&
              r.duration >= r.audioDuration,
          "duration not the longer stream's");
    check(std::isfinite(r.frameRate) && r.frameRate >= 0, "frame rate not a number");
    check(!r.isStillPicture || r.videoDuration == 0, "still picture with a length");
    check(!r.demuxer.isEmpty(), "no demuxer named");
    return 0;
}
