#pragma once

#include <QString>

struct MediaInfo;

// The program's own media detector: an in-process look at the file's headers.
class CMediaDetector
{
public:
    // Zeroes every field of `info` but probedByDirectShow, then fills what the file's streams
    // tell: the duration is the longer stream's length, 0 for a still picture. False for an
    // empty, missing or unreadable file (the fields then stay 0). Any thread.
    static bool detect(const QString& path, MediaInfo& info);
};
