#include "CAudience.h"

#include "CStream.h"

CAudience::CAudience(const AudienceFile& audience)
{
    PropertyStore& own = properties();
    own.set("name", audience.name);
    own.set("totalBitrate", audience.totalBitrate);
    own.set("videoBitrate", audience.videoBitrate);
    own.set("audioBitrate", audience.audioBitrate);
    own.set("maxFrameRate", audience.maxFrameRate);
    own.set("channels", audience.channels);
    own.set("sampleRate", audience.sampleRate);

    if (audience.videoBitrate > 0) {
        PropertyStore video;
        video.set("pluginType", std::string(CStream::kVideo));
        video.set("bitrate", audience.videoBitrate);
        video.set("maxFrameRate", audience.maxFrameRate);
        auto* stream = new CStream(video);
        m_streams.add(stream);
        stream->Release();
    }
    PropertyStore audio;
    audio.set("pluginType", std::string(CStream::kAudio));
    audio.set("bitrate", audience.audioBitrate);
    audio.set("channels", audience.channels);
    audio.set("sampleRate", audience.sampleRate);
    auto* stream = new CStream(audio);
    m_streams.add(stream);
    stream->Release();
}
