#include "CTraceLog.h"

CTraceLog::CTraceLog(const QString& path) : m_path(path) {}

void CTraceLog::write(const QByteArray& text)
{
    if (text.isNull())
        return;
    QMutexLocker lock(&m_lock);
    if (!m_file.isOpen()) {
        m_file.setFileName(m_path);
        // Append mode: the producer library appends its own lines to the same file.
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Append))
            return;
    }
    m_file.write(text);
    m_file.flush();
}
