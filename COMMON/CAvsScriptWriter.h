#pragma once

#include <QString>

// The script fallback: an input that only the in-process detector could read is handed to
// the tool through a three-line AviSynth script that opens it with DirectShowSource.
class CAvsScriptWriter
{
public:
    // The script's file name inside the application folder; each use overwrites it.
    static constexpr const char* kScriptName = "edit.avs";

    // True when the tool always reads files with this name's extension itself (any case).
    static bool isDirectExtension(const QString& inputPath);

    // What writeScript did.
    enum Result
    {
        NotNeeded = 0, // a direct extension: nothing written
        Written = 1,
        Failed = -1 // the script could not be created or written whole
    };

    // Writes the script for `inputPath` to `scriptPath`, unless the extension is a direct one.
    static Result writeScript(const QString& scriptPath, const QString& inputPath);
};
