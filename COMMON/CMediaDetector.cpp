#include "CMediaDetector.h"

#include "MediaInfo.h"
#include "MediaProbe.h"

bool CMediaDetector::detect(const QString& path, MediaInfo& info)
{
    const int probedByDirectShow = info.probedByDirectShow;
    info = MediaInfo{};
    info.probedByDirectShow = probedByDirectShow;

    const MediaProbeResult found = ProbeMediaFile(path);
    if (!found.ok)
        return false;
    info.hasVideo = found.hasVideo ? 1 : 0;
    info.hasAudio = found.hasAudio ? 1 : 0;
    if (found.hasVideo) {
        info.frameRate = found.frameRate;
        info.width = found.width;
        info.height = found.height < 0 ? -found.height : found.height;
        info.videoBitRate = int(found.videoBitRate);
    }
    if (found.hasAudio) {
        info.audioBitRate = double(found.audioBitRate);
        info.audioSampleRate = double(found.sampleRate);
        info.audioChannels = found.channels;
    }
    // The longer of the two stream lengths; 0 for a still picture, which has none.
    info.duration = found.duration;
    return true;
}
