#pragma once

#include "LegacyCommandLine.h"

#include <QString>

class ChildLifetime;
class StdinWatcher;

// A conversion that may be cut into segments: decided on the real translation, the input's
// probe and its key frames before ffmpeg starts, then run cut or whole. Whichever way it runs,
// no shortened file stays under the output's name, and the work folder goes once the output is
// written. Tool's main thread.
class CuttingDecision
{
public:
    // True when the quick translation `arguments` could be cut and the engine did not say no:
    // the decision is then worth the wait for the FFmpeg module.
    static bool worthDeciding(const QStringList& arguments);

    // Converts `input` (the resolved file of `line`) with `ffmpeg`; returns the exit code.
    static int run(const LegacyCommandLine& line, const QString& input, const QString& ffmpeg,
                   const QString& toolFolder, StdinWatcher& watcher, ChildLifetime& lifetime);
};
