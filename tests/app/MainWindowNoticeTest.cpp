// The end of a batch in the background reaches the desktop as a notification, over a session
// bus of the test's own (a private dbus-daemon) with a stand-in notification service.
#include "CBatchEndNotice.h"
#include "CCellListCtrl.h"
#include "DesktopNotifier.h"
#include "Preferences.h"
#include "TestMedia.h"
#include "WindowHarness.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace {

// The notification service as a desktop runs it: records every Notify call.
class NotificationService : public QDBusVirtualObject
{
public:
    QString introspect(const QString&) const override { return QString(); }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.member() != QLatin1String("Notify"))
            return false;
        calls << message.arguments();
        connection.send(message.createReply(QVariantList{uint(calls.size())}));
        return true;
    }
    QList<QVariantList> calls;
};

class NoticeWindowTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
        ASSERT_FALSE(daemon.isEmpty()) << "dbus-daemon is missing (scripts/install-deps.sh)";
        const QString config = m_app.path() + "/bus.conf";
        ASSERT_TRUE(TestMedia::writeFile(
            config, "<busconfig><type>session</type><listen>unix:dir=" + m_app.path().toUtf8() +
                        "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                        "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                        "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>"));
        m_bus.start(daemon, {"--nofork", "--print-address=1", "--config-file=" + config});
        ASSERT_TRUE(m_bus.waitForStarted());
        ASSERT_TRUE(waitFor([this] { return m_bus.canReadLine(); }, 20000));
        const QByteArray address = m_bus.readLine().trimmed();
        m_savedAddress = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        m_server = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(QString::fromUtf8(address), "notification-service"));
        ASSERT_TRUE(m_server->isConnected());
        ASSERT_TRUE(m_server->registerVirtualObject(DesktopNotifier::kPath, &m_service));
        ASSERT_TRUE(m_server->registerService(DesktopNotifier::kService));
    }
    void TearDown() override
    {
        WindowTest::TearDown();
        m_server.reset();
        QDBusConnection::disconnectFromBus("notification-service");
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_savedAddress);
        m_bus.kill();
        m_bus.waitForFinished();
    }
    // Puts another window in front, so that the main window is in the background.
    void workElsewhere()
    {
        m_other.resize(100, 100);
        m_other.show();
        m_other.activateWindow();
        ASSERT_TRUE(waitFor([this] { return !dlg->isActiveWindow(); }, 20000));
    }

    QProcess m_bus;
    QByteArray m_savedAddress;
    std::unique_ptr<QDBusConnection> m_server;
    NotificationService m_service;
    QWidget m_other;
};

} // namespace

TEST_F(NoticeWindowTest, ABatchEndingInTheBackgroundSaysHowItWentAndNothingWithoutTheService)
{
    for (const char* name : {"one.avi", "two.avi"})
        ASSERT_TRUE(TestMedia::makeVideo(media(name), 1.0));
    open();
    add({media("one.avi"), media("two.avi")});
    // The second row's output name is taken by a folder, so its conversion fails.
    ASSERT_TRUE(QDir().mkpath(out() + "/two.mp4"));
    g_bOverwrite = 1;
    workElsewhere();
    encodeAndWait();
    ASSERT_TRUE(waitFor([this] { return !m_service.calls.isEmpty(); }, 20000));
    ASSERT_EQ(m_service.calls.size(), 1);
    const QVariantList& notice = m_service.calls[0];
    ASSERT_EQ(notice.size(), 8);
    EXPECT_EQ(notice[0].toString(), "Tovel Video Converter");
    EXPECT_EQ(notice[3].toString(), "Conversion finished");
    EXPECT_EQ(notice[4].toString(), CBatchEndNotice::Body(1, 1));
    EXPECT_EQ(notice[4].toString(), "1 completed, 1 failed");

    // In front, the window's own message is enough.
    QDir().rmdir(out() + "/two.mp4");
    dlg->activateWindow();
    ASSERT_TRUE(waitFor([this] { return dlg->isActiveWindow(); }, 20000));
    encodeAndWait();
    EXPECT_EQ(cell(1, 4), "Completed");

    // With no notification service on the bus, nothing shows and nothing waits.
    ASSERT_TRUE(m_server->unregisterService(DesktopNotifier::kService));
    dlg->jobList()->SetCheck(0, 0, 1);
    workElsewhere();
    encodeAndWait();
    EXPECT_EQ(cell(0, 4), "Completed");

    // The service back, a later notice comes over the same connection, behind any notice of the
    // two batches above: when it has arrived, none of theirs is still on its way.
    ASSERT_TRUE(m_server->registerService(DesktopNotifier::kService));
    dlg->jobList()->SetCheck(0, 0, 1);
    dlg->jobList()->SetCheck(1, 0, 1);
    workElsewhere();
    encodeAndWait();
    const QString last = CBatchEndNotice::Body(2, 0);
    ASSERT_TRUE(waitFor([&] { return m_service.calls.last().value(4).toString() == last; }, 20000,
                        "the last batch's notice"));
    EXPECT_EQ(m_service.calls.size(), 2) << "no notice in front, none kept for a service to come";
}
