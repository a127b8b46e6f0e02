#pragma once

#include "ProfileProblem.h"

class EncoderCatalogue;
struct Profile;

// Whether an FFmpeg can make a profile: its codec values go through the same renaming the
// command line (CEncoderCommandBuilder) and the encoder tool (CodecNames) apply, and each
// resulting encoder, and the output format, must be there. Pure; any thread.
namespace ProfileAvailability {

// An Unavailable problem naming the missing encoder or format; none when `ffmpeg` has all.
// RealMedia profiles go to the producer library and are never unavailable here.
ProfileProblem Missing(const Profile& profile, const EncoderCatalogue& ffmpeg);

} // namespace ProfileAvailability
