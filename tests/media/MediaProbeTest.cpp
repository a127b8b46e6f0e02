#include "MediaProbe.h"
#include "TestMedia.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

// The clips are made once for the whole suite: ffmpeg runs are the slow part.
class MediaProbeTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(dir->isValid());
        ASSERT_TRUE(TestMedia::makeVideo(at("clip.mp4"), 2.0, "320x240", 25));
        ASSERT_TRUE(TestMedia::makeVideo(at("clip.mpg"), 2.0, "320x240", 25));
        ASSERT_TRUE(TestMedia::makeVideo(at("silent.avi"), 1.0, "160x120", 25, false));
        ASSERT_TRUE(TestMedia::makeAudio(at("tone.mp3"), 2.0));
        for (const char* ext : {"jpg", "png", "bmp", "gif"})
            ASSERT_TRUE(TestMedia::makePicture(at(QStringLiteral("still.%1").arg(ext))));
        ASSERT_TRUE(TestMedia::ffmpeg(
            {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=5", "-t", "1", at("moving.gif")}));
        ASSERT_TRUE(TestMedia::ffmpeg({"-i", at("tone.mp3"), "-i", at("still.jpg"), "-map", "0",
                                       "-map", "1", "-c", "copy", "-disposition:v", "attached_pic",
                                       at("cover.mp3")}));
    }
    static void TearDownTestSuite() { dir.reset(); }
    static QString at(const QString& name) { return dir->filePath(name); }

    static std::unique_ptr<QTemporaryDir> dir;
};
std::unique_ptr<QTemporaryDir> MediaProbeTest::dir;

struct Expected
{
    const char* file;
    bool video;
    bool audio;
    int width;
    int height;
    double duration; // expected seconds; the probe may differ by a frame or an audio block
    bool still;
};

TEST_F(MediaProbeTest, ReportsStreamsSizeAndLengthOfEachKind)
{
    const Expected cases[] = {
        {"clip.mp4", true, true, 320, 240, 2.0, false},
        {"clip.mpg", true, true, 320, 240, 2.0, false},
        {"silent.avi", true, false, 160, 120, 1.0, false},
        {"tone.mp3", false, true, 0, 0, 2.0, false},
        {"cover.mp3", false, true, 0, 0, 2.0, false}, // a cover picture is not video
        {"still.jpg", true, false, 160, 120, 0.0, true},
        {"still.png", true, false, 160, 120, 0.0, true},
        {"still.bmp", true, false, 160, 120, 0.0, true},
        {"still.gif", true, false, 160, 120, 0.0, true},
        {"moving.gif", true, false, 160, 120, 1.0, false},
    };
    for (const Expected& c : cases) {
        SCOPED_TRACE(c.file);
        const MediaProbeResult r = ProbeMediaFile(at(c.file));
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.hasVideo, c.video);
        EXPECT_EQ(r.hasAudio, c.audio);
        EXPECT_EQ(r.width, c.width);
        EXPECT_EQ(r.height, c.height);
        EXPECT_EQ(r.isStillPicture, c.still);
        EXPECT_NEAR(r.duration, c.duration, 0.1);
        if (c.audio) {
            EXPECT_EQ(r.sampleRate, 44100);
            EXPECT_EQ(r.channels, 1);
            EXPECT_NEAR(r.audioDuration, c.duration, 0.1);
        }
        if (c.video && !c.still) {
            EXPECT_NEAR(r.videoDuration, c.duration, 0.1);
        }
    }
    EXPECT_NEAR(ProbeMediaFile(at("clip.mp4")).frameRate, 25.0, 0.01);
}

TEST_F(MediaProbeTest, FindsNothingInEmptyGarbageMissingOrNonRegularFiles)
{
    ASSERT_TRUE(TestMedia::writeFile(at("empty.mp4"), QByteArray()));
    QByteArray noise;
    for (int i = 0; i < 200000; ++i)
        noise.append(char((i * 7919 + (i >> 5) * 31) & 0xff));
    ASSERT_TRUE(TestMedia::writeFile(at("noise.avi"), noise));
    ASSERT_TRUE(TestMedia::writeFile(at("words.mp4"), "this is not a video\n"));
    // A clip cut in half keeps its header but not its index.
    const QByteArray whole = TestMedia::readFile(at("clip.mp4"));
    ASSERT_TRUE(TestMedia::writeFile(at("cut.mp4"), whole.left(whole.size() / 2)));

    for (const char* name : {"empty.mp4", "noise.avi", "words.mp4", "missing.mp4", "cut.mp4"}) {
        SCOPED_TRACE(name);
        const MediaProbeResult r = ProbeMediaFile(at(name));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.duration, 0);
        EXPECT_FALSE(r.hasVideo);
        EXPECT_FALSE(r.hasAudio);
    }
    EXPECT_FALSE(ProbeMediaFile(QString()).ok);
    EXPECT_FALSE(ProbeMediaFile(dir->path()).ok); // a folder
    EXPECT_FALSE(ProbeMediaFile("/dev/zero").ok); // a device would never end
}

TEST_F(MediaProbeTest, ReadsAwkwardFileNamesLiterally)
{
    // Percent patterns, protocol-like prefixes, quotes, blanks, a leading dash, non-ASCII.
    const QStringList names{"pic%d.jpg",  "pic%03d.png",
                            "http:x.mp4", "it's \"a\" clip.mp4",
                            "-dash.mp4",  QStringLiteral("caf\u00e9 \u6f22\u5b57.mp4"),
                            "100%.mp4"};
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString source = name.endsWith(".mp4")   ? at("clip.mp4")
                               : name.endsWith(".png") ? at("still.png")
                                                       : at("still.jpg");
        QFile::remove(at(name));
        ASSERT_TRUE(QFile::copy(source, at(name)));
        const MediaProbeResult r = ProbeMediaFile(at(name));
        ASSERT_TRUE(r.ok);
        EXPECT_TRUE(r.hasVideo);
        EXPECT_EQ(r.isStillPicture, !name.endsWith(".mp4"));
    }
    // The converter must know which names the image reader takes: it would read them as
    // numbered sequences unless told otherwise.
    EXPECT_EQ(ProbeMediaFile(at("pic%d.jpg")).demuxer, "image2");
    EXPECT_EQ(ProbeMediaFile(at("clip.mp4")).demuxer, "mov");
}

TEST_F(MediaProbeTest, ProbesFromSeveralThreadsAtOnce)
{
    std::vector<std::thread> threads;
    std::vector<int> good(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t, &good] {
            for (int i = 0; i < 5; ++i)
                good[t] += ProbeMediaFile(at(t % 2 ? "clip.mp4" : "tone.mp3")).ok ? 1 : 0;
        });
    for (std::thread& th : threads)
        th.join();
    EXPECT_EQ(good, std::vector<int>(4, 5));
}

} // namespace
