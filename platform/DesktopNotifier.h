#pragma once

#include <QString>

// Passing notices on the desktop: on Linux the freedesktop notification service
// (org.freedesktop.Notifications) on the session bus. Nothing is shown where the desktop runs
// no such service or has no session bus. The bus is the one the environment names when the
// first notice goes out. Threads: the thread that made it.
class DesktopNotifier
{
public:
    DesktopNotifier() = default;
    ~DesktopNotifier();
    DesktopNotifier(const DesktopNotifier&) = delete;
    DesktopNotifier& operator=(const DesktopNotifier&) = delete;

    // The well-known name, object and interface of the notification service.
    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";

    // Hands a notice to the desktop without waiting for an answer (`icon` and `desktopEntry`
    // are names the desktop looks up). False when there is no bus to hand it to; a bus
    // without the service drops it.
    bool Notify(const QString& appName, const QString& icon, const QString& desktopEntry,
                const QString& summary, const QString& body);

private:
    QString m_connection; // its own bus connection, named once the first notice goes out
};
