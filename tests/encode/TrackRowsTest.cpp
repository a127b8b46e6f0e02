// The rows that choose tracks, keep or strip metadata, crop, deinterlace and even out loudness,
// run through the real tool on one family of generated clips.
#include "EncoderToolContract.h"
#include "LegacyCommandLine.h"
#include "LegacyTranslator.h"
#include "LibavMediaLibrary.h"
#include "SegmentCommands.h"
#include "SourceAnalysis.h"
#include "TestMedia.h"
#include "ToolRun.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

QByteArray run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    p.waitForFinished(120000);
    return p.readAll();
}

// One line per stream: type, codec, language, title or handler name, default and forced marks.
QStringList streamsOf(const QString& path)
{
    return QString::fromUtf8(
               run("ffprobe", {"-v", "error", "-show_entries",
                               "stream=codec_type,codec_name:stream_tags=language,title,handler_"
                               "name:stream_disposition=default,forced",
                               "-of", "csv=p=0", path}))
        .split('\n', Qt::SkipEmptyParts);
}

QByteArray pictureSums(const QString& path)
{
    return run("ffmpeg", {"-v", "error", "-i", path, "-map", "0:v", "-f", "framemd5", "-"});
}

// The mean difference of the grey pixels of two files' pictures at `seconds`, in a band.
double bandDifference(const QString& a, const QString& b, const QString& crop)
{
    const auto grey = [&](const QString& path) {
        return run("ffmpeg", {"-v", "error", "-ss", "2", "-i", path, "-frames:v", "1", "-vf",
                              "crop=" + crop + ",format=gray", "-f", "rawvideo", "-"});
    };
    const QByteArray x = grey(a), y = grey(b);
    if (x.isEmpty() || x.size() != y.size())
        return -1;
    double sum = 0;
    for (qsizetype i = 0; i < x.size(); ++i)
        sum += std::abs(int(uchar(x[i])) - int(uchar(y[i])));
    return sum / double(x.size());
}

class TrackRows : public ::testing::Test
{
protected:
    static inline QTemporaryDir* s_dir = nullptr;

    // A letterboxed 10 s film with a black scene, a quiet English and a default German sound
    // track, an English subtitle and a forced German one, two chapters, a title and a date; and
    // an interlaced clip beside it.
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        TestMedia::writeFile(s_dir->filePath("subs.srt"),
                             "1\n00:00:00,500 --> 00:00:09,500\nHELLO SUBTITLE WORLD\n");
        TestMedia::writeFile(s_dir->filePath("meta.txt"),
                             ";FFMETADATA1\ntitle=Family clip\ncreation_time=2020-01-02T03:04:05Z\n"
                             "[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=4000\ntitle=Opening\n"
                             "[CHAPTER]\nTIMEBASE=1/1000\nSTART=4000\nEND=10000\ntitle=End\n");
        ASSERT_TRUE(
            TestMedia::ffmpeg({"-f",
                               "lavfi",
                               "-i",
                               "testsrc2=s=320x180:r=25:d=10,gblur=sigma=1.5,pad=320:240:0:30,"
                               "drawbox=enable='between(t,4,5.5)':c=black:t=fill",
                               "-f",
                               "lavfi",
                               "-i",
                               "sine=f=440:d=10,volume=-30dB",
                               "-f",
                               "lavfi",
                               "-i",
                               "sine=f=880:d=10",
                               "-i",
                               s_dir->filePath("subs.srt"),
                               "-i",
                               s_dir->filePath("subs.srt"),
                               "-i",
                               s_dir->filePath("meta.txt"),
                               "-map",
                               "0",
                               "-map",
                               "1",
                               "-map",
                               "2",
                               "-map",
                               "3",
                               "-map",
                               "4",
                               "-map_metadata",
                               "5",
                               "-c:v",
                               "libx264",
                               "-preset",
                               "ultrafast",
                               "-c:a",
                               "aac",
                               "-c:s",
                               "srt",
                               "-metadata:s:a:0",
                               "language=eng",
                               "-metadata:s:a:0",
                               "title=English",
                               "-metadata:s:a:1",
                               "language=ger",
                               "-metadata:s:a:1",
                               "title=Deutsch",
                               "-metadata:s:s:0",
                               "language=eng",
                               "-metadata:s:s:1",
                               "language=ger",
                               "-disposition:a:0",
                               "0",
                               "-disposition:a:1",
                               "default",
                               "-disposition:s:1",
                               "forced",
                               "-y",
                               s_dir->filePath("family.mkv")}));
        ASSERT_TRUE(TestMedia::ffmpeg({"-f", "lavfi", "-i",
                                       "testsrc2=s=320x240:r=50:d=4,gblur=sigma=1.5,interlace",
                                       "-c:v", "libx264", "-preset", "ultrafast", "-flags",
                                       "+ilme+ildct", "-an", "-y", s_dir->filePath("inter.mkv")}));
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    static QString path(const QString& name) { return s_dir->filePath(name); }

    // Converts `in` into `out` with H.264 and AAC and the rows given; what the tool said.
    static ToolRun convert(const QString& in, const QString& out, const QStringList& rows)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(EncoderToolContract::kSegmentsVariable, "0");
        const ToolRun r = runTool(
            conversion(path(in),
                       QStringList{"-vcodec", "libx264", "-preset", "ultrafast", "-acodec", "aac"} +
                           rows,
                       path(out)),
            s_dir->path(), env);
        EXPECT_TRUE(r.finished);
        return r;
    }
};

TEST_F(TrackRows, LanguagesInOrderWithTitlesMarksChaptersAndTextSubtitlesInMp4)
{
    const ToolRun r =
        convert("family.mkv", "langs.mp4", {"-audio_tracks", "ger+fra+eng", "-subtitles", "keep"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("no sound track in fra in the input; skipped"));
    const QStringList s = streamsOf(path("langs.mp4"));
    ASSERT_GE(s.size(), 5) << s.join('\n').toStdString();
    EXPECT_EQ(s[1], "aac,audio,1,0,ger,Deutsch");
    EXPECT_EQ(s[2], "aac,audio,0,0,eng,English");
    EXPECT_TRUE(s[3].startsWith("mov_text,subtitle")) << s[3].toStdString();
    EXPECT_TRUE(s[4].startsWith("mov_text,subtitle")) << s[4].toStdString();
    const QByteArray format = run("ffprobe", {"-v", "error", "-show_entries", "format_tags",
                                              "-show_chapters", path("langs.mp4")});
    EXPECT_TRUE(format.contains("title=Family clip"));
    EXPECT_TRUE(format.contains("creation_time=2020-01-02T03:04:05"));
    EXPECT_TRUE(format.contains("title=End"));

    // Nothing matched: the first track, said so.
    const ToolRun none = convert("family.mkv", "none.mp4", {"-audio_tracks", "fra"});
    EXPECT_TRUE(none.err.contains("no sound track matches \"fra\"; the first is kept"));
    const QStringList kept = streamsOf(path("none.mp4")).filter("audio");
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(kept[0].endsWith("eng,English")) << kept[0].toStdString();
}

TEST_F(TrackRows, MkvKeepsSubtitlesForcedOnlyAndStrips)
{
    ASSERT_EQ(convert("family.mkv", "forced.mkv", {"-subtitles", "forced"}).exitCode, 0);
    const QStringList forced = streamsOf(path("forced.mkv")).filter("subtitle");
    ASSERT_EQ(forced.size(), 1);
    EXPECT_EQ(forced[0], "subrip,subtitle,0,1,ger");

    ASSERT_EQ(convert("family.mkv", "strip.mkv",
                      {"-subtitles", "keep", "-audio_tracks", "all", "-metadata", "strip"})
                  .exitCode,
              0);
    const QStringList stripped = streamsOf(path("strip.mkv"));
    EXPECT_EQ(stripped.filter("subrip").size(), 2);
    EXPECT_EQ(stripped.filter("ger").size(), 0) << stripped.join('\n').toStdString();
    const QByteArray format = run("ffprobe", {"-v", "error", "-show_entries", "format_tags",
                                              "-show_chapters", path("strip.mkv")});
    EXPECT_FALSE(format.contains("Family clip"));
    EXPECT_FALSE(format.contains("CHAPTER"));
}

TEST_F(TrackRows, AutoCropFindsTheLetterboxPastABlackSceneAndBurnsSubtitlesInside)
{
    const ToolRun plain = convert("family.mkv", "crop.mp4", {"-crop", "auto"});
    ASSERT_EQ(plain.exitCode, 0) << plain.err.toStdString();
    EXPECT_TRUE(plain.err.contains("crop found on 12 samples: 30:30:0:0"))
        << plain.err.toStdString();
    EXPECT_TRUE(TestMedia::probe(path("crop.mp4")).first().startsWith("h264|video|320|180"));

    ASSERT_EQ(
        convert("family.mkv", "burn.mp4", {"-crop", "auto", "-subtitles", "burn:eng"}).exitCode, 0);
    // The text lies near the bottom of the picture; the top is the same picture.
    EXPECT_GT(bandDifference(path("crop.mp4"), path("burn.mp4"), "320:30:0:150"), 3.0);
    EXPECT_LT(bandDifference(path("crop.mp4"), path("burn.mp4"), "320:60:0:0"), 1.0);
}

TEST_F(TrackRows, AutoDeinterlaceTouchesOnlyTheInterlacedClip)
{
    const ToolRun progressive = convert("family.mkv", "auto.mkv", {"-interlace", "auto"});
    EXPECT_TRUE(progressive.err.contains("left as it is")) << progressive.err.toStdString();
    ASSERT_EQ(convert("family.mkv", "off.mkv", {"-interlace", "off"}).exitCode, 0);
    EXPECT_EQ(pictureSums(path("auto.mkv")), pictureSums(path("off.mkv")));

    const ToolRun interlaced = convert("inter.mkv", "inter-auto.mkv", {"-interlace", "auto"});
    EXPECT_TRUE(interlaced.err.contains("deinterlaced (bwdif)")) << interlaced.err.toStdString();
    ASSERT_EQ(convert("inter.mkv", "inter-off.mkv", {"-interlace", "off"}).exitCode, 0);
    EXPECT_NE(pictureSums(path("inter-auto.mkv")), pictureSums(path("inter-off.mkv")));
}

TEST_F(TrackRows, LoudnessLandsOnTheTargetForEveryTrack)
{
    const ToolRun r =
        convert("family.mkv", "loud.mkv", {"-audio_tracks", "all", "-loudness", "-16"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    for (const char* track : {"0:a:0", "0:a:1"}) {
        const QString report =
            QString::fromUtf8(run("ffmpeg", {"-nostats", "-i", path("loud.mkv"), "-map", track,
                                             "-af", "ebur128=peak=true", "-f", "null", "-"}));
        const qsizetype at = report.lastIndexOf(" I:");
        ASSERT_GE(at, 0) << report.toStdString();
        EXPECT_NEAR(report.mid(at + 3).trimmed().section(' ', 0, 0).toDouble(), -16.0, 1.0);
    }
}

TEST_F(TrackRows, BadValuesAreRefusedBeforeFfmpegRunsSayingWhatIsAccepted)
{
    const ToolRun r = convert("family.mkv", "bad.mp4", {"-crop", "10:10"});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("top:bottom:left:right")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("bad.mp4")));
    const ToolRun large = convert("family.mkv", "large.mp4", {"-crop", "120:120:0:0"});
    EXPECT_TRUE(large.err.contains("is larger than the picture (320x240)"));
    EXPECT_FALSE(QFile::exists(path("large.mp4")));
}

TEST_F(TrackRows, Hdr10MasteringAndLightLevelsSurviveH265)
{
    ASSERT_TRUE(TestMedia::ffmpeg(
        {"-f", "lavfi", "-i", "testsrc2=s=160x120:d=1,format=yuv420p10le", "-c:v", "libx265",
         "-x265-params",
         "log-level=error:hdr10=1:master-display=G(13250,34500)B(7500,3000)R(34000,16000)"
         "WP(15635,16450)L(10000000,1):max-cll=1000,400",
         "-color_primaries", "bt2020", "-color_trc", "smpte2084", "-colorspace", "bt2020nc", "-y",
         path("hdr.mkv")}));
    const ToolRun r = runTool(conversion(
        path("hdr.mkv"), {"-vcodec", "libx265", "-preset", "ultrafast", "-metadata", "keep"},
        path("hdr.mp4")));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray side =
        run("ffprobe", {"-v", "error", "-read_intervals", "%+#1", "-show_entries",
                        "frame_side_data:stream=color_transfer", path("hdr.mp4")});
    EXPECT_TRUE(side.contains("color_transfer=smpte2084"));
    EXPECT_TRUE(side.contains("max_luminance=10000000/10000")) << side.toStdString();
    EXPECT_TRUE(side.contains("max_content=1000"));
}

TEST_F(TrackRows, AStillIsThePictureTheLineWouldMakeInThePlayersShape)
{
    const auto still = [](const QString& in, const QString& png, const QStringList& rows) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(EncoderToolContract::kStillVariable, "2.5");
        // The output's format is the profile's, whatever the still's name says.
        return runTool(
            conversion(path(in),
                       QStringList{"-f", "mp4", "-vcodec", "libx264", "-acodec", "aac"} + rows,
                       path(png)),
            s_dir->path(), env);
    };
    // Loudness would measure the sound first; a still has none and asks for no such look.
    const ToolRun crop = still("family.mkv", "crop.png", {"-crop", "auto", "-loudness", "-16"});
    ASSERT_EQ(crop.exitCode, 0) << crop.err.toStdString();
    EXPECT_TRUE(crop.err.contains("crop found on 12 samples: 30:30:0:0"));
    EXPECT_TRUE(crop.err.contains("encode: still frame 320x180")) << crop.err.toStdString();
    EXPECT_FALSE(crop.err.contains("measured at")) << crop.err.toStdString();
    EXPECT_TRUE(verdictLine(crop).isEmpty());
    EXPECT_EQ(TestMedia::probe(path("crop.png")).value(0).section('|', 0, 3), "png|video|320|180");

    // Scaled to 160x120 for a 16:9 screen: written 160x120, seen 214x120; deinterlaced as asked.
    const QStringList shaped = {"-s", "160x120", "-aspect", "16:9"};
    const ToolRun on = still("inter.mkv", "on.png", shaped + QStringList{"-interlace", "on"});
    ASSERT_EQ(on.exitCode, 0) << on.err.toStdString();
    EXPECT_TRUE(on.err.contains("encode: still frame 160x120")) << on.err.toStdString();
    EXPECT_EQ(TestMedia::probe(path("on.png")).value(0).section('|', 0, 3), "png|video|214|120");
    ASSERT_EQ(still("inter.mkv", "off.png", shaped + QStringList{"-interlace", "off"}).exitCode, 0);
    EXPECT_NE(pictureSums(path("on.png")), pictureSums(path("off.png")));

    const ToolRun copy =
        runTool(conversion(path("family.mkv"), {"-f", "mp4", "-vcodec", "copy"}, path("c.png")),
                s_dir->path(), [] {
                    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
                    env.insert(EncoderToolContract::kStillVariable, "1");
                    return env;
                }());
    EXPECT_NE(copy.exitCode, 0);
    EXPECT_TRUE(copy.err.contains("no still: the conversion re-encodes no moving picture"));
    EXPECT_FALSE(QFile::exists(path("c.png")));
}

// A subtitle of a codec this FFmpeg does not know: the Matroska codec name of a text subtitle
// changed to one nobody has.
TEST_F(TrackRows, AnUndecodableSubtitleIsRefusedForBurningAndLeftOutWhenKept)
{
    QByteArray mkv = TestMedia::readFile(path("family.mkv"));
    ASSERT_EQ(mkv.count("S_TEXT/UTF8"), 2);
    mkv.replace("S_TEXT/UTF8", "S_TEXT/XYZW");
    ASSERT_TRUE(TestMedia::writeFile(path("unknown.mkv"), mkv));

    const ToolRun burn = convert("unknown.mkv", "burn-unknown.mp4", {"-subtitles", "burn:ger"});
    EXPECT_NE(burn.exitCode, 0);
    EXPECT_TRUE(burn.err.contains("subtitle track 4 (an unknown codec) cannot be decoded by this "
                                  "FFmpeg; it cannot be burned in"))
        << burn.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("burn-unknown.mp4")));

    const ToolRun keep = convert("unknown.mkv", "keep-unknown.mkv", {"-subtitles", "keep"});
    ASSERT_EQ(keep.exitCode, 0) << keep.err.toStdString();
    EXPECT_EQ(keep.err.count("cannot be decoded by this FFmpeg; it is left out"), 2);
    EXPECT_TRUE(streamsOf(path("keep-unknown.mkv")).filter("subtitle").isEmpty());
}

TEST(TrackRowsUnits, CropHoldsForEverySampleWithPictureAndMapsSurviveCutting)
{
    const QByteArray letterbox = "x1:0 x2:319 y1:30 y2:209 w:320";
    const QByteArray black = "x1:319 x2:0 y1:239 y2:0 w:-318";
    const QByteArray wide = "x1:0 x2:319 y1:4 y2:235 w:320";
    int crop[4] = {};
    ASSERT_TRUE(SourceAnalysis::unionCrop({letterbox, black, letterbox}, 320, 240, crop));
    EXPECT_EQ(QList<int>({crop[0], crop[1], crop[2], crop[3]}), QList<int>({30, 30, 0, 0}));
    ASSERT_TRUE(SourceAnalysis::unionCrop({letterbox, wide}, 320, 240, crop));
    EXPECT_EQ(crop[0], 4);
    EXPECT_FALSE(SourceAnalysis::unionCrop({black, black}, 320, 240, crop));

    const SegmentCommands cut({"-y", "-i", "file:in.mkv", "-c:v", "libx264", "-map", "0:0", "-map",
                               "0:2", "-map", "0:1", "out.mp4"});
    EXPECT_TRUE(cut.refusal().isEmpty()) << cut.refusal().toStdString();
}

} // namespace
