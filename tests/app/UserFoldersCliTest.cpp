#include "ProgramRun.h"
#include "ProgramVersion.h"
#include "Settings.h"
#include "ShellWords.h"
#include "TestMedia.h"
#include "Unprivileged.h"
#include "WriteLocations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// tovel-cli in an application folder the user cannot write (as an install leaves it), with the
// stand-in tool, one profile and a packager's config.ini; the user has a home of their own.
class UserFoldersCliTest : public ::testing::Test
{
protected:
    static inline QTemporaryDir* s_clips = nullptr;
    static inline QString s_clip;

    static void SetUpTestSuite()
    {
        s_clips = new QTemporaryDir;
        Unprivileged::shareReadOnly(s_clips->path());
        s_clip = s_clips->path() + "/clip.avi";
        if (!TestMedia::makeVideo(s_clip, 1.0, "160x120"))
            s_clip.clear();
    }
    static void TearDownTestSuite()
    {
        delete s_clips;
        s_clips = nullptr;
    }

    QTemporaryDir app, work, home;
    QByteArray packaged;

    void SetUp() override
    {
        const QString why = Unprivileged::whyNot();
        if (!why.isEmpty())
            GTEST_SKIP() << "cannot run as an unprivileged user: " << why.toStdString();
        ASSERT_FALSE(s_clip.isEmpty());
        ASSERT_TRUE(QFile::copy(TestMedia::appDir() + "tovel-cli", cli()));
        // A copy, not a link: nobody cannot enter a build tree under /root.
        ASSERT_TRUE(QFile::copy(TOVEL_FAKE_ENCODER, app.path() + "/encode"));
        ASSERT_TRUE(QDir(app.path()).mkdir("profiles"));
        ASSERT_TRUE(TestMedia::writeFile(app.path() + "/profiles/b.pf",
                                         "[Main]\nName=Fake MP4\nSName=\nFormat=mp4\n"
                                         "ExtName=mp4\n[Parameter]\nvcodec=,,mpeg4\n"));
        packaged = "[Config]\nOutput=" + out().toLocal8Bit() + "\nCProID=0\n";
        ASSERT_TRUE(TestMedia::writeFile(app.path() + "/config.ini", packaged));
        for (const QString& folder : {app.path(), app.path() + "/profiles"})
            ASSERT_TRUE(Unprivileged::shareReadOnly(folder));
        ASSERT_TRUE(Unprivileged::giveAway(work.path()) && Unprivileged::giveAway(home.path()));
    }
    void TearDown() override
    {
        QFile::setPermissions(app.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString cli() const { return app.path() + "/tovel-cli"; }
    QString out() const { return work.path() + "/out"; }
    QString stateTrace() const { return home.path() + "/.local/state/tovel/trace.log"; }
    QString input(const QString& name) const
    {
        const QString path = work.path() + '/' + name;
        QFile::copy(s_clip, path);
        Unprivileged::giveAway(path);
        return path;
    }
    QProcessEnvironment environment(const QStringList& extra = {}) const
    {
        QProcessEnvironment env = homeEnvironment(home.path());
        for (const QString& pair : extra)
            env.insert(pair.section('=', 0, 0), pair.section('=', 1));
        return env;
    }
    // The files a run left in the application folder besides what was put there.
    QStringList leftInApp() const
    {
        QStringList names = QDir(app.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        for (const char* shipped : {"tovel-cli", "encode", "profiles", "config.ini"})
            names.removeAll(shipped);
        return names;
    }
};

TEST_F(UserFoldersCliTest, AReadOnlyApplicationFolderKeepsTheTraceUnderHomeAndNamesIt)
{
    // A relative XDG value is ignored; the packager's "Output" applies.
    const Unprivileged::Result failed = Unprivileged::run(
        cli(), {"--profile", "Fake MP4", input("a-fail.avi")}, environment({"XDG_STATE_HOME=rel"}));
    EXPECT_EQ(failed.exitCode, 1) << failed.err.toStdString();
    EXPECT_TRUE(failed.err.contains(
        "Warning: Convert fail,please send the trace file:" + stateTrace() + " to "))
        << failed.err.toStdString();
    EXPECT_FALSE(failed.err.contains("cannot be")) << failed.err.toStdString();
    EXPECT_TRUE(TestMedia::readFile(stateTrace()).contains("a-fail.avi"));

    const Unprivileged::Result done = Unprivileged::run(cli(), {input("b.avi")}, environment());
    EXPECT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_GT(QFileInfo(out() + "/b.mp4").size(), 0) << done.out.toStdString();
    EXPECT_TRUE(TestMedia::readFile(stateTrace()).contains("b.avi"));

    // The script fallback follows the trace, in the command shown and in the run.
    const QString script = home.path() + "/.local/state/tovel/edit.avs";
    const Unprivileged::Result dry =
        Unprivileged::run(cli(), {"--dry-run", input("f.mkv")}, environment());
    EXPECT_TRUE(dry.out.contains("-i " + ShellWords::quote(script))) << dry.out.toStdString();
    Unprivileged::run(cli(), {input("f.mkv")}, environment());
    EXPECT_TRUE(TestMedia::readFile(script).contains("f.mkv"));

    EXPECT_TRUE(leftInApp().isEmpty()) << leftInApp().join(' ').toStdString();
    EXPECT_EQ(TestMedia::readFile(app.path() + "/config.ini"), packaged);
}

TEST_F(UserFoldersCliTest, TheUsersConfigIniComesFirstAndAnAbsoluteXdgFolderIsHonoured)
{
    const QString config = home.path() + "/conf";
    const QString state = home.path() + "/state";
    ASSERT_TRUE(QDir().mkpath(config + "/tovel"));
    ASSERT_TRUE(TestMedia::writeFile(config + "/tovel/config.ini",
                                     "[Config]\nOutput=" + work.path().toLocal8Bit() + "/mine\n"));
    for (const QString& made : {config, config + "/tovel", config + "/tovel/config.ini"})
        ASSERT_TRUE(Unprivileged::giveAway(made));
    const Unprivileged::Result done =
        Unprivileged::run(cli(), {input("c.avi")},
                          environment({"XDG_CONFIG_HOME=" + config, "XDG_STATE_HOME=" + state}));
    EXPECT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_GT(QFileInfo(work.path() + "/mine/c.mp4").size(), 0) << done.out.toStdString();
    EXPECT_TRUE(QFileInfo::exists(state + "/tovel/trace.log"));
    EXPECT_FALSE(QFileInfo::exists(stateTrace()));
}

TEST_F(UserFoldersCliTest, AHalfWritableApplicationFolderWritesNothingThereAndSaysWhere)
{
    // The folder is open to the user, but the trace left by another user is not.
    ASSERT_TRUE(TestMedia::writeFile(app.path() + "/trace.log", "earlier run\n"));
    QFile::setPermissions(app.path() + "/trace.log", QFile::ReadOwner | QFile::ReadOther);
    QFile::setPermissions(app.path(), QFile::Permissions(0x7777));
    const Unprivileged::Result done =
        Unprivileged::run(cli(), {"--profile", "Fake MP4", input("d.avi")}, environment());
    EXPECT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_EQ(done.err.count("Not everything the program writes in " + app.path() + "/"), 1)
        << done.err.toStdString();
    EXPECT_TRUE(done.err.contains("trace.log cannot)")) << done.err.toStdString();
    EXPECT_TRUE(done.err.contains(stateTrace())) << done.err.toStdString();
    EXPECT_EQ(TestMedia::readFile(app.path() + "/trace.log"), "earlier run\n");
    EXPECT_TRUE(TestMedia::readFile(stateTrace()).contains("d.avi"));
    QStringList left = leftInApp();
    left.removeAll("trace.log");
    EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
}

TEST_F(UserFoldersCliTest, AFolderThatCannotBeMadeIsToldOnceAndTheConversionStillRuns)
{
    ASSERT_TRUE(TestMedia::writeFile(home.path() + "/.local", "a file where a folder belongs"));
    const Unprivileged::Result done =
        Unprivileged::run(cli(), {"--profile", "Fake MP4", input("e.avi")}, environment());
    EXPECT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_EQ(done.err.count("cannot be created"), 1) << done.err.toStdString();
    EXPECT_TRUE(done.err.contains(home.path() + "/.local/state/tovel/")) << done.err.toStdString();
    EXPECT_GT(QFileInfo(out() + "/e.mp4").size(), 0);
    EXPECT_TRUE(leftInApp().isEmpty()) << leftInApp().join(' ').toStdString();
}

TEST(ProgramVersionTest, BothProgramsTellTheDefaultTitleVersionWithoutAWindow)
{
    QTemporaryDir empty;
    Settings(WriteLocations::besideProgram(empty.path())).ReadStartup();
    const QString version = QString::fromLatin1(g_szVersion);
    EXPECT_EQ(version, ProgramVersion::number());
    for (const QString program : {"tovel", "tovel-cli"}) {
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // No display at all: a window would fail to start.
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("QT_QPA_PLATFORM", "xcb");
        run.setProcessEnvironment(env);
        run.start(TestMedia::appDir() + program, {"--version"});
        ASSERT_TRUE(run.waitForFinished(30000));
        EXPECT_EQ(run.exitCode(), 0) << program.toStdString();
        EXPECT_EQ(QString::fromLocal8Bit(run.readAllStandardOutput()),
                  program + " (Tovel Video Converter) " + version + "\n");
        // Its usage too, without a display.
        run.start(TestMedia::appDir() + program, {"--help"});
        ASSERT_TRUE(run.waitForFinished(30000));
        EXPECT_EQ(run.exitCode(), 0) << program.toStdString();
        EXPECT_TRUE(run.readAllStandardOutput().startsWith("Usage: " + program.toLatin1() + " "));
    }
}

} // namespace
