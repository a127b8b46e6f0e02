#include "DefaultFolders.h"

#include <QDir>
#include <QStandardPaths>

QString DefaultFolders::output()
{
    const QString movies = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    return movies.isEmpty() ? QDir::homePath() : movies;
}

QString DefaultFolders::emptyOutputBox()
{
    return QDir::homePath();
}
