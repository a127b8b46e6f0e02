#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

// One window per user and state folder, as a desktop user expects of "Open with": the first
// start holds the window lock and listens on a local socket; a later start hands its files to
// that window and ends. Threads: UI thread only.
class SingleWindow : public QObject
{
    Q_OBJECT
public:
    explicit SingleWindow(const QString& stateFolder, QObject* parent = nullptr);

    // True when this process is the one window of the folder; it then listens for later starts.
    bool claim();
    // Hands `files` to the running window and waits until it has taken them; false when no
    // window answered.
    bool handOver(const QStringList& files);

signals:
    // Files a later start handed over, absolute paths in the order given.
    void filesArrived(const QStringList& files);

private:
    void onConnection();

    QString m_name;
    QLockFile m_lock;
    QLocalServer m_server;
};
