#include "KeepSourceDate.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

bool KeepSourceDate(const QString& source, const QString& target)
{
    const QDateTime date = QFileInfo(source).fileTime(QFileDevice::FileModificationTime);
    if (!date.isValid())
        return false;
    QFile file(target);
    // Append: opened for writing (as Windows needs to set a time) without truncating.
    if (!file.open(QIODevice::Append))
        return false;
    return file.setFileTime(date, QFileDevice::FileModificationTime);
}
