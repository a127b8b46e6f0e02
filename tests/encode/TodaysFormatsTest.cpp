// Today's encoders, their quality and speed options, and copying streams without re-encoding.
#include "LegacyCommandLine.h"
#include "LegacyTranslator.h"
#include "LibavMediaLibrary.h"
#include "TestMedia.h"
#include "ToolRun.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

FfmpegCommand translate(const QString& options, const QString& output,
                        const MediaProbeResult& input = MediaProbeResult{})
{
    const LegacyCommandLine line = LegacyCommandLine::parse(
        QStringList{"ffmpeg-converter", "-i", "in.mp4"} + options.split(' ', Qt::SkipEmptyParts) +
        QStringList{"-y", output});
    EXPECT_EQ(line.mode, LegacyCommandLine::Mode::Convert) << line.error.toStdString();
    return LegacyTranslator::translate(line, "in.mp4", input, LibavMediaLibrary());
}

TEST(QualityOptions, CrfAndPresetAreWrittenForEachEncoderOrRefusedWithAReason)
{
    const struct
    {
        const char* options;
        const char* output;
        const char* expected; // words the arguments hold in this order; empty: refused
        const char* refusal;  // text the refusal holds
    } cases[] = {
        {"-vcodec libx264 -crf 23 -preset medium", "a.mp4", "-crf 23 -preset medium", ""},
        {"-vcodec H264 -crf 18.5", "a.mp4", "-c:v libx264 -crf 18.5", ""},
        {"-vcodec hevc -crf 28 -preset fast", "a.mp4",
         "-c:v libx265 -x265-params log-level=error -crf 28 -preset fast", ""},
        {"-vcodec libsvtav1 -crf 35 -preset 8", "a.mp4", "-c:v libsvtav1 -crf 35 -preset 8", ""},
        {"-vcodec vp9 -crf 31 -preset faster", "a.webm",
         "-c:v libvpx-vp9 -crf 31 -b:v 0 -deadline good -cpu-used 5 -row-mt 1", ""},
        // A bit rate of its own makes VP9's quality constrained, not pure.
        {"-vcodec libvpx-vp9 -b 900k -crf 31", "a.webm", "-b:v 900k -crf 31", ""},
        {"-vcodec libx264 -preset quick", "a.mp4", "",
         "-preset \"quick\" is not a value the libx264 encoder takes"},
        {"-vcodec libx265 -crf 52", "a.mp4", "", "from 0 to 51"},
        {"-vcodec libsvtav1 -preset medium", "a.mp4", "", "from 0 (slowest) to 13"},
        {"-vcodec libvpx-vp9 -crf 40.5", "a.webm", "", "a whole number from 0 to 63"},
        {"-vcodec mpeg4 -crf 20", "a.mp4", "", "the mpeg4 encoder has no constant-quality mode"},
        {"-vcodec mpeg4 -preset slow", "a.avi", "", "the mpeg4 encoder has no speed presets"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        const FfmpegCommand cmd = translate(c.options, c.output);
        if (*c.expected == '\0') {
            EXPECT_TRUE(cmd.refusal.contains(c.refusal)) << cmd.refusal.toStdString();
            continue;
        }
        EXPECT_TRUE(cmd.refusal.isEmpty()) << cmd.refusal.toStdString();
        const QString joined = cmd.arguments.join(' ');
        EXPECT_TRUE(joined.contains(c.expected)) << joined.toStdString();
        // No bit rate is forced beside a quality of its own.
        if (!QString(c.options).contains("-b ")) {
            EXPECT_FALSE(joined.contains(QRegularExpression("-b:v [1-9]"))) << joined.toStdString();
        }
    }
}

MediaProbeResult streams(std::initializer_list<MediaStream> list)
{
    MediaProbeResult r;
    r.ok = true;
    r.duration = 2;
    r.demuxer = "matroska";
    for (const MediaStream& s : list) {
        r.streams << s;
        r.hasVideo = r.hasVideo || s.type == MediaStream::Video;
        r.hasAudio = r.hasAudio || s.type == MediaStream::Audio;
    }
    r.width = 160;
    r.height = 90;
    return r;
}

TEST(StreamCopy, KeepsWhatTheContainerHoldsAndReEncodesTheRest)
{
    const MediaProbeResult input =
        streams({{MediaStream::Video, "h264", false, false},
                 {MediaStream::Audio, "pcm_s16le", false, false},
                 {MediaStream::Audio, "aac", false, false},
                 {MediaStream::Subtitle, "subrip", false, true},
                 {MediaStream::Subtitle, "hdmv_pgs_subtitle", false, false}});
    const FfmpegCommand mp4 = translate("-vcodec copy -acodec copy", "out.mp4", input);
    EXPECT_TRUE(mp4.refusal.isEmpty());
    EXPECT_TRUE(mp4.arguments.join(' ').contains("-map 0:0 -c:0 copy -map 0:1 -c:1 aac -map 0:2 "
                                                 "-c:2 copy -map 0:3 -c:3 mov_text"))
        << mp4.arguments.join(' ').toStdString();
    EXPECT_TRUE(mp4.notes.join('\n').contains("stream 1 (audio pcm_s16le) re-encoded as aac"))
        << mp4.notes.join('\n').toStdString();
    EXPECT_TRUE(mp4.notes.join('\n').contains("stream 4 (subtitle hdmv_pgs_subtitle) left out"));

    const FfmpegCommand mkv = translate("-f matroska -vcodec copy -acodec copy", "out.mkv", input);
    EXPECT_TRUE(mkv.arguments.join(' ').contains("-map 0:0 -c:0 copy -map 0:1 -c:1 copy -map 0:2 "
                                                 "-c:2 copy -map 0:3 -c:3 copy -map 0:4 -c:4 copy"))
        << mkv.arguments.join(' ').toStdString();
    EXPECT_TRUE(mkv.notes.isEmpty()) << mkv.notes.join('\n').toStdString();

    // Nothing the container holds as it is: a copy would be an encode under another name.
    const FfmpegCommand none = translate("-vcodec copy -acodec copy", "out.mp4",
                                         streams({{MediaStream::Video, "wmv2", false, false},
                                                  {MediaStream::Audio, "wmav2", false, false}}));
    EXPECT_TRUE(none.refusal.contains("none of the input's streams can be copied into mp4"));
}

class CopyTool : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(TestMedia::makeVideo(at("src.mp4"), 1.0, "160x90", 25, false));
        // H.264 video, a PCM track, an AAC track and a text subtitle.
        ASSERT_TRUE(
            TestMedia::writeFile(at("subs.srt"), "1\n00:00:00,000 --> 00:00:00,800\nHello\n\n"));
        ASSERT_TRUE(TestMedia::ffmpeg({"-i",
                                       at("src.mp4"),
                                       "-f",
                                       "lavfi",
                                       "-i",
                                       "sine=frequency=440:duration=1",
                                       "-f",
                                       "lavfi",
                                       "-i",
                                       "sine=frequency=660:duration=1",
                                       "-i",
                                       at("subs.srt"),
                                       "-map",
                                       "0:v",
                                       "-map",
                                       "1:a",
                                       "-map",
                                       "2:a",
                                       "-map",
                                       "3:s",
                                       "-c:v",
                                       "libx264",
                                       "-preset",
                                       "ultrafast",
                                       "-c:a:0",
                                       "pcm_s16le",
                                       "-c:a:1",
                                       "aac",
                                       "-c:s",
                                       "srt",
                                       at("many tracks.mkv")}));
        ASSERT_TRUE(TestMedia::makePicture(at("still.png"), "160x90"));
        ASSERT_TRUE(TestMedia::ffmpeg({"-i", at("src.mp4"), "-c:v", "libx264", "-preset",
                                       "ultrafast", "-f", "h264", at("raw.h264")}));
    }
    static void TearDownTestSuite() { dir.reset(); }
    static QString at(const QString& name) { return dir->filePath(name); }

    // The MD5 of one stream's packets as they are stored.
    static QByteArray packetsHash(const QString& file, const QString& stream)
    {
        QProcess p;
        p.start("ffmpeg", {"-v", "error", "-i", file, "-map", stream, "-c", "copy", "-f",
                           "streamhash", "-hash", "md5", "-"});
        p.waitForFinished(60000);
        return p.readAllStandardOutput().trimmed().split('=').last();
    }

    static std::unique_ptr<QTemporaryDir> dir;
};
std::unique_ptr<QTemporaryDir> CopyTool::dir;

TEST_F(CopyTool, Mp4KeepsTheVideoBitForBitAndReEncodesPcm)
{
    const QString out = at("copy.mp4");
    const ToolRun run = runTool(conversion(
        at("many tracks.mkv"), {"-f", "mp4", "-vcodec", "copy", "-acodec", "copy"}, out));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(packetsHash(out, "0:v:0"), packetsHash(at("many tracks.mkv"), "0:v:0"));
    const QStringList probed = TestMedia::probe(out);
    EXPECT_TRUE(probed.contains("aac|audio")) << probed.join(' ').toStdString();
    EXPECT_TRUE(probed.contains("mov_text|subtitle|N/A|N/A")) << probed.join(' ').toStdString();
    EXPECT_EQ(probed.count("aac|audio"), 2);
    EXPECT_TRUE(run.err.contains("stream 1 (audio pcm_s16le) re-encoded as aac"))
        << run.err.toStdString();
}

TEST_F(CopyTool, MkvKeepsBothAudioTracksAndTheSubtitle)
{
    const QString out = at("copy.mkv");
    const ToolRun run = runTool(conversion(
        at("many tracks.mkv"), {"-f", "matroska", "-vcodec", "copy", "-acodec", "copy"}, out));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList probed = TestMedia::probe(out);
    EXPECT_TRUE(probed.contains("h264|video|160|90")) << probed.join(' ').toStdString();
    EXPECT_TRUE(probed.contains("pcm_s16le|audio"));
    EXPECT_TRUE(probed.contains("aac|audio"));
    EXPECT_TRUE(probed.contains("subrip|subtitle|N/A|N/A"));
    EXPECT_FALSE(run.err.contains("re-encoded")) << run.err.toStdString();
}

TEST_F(CopyTool, StillsAndRawStreamsFailClearlyWithoutAFile)
{
    const struct
    {
        const char* input;
        const char* message;
    } cases[] = {
        {"still.png", "still picture, which has no stream to copy"},
        {"raw.h264", "raw h264 stream without timestamps"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const QString out = at(QString(c.input) + ".mp4");
        const ToolRun run = runTool(
            conversion(at(c.input), {"-f", "mp4", "-vcodec", "copy", "-acodec", "copy"}, out));
        EXPECT_NE(run.exitCode, 0);
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(out));
    }
}

TEST(PictureShape, DiscFramesKeepTheSourceShape)
{
    MediaProbeResult wide = streams({{MediaStream::Video, "h264", false, false}});
    wide.width = 1280;
    wide.height = 720;
    wide.displayAspect = 16.0 / 9.0;
    wide.frameRate = 25;
    // VCD has no wide flag: the picture is letterboxed; DVD is flagged; the user's 16:9 wins.
    const FfmpegCommand vcd = translate("-target pal-vcd -aspect 4:3", "v.mpg", wide);
    EXPECT_TRUE(vcd.arguments.join(' ').contains("-vf scale=352:216,pad=352:288:-1:-1:color=black"))
        << vcd.arguments.join(' ').toStdString();
    EXPECT_TRUE(vcd.notes.join(' ').contains("letterbox"));
    const FfmpegCommand dvd = translate("-target pal-dvd -aspect 4:3", "d.vob", wide);
    EXPECT_TRUE(dvd.arguments.join(' ').endsWith("-aspect 16:9 file:d.vob"))
        << dvd.arguments.join(' ').toStdString();
    MediaProbeResult narrow = wide;
    narrow.displayAspect = 4.0 / 3.0;
    const FfmpegCommand asked = translate("-target pal-dvd -aspect 16:9", "d.vob", narrow);
    EXPECT_TRUE(asked.arguments.join(' ').contains("-aspect 16:9"));
    EXPECT_FALSE(asked.arguments.join(' ').contains("pad="));
    const FfmpegCommand pillar = translate("-target pal-vcd", "v.mpg", [&] {
        MediaProbeResult tall = wide;
        tall.displayAspect = 1.0;
        return tall;
    }());
    EXPECT_TRUE(pillar.arguments.join(' ').contains("scale=264:288,pad=352:288"))
        << pillar.arguments.join(' ').toStdString();
}

TEST(QualityTool, ABadPresetFailsWithItsMessageBeforeFfmpegRuns)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("in.mp4");
    ASSERT_TRUE(TestMedia::makeVideo(in, 1.0, "160x90", 25, false));
    // A stand-in ffmpeg that leaves a mark shows whether it was started at all.
    const QString mark = dir.filePath("ffmpeg ran");
    const QProcessEnvironment env =
        withFakeFfmpeg(dir.path(), "touch \"" + QFile::encodeName(mark) + "\"\nexit 1\n");
    const QString out = dir.filePath("out.mp4");
    const ToolRun run =
        runTool(conversion(in, {"-vcodec", "libx264", "-preset", "warp"}, out), QString(), env);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("encode: -preset \"warp\" is not a value the libx264 encoder "
                                 "takes; it takes ultrafast"))
        << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(mark));
    EXPECT_FALSE(QFileInfo::exists(out));
}

} // namespace
