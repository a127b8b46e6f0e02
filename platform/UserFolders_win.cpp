#include "UserFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace {

QString under(QStandardPaths::StandardLocation location, const QString& sub)
{
    QString folder = QStandardPaths::writableLocation(location);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir::fromNativeSeparators(folder) + QLatin1Char('/') + sub;
}

} // namespace

QString UserFolders::config()
{
    return under(QStandardPaths::GenericConfigLocation, QStringLiteral("tovel/"));
}

QString UserFolders::state()
{
    return under(QStandardPaths::GenericDataLocation, QStringLiteral("tovel/state/"));
}

QString UserFolders::data()
{
    return under(QStandardPaths::GenericDataLocation, QStringLiteral("tovel/"));
}
