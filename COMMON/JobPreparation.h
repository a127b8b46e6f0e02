#pragma once

struct ConversionJob;
struct Profile;

// Gives a freshly cleared settings block its defaults: output frame size 240 x 0.
void SettingsDefaults(ConversionJob* job);

// Stores what the engine needs from the profile's options, walked with the command line's
// omission rules: "vcodec" becomes the audience name, "s" (WxH, or the probed size when it
// has no "x") the output frame size. True when both arguments were given.
bool Prepare(ConversionJob* job, const Profile* profile);
