#include "FolderWatch.h"

#include "MediaAdmission.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString cleanAbsolute(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

FolderWatch::FolderWatch(const QString& folder, const QString& outputFolder)
    : m_folder(cleanAbsolute(folder)), m_outputFolder(cleanAbsolute(outputFolder))
{
}

bool FolderWatch::looksPartial(const QString& name)
{
    static const char* const kPartial[] = {".part", ".partial", ".crdownload", ".download",
                                           ".tmp",  ".temp",    ".!qb",        ".opdownload"};
    if (name.endsWith(QLatin1Char('~')))
        return true;
    for (const char* suffix : kPartial)
        if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    return false;
}

QStringList FolderWatch::poll()
{
    m_present = QFileInfo(m_folder).isDir();
    QStringList arrived;
    if (!m_present)
        return arrived;
    const QString outputs = m_outputFolder + QLatin1Char('/');
    QHash<QString, Seen> now;
    MediaAdmission::ForEachFolderFile(m_folder, [&](const QString& path) {
        const QFileInfo file(path);
        if (looksPartial(file.fileName()) || path.startsWith(outputs))
            return true;
        Seen seen{file.size(), file.lastModified(), false};
        const auto before = m_seen.constFind(path);
        if (before != m_seen.cend()) {
            const bool still = before->size == seen.size && before->modified == seen.modified;
            seen.handed = before->handed || (still && seen.size > 0);
            if (seen.handed && !before->handed)
                arrived << path;
        }
        now.insert(path, seen);
        return true;
    });
    // A file gone and back is a new arrival; one still there keeps its mark.
    m_seen = std::move(now);
    return arrived;
}
