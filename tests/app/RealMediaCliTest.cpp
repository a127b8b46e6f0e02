#include "BatchDoubles.h"
#include "CBatchConverter.h"
#include "CProfileManager.h"
#include "CQuentaMediaCntl.h"
#include "CTraceLog.h"
#include "CapturingEventLog.h"
#include "EncoderSetup.h"
#include "Preferences.h"
#include "TestMedia.h"
#include "WaitFor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <signal.h>

// RealMedia rows end to end: the terminal program and the batch with the built producer
// library, each in an application folder of its own.
namespace {

const QString kRealMedia = "RM - RealMedia Video";

class RealMediaCli : public ::testing::Test
{
protected:
    QTemporaryDir app;
    QTemporaryDir work;

    // The program, its profiles and the encoder tool; the library and audiences when asked.
    void makeApp(bool withLibrary)
    {
        const QString built = TestMedia::appDir();
        ASSERT_TRUE(QFile::copy(built + "tovel-cli", cli()));
        QFile(cli()).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QStringList links{"profiles", "encode"};
        if (withLibrary)
            links << "tools"
                  << "audiences";
        for (const QString& name : links)
            ASSERT_TRUE(QFile::link(built + name, app.filePath(name))) << name.toStdString();
    }
    QString cli() const { return app.filePath("tovel-cli"); }
    QString out() const { return work.filePath("out"); }

    struct Result
    {
        int exitCode = -1;
        QString out;
        QString err;
    };
    Result run(const QStringList& arguments)
    {
        QProcess process;
        process.start(cli(), arguments);
        if (!process.waitForFinished(300000))
            process.kill();
        process.waitForFinished();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }
};

TEST_F(RealMediaCli, ConvertsAClipWithTheShippedProfile)
{
    makeApp(true);
    const QString clip = work.filePath("clip.avi");
    ASSERT_TRUE(TestMedia::makeVideo(clip, 2.0, "160x120"));
    const Result result = run({"--profile", kRealMedia, "--output", out(), clip});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();

    const QString rm = out() + "/clip.rm";
    const QString streams = TestMedia::probe(rm).join(' ');
    EXPECT_TRUE(streams.contains("rv20|video|320|240")) << streams.toStdString();
    EXPECT_TRUE(streams.contains("ac3|audio"));
    EXPECT_NEAR(TestMedia::probeDuration(rm), 2.0, 0.3);
    EXPECT_TRUE(result.out.contains("clip.avi: Completed"));
    EXPECT_TRUE(TestMedia::readFile(app.filePath("trace.log")).contains("Input File: "));
}

TEST_F(RealMediaCli, AudiencesSetTheBitRateAndAudioStaysAudio)
{
    makeApp(true);
    // Profiles of two audiences far apart, beside the shipped ones.
    QFile::remove(app.filePath("profiles"));
    ASSERT_TRUE(QDir(app.path()).mkdir("profiles"));
    for (const char* audience : {"28k Dial-up", "5M Download (VBR)"})
        ASSERT_TRUE(TestMedia::writeFile(app.filePath(QString("profiles/%1.pf").arg(audience)),
                                         QByteArray("[Main]\nName=RM ") + audience +
                                             "\nFormat=rm\nExtName=rm\n[Parameter]\nvcodec=,," +
                                             audience + "\ns=,,320x240\n"));
    const QString clip = work.filePath("clip.avi");
    const QString tone = work.filePath("tone.wav");
    ASSERT_TRUE(TestMedia::makeVideo(clip, 2.0, "320x240"));
    ASSERT_TRUE(TestMedia::makeAudio(tone, 2.0));

    ASSERT_EQ(run({"--profile", "RM 28k Dial-up", "--output", out() + "/low", clip, tone}).exitCode,
              0);
    ASSERT_EQ(
        run({"--profile", "RM 5M Download (VBR)", "--output", out() + "/high", clip}).exitCode, 0);
    const qint64 low = QFileInfo(out() + "/low/clip.rm").size();
    const qint64 high = QFileInfo(out() + "/high/clip.rm").size();
    EXPECT_GT(low, 0);
    EXPECT_GT(high, 5 * low);

    const QStringList audio = TestMedia::probe(out() + "/low/tone.rm");
    ASSERT_EQ(audio.size(), 2) << audio.join(' ').toStdString(); // one stream and the duration
    EXPECT_TRUE(audio[0].startsWith("ac3|audio"));
}

TEST_F(RealMediaCli, WithoutTheLibraryTheRowFailsWithTheRestartMessage)
{
    makeApp(false);
    const QString clip = work.filePath("clip.avi");
    ASSERT_TRUE(TestMedia::makeVideo(clip, 1.0, "160x120"));
    const Result result = run({"--profile", kRealMedia, "--output", out(), clip});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("Encounter a problem,please Restart !!!"))
        << result.err.toStdString();
    EXPECT_TRUE(result.out.contains("clip.avi: Fail"));
    EXPECT_FALSE(QFileInfo::exists(out() + "/clip.rm"));
}

TEST_F(RealMediaCli, CtrlCEndsARealMediaRowSoon)
{
    makeApp(true);
    const QString clip = work.filePath("long.avi");
    ASSERT_TRUE(TestMedia::makeVideo(clip, 40.0, "320x240"));
    QProcess process;
    process.start(cli(), {"--profile", kRealMedia, "--output", out(), clip, clip});
    ASSERT_TRUE(process.waitForStarted());
    QByteArray text;
    const QRegularExpression progress("long\\.avi: ([2-9]|[1-9][0-9])%\n");
    waitFor([&] {
        text += process.readAllStandardOutput();
        return progress.match(QString::fromLocal8Bit(text)).hasMatch() ||
               process.state() != QProcess::Running;
    });
    ASSERT_TRUE(progress.match(QString::fromLocal8Bit(text)).hasMatch()) << text.constData();
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(120000));
    text += process.readAllStandardOutput();

    EXPECT_EQ(process.exitCode(), 130);
    // The row cut short and the next one both say so.
    EXPECT_EQ(text.count("long.avi: Abort"), 2) << text.constData();
    EXPECT_LT(TestMedia::probeDuration(out() + "/long.rm"), 39.0);
}

TEST(RealMediaBatch, ARealMediaRowThenAnMp4RowSwitchesTheEngineThereAndBack)
{
    const QString built = TestMedia::appDir();
    QTemporaryDir app, work;
    for (const char* name : {"encode", "tools", "audiences"})
        ASSERT_TRUE(QFile::link(built + name, app.filePath(name)));
    CProfileManager profiles;
    profiles.ScanProfiles(built + "profiles/", app.filePath("none.ini"));
    auto load = [&](const QByteArray& format) {
        for (const QByteArray& name : profiles.Names()) {
            auto profile = std::make_unique<Profile>();
            if (profiles.LoadProfile(name, profile.get()) &&
                profile->format.compare(format, Qt::CaseInsensitive) == 0)
                return profile;
        }
        return std::unique_ptr<Profile>();
    };

    const QString startDir = QDir::currentPath();
    CTraceLog trace(app.filePath("trace.log"));
    CapturingEventLog events;
    EncoderSetup setup;
    setup.appFolder = app.path() + '/';
    setup.trace = &trace;
    setup.events = &events;
    CQuentaMediaCntl controller;
    TestRows rows;
    TestUser user;
    user.presetOutputBox(work.filePath("out"));
    CBatchConverter batch(controller, setup, rows, user);
    batch.setShutdown([] {});
    ASSERT_EQ(controller.Init(&setup), 1);
    g_bOverwrite = 0;

    const QString clip = work.filePath("clip.avi");
    ASSERT_TRUE(TestMedia::makeVideo(clip, 1.0, "160x120"));
    for (const QByteArray format : {"rm", "mp4"}) {
        auto job = std::make_unique<ConversionJob>();
        job->inputPath = clip;
        ASSERT_EQ(controller.bGetMediaFileContent(clip, job.get()), 1);
        job->profile = load(format);
        ASSERT_TRUE(job->profile) << format.constData();
        rows.add(std::move(job));
    }
    ASSERT_EQ(batch.StartConvert(), CBatchConverter::Started);
    batch.Wait();
    QDir::setCurrent(startDir);

    EXPECT_EQ(rows.status(0), "Completed");
    EXPECT_EQ(rows.status(1), "Completed");
    EXPECT_TRUE(TestMedia::probe(work.filePath("out/clip.rm")).join(' ').contains("rv20|video"));
    EXPECT_GT(QFileInfo(work.filePath("out/clip.mp4")).size(), 0);
    EXPECT_TRUE(rows.callsOn(0).contains("100"));
    EXPECT_EQ(setup.kind, EncoderKind::FfmpegTool);
    EXPECT_EQ(controller.currentKind(), EncoderKind::FfmpegTool);
}

} // namespace
