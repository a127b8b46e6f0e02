#include "KeptFile.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>

bool KeptFile::write(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString KeptFile::setAside(const QString& path)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = path + QStringLiteral(".damaged-") + stamp;
    for (int n = 1; QFile::exists(aside); ++n)
        aside = path + QStringLiteral(".damaged-") + stamp + QStringLiteral("-%1").arg(n);
    if (QFile::rename(path, aside))
        return aside;
    QFile::remove(path);
    return QString();
}
