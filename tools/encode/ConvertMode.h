#pragma once

#include "LegacyCommandLine.h"

#include <QString>

// One conversion: resolves the input (through edit.avs when named), checks it can be read,
// translates the legacy options, reports those it cannot honour and runs ffmpeg.
class ConvertMode
{
public:
    // Runs the conversion described by `line`; returns the exit code (0 on success).
    // `toolFolder` is this tool's folder, searched first for ffmpeg.
    static int run(const LegacyCommandLine& line, const QString& toolFolder);

    // The file to convert: the script's source for an .avs input, else the input itself.
    // Empty (and `why` set) when a script names no source.
    static QString resolveInput(const QString& input, QString& why);
};
