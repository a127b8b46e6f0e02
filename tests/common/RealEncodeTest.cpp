#include "CQuentaMediaCntl.h"
#include "CTraceLog.h"
#include "CapturingEventLog.h"
#include "ConversionJob.h"
#include "EncoderSetup.h"
#include "EncoderTool.h"
#include "JobPreparation.h"
#include "ProfileReader.h"
#include "TestMedia.h"
#include "TestProfiles.h"
#include "WaitFor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QMutex>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>

// The main paths with the real encoder tool of the build and the real ffmpeg.
namespace {

bool haveTool()
{
    return QFileInfo(TestMedia::appDir() + EncoderTool::fileName()).isExecutable();
}

// The build places the tool beside the tests' application folder: its absence is a failure.
#define REQUIRE_TOOL()                                                                             \
    ASSERT_TRUE(haveTool()) << "the encoder tool is not built in "                                 \
                            << TestMedia::appDir().toStdString()

struct RealHarness
{
    QTemporaryDir dir;
    CapturingEventLog log;
    CTraceLog trace{dir.filePath("trace.log")};
    EncoderSetup setup;
    CQuentaMediaCntl cntl;
    QMutex lock;
    QList<int> progress;
    std::function<void(int)> onProgress;

    RealHarness()
    {
        setup.callback = [this](int percent, void*) {
            {
                QMutexLocker hold(&lock);
                progress << percent;
            }
            if (onProgress)
                onProgress(percent);
        };
        // A private application folder holding the built tool, so the script this run
        // writes beside the tool never meets another test's.
        QFile::link(TestMedia::appDir() + EncoderTool::fileName(),
                    dir.filePath(EncoderTool::fileName()));
        setup.appFolder = dir.path() + '/';
        setup.trace = &trace;
        setup.events = &log;
        EXPECT_EQ(cntl.Init(&setup), 1);
    }

    QList<int> seen()
    {
        QMutexLocker hold(&lock);
        return progress;
    }

    // Admits `input` with `profile` and converts it to `output` as one batch row would.
    int convert(ConversionJob& job, const QString& output)
    {
        job.outputPath = output;
        job.settings = ConversionSettings{};
        SettingsDefaults(&job);
        job.progressDuration = job.media.duration;
        Prepare(&job, job.profile.get());
        return cntl.bDoConvert(&job);
    }
};

} // namespace

TEST(RealTool, ProbesVideoAudioOnlyAndAStillPicture)
{
    REQUIRE_TOOL();
    RealHarness h;
    const QString video = h.dir.filePath("my clip.avi");
    const QString audio = h.dir.filePath("tone.wav");
    const QString still = h.dir.filePath("picture.png");
    ASSERT_TRUE(TestMedia::makeVideo(video, 2.0, "176x144", 25, true));
    ASSERT_TRUE(TestMedia::makeAudio(audio, 3.0));
    ASSERT_TRUE(TestMedia::makePicture(still, "160x120"));

    ConversionJob clip;
    ASSERT_EQ(h.cntl.bGetMediaFileContent(video, &clip), 1);
    EXPECT_EQ(clip.media.probedByDirectShow, 1);
    EXPECT_NEAR(clip.media.duration, 3.0, 0.1);
    EXPECT_EQ(clip.media.width, 176);
    EXPECT_EQ(clip.media.height, 144);

    ConversionJob tone;
    ASSERT_EQ(h.cntl.bGetMediaFileContent(audio, &tone), 1);
    EXPECT_EQ(tone.media.probedByDirectShow, 0);
    EXPECT_DOUBLE_EQ(tone.media.duration, 4.0);
    EXPECT_EQ(tone.media.hasAudio, 1);
    EXPECT_EQ(tone.media.hasVideo, 0);

    ConversionJob picture;
    ASSERT_EQ(h.cntl.bGetMediaFileContent(still, &picture), 1);
    EXPECT_EQ(picture.media.probedByDirectShow, 0);
    EXPECT_DOUBLE_EQ(picture.media.duration, 301.0);
    EXPECT_EQ(picture.media.width, 160);
    EXPECT_EQ(picture.media.height, 120);

    ConversionJob junk;
    const QString text = h.dir.filePath("notes.txt");
    ASSERT_TRUE(TestMedia::writeFile(text, "not a media file\n"));
    EXPECT_EQ(h.cntl.bGetMediaFileContent(text, &junk), 0);
    EXPECT_DOUBLE_EQ(junk.media.duration, 0.0);
}

TEST(RealTool, ConvertsAClipToTheEndWithRisingProgress)
{
    REQUIRE_TOOL();
    RealHarness h;
    const QString input = h.dir.filePath("100% ünï -clip.avi");
    ASSERT_TRUE(TestMedia::makeVideo(input, 4.0, "320x240", 25, true));
    ConversionJob job;
    job.inputPath = input;
    ASSERT_EQ(h.cntl.bGetMediaFileContent(input, &job), 1);
    job.profile = MakeProfile({{"vcodec", "mpeg4"},
                               {"s", "176x144"},
                               {"b", "300"},
                               {"acodec", "mp3"},
                               {"ab", "64"},
                               {"ac", "1 (Mono)"}});
    const QString output = h.dir.filePath("out put.mp4");
    ASSERT_EQ(h.convert(job, output), 1);

    const QList<int> seen = h.seen();
    ASSERT_FALSE(seen.isEmpty()) << TestMedia::readFile(h.dir.filePath("trace.log")).toStdString();
    for (int i = 1; i < seen.size(); ++i)
        EXPECT_LE(seen[i - 1], seen[i]);
    EXPECT_GE(seen.last(), 50);
    const QStringList streams = TestMedia::probe(output);
    EXPECT_TRUE(streams.contains("mpeg4|video|176|144")) << streams.join(' ').toStdString();
    EXPECT_TRUE(streams.contains("mp3|audio")) << streams.join(' ').toStdString();
    EXPECT_TRUE(
        TestMedia::readFile(h.dir.filePath("trace.log"))
            .startsWith((h.setup.appFolder + "encode ffmpeg-converter -i \"" + input).toUtf8()));
}

TEST(RealTool, StopEndsAConversionEarlyWithoutAShortenedFile)
{
    REQUIRE_TOOL();
    RealHarness h;
    const QString input = h.dir.filePath("long.avi");
    ASSERT_TRUE(TestMedia::makeVideo(input, 120.0, "640x480", 25, false));
    ConversionJob job;
    job.inputPath = input;
    ASSERT_EQ(h.cntl.bGetMediaFileContent(input, &job), 1);
    job.profile = MakeProfile({{"vcodec", "mpeg4"}, {"an", "True"}});
    // The user's Stop comes from another thread once the conversion is under way.
    std::atomic<bool> going{false};
    std::atomic<bool> over{false};
    h.onProgress = [&](int) { going = true; };
    std::thread ui([&] {
        EXPECT_TRUE(waitFor([&] { return going || over; }, 120000, "the conversion under way"));
        h.cntl.Stop();
    });
    const QString output = h.dir.filePath("stopped.mp4");
    const int result = h.convert(job, output);
    over = true;
    ui.join();
    EXPECT_EQ(result, 1);
    // What a stop leaves is kept apart for the next run, never under the output's name.
    EXPECT_FALSE(QFileInfo::exists(output));
}

TEST(RealTool, EveryShippedProfileConvertsATinyClip)
{
    REQUIRE_TOOL();
    const QDir profiles(TestMedia::appDir() + "profiles");
    const QStringList files = profiles.entryList({"*.pf"}, QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty()) << "no profiles in " << profiles.path().toStdString();

    RealHarness h;
    const QString input = h.dir.filePath("tiny clip.avi");
    ASSERT_TRUE(TestMedia::makeVideo(input, 1.0, "320x240", 25, true));
    QStringList failed;
    int converted = 0;
    for (const QString& file : files) {
        ConversionJob job;
        job.inputPath = input;
        job.profile = std::make_unique<Profile>();
        ProfileReader::Read(profiles.filePath(file), file.toUtf8(), *job.profile);
        if (job.profile->format.compare("rm", Qt::CaseInsensitive) == 0)
            continue;
        SCOPED_TRACE(file.toStdString());
        ASSERT_EQ(h.cntl.bGetMediaFileContent(input, &job), 1);
        const QString output =
            h.dir.filePath("out-" + QFileInfo(file).baseName() + "." + job.profile->extName);
        const int result = h.convert(job, output);
        const bool ok =
            result == 1 && QFileInfo(output).size() > 0 && !TestMedia::probe(output).isEmpty();
        if (!ok)
            failed << file;
        ++converted;
    }
    EXPECT_GT(converted, 0);
    EXPECT_TRUE(failed.isEmpty()) << "profiles that fail: " << failed.join(", ").toStdString();
}

namespace {

// ffprobe's view of the first video stream and every stream's codec.
struct Shape
{
    QStringList codecs; // "video:h264", "audio:aac", ...
    QString tag, aspect;
    int width = 0, height = 0;
};

Shape shapeOf(const QString& path)
{
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-show_entries",
                        "stream=codec_type,codec_name,codec_tag_string,width,height,"
                        "display_aspect_ratio",
                        "-of", "compact=p=0", path});
    p.waitForFinished(60000);
    Shape s;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n')) {
        QMap<QString, QString> f;
        for (const QString& field : line.split('|'))
            f[field.section('=', 0, 0)] = field.section('=', 1);
        if (f.value("codec_type").isEmpty())
            continue;
        s.codecs << f["codec_type"] + ':' + f["codec_name"];
        if (f["codec_type"] == "video" && s.width == 0) {
            s.width = f["width"].toInt();
            s.height = f["height"].toInt();
            s.tag = f["codec_tag_string"];
            s.aspect = f["display_aspect_ratio"];
        }
    }
    return s;
}

} // namespace

TEST(RealTool, TodaysProfilesMakeTheirCodecsAtTheSourceSize)
{
    REQUIRE_TOOL();
    const struct
    {
        const char* file;
        const char* codecs; // ffprobe's stream codecs, in order
        const char* tag;    // the video tag that must be set; empty: any
    } cases[] = {
        {"18-mp4-h264-quality.pf", "video:h264 audio:aac", ""},
        {"19-mp4-h265.pf", "video:hevc audio:aac", "hvc1"},
        {"20-mp4-av1.pf", "video:av1 audio:aac", ""},
        {"21-webm-vp9.pf", "video:vp9 audio:opus", ""},
        {"22-mp4-copy.pf", "video:h264 audio:aac", ""},
        {"23-mkv-copy.pf", "video:h264 audio:aac", ""},
        {"24-m4a-aac.pf", "audio:aac", ""},
        {"25-flac.pf", "audio:flac", ""},
        {"26-opus.pf", "audio:opus", ""},
    };
    RealHarness h;
    const QString input = h.dir.filePath("small clip.mp4");
    ASSERT_TRUE(TestMedia::makeVideo(input, 1.0, "160x90", 30, true));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ConversionJob job;
        job.inputPath = input;
        job.profile = std::make_unique<Profile>();
        ProfileReader::Read(TestMedia::appDir() + "profiles/" + c.file, c.file, *job.profile);
        ASSERT_FALSE(job.profile->extName.isEmpty());
        ASSERT_EQ(h.cntl.bGetMediaFileContent(input, &job), 1);
        const QString output =
            h.dir.filePath(QFileInfo(c.file).baseName() + "." + job.profile->extName);
        ASSERT_EQ(h.convert(job, output), 1)
            << TestMedia::readFile(h.dir.filePath("trace.log")).toStdString();
        const Shape s = shapeOf(output);
        EXPECT_EQ(s.codecs.join(' '), QString(c.codecs));
        if (s.codecs.first().startsWith("video")) {
            EXPECT_EQ(s.width, 160);
            EXPECT_EQ(s.height, 90);
        }
        if (*c.tag) {
            EXPECT_EQ(s.tag, QString(c.tag));
        }
        EXPECT_NEAR(TestMedia::probeDuration(output), 1.0, 0.3);
    }
}

TEST(RealTool, AWideSourceIsShownWideThroughAviMobileAndDvd)
{
    REQUIRE_TOOL();
    RealHarness h;
    const QString input = h.dir.filePath("wide.mp4");
    ASSERT_TRUE(TestMedia::makeVideo(input, 1.0, "320x180", 25, true));
    for (const char* file : {"05-avi-xvid.pf", "03-3gp.pf", "14-dvd-pal.pf"}) {
        SCOPED_TRACE(file);
        ConversionJob job;
        job.inputPath = input;
        job.profile = std::make_unique<Profile>();
        ProfileReader::Read(TestMedia::appDir() + "profiles/" + file, file, *job.profile);
        ASSERT_EQ(h.cntl.bGetMediaFileContent(input, &job), 1);
        const QString output =
            h.dir.filePath(QFileInfo(file).baseName() + "." + job.profile->extName);
        ASSERT_EQ(h.convert(job, output), 1);
        EXPECT_EQ(shapeOf(output).aspect, "16:9");
    }
    // The log says what the disc conversion did about the shape.
    EXPECT_TRUE(TestMedia::readFile(h.dir.filePath("trace.log"))
                    .contains("picture is flagged 16:9 to keep its shape"));
}
