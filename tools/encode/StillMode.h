#pragma once

#include "LegacyCommandLine.h"

#include <QString>
#include <QStringList>

// One picture of a conversion instead of the conversion: the line translated as a batch would
// run it, one frame at a moment of the source through the same picture filters, as a PNG the
// shape a player shows. The engine asks for it through EncoderToolContract::kStillVariable.
// Tool's main thread; blocks until ffmpeg is done.
class StillMode
{
public:
    // The moment asked for, in seconds into the source; false when no still is asked.
    static bool asked(double& seconds);

    // Writes the still of `line` (its output a PNG path) at `seconds` of `input` (resolved);
    // returns the exit code (0 with the picture written).
    static int run(const LegacyCommandLine& line, const QString& input, double seconds,
                   const QString& ffmpeg, const QString& toolFolder);

    // ffmpeg's arguments for the one frame at `seconds` of a translation's `arguments`, into
    // `png`: the input seeked, sound, subtitles and data left out.
    static QStringList frameArguments(const QStringList& arguments, double seconds,
                                      const QString& png);
};
