#pragma once

#include "EncSession.h"

#include <string>

// Everything one encoding needs, read from a job's objects when it starts, so that the
// encoding thread works on plain values while the caller's objects may change.
struct EncodePlan
{
    std::string inputPath;
    std::string outputPath;
    std::string audienceName;
    double duration = 0; // seconds, 0 when unknown

    bool video = false;   // the input has video and the audience carries it
    int width = 0;        // 0 or less: the input's width
    int height = 0;       // 0 or less: from the width with the input's aspect ratio
    int videoBitrate = 0; // bits per second
    double maxFrameRate = 30;
    double keyFrameSeconds = 10;
    double startupLatency = 0; // seconds of video the player buffers; 0: no limit
    std::string complexity = "medium";
    bool blackLevel = false;

    bool audio = false; // the input has audio
    int audioBitrate = 0;
    int channels = 2;
    int sampleRate = 44100;
    double gainDb = 0;

    // Fills `plan` from `job`; ES_E_NOTCONFIGURED with a reason in `problem` when the job
    // lacks an input, an output, a destination, a media profile or an audience, ES_E_NOTIMPL
    // for more than one output or destination.
    static ESResult read(IESJob* job, EncodePlan& plan, std::string& problem);
};
