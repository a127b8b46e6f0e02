#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

// The files of a watched folder (and the folders below it, walked as Add Folder walks them)
// that have arrived: a file counts once it has stood unchanged, in size and time, from one look
// to the next, so that a file still being copied in is not taken half written. Partial
// downloads, hidden files and whatever lies under the output folder are never taken. A folder
// that vanishes is waited for. A value owned by one thread.
class FolderWatch
{
public:
    // Watches `folder`; `outputFolder` is where the conversions write (left out when inside).
    FolderWatch(const QString& folder, const QString& outputFolder);

    QString folder() const { return m_folder; }

    // Looks again; returns the files that stopped changing since the last look, each once, in
    // walking order.
    QStringList poll();
    // True when the folder was there at the last look.
    bool present() const { return m_present; }

    // True for a name a file carries while it is still being written (".part", ".crdownload",
    // ".tmp", a trailing '~' and the like).
    static bool looksPartial(const QString& name);

private:
    struct Seen
    {
        qint64 size = -1;
        QDateTime modified;
        bool handed = false;
    };

    QString m_folder;
    QString m_outputFolder;
    QHash<QString, Seen> m_seen;
    bool m_present = true;
};
