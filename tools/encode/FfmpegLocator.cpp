#include "FfmpegLocator.h"

#include <QStandardPaths>

QString FfmpegLocator::find(const QString& toolFolder)
{
    const QString name = QStringLiteral("ffmpeg");
    // findExecutable adds the platform's program suffix (".exe") where there is one.
    const QString beside = QStandardPaths::findExecutable(name, {toolFolder});
    return beside.isEmpty() ? QStandardPaths::findExecutable(name) : beside;
}
