#include "AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QMutex>

namespace {
QMutex g_overrideLock;
QString g_override;

QString withSeparator(QString folder)
{
    folder = QDir::fromNativeSeparators(folder);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}
} // namespace

QString AppFolder::path()
{
    {
        QMutexLocker lock(&g_overrideLock);
        if (!g_override.isEmpty())
            return g_override;
    }
    if (QCoreApplication::instance())
        return withSeparator(QCoreApplication::applicationDirPath());
    return QString();
}

void AppFolder::setOverride(const QString& folder)
{
    QMutexLocker lock(&g_overrideLock);
    g_override = folder.isEmpty() ? QString() : withSeparator(folder);
}
