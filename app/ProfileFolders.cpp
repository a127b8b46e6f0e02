#include "ProfileFolders.h"

#include "WriteLocations.h"

QString ProfileFolders::Shipped(const WriteLocations& where)
{
    return where.appFolder() + QStringLiteral("profiles/");
}

QString ProfileFolders::User(const WriteLocations& where)
{
    return where.dataFolder() + QStringLiteral("profiles/");
}
