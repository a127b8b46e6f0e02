#include "CommandLineFiles.h"

#include <QDir>

QStringList CommandLineFiles(const QStringList& arguments, const QString& currentFolder)
{
    QStringList files;
    bool options = true;
    for (const QString& argument : arguments) {
        if (options && argument == QLatin1String("--")) {
            options = false;
            continue;
        }
        if (options && argument.size() > 1 && argument.startsWith(QLatin1Char('-')))
            continue;
        const QString path = QDir::fromNativeSeparators(argument);
        files << QDir::cleanPath(
            QDir::isRelativePath(path) ? currentFolder + QLatin1Char('/') + path : path);
    }
    return files;
}
