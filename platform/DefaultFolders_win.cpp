#include "DefaultFolders.h"

QString DefaultFolders::output()
{
    return QStringLiteral("C:\\temp");
}

QString DefaultFolders::emptyOutputBox()
{
    return QStringLiteral("c:\\");
}
