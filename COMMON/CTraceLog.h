#pragma once

#include <QByteArray>
#include <QFile>
#include <QMutex>
#include <QString>

// trace.log: every encoder command line and all the tool printed during one program run.
// Threads: written by the batch worker; the lock keeps one writer at a time.
class CTraceLog
{
public:
    explicit CTraceLog(const QString& path);

    // Appends `text` unchanged and flushes at once. The first write of the run opens the file
    // and empties it; a failed open is retried at the next write. A null text does nothing.
    void write(const QByteArray& text);

    // The file this log writes to.
    QString path() const { return m_path; }

private:
    QString m_path;
    QFile m_file;
    QMutex m_lock;
};
