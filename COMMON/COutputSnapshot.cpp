#include "COutputSnapshot.h"

#include "FileDates.h"

#include <QFile>
#include <QFileInfo>

COutputSnapshot::COutputSnapshot(const QString& path) : m_path(path)
{
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    m_existed = info.exists() || info.isSymLink();
    m_size = info.size();
    m_modified = FileDates::modified(path);
}

bool COutputSnapshot::writtenSince() const
{
    if (m_path.isEmpty())
        return false;
    const QFileInfo info(m_path);
    if (info.isSymLink() || !info.isFile())
        return false;
    return !m_existed || info.size() != m_size || FileDates::modified(m_path) != m_modified;
}

bool COutputSnapshot::removeIfWritten() const
{
    return writtenSince() && QFile::remove(m_path);
}
