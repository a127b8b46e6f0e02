// edit.avs. Input: the script's text, which is also tried as the name of a file the converter
// writes a script for.
// Reading any text must never fail unsafely, and a script written for a one-line name must
// read back that name.
#include "AvsScriptReader.h"
#include "CAvsScriptWriter.h"
#include "FuzzSupport.h"

#include <QFile>

using namespace FuzzSupport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text = bytes(data, size);
    AvsScriptReader::sourceInText(text);

    // Names the file system can hold: one line, no NUL, as the local encoding gives them.
    const QString name = QFile::decodeName(text);
    if (name.isEmpty() || name.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('\r')) ||
        name.contains(QChar(0)) || CAvsScriptWriter::isDirectExtension(name))
        return 0;
    QTemporaryFile script;
    if (!script.open())
        return 0;
    check(CAvsScriptWriter::writeScript(script.fileName(), name) == 1, "script not written");
    check(AvsScriptReader::sourceOf(script.fileName()) == name, "script names another file");
    return 0;
}
