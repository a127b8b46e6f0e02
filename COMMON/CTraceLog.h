#pragma once

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QString>
#include <thread>

// trace.log: every encoder command line and all the tool printed during one program run.
// Threads: written by the batch's workers; the lock keeps one writer at a time. Where several
// rows convert at once, each worker keeps its row's lines in a block of its own, written whole
// when the row ends, so that the rows' outputs never interleave.
class CTraceLog
{
public:
    explicit CTraceLog(const QString& path);

    // Appends `text` unchanged and flushes at once, or adds it to the calling thread's open
    // block. The first write of the run opens the file and empties it; a failed open is retried
    // at the next write. A null text does nothing.
    void write(const QByteArray& text);

    // From now on the calling thread's writes wait in a block of their own.
    void beginBlock();
    // Writes the calling thread's block at once and ends it; nothing when none is open.
    void endBlock();

    // The file this log writes to.
    QString path() const { return m_path; }

private:
    void append(const QByteArray& text); // with m_lock held

    QString m_path;
    QFile m_file;
    QMutex m_lock;
    QHash<std::thread::id, QByteArray> m_blocks; // by the thread whose block it is
};
