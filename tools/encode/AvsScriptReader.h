#pragma once

#include <QString>

// Reads the converter's generated AviSynth script (edit.avs) for the file it opens.
class AvsScriptReader
{
public:
    // True when `path` names a script by its extension (".avs", any case).
    static bool isScript(const QString& path);

    // The file named by the script's DirectShowSource("...") line: everything between the
    // opening `DirectShowSource("` and the last `")` of that line, so names holding quotes or
    // parentheses survive. Empty when the file cannot be read or has no such line.
    static QString sourceOf(const QString& scriptPath);

    // The same rule applied to the script's text (8-bit, in the local file-name encoding).
    static QString sourceInText(const QByteArray& text);
};
