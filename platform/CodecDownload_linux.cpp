#include "CodecDownload.h"

#include "AppFolder.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

bool StartCodecDownload()
{
    const QFileInfo beside(AppFolder::path() + QStringLiteral("CodecDownload"));
    QString program;
    if (beside.isFile() && beside.isExecutable())
        program = beside.absoluteFilePath();
    else
        program = QStandardPaths::findExecutable(QStringLiteral("CodecDownload"));
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, QStringList(), AppFolder::path());
}
