#pragma once

#include <QHash>
#include <QString>

// What a watch of one folder has already dealt with, kept in the user's state folder so that a
// later watch of the same folder never converts a file twice: each file by path, with its size
// and time when it was dealt with and how that ended. A file changed since is new again.
// Threads: whoever owns it; it touches only its own file.
class WatchRecord
{
public:
    enum Found
    {
        Nothing, // no record yet
        Read,
        Damaged // set aside (or deleted) and started afresh
    };

    // The record of `folder`, kept in `stateFolder`.
    WatchRecord(const QString& stateFolder, const QString& folder);

    QString path() const { return m_path; }

    // Reads the record. A damaged one is moved aside, its new name in `aside` (empty when it
    // had to be deleted), and the record starts empty.
    Found load(QString& aside);
    // True when `file` was dealt with and has not changed since.
    bool has(const QString& file) const;
    // Records `file` as it stands now, ended as `result` ("Completed", "Skipped", "Fail",
    // "Output there"), and writes the record; false when it could not be written.
    bool add(const QString& file, const QString& result);

private:
    struct Entry
    {
        qint64 size = 0;
        qint64 modified = 0; // ms since the epoch
        QString result;
    };

    QString m_path;
    QString m_folder;
    QHash<QString, Entry> m_files;
};
