#include "CAudience.h"

#include "CStream.h"

CAudience::CAudience(const AudienceSpec& spec)
{
    PropertyStore& own = properties();
    own.set("name", spec.name);
    own.set("totalBitrate", spec.totalBitrate);
    own.set("videoBitrate", spec.videoBitrate);
    own.set("audioBitrate", spec.audioBitrate);
    own.set("maxFrameRate", spec.maxFrameRate);
    own.set("channels", spec.channels);
    own.set("sampleRate", spec.sampleRate);

    if (spec.videoBitrate > 0) {
        PropertyStore video;
        video.set("pluginType", std::string(CStream::kVideo));
        video.set("bitrate", spec.videoBitrate);
        video.set("maxFrameRate", spec.maxFrameRate);
        auto* stream = new CStream(video);
        m_streams.add(stream);
        stream->Release();
    }
    PropertyStore audio;
    audio.set("pluginType", std::string(CStream::kAudio));
    audio.set("bitrate", spec.audioBitrate);
    audio.set("channels", spec.channels);
    audio.set("sampleRate", spec.sampleRate);
    auto* stream = new CStream(audio);
    m_streams.add(stream);
    stream->Release();
}
