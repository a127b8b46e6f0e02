#include "OutputFolder.h"

#include <QDir>
#include <QFileInfo>

int MakeOutputFolder(const QString& folderText)
{
    QString folder = QDir::fromNativeSeparators(folderText);
    if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    if (folder.isEmpty())
        return -1;
    const QString absolute = QDir::cleanPath(QDir(folder).absolutePath());
    if (QFileInfo(absolute).isDir())
        return -1; // it exists: nothing to create

    // The levels below the deepest one that exists, made from the top down.
    QStringList missing;
    QString level = absolute;
    while (!QFileInfo::exists(level)) {
        missing.prepend(level);
        const QString parent = QFileInfo(level).path();
        if (parent == level)
            return -1;
        level = parent;
    }
    // A file where a folder should be: nothing can be made under it.
    if (!QFileInfo(level).isDir())
        return -1;
    for (const QString& path : std::as_const(missing))
        if (!QDir().mkdir(path))
            return -1;
    return 0;
}
