#include "OutputFolder.h"

#include <QDir>

int MakeOutputFolder(const QString& folderText)
{
    QString folder = folderText;
    if (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    if (QDir::setCurrent(folder))
        return -1; // it exists: nothing to create
    const qsizetype slash = folder.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return -1;
    const QString parent = folder.left(slash);
    QString leaf;
    // A folder right under a root ("/out", "D:/out") is created by its whole text.
    if (parent.isEmpty() || QDir(parent + QLatin1Char('/')).isRoot()) {
        leaf = folder;
    } else {
        leaf = folder.mid(slash + 1);
        const QString absoluteParent = QDir(parent).absolutePath(); // before any level is entered
        MakeOutputFolder(parent);
        // Creating the leaf relative to wherever the parent's creation stopped would put a
        // stray folder in the wrong place.
        if (!QDir::setCurrent(absoluteParent))
            return -1;
    }
    if (leaf.isEmpty() || !QDir().mkdir(leaf) || !QDir::setCurrent(leaf))
        return -1;
    return 0;
}
