#include "CFfmpegEncoder.h"
#include "CapturingEventLog.h"
#include "ConversionJob.h"
#include "FakeTool.h"
#include "TestMedia.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// An FFmpeg encoder whose tool is the fake one.
struct ProbeHarness
{
    FakeTool tool;
    CapturingEventLog log;
    CFfmpegEncoder encoder;

    ProbeHarness()
    {
        EncoderSetup setup;
        setup.callback = [](int, void*) {};
        setup.appFolder = tool.appFolder();
        setup.events = &log;
        encoder.Attach(&setup);
        encoder.setInformationLimits(3000, 300);
    }

    // A file the in-process detector cannot read, so that the tool is asked.
    QString unreadable()
    {
        const QString path = tool.filePath("not media.dat");
        TestMedia::writeFile(path, QByteArray(4096, '\x5a'));
        return path;
    }
};

} // namespace

TEST(Probe, TheToolAnswersWhatTheDetectorCannot)
{
    struct Case
    {
        QStringList plan;
        int result;
        double duration;
        int width, height, hasVideo, hasAudio;
    };
    const Case cases[] = {
        {{"print Duration:59 Width:320 Height:240 Video:1 Audio:1"}, 1, 60.0, 320, 240, 1, 1},
        // A still picture: no length, a video stream and a frame size.
        {{"print Duration:0 Width:160 Height:120 Video:1 Audio:0"}, 1, 301.0, 160, 120, 1, 0},
        {{"print Duration:0 Width:0 Height:0 Video:0 Audio:1"}, 0, 0.0, 0, 0, 0, 1},
        {{"print Duration:7 Width:32"}, 1, 8.0, 32, 0, 0, 0}, // a partial reply
        // The reply must start at the first byte of the output.
        {{"print -- Duration:5 Width:320 Height:240 Video:1 Audio:1"}, 0, 0.0, 0, 0, 0, 0},
        {{"print garbage"}, 0, 0.0, 0, 0, 0, 0},
        {{"crash"}, 0, 0.0, 0, 0, 0, 0},
        // The reply is in: a tool that then hangs is ended, and the answer stands.
        {{"print Duration:3 Width:64 Height:48 Video:1 Audio:0", "hang"}, 1, 4.0, 64, 48, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plan.join(" | ").toStdString());
        ProbeHarness h;
        ASSERT_TRUE(h.tool.isValid());
        h.tool.setPlan(c.plan);
        ConversionJob job;
        const QString path = h.unreadable();
        EXPECT_EQ(h.encoder.Probe(path, &job), c.result);
        EXPECT_EQ(h.tool.arguments(), QStringList({"ffmpeg-converter", "-info", path}));
        EXPECT_DOUBLE_EQ(job.media.duration, c.duration);
        EXPECT_EQ(job.media.width, c.width);
        EXPECT_EQ(job.media.height, c.height);
        EXPECT_EQ(job.media.hasVideo, c.hasVideo);
        EXPECT_EQ(job.media.hasAudio, c.hasAudio);
        EXPECT_EQ(job.media.probedByDirectShow, 0);
    }
}

TEST(Probe, ASilentHangingToolFailsTheProbeOnceItsTimeIsUp)
{
    ProbeHarness h;
    h.encoder.setInformationLimits(300, 100);
    h.tool.setPlan({"hang"});
    ConversionJob job;
    EXPECT_EQ(h.encoder.Probe(h.unreadable(), &job), 0);
    EXPECT_TRUE(h.tool.ran());
}

TEST(Probe, AnEmptyFileIsLeftToTheToolAndAnEmptyPathStartsNothing)
{
    ProbeHarness h;
    h.tool.setPlan({"print Duration:2 Width:8 Height:8 Video:1 Audio:0"});
    const QString empty = h.tool.filePath("empty.avi");
    ASSERT_TRUE(TestMedia::writeFile(empty, ""));
    ConversionJob job;
    EXPECT_EQ(h.encoder.Probe(empty, &job), 1);
    EXPECT_TRUE(h.tool.ran());
    EXPECT_DOUBLE_EQ(job.media.duration, 3.0);

    h.tool.setPlan({"print Duration:2 Width:8 Height:8 Video:1 Audio:0"});
    EXPECT_EQ(h.encoder.Probe("", &job), 0);
    EXPECT_EQ(h.encoder.Probe(empty, nullptr), 0);
    EXPECT_FALSE(h.tool.ran());
}

TEST(Probe, TheDetectorAnswersForVideoAndTheToolForAudioOnly)
{
    ProbeHarness h;
    const QString video = h.tool.filePath("clip with blanks.mp4");
    const QString audio = h.tool.filePath("tone.mp3");
    ASSERT_TRUE(TestMedia::makeVideo(video, 2.0, "320x240", 25, true));
    ASSERT_TRUE(TestMedia::makeAudio(audio, 3.0));

    h.tool.setPlan({"print Duration:99 Width:1 Height:1 Video:1 Audio:1"});
    ConversionJob job;
    EXPECT_EQ(h.encoder.Probe(video, &job), 1);
    EXPECT_FALSE(h.tool.ran());
    EXPECT_EQ(job.media.probedByDirectShow, 1);
    EXPECT_NEAR(job.media.duration, 3.0, 0.1); // measured + 1
    EXPECT_EQ(job.media.width, 320);
    EXPECT_EQ(job.media.height, 240);
    EXPECT_EQ(job.media.hasVideo, 1);
    EXPECT_EQ(job.media.hasAudio, 1);
    EXPECT_NEAR(job.media.frameRate, 25.0, 0.01);
    EXPECT_DOUBLE_EQ(job.media.audioSampleRate, 44100.0);

    // Audio only: the detector's length without a frame size sends it to the tool.
    h.tool.setPlan({"print Duration:3 Width:0 Height:0 Video:0 Audio:1"});
    ConversionJob tone;
    EXPECT_EQ(h.encoder.Probe(audio, &tone), 1);
    EXPECT_TRUE(h.tool.ran());
    EXPECT_EQ(tone.media.probedByDirectShow, 0);
    EXPECT_DOUBLE_EQ(tone.media.duration, 4.0);
    EXPECT_EQ(tone.media.hasAudio, 1);
    EXPECT_EQ(tone.media.hasVideo, 0);
    EXPECT_DOUBLE_EQ(tone.media.audioSampleRate, 44100.0); // the detector's facts stay
}
