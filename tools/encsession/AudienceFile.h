#pragma once

#include <cstdint>
#include <optional>
#include <string>

// One audience file: a target connection's name, rates and audio layout.
// The format is "key=value" lines; blank lines and lines starting with '#' are skipped.
struct AudienceFile
{
    std::string name;
    int32_t totalBitrate = 0; // bits per second, all streams together
    int32_t videoBitrate = 0; // 0: the audience carries no video
    int32_t audioBitrate = 0;
    double maxFrameRate = 0;
    int32_t channels = 0;   // 1, 2 or 6
    int32_t sampleRate = 0; // samples per second

    // The audience in `text`; nothing when a key is missing, unknown or out of range.
    static std::optional<AudienceFile> parse(const std::string& text);
};
