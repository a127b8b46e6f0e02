#pragma once

#include "ConversionSettings.h"
#include "MediaInfo.h"
#include "Profile.h"
#include "RunOutcome.h"

#include <QString>
#include <memory>

// One row of the job list: what to convert, what the probe learned and the row's own profile.
// Owned by its row; moved, never copied (it owns its Profile).
// Threads: filled on the UI thread at admission. During a batch the worker writes settings,
// outputPath, progressDuration and outcome, and only reads the rest, which no thread writes
// until the batch has ended (the commands that would are disabled); the UI thread meanwhile
// reads only that rest (Copy Command Line, the preview, the kept job list).
struct ConversionJob
{
    ConversionSettings settings; // cleared and defaulted at the start of each conversion
    MediaInfo media;             // written by the probe at admission
    QString inputPath;           // full path as the file dialog or the drop delivered it
    QString outputPath;          // empty until the job's conversion starts
    // Where the file stood under a folder the user added, relative to that folder; its output
    // goes to the same sub-folder of the output folder. Empty for a file added by itself.
    QString outputSubfolder;
    double progressDuration = 0;      // copied from media.duration by the batch before converting
    int reservedValue = 0;            // handed to the encoder's Run, unused
    RunOutcome outcome;               // how its last conversion ended (written by the engine)
    std::unique_ptr<Profile> profile; // "Format" picks the engine, "ExtName" the extension
};
