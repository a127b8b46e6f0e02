#pragma once

// The probed facts of one media file, written by the probe when the file is admitted.
struct MediaInfo
{
    double duration = 0;        // seconds; after a successful probe the measured length + 1
    double frameRate = 0;       // frames per second (media detector only)
    int videoBitRate = 0;       // bits per second as the detector reports it (detector only)
    int width = 0;              // frame width in pixels
    int height = 0;             // frame height in pixels, always positive
    double audioBitRate = 0;    // bits per second (detector only)
    double audioSampleRate = 0; // samples per second (detector only)
    int audioChannels = 0;      // (detector only)
    int hasVideo = 0;           // 0/1
    int hasAudio = 0;           // 0/1
    int probedByDirectShow = 0; // 1: the in-process detector answered, 0: the encoder tool did
};
