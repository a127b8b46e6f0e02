#pragma once

#include <QByteArray>

// The profile-derived settings and working state of one conversion. Reset to a
// value-initialised block and given SettingsDefaults() before every conversion of a job.
struct ConversionSettings
{
    QByteArray audienceName; // the profile's "vcodec" value; read by the RealMedia encoder
    int outputWidth = 0;
    int outputHeight = 0;
    // What the encoder tool may do with the machine: cut a long video into segments, and fill
    // this many processors (0: all of them), the rows converting at once sharing the machine.
    bool segments = true;
    int processors = 0;
};
