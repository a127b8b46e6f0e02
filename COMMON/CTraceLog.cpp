#include "CTraceLog.h"

CTraceLog::CTraceLog(const QString& path) : m_path(path) {}

void CTraceLog::write(const QByteArray& text)
{
    if (text.isNull())
        return;
    QMutexLocker lock(&m_lock);
    if (const auto block = m_blocks.find(std::this_thread::get_id()); block != m_blocks.end())
        block->append(text);
    else
        append(text);
}

void CTraceLog::beginBlock()
{
    QMutexLocker lock(&m_lock);
    m_blocks.insert(std::this_thread::get_id(), QByteArray(""));
}

void CTraceLog::endBlock()
{
    QMutexLocker lock(&m_lock);
    const QByteArray block = m_blocks.take(std::this_thread::get_id());
    if (!block.isEmpty())
        append(block);
}

void CTraceLog::append(const QByteArray& text)
{
    if (!m_file.isOpen()) {
        m_file.setFileName(m_path);
        // Append mode: the producer library appends its own lines to the same file.
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Append))
            return;
    }
    m_file.write(text);
    m_file.flush();
}
