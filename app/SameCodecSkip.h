#pragma once

#include <QString>

struct ConversionJob;
struct Profile;

// Whether a row needs no work: its video is already in the profile's video codec (for an
// audio-only profile, its sound in the profile's audio codec) at no more than the profile's
// bit rate. Reads the source's streams in process. Any thread.
namespace SameCodecSkip {

// Why `job` needs no conversion ("already H.264 (h264) at 1,204 kbit/s, no more than the
// profile's 2,000"); empty when it must be converted. Stream copies and RealMedia are never
// skipped.
QString reason(const ConversionJob& job);

// Whether `profile` copies its streams instead of encoding them.
bool copies(const Profile& profile);

// libavcodec's name for the codec a profile value names ("H264" and "libx264" are "h264",
// "libx265" is "hevc"); the value in lower case when it names no other.
QString decoderNameOf(const QString& profileCodec);

} // namespace SameCodecSkip
