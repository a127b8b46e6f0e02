#pragma once

#include "LegacyCommandLine.h"

#include <QString>
#include <QStringList>

class FfmpegCatalogue;

// The fixed knowledge of how each option of the old tool's language fares in FFmpeg 5.1:
// renamed, refused, or carried by a filter; and the wording of the lines that say so.
class LegacyOptionRules
{
public:
    // Whether a renamed option takes a value is the option table's word
    // (LegacyCommandLine::takesValue), as for the command-line parser.
    struct Rename
    {
        const char* legacy;
        const char* modern;      // with its dash and stream specifier ("-b:v")
        const char* modernValue; // a fixed value replacing the legacy one, or null
    };

    // The rename rule for `name`, or null when the option needs more than a new name.
    static const Rename* rename(const QString& name);
    // The value to write for a renamed option (old pixel format names made current).
    static QString modernValue(const LegacyOption& option);
    // The line that refuses or ignores `option`; empty when the option is honoured.
    static QString refusal(const LegacyOption& option);
    // True for the options that become part of a filter chain.
    static bool isFilterOption(const QString& name);
    // True when some codec, format or protocol of `ffmpeg` has an option of that name.
    static bool isModernOption(const QString& name, const FfmpegCatalogue& ffmpeg);

    // The line saying `option` was not used, and why.
    static QString ignored(const LegacyOption& option, const QString& reason);
    // The line saying the value of `option` could not be read, so it was not used.
    static QString badValue(const LegacyOption& option);
    // ffmpeg's map for the old form "file:stream[:syncfile:syncstream]" (any single character
    // between the numbers); empty when it names another file than the one input.
    static QStringList mapArguments(const QString& value);
    // ffmpeg's motion search option for the old `-me` method `value` with `videoCodec`; empty
    // when this FFmpeg has no such method.
    static QStringList motionEstimation(const QString& value, const QString& videoCodec);
};
