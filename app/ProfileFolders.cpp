#include "ProfileFolders.h"

#include "AppFolder.h"

#include <QFileInfo>
#include <QStandardPaths>

QString ProfileFolders::Shipped()
{
    return AppFolder::path() + QStringLiteral("profiles/");
}

QString ProfileFolders::User()
{
    if (QFileInfo(AppFolder::path()).isWritable())
        return AppFolder::path() + QStringLiteral("profiles/");
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/tovel/profiles/");
}
