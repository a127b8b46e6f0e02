#include "LegacyTranslator.h"
#include "CodecNames.h"
#include "EncoderToolContract.h"
#include "LegacyCommandLine.h"
#include "LibavMediaLibrary.h"

#include <gtest/gtest.h>

namespace {

const QString kTail = "-async 24 -vsync 24";
const QString kSync = "-fps_mode cfr -af aresample=async=24:first_pts=0";

MediaProbeResult clip(double rate = 25, int sampleRate = 44100)
{
    MediaProbeResult r;
    r.ok = r.hasVideo = r.hasAudio = true;
    r.duration = 10;
    r.width = 320;
    r.height = 240;
    r.frameRate = rate;
    r.sampleRate = sampleRate;
    r.channels = 2;
    r.demuxer = "mov";
    return r;
}

MediaProbeResult picture(const QString& demuxer = "jpeg_pipe")
{
    MediaProbeResult r;
    r.ok = r.hasVideo = r.isStillPicture = true;
    r.width = 160;
    r.height = 120;
    r.frameRate = 25;
    r.demuxer = demuxer;
    return r;
}

struct Case
{
    const char* options; // legacy options, blank-separated (no blank inside a value)
    const char* output;
    const char* pre;  // expected input options
    const char* post; // expected output options
    const char* note; // text the notes must hold; empty: no note at all
    MediaProbeResult input = clip();
    const char* tail = nullptr; // replaces the converter's fixed sync options
};

QStringList words(const char* text)
{
    return QString::fromUtf8(text).split(' ', Qt::SkipEmptyParts);
}

FfmpegCommand translate(const QStringList& options, const QString& output,
                        const MediaProbeResult& input, const QString& inputPath = "in.mp4")
{
    const QStringList args =
        QStringList{"ffmpeg-converter", "-i", inputPath} + options + QStringList{"-y", output};
    const LegacyCommandLine line = LegacyCommandLine::parse(args);
    EXPECT_EQ(line.mode, LegacyCommandLine::Mode::Convert) << line.error.toStdString();
    return LegacyTranslator::translate(line, inputPath, input, LibavMediaLibrary());
}

void check(const Case& c)
{
    SCOPED_TRACE(std::string(c.options) + " -> " + c.output);
    const QStringList options = words(c.options) + words(c.tail ? c.tail : "-async 24 -vsync 24");
    const FfmpegCommand cmd = translate(options, c.output, c.input);
    const QStringList expected = QStringList{"-y"} + words(c.pre) +
                                 QStringList{"-i", "file:in.mp4"} + words(c.post) +
                                 QStringList{"file:" + QString::fromUtf8(c.output)};
    EXPECT_EQ(cmd.arguments.join(' ').toStdString(), expected.join(' ').toStdString());
    if (*c.note) {
        EXPECT_EQ(cmd.notes.size(), 1) << cmd.notes.join('\n').toStdString();
        EXPECT_TRUE(cmd.notes.join('\n').contains(QString::fromUtf8(c.note)))
            << cmd.notes.join('\n').toStdString();
    } else {
        EXPECT_TRUE(cmd.notes.isEmpty()) << cmd.notes.join('\n').toStdString();
    }
}

TEST(LegacyTranslator, ConverterProfileLineBecomesTheModernEquivalent)
{
    check({"-vcodec libxvid -b 800k -s 320x240 -acodec libmp3lame -ab 128k -ac 2 -ar 44100",
           "out.avi", "",
           "-c:v libxvid -b:v 800k -s 320x240 -c:a libmp3lame -b:a 128k -ac 2 -ar 44100 "
           "-fps_mode cfr -af aresample=async=24:first_pts=0",
           ""});
}

TEST(LegacyTranslator, CodecNamesOfTheConverterAndOldProfiles)
{
    const Case cases[] = {
        {"-vcodec xvid", "o.avi", "", "-c:v libxvid", ""},
        {"-vcodec h264", "o.mkv", "", "-c:v libx264", ""},
        {"-vcodec libx264", "o.mkv", "", "-c:v libx264", ""},
        {"-vcodec mpeg4", "o.mp4", "", "-c:v mpeg4", ""},
        {"-vcodec msmpeg4v1", "o.avi", "", "-c:v msmpeg4v2", "msmpeg4v1"},
        {"-vcodec msmpeg4", "o.avi", "", "-c:v msmpeg4", ""},
        {"-vcodec wmv2", "o.wmv", "", "-c:v wmv2", ""},
        {"-vcodec flv", "o.flv", "", "-c:v flv", ""},
        {"-acodec libmp3lame", "o.avi", "", "-c:a libmp3lame", ""},
        {"-acodec mp3", "o.avi", "", "-c:a libmp3lame", ""},
        {"-acodec liba52", "o.mkv", "", "-c:a ac3", ""},
        {"-acodec libfaad", "o.mkv", "", "-c:a aac", ""},
        {"-acodec libfaac", "o.mkv", "", "-c:a aac", ""},
        {"-acodec libvorbis", "o.ogg", "", "-c:a libvorbis", ""},
        {"-acodec libamr_nb", "o.3gp", "", "-c:a aac -c:v mpeg4 -ar 8000 -ac 1", "AMR-NB"},
        {"-acodec libamr_wb -ar 16000 -ac 1", "o.3gp", "", "-c:a aac -ar 16000 -ac 1 -c:v mpeg4",
         "AMR-WB"},
        {"-vcodec nosuchcodec", "o.avi", "", "", "nosuchcodec"},
    };
    for (const Case& c : cases) {
        Case withSync = c;
        withSync.tail = "";
        check(withSync);
    }
}

// A name the engine starts writing must be one the tool maps back, or the profile's codec is
// silently replaced by the output format's default.
TEST(LegacyTranslator, EveryCodecNameTheEngineWritesReachesAnEncoder)
{
    const LibavMediaLibrary ffmpeg;
    for (const EncoderToolContract::WrittenCodec& row : EncoderToolContract::kWrittenCodecs) {
        SCOPED_TRACE(row.written);
        const QString name = QLatin1String(row.written);
        EXPECT_FALSE(CodecNames::video(name, ffmpeg).encoder.isEmpty() &&
                     CodecNames::audio(name, ffmpeg).encoder.isEmpty());
    }
}

TEST(LegacyTranslator, FixedSyncOptionsBecomeFrameRateModeAndResampling)
{
    check({"", "o.avi", "", kSync.toUtf8().constData(), ""});
    check({"", "o.avi", "", "-fps_mode passthrough", "", clip(), "-vsync 0"});
    check({"", "o.avi", "", "-fps_mode vfr", "", clip(), "-vsync 2"});
    check({"", "o.avi", "", "-fps_mode auto", "", clip(), "-vsync -1"});
    check({"", "o.avi", "", "-fps_mode cfr", "", clip(), "-async 0 -vsync 1"});
    // Filtering cannot meet stream copy.
    check({"-vcodec copy -acodec copy", "o.mkv", "", "-c:v copy -c:a copy", ""});
}

TEST(LegacyTranslator, GeneralOptions)
{
    const Case cases[] = {
        {"-f avi", "o.xyz", "", "-f avi", ""},
        {"-f nosuchformat", "o.avi", "", "", "unknown output format"},
        {"-map 0:1", "o.avi", "", "-map 0:1", ""},
        {"-map 0.1:0.0", "o.avi", "", "-map 0:1", ""},
        {"-map 1:0", "o.avi", "", "", "only one input"},
        {"-map_meta_data 0:0", "o.avi", "", "-map_metadata 0", ""},
        {"-t 00:00:10 -fs 1000000", "o.avi", "", "-t 00:00:10 -fs 1000000", ""},
        {"-ss 00:00:05 -itsoffset -1 -re", "o.avi", "-ss 00:00:05 -itsoffset -1 -re", "", ""},
        {"-title T -author A -copyright C -comment X -album B", "o.avi", "",
         "-metadata title=T -metadata author=A -metadata artist=A -metadata copyright=C "
         "-metadata comment=X "
         "-metadata album=B",
         ""},
        {"-timestamp now", "o.mp4", "", "-metadata creation_time=now -c:v mpeg4", ""},
        {"-benchmark -copyts -shortest -dts_delta_threshold 10 -threads 2", "o.avi", "",
         "-benchmark -copyts -shortest -dts_delta_threshold 10 -threads 2", ""},
        {"-dump", "o.avi", "", "", "flood"},
        {"-hex", "o.avi", "", "", "flood"},
        {"-loop_input", "o.avi", "", "", "only a still picture"},
        {"-loop_output 0", "o.gif", "", "-loop 0", ""},
        {"-loop_output 0", "o.avi", "", "", "only GIF"},
        {"-v 10", "o.avi", "", "", "log level"},
        {"-L -version -formats", "o.avi", "", "", ""},
        {"-h full", "o.avi", "", "", "prints information"},
        {"-vglobal 1", "o.avi", "", "-flags:v +global_header", ""},
        {"-muxdelay 0.7 -muxpreload 0.5", "o.mpg", "", "-muxdelay 0.7 -muxpreload 0.5", ""},
        {"-y", "o.avi", "", "", ""},
        {"-g 12 -crf 23", "o.mkv", "", "-g 12 -crf 23", ""},
        {"-bogus_option 1", "o.avi", "", "", "unknown to this FFmpeg"},
        {"-default 1", "o.avi", "", "", "not supported"},
    };
    for (const Case& c : cases) {
        Case plain = c;
        plain.tail = "";
        if (std::string(c.options) == "-L -version -formats") {
            const FfmpegCommand cmd = translate(words(c.options), c.output, clip());
            EXPECT_EQ(cmd.notes.size(), 3);
            continue;
        }
        check(plain);
    }
}

TEST(LegacyTranslator, VideoOptions)
{
    const Case cases[] = {
        {"-b 800k -vframes 100 -r 25 -aspect 16:9 -pix_fmt yuv420p", "o.avi", "",
         "-b:v 800k -frames:v 100 -r 25 -aspect 16:9 -pix_fmt yuv420p", ""},
        {"-b 800kk", "o.avi", "", "-b:v 800k", ""},
        {"-r 29.97", "o.avi", "", "-r 30000/1001", ""},
        {"-r 23.97", "o.avi", "", "-r 24000/1001", ""},
        {"-pix_fmt rgba32", "o.avi", "", "-pix_fmt bgra", ""},
        {"-intra -vn -qscale 4 -qdiff 3", "o.avi", "", "-g 1 -vn -q:v 4 -qdiff:v 3", ""},
        {"-rc_eq tex^qComp -rc_override 0,100,2", "o.avi", "",
         "-rc_eq:v tex^qComp -rc_override:v 0,100,2", ""},
        {"-me epzs", "o.avi", "", "-motion_est:v epzs", ""},
        {"-me x1", "o.avi", "", "-motion_est:v xone", ""},
        {"-me full", "o.avi", "", "", "search method"},
        {"-vcodec libx264 -me full", "o.mkv", "", "-c:v libx264 -me_method:v esa", ""},
        {"-me_threshold 4", "o.avi", "", "", "not supported"},
        {"-vdt 4", "o.avi", "", "", "not supported"},
        {"-sameq", "o.avi", "", "", "not supported"},
        {"-vhook drawtext.so", "o.avi", "", "", "not supported"},
        {"-newvideo", "o.avi", "", "", "not supported"},
        {"-ps 1024 -strict -2 -pass 1 -passlogfile log", "o.avi", "",
         "-ps:v 1024 -strict -2 -pass 1 -passlogfile log", ""},
        {"-psnr -vstats -qphist", "o.avi", "", "-psnr -vstats -qphist", ""},
        {"-intra_matrix 8,16 -inter_matrix 16,16 -top 1 -dc 9 -vtag DIVX -vbsf dump_extra", "o.avi",
         "", "-intra_matrix 8,16 -inter_matrix 16,16 -top 1 -dc:v 9 -tag:v DIVX -bsf:v dump_extra",
         ""},
        {"-deinterlace", "o.avi", "", "-vf yadif", ""},
        {"-croptop 8 -cropbottom 8 -cropleft 4 -cropright 4 -padtop 10 -padbottom 10 "
         "-padleft 2 -padright 2 -padcolor FF0000 -s 320x240",
         "o.avi", "", "-vf crop=iw-8:ih-16:4:8,scale=320:240,pad=iw+4:ih+20:2:10:color=0xFF0000",
         ""},
        {"-padtop 16 -padbottom 16 -s qvga", "o.avi", "",
         "-vf scale=320:240,pad=iw+0:ih+32:0:16:color=0x000000", ""},
        {"-croptop x", "o.avi", "", "", "not understood"},
        {"-padcolor red -padtop 2", "o.avi", "", "-vf pad=iw+0:ih+2:0:2:color=0x000000",
         "not understood"},
    };
    for (Case c : cases) {
        c.tail = "";
        check(c);
    }
}

TEST(LegacyTranslator, AudioAndSubtitleOptions)
{
    const Case cases[] = {
        {"-ab 128k -aq 4 -ar 22050 -ac 1 -an -aframes 10 -atag 0x55 -absf aac_adtstoasc", "o.avi",
         "", "-b:a 128k -q:a 4 -ar 22050 -ac 1 -an -frames:a 10 -tag:a 0x55 -bsf:a aac_adtstoasc",
         ""},
        {"-vol 512", "o.avi", "", "-af volume=512/256", ""},
        {"-vol 256", "o.avi", "", "", ""},
        {"-alang eng -slang fre -scodec copy", "o.mkv", "",
         "-metadata:s:a:0 language=eng -metadata:s:s:0 language=fre -c:s copy", ""},
        {"-dframes 1", "o.mkv", "", "-frames:d 1", ""},
        {"-newaudio", "o.avi", "", "", "not supported"},
        {"-newsubtitle", "o.avi", "", "", "not supported"},
    };
    for (Case c : cases) {
        c.tail = "";
        check(c);
    }
    check({"-vol 128", "o.avi", "",
           "-fps_mode cfr -af volume=128/256,aresample=async=24:first_pts=0", ""});
}

TEST(LegacyTranslator, CaptureOptionsAreRefusedAndTheFileStillConverts)
{
    for (const char* option :
         {"-vd /dev/video0", "-vc 1", "-ad /dev/dsp", "-grab x11", "-gd /dev/dv", "-tvstd PAL"}) {
        check({option, "o.avi", "", "", "refused", clip(), ""});
    }
}

TEST(LegacyTranslator, TargetGetsTheNormOfTheRateTheStandardOrTheInput)
{
    const Case cases[] = {
        {"-target vcd", "o.mpg", "", "-target pal-vcd", "", clip(25)},
        {"-target dvd", "o.vob", "", "-target ntsc-dvd", "", clip(30000.0 / 1001)},
        {"-target dvd", "o.vob", "", "-target ntsc-dvd", "", clip(30)},
        {"-target svcd", "o.mpg", "", "-target film-svcd", "", clip(24000.0 / 1001)},
        {"-target svcd", "o.mpg", "", "-target pal-svcd", "", clip(50)},
        {"-target vcd -r 29.97", "o.mpg", "", "-target ntsc-vcd -r 30000/1001", "", clip(25)},
        {"-target dvd -r 23.97", "o.vob", "", "-target film-dvd -r 24000/1001", "", clip(25)},
        {"-target dvd -tvstd NTSC", "o.vob", "", "-target ntsc-dvd", "", clip(25)},
        {"-target pal-dvd", "o.vob", "", "-target pal-dvd", "", clip(30)},
        // The target chooses every codec: no container defaults on top.
        {"-target vcd", "o.mp4", "", "-target pal-vcd", "", clip(25)},
    };
    for (Case c : cases) {
        c.tail = "";
        check(c);
    }
}

TEST(LegacyTranslator, ContainerDefaultsThatFailOrChangedAreReplaced)
{
    const Case cases[] = {
        {"", "o.mp4", "", "-c:v mpeg4", ""},
        {"", "o.3gp", "", "-c:v mpeg4 -c:a aac", ""},
        {"-vcodec h263 -s 176x144", "o.3gp", "", "-c:v h263 -s 176x144 -c:a aac", ""},
        {"-an", "o.3g2", "", "-an -c:v mpeg4", ""},
        {"", "o.avi", "", "", ""},
        {"", "o.wmv", "", "", ""},
        // FLV keeps MP3 at 44100, 22050 or 11025 Hz only.
        {"", "o.flv", "", "-ar 44100", "", clip(25, 48000)},
        {"", "o.flv", "", "", "", clip(25, 22050)},
        {"-ar 22050", "o.flv", "", "-ar 22050", "", clip(25, 48000)},
        {"-acodec aac", "o.flv", "", "-c:a aac", "", clip(25, 48000)},
    };
    for (Case c : cases) {
        c.tail = "";
        check(c);
    }
}

TEST(LegacyTranslator, StillPictureLoopsForFiveMinutesUnlessGivenADuration)
{
    check({"-s 320x240", "o.avi", "", "-s 320x240 -vf loop=loop=-1:size=1,fps=25 -t 300", "",
           picture(), ""});
    check({"-t 10 -ss 2", "o.avi", "", "-t 10 -ss 2 -vf loop=loop=-1:size=1,fps=25", "", picture(),
           ""});
    check({"-loop_input", "o.avi", "", "-vf loop=loop=-1:size=1,fps=25 -t 300", "", picture(), ""});
    // A picture name with "%d" read by the image reader must not become a sequence.
    check({"", "o.avi", "-f image2 -pattern_type none",
           "-vf loop=loop=-1:size=1,fps=25 -fps_mode cfr -t 300", "", picture("image2"),
           "-vsync 1"});
}

TEST(LegacyTranslator, FileNamesPassAsOneArgumentThatCannotReadAsAnOption)
{
    const QString in = "/media/-a \"b\" 100% caf\u00e9 (1).avi";
    const QString out = "-out put %d.avi";
    const FfmpegCommand cmd = translate({}, out, clip(), in);
    ASSERT_GE(cmd.arguments.size(), 4);
    EXPECT_EQ(cmd.arguments.at(cmd.arguments.indexOf("-i") + 1), "file:" + in);
    EXPECT_EQ(cmd.arguments.last(), "file:" + out);
}

} // namespace
