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

    // Writes the script for `inputPath` to `scriptPath`, unless the extension is a direct one
    // (then nothing is written and the result is 0). Otherwise 1, written or not: a script
    // that could not be created makes the tool fail, and the output check reports it.
    static int writeScript(const QString& scriptPath, const QString& inputPath);
};
