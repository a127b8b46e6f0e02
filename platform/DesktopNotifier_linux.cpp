#include "DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

DesktopNotifier::~DesktopNotifier()
{
    if (!m_connection.isEmpty())
        QDBusConnection::disconnectFromBus(m_connection);
}

bool DesktopNotifier::Notify(const QString& appName, const QString& icon,
                             const QString& desktopEntry, const QString& summary,
                             const QString& body)
{
    if (m_connection.isEmpty()) {
        // A connection of its own, so that the bus named now is used, not one cached earlier.
        m_connection = QStringLiteral("tovel-notifier-%1").arg(quintptr(this), 0, 16);
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connection);
    }
    QDBusConnection bus(m_connection);
    if (!bus.isConnected())
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(kPath),
                                       QLatin1String(kService), QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), desktopEntry}};
    // app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout (-1: the
    // server's default).
    call << appName << uint(0) << icon << summary << body << QStringList() << hints << int(-1);
    // Sent without waiting: the UI thread does not wait for the desktop.
    return bus.send(call);
}
