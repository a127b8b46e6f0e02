// An ordinary user's conversions run at the session's priority: the window's batch and
// tovel-cli as nobody, each read off the running ffmpeg.
#include "CBatchConverter.h"
#include "ProgramRun.h"
#include "RunningPriority.h"
#include "TestMedia.h"
#include "Unprivileged.h"
#include "WindowHarness.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <csignal>
#include <sched.h>
#include <unistd.h>

namespace {

// Long enough that ffmpeg is seen running before it ends.
bool makeLongClip(const QString& path)
{
    return TestMedia::makeVideo(path, 30.0, "640x480");
}

void expectSessionPriority(const std::optional<RunningPriority::Priority>& seen)
{
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->policy, SCHED_OTHER);
    EXPECT_EQ(seen->nice, RunningPriority::ofThisProcess().nice);
}

// Its own process under ctest: what is dropped for it stays dropped.
TEST_F(WindowTest, AnOrdinaryUsersBatchRunsTheEncoderAtNormalPriority)
{
    const QString why = RunningPriority::dropPriorityRaising();
    ASSERT_TRUE(why.isEmpty()) << why.toStdString();
    ASSERT_TRUE(makeLongClip(media("long.avi")));
    open();
    add({media("long.avi")});
    click(1015);
    std::optional<RunningPriority::Priority> seen;
    EXPECT_TRUE(waitFor(
        [&] { return (seen = RunningPriority::ofDescendant(getpid(), "ffmpeg")).has_value(); }));
    expectSessionPriority(seen);
    dlg->batch().RequestStop();
    ASSERT_TRUE(waitFor([this] { return !dlg->IsConverting(); }));
}

TEST(OrdinaryUserCli, ConvertsWithTheEncoderAtNormalPriority)
{
    const QString why = Unprivileged::whyNot();
    if (!why.isEmpty())
        GTEST_SKIP() << "cannot run as an unprivileged user: " << why.toStdString();
    // What nobody runs is copied where nobody can reach it: the build tree may be in /root.
    QTemporaryDir app, work;
    for (const char* name : {"tovel-cli", "encode", "libencodemedia.so"})
        ASSERT_TRUE(QFile::copy(TestMedia::appDir() + name, app.path() + '/' + QString(name)))
            << name;
    ASSERT_TRUE(QDir(app.path()).mkdir("profiles"));
    ASSERT_TRUE(QFile::copy(TestMedia::appDir() + "profiles/01-mp4-mpeg4.pf",
                            app.path() + "/profiles/01-mp4-mpeg4.pf"));
    for (const QString& folder : {app.path(), app.path() + "/profiles"})
        ASSERT_TRUE(Unprivileged::shareReadOnly(folder));
    ASSERT_TRUE(Unprivileged::shareReadOnly(work.path()) && Unprivileged::giveAway(work.path()));
    ASSERT_TRUE(makeLongClip(work.path() + "/long.avi"));

    QProcess cli;
    QProcessEnvironment env = homeEnvironment(work.path());
    cli.setProcessEnvironment(env);
    const QStringList arguments{"--output", work.path() + "/out", work.path() + "/long.avi"};
    if (::geteuid() == 0)
        cli.start("setpriv", QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                         "--", app.path() + "/tovel-cli"} +
                                 arguments);
    else
        cli.start(app.path() + "/tovel-cli", arguments);
    ASSERT_TRUE(cli.waitForStarted());
    std::optional<RunningPriority::Priority> seen;
    EXPECT_TRUE(waitFor([&] {
        return (seen = RunningPriority::ofDescendant(pid_t(cli.processId()), "ffmpeg"))
                   .has_value() ||
               cli.state() == QProcess::NotRunning;
    }));
    expectSessionPriority(seen);
    ::kill(pid_t(cli.processId()), SIGINT); // Ctrl+C's stop
    EXPECT_TRUE(cli.waitForFinished(60000)) << cli.readAllStandardError().toStdString();
}

} // namespace
