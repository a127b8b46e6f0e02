#include "AvsScriptReader.h"

#include <QFile>

bool AvsScriptReader::isScript(const QString& path)
{
    return path.endsWith(QLatin1String(".avs"), Qt::CaseInsensitive);
}

QString AvsScriptReader::sourceOf(const QString& scriptPath)
{
    QFile file(scriptPath);
    // A script is three short lines; anything huge is not ours.
    if (!file.open(QIODevice::ReadOnly) || file.size() > 64 * 1024)
        return QString();
    return sourceInText(file.readAll());
}

QString AvsScriptReader::sourceInText(const QByteArray& text)
{
    static const QByteArray opening("DirectShowSource(\"");
    static const QByteArray closing("\")");
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const qsizetype start = line.indexOf(opening);
        if (start < 0)
            continue;
        const qsizetype from = start + opening.size();
        const qsizetype end = line.lastIndexOf(closing);
        if (end < from)
            continue;
        return QFile::decodeName(line.mid(from, end - from));
    }
    return QString();
}
