#pragma once

#include <QString>

// Finds the ffmpeg program: the one beside this tool first, else the one on the search path.
class FfmpegLocator
{
public:
    // The full path, or empty when there is none. `toolFolder` is this tool's own folder.
    static QString find(const QString& toolFolder);
};
