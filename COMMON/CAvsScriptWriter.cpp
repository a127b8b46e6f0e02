#include "CAvsScriptWriter.h"

#include <QFile>
#include <QFileInfo>

bool CAvsScriptWriter::isDirectExtension(const QString& inputPath)
{
    static const char* const kDirect[] = {
        ".swf", ".flv",  ".vob",  ".vro",  ".wmv", ".rm",  ".rmvb", ".vbo", ".asf", ".ram",  ".m4v",
        ".ra",  ".h264", ".h261", ".h263", ".mpg", ".avi", ".3gp",  ".mp4", ".mov", ".mpeg",
    };
    // The extension is taken from the file name only, never from a folder with a dot.
    const QString name = QFileInfo(inputPath).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QString extension = name.mid(dot);
    for (const char* direct : kDirect) {
        if (extension.compare(QLatin1String(direct), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

CAvsScriptWriter::Result CAvsScriptWriter::writeScript(const QString& scriptPath,
                                                       const QString& inputPath)
{
    if (isDirectExtension(inputPath))
        return NotNeeded;
    QFile script(scriptPath);
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return Failed;
    // Text-mode lines of the script's home platform: CR LF, no line end after the last.
    QByteArray text;
    text += "LoadPlugin(\"plugin\\DirectShowSource.dll\")\r\n";
    text += "DirectShowSource(\"" + QFile::encodeName(inputPath) + "\")\r\n";
    text += "return last";
    // A full disk shows only when the buffer goes out.
    return script.write(text) == text.size() && script.flush() ? Written : Failed;
}
