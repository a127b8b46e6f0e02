#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// What lay at a job's output path before its conversion, so that a failed conversion removes
// only the file it wrote itself: never a folder, a link, a device or a file it did not touch.
// Threads: the batch worker.
class COutputSnapshot
{
public:
    // Notes what lies at `path` now (nothing, or a file with its size and time).
    explicit COutputSnapshot(const QString& path);
    // True when `path` is now a regular file that was made or changed since the snapshot.
    bool writtenSince() const;
    // Removes the file at `path` when writtenSince(); true when it removed one.
    bool removeIfWritten() const;

private:
    QString m_path;
    bool m_existed = false;
    qint64 m_size = 0;
    std::optional<qint64> m_modified; // FileDates: no local time on the worker
};
