// A conversion the tool reports as done holds what was asked: checked outputs, covers shown as
// pictures, raw streams timed, and the FFmpeg libraries kept out of the tool's start.
#include "OutputCheck.h"
#include "TestMedia.h"
#include "ToolRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

class ConversionTruthTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(dir->isValid());
        ASSERT_TRUE(TestMedia::makeVideo(at("clip.mp4"), 2.0, "160x120", 25));
        // Music with a cover: one MJPEG picture marked as attached.
        ASSERT_TRUE(TestMedia::ffmpeg({"-f", "lavfi", "-i", "sine=duration=4", "-f", "lavfi", "-i",
                                       "testsrc=size=160x120:duration=1", "-frames:v", "1", "-map",
                                       "0", "-map", "1", "-c:v", "mjpeg", "-disposition:v",
                                       "attached_pic", at("cover.mp3")}));
    }
    static void TearDownTestSuite() { dir.reset(); }
    static QString at(const QString& name) { return dir->filePath(name); }

    static std::unique_ptr<QTemporaryDir> dir;
};
std::unique_ptr<QTemporaryDir> ConversionTruthTest::dir;

TEST(OutputCheck, AllowsTenPercentOrASecondAndAHalfShort)
{
    MediaProbeResult found;
    found.ok = found.hasAudio = true;
    const auto faultAt = [&](double expected, double seconds) {
        found.duration = seconds;
        return OutputCheck::fault({false, true, expected}, found);
    };
    EXPECT_TRUE(faultAt(20, 18.1).isEmpty());
    EXPECT_FALSE(faultAt(20, 17.9).isEmpty());
    EXPECT_TRUE(faultAt(5, 3.6).isEmpty());
    EXPECT_FALSE(faultAt(5, 3.4).isEmpty());
    EXPECT_TRUE(faultAt(0, 0.1).isEmpty()); // no length expected
    found.lengthEstimated = true;
    EXPECT_TRUE(faultAt(20, 1).isEmpty()); // a guessed length is no ground for failing

    EXPECT_FALSE(OutputCheck::fault({true, true, 0}, found).isEmpty()); // no video
    EXPECT_FALSE(OutputCheck::fault({}, MediaProbeResult{}).isEmpty()); // unreadable
}

TEST_F(ConversionTruthTest, AnOutputMuchShorterThanItsInputIsRemovedAndExplained)
{
    // An MP3 whose header promises 20 s but whose data stops after a few: ffmpeg reads what
    // there is and ends with success.
    ASSERT_TRUE(TestMedia::makeAudio(at("long.mp3"), 20.0));
    const QByteArray whole = TestMedia::readFile(at("long.mp3"));
    ASSERT_TRUE(TestMedia::writeFile(at("cut.mp3"), whole.left(whole.size() / 4)));
    ASSERT_TRUE(
        runTool({"ffmpeg-converter", "-info", at("cut.mp3")}).out.startsWith("Duration:20 "));

    const QString out = at("cut.avi");
    ToolRun run = runTool(conversion(at("cut.mp3"), {"-acodec", "libmp3lame"}, out));
    EXPECT_NE(run.exitCode, 0);
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_TRUE(run.err.contains("of the 20.")) << run.err.toStdString();

    // What -ss and -t leave of it is what counts.
    run = runTool(conversion(at("cut.mp3"), {"-ss", "1", "-t", "2", "-acodec", "libmp3lame"}, out));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_NEAR(TestMedia::probeDuration(out), 2.0, 0.2);
}

TEST_F(ConversionTruthTest, ACoverBecomesAStillClipForVideoAndIsLeftOutOfAudio)
{
    for (const QString& name : {QString("cover.mp4"), QString("cover.avi")}) {
        SCOPED_TRACE(name.toStdString());
        // A start point must not cut the cover away.
        const QStringList options = name.endsWith(".mp4")
                                        ? QStringList{"-vcodec", "mpeg4", "-acodec", "libfaac"}
                                        : QStringList{"-ss", "1", "-vcodec", "libxvid"};
        const ToolRun run = runTool(conversion(at("cover.mp3"), options, at(name)));
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QStringList streams = TestMedia::probe(at(name));
        EXPECT_TRUE(streams.join('\n').contains("video|160|120"))
            << streams.join('\n').toStdString();
        EXPECT_NEAR(TestMedia::probeDuration(at(name)), name.endsWith(".mp4") ? 4.0 : 3.0, 0.3);
    }
    const ToolRun run = runTool(
        conversion(at("cover.mp3"), {"-f", "mp3", "-vn", "-acodec", "mp3"}, at("music.mp3")));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(TestMedia::probe(at("music.mp3")).join('\n').contains("video"));
}

TEST_F(ConversionTruthTest, RawVideoStreamsAreTimedToTheirEnd)
{
    for (const char* name : {"raw.h264", "raw.m2v", "raw.m4v"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(TestMedia::ffmpeg({"-i", at("clip.mp4"), "-an", "-t", "2", at(name)}));
        // The program's own detector and the tool's information mode alike.
        const MediaProbeResult found = ProbeMediaFile(at(name));
        EXPECT_NEAR(found.duration, 2.0, 0.1);
        EXPECT_FALSE(found.lengthEstimated);
        const ToolRun info = runTool({"ffmpeg-converter", "-info", at(name)});
        EXPECT_EQ(info.out, "Duration:2 Width:160 Height:120 Video:1 Audio:0\n");
    }
}

TEST_F(ConversionTruthTest, TheToolLoadsTheFfmpegLibrariesOnlyWhereItUsesThem)
{
    const QString ldd = QStandardPaths::findExecutable("ldd");
    if (ldd.isEmpty())
        GTEST_SKIP() << "needs ldd";
    // Loading them costs more than starting ffmpeg: the tool must not link them.
    QProcess deps;
    deps.start(ldd, {toolPath()});
    ASSERT_TRUE(deps.waitForFinished(60000));
    const QByteArray linked = deps.readAllStandardOutput();
    EXPECT_TRUE(linked.contains("libQt6Core")) << linked.toStdString();
    EXPECT_FALSE(linked.contains("libavformat") || linked.contains("libavcodec"));

    // Alone in a folder, without its FFmpeg module, it converts nothing it cannot check and
    // says why; an earlier file of the output's name goes.
    QDir().mkpath(at("bare"));
    const QString tool = at("bare/encode");
    ASSERT_TRUE(QFile::copy(toolPath(), tool));
    const QString out = at("bare.avi");
    ASSERT_TRUE(TestMedia::writeFile(out, "left from an earlier run"));
    ToolRun run = runTool(conversion(at("clip.mp4"), {}, out), QString(),
                          QProcessEnvironment::systemEnvironment(), {}, tool);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("FFmpeg module")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));

    run = runTool({"ffmpeg-converter", "-info", at("clip.mp4")}, QString(),
                  QProcessEnvironment::systemEnvironment(), {}, tool);
    EXPECT_EQ(run.out, "Duration:0 Width:0 Height:0 Video:0 Audio:0\n");
    EXPECT_TRUE(run.err.contains("FFmpeg module")) << run.err.toStdString();
}

} // namespace
