#include "OpenInBrowser.h"
#include "TestMedia.h"
#include "WaitFor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// A private XDG world: the handler of text/html is named in mimeapps.list and its desktop
// entry lies in the data folder's applications/.
class BrowserWorld : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        for (const char* name :
             {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_DIRS"})
            saved << qgetenv(name);
        QDir(root.path()).mkpath(QStringLiteral("config"));
        QDir(root.path()).mkpath(QStringLiteral("data/applications"));
        qputenv("XDG_CONFIG_HOME", root.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", root.filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CONFIG_DIRS", root.filePath(QStringLiteral("none")).toUtf8());
        qputenv("XDG_DATA_DIRS", root.filePath(QStringLiteral("none")).toUtf8());

        hooks.openWithDesktop = [this](const QString& address, int) {
            desktopAsked << address;
            return desktopResult;
        };
        hooks.start = [this](const QString& program, const QStringList& args, int) {
            started << (QStringList{program} + args);
            return startResult;
        };
    }

    void TearDown() override
    {
        const char* names[] = {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CONFIG_DIRS",
                               "XDG_DATA_DIRS"};
        for (int i = 0; i < 4; ++i) {
            if (saved[i].isNull())
                qunsetenv(names[i]);
            else
                qputenv(names[i], saved[i]);
        }
    }

    void registerBrowser(const QByteArray& exec, const QByteArray& group = "Default Applications")
    {
        ASSERT_TRUE(
            TestMedia::writeFile(root.filePath(QStringLiteral("config/mimeapps.list")),
                                 "[" + group + "]\ntext/html=missing.desktop;web.desktop;\n"));
        ASSERT_TRUE(
            TestMedia::writeFile(root.filePath(QStringLiteral("data/applications/web.desktop")),
                                 "[Desktop Entry]\nType=Application\nName=Web\nExec=" + exec +
                                     "\n"
                                     "[Desktop Action new]\nExec=wrong %u\n"));
    }

    QTemporaryDir root;
    QList<QByteArray> saved;
    BrowserLaunchHooks hooks;
    QStringList desktopAsked;
    QList<QStringList> started;
    int desktopResult = kLaunchNoAssociation;
    int startResult = kLaunchSucceeded;
};

const QString kAddress = QStringLiteral("https://tovel.example.org/a b?q=\"x\"&p=%41");

} // namespace

TEST_F(BrowserWorld, DesktopOpenerFirst)
{
    registerBrowser("web %u");
    desktopResult = 42;
    EXPECT_EQ(OpenInBrowser(kAddress, kShow, hooks), 42);
    EXPECT_EQ(desktopAsked, QStringList{kAddress});
    EXPECT_TRUE(started.isEmpty());
}

TEST_F(BrowserWorld, FallbackCutsTheCommandAtThePlaceholder)
{
    const struct
    {
        const char* exec;
        QStringList command; // program and arguments before the address
    } cases[] = {
        // Quoted: cut at the opening quote; whatever followed is dropped.
        {"\"/opt/My Browser/web\" -url \"%u\" --after", {"/opt/My Browser/web", "-url"}},
        {"web --new \"%F\"", {"web", "--new"}},
        // Bare: cut at the placeholder.
        {"web --new-window %U --after", {"web", "--new-window"}},
        {"web %f", {"web"}},
        // None: the address follows the whole command.
        {"web --flag", {"web", "--flag"}},
        // A quoted placeholder wins over an earlier bare one; %% is a percent sign.
        {"web --x=100%% %c %u \"%u\" tail", {"web", "--x=100%", "Web"}},
        // Escapes of the desktop entry value and of quoted arguments.
        {"\"/opt/back\\\\\\\\slash/web\" --s=a\\sb %u", {"/opt/back\\slash/web", "--s=a", "b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exec);
        started.clear();
        registerBrowser(c.exec);
        EXPECT_EQ(OpenInBrowser(kAddress, kShow, hooks), kLaunchSucceeded);
        ASSERT_EQ(started.size(), 1);
        EXPECT_EQ(started[0], c.command + QStringList{kAddress});
    }
}

TEST_F(BrowserWorld, HandlerFromAddedAssociations)
{
    registerBrowser("web %u", "Added Associations");
    EXPECT_EQ(OpenInBrowser(kAddress, kShow, hooks), kLaunchSucceeded);
    ASSERT_EQ(started.size(), 1);
    EXPECT_EQ(started[0].first(), "web");
}

TEST_F(BrowserWorld, NoBrowserKeepsTheDesktopResult)
{
    EXPECT_EQ(OpenInBrowser(kAddress, kShow, hooks), kLaunchNoAssociation);
    EXPECT_TRUE(started.isEmpty());

    // Named but without a usable entry.
    ASSERT_TRUE(TestMedia::writeFile(root.filePath(QStringLiteral("config/mimeapps.list")),
                                     "[Default Applications]\ntext/html=gone.desktop\n"));
    ASSERT_TRUE(
        TestMedia::writeFile(root.filePath(QStringLiteral("data/applications/gone.desktop")),
                             "[Desktop Entry]\nExec=web %u\nHidden=true\n"));
    desktopResult = 27;
    EXPECT_EQ(OpenInBrowser(kAddress, kShow, hooks), 27);
    EXPECT_TRUE(started.isEmpty());
}

TEST_F(BrowserWorld, FailedStartIsReported)
{
    registerBrowser("web %u");
    startResult = kLaunchFileNotFound;
    EXPECT_EQ(OpenInBrowser(kAddress, kShow, hooks), kLaunchFileNotFound);
}

TEST_F(BrowserWorld, LocalFilesTravelAsFileUrlsAndOptionsAreRefused)
{
    registerBrowser("web %u");
    const QString file = root.filePath(QStringLiteral("my page 100% \"é\".htm"));
    EXPECT_EQ(OpenInBrowser(file, kShow, hooks), kLaunchSucceeded);
    ASSERT_EQ(desktopAsked.size(), 1);
    EXPECT_EQ(QUrl(desktopAsked[0]).toLocalFile(), file);
    EXPECT_TRUE(desktopAsked[0].startsWith("file:///"));
    EXPECT_FALSE(desktopAsked[0].contains(' '));
    EXPECT_EQ(started[0].last(), desktopAsked[0]);

    desktopAsked.clear();
    EXPECT_EQ(OpenInBrowser(QStringLiteral("--version"), kShow, hooks), kLaunchFileNotFound);
    EXPECT_EQ(OpenInBrowser(QString(), kShow, hooks), kLaunchFileNotFound);
    EXPECT_TRUE(desktopAsked.isEmpty());
}

TEST_F(BrowserWorld, RealStartPassesTheAddressAsOneArgument)
{
    // The browser is a small script that writes its arguments down, one a line.
    const QString out = root.filePath(QStringLiteral("args.txt"));
    const QString script = root.filePath(QStringLiteral("my web"));
    ASSERT_TRUE(TestMedia::writeFile(script, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$OUT\"\n"));
    QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
    qputenv("OUT", out.toUtf8());
    registerBrowser("\"" + script.toUtf8() + "\" --new-tab \"%u\"");

    BrowserLaunchHooks real = defaultBrowserLaunchHooks();
    real.openWithDesktop = [](const QString&, int) { return kLaunchNoAssociation; };
    EXPECT_EQ(OpenInBrowser(kAddress, kShow, real), kLaunchSucceeded);
    EXPECT_TRUE(waitFor([&] { return TestMedia::readFile(out).count('\n') >= 2; }, 30000,
                        "the browser's two lines"));
    EXPECT_EQ(TestMedia::readFile(out), "--new-tab\n" + kAddress.toUtf8() + "\n");
    qunsetenv("OUT");
}
