#pragma once

#include <QByteArray>

// Cuts a byte stream that arrives in pieces into lines: a line ends at a line feed, less one
// carriage return directly before it (also when the two arrive in different pieces). Both
// the engine reading the encoder tool and the tool reading ffmpeg read their child this way.
// Threads: one reader at a time.
class LineSplitter
{
public:
    // Hands each line completed by `data` to `deliver`, keeping the unfinished rest.
    template <typename Deliver> void feed(const char* data, qint64 size, Deliver&& deliver)
    {
        qint64 start = 0;
        for (qint64 i = 0; i < size; ++i) {
            if (data[i] != '\n')
                continue;
            qint64 end = i;
            if (end > start && data[end - 1] == '\r')
                --end;
            else if (end == start && m_pending.endsWith('\r'))
                m_pending.chop(1);
            m_pending.append(data + start, end - start);
            deliver(m_pending);
            m_pending.clear();
            start = i + 1;
        }
        m_pending.append(data + start, size - start);
    }
    template <typename Deliver> void feed(const QByteArray& data, Deliver&& deliver)
    {
        feed(data.constData(), data.size(), deliver);
    }

    // The unfinished rest (a last line without its line feed), emptied.
    QByteArray takeRest()
    {
        QByteArray rest;
        rest.swap(m_pending);
        return rest;
    }
    // Forgets the unfinished rest.
    void clear() { m_pending.clear(); }

private:
    QByteArray m_pending;
};
