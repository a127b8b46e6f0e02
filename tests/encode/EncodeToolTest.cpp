// The built tool, run as the converter runs it: an argument list, pipes on all three channels.
#include "FfmpegRunner.h"
#include "TestMedia.h"
#include "ToolRun.h"
#include "WaitFor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

struct Stream
{
    QString codec;
    int width = 0;
    int height = 0;
};

struct Probed
{
    Stream video, audio;
    double duration = -1;
};

Probed probe(const QString& path)
{
    Probed p;
    const QStringList lines = TestMedia::probe(path);
    for (const QString& line : lines) {
        const QStringList f = line.split('|');
        if (f.size() >= 4 && f[1] == "video" && p.video.codec.isEmpty())
            p.video = {f[0], f[2].toInt(), f[3].toInt()};
        else if (f.size() >= 2 && f[1] == "audio" && p.audio.codec.isEmpty())
            p.audio = {f[0], 0, 0};
    }
    if (!lines.isEmpty())
        p.duration = lines.last().toDouble();
    return p;
}

class EncodeToolTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(dir->isValid());
        ASSERT_TRUE(QFileInfo(toolPath()).isExecutable()) << toolPath().toStdString();
        ASSERT_TRUE(TestMedia::makeVideo(at("clip.mp4"), 2.0, "320x240", 25));
        ASSERT_TRUE(TestMedia::makeVideo(at("three.mp4"), 3.0, "160x120", 25));
        ASSERT_TRUE(TestMedia::makeAudio(at("tone.mp3"), 2.0));
        ASSERT_TRUE(TestMedia::makePicture(at("still.jpg"), "160x120"));
        ASSERT_TRUE(TestMedia::writeFile(at("empty.avi"), QByteArray()));
        QByteArray noise(50000, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 2654435761u) >> 13);
        ASSERT_TRUE(TestMedia::writeFile(at("noise.mpg"), noise));
    }
    static void TearDownTestSuite() { dir.reset(); }
    static QString at(const QString& name) { return dir->filePath(name); }

    // Every output line is a progress line; the last reaches `seconds`.
    static void expectProgress(const ToolRun& run, int seconds)
    {
        const QList<QByteArray> lines = run.out.split('\n');
        ASSERT_GE(lines.size(), 2) << run.out.toStdString();
        EXPECT_TRUE(lines.last().isEmpty()); // every line ends with a line feed
        for (qsizetype k = 0; k + 1 < lines.size(); ++k)
            EXPECT_GE(progressSeconds(lines[k]), 0) << lines[k].toStdString();
        EXPECT_GE(progressSeconds(lines[lines.size() - 2]), seconds);
    }

    static std::unique_ptr<QTemporaryDir> dir;
};
std::unique_ptr<QTemporaryDir> EncodeToolTest::dir;

TEST_F(EncodeToolTest, InformationReplyStartsAtTheFirstByte)
{
    const struct
    {
        const char* file;
        const char* reply;
        bool ok;
    } cases[] = {
        {"clip.mp4", "Duration:2 Width:320 Height:240 Video:1 Audio:1\n", true},
        {"tone.mp3", "Duration:2 Width:0 Height:0 Video:0 Audio:1\n", true},
        {"still.jpg", "Duration:0 Width:160 Height:120 Video:1 Audio:0\n", true},
        {"empty.avi", "Duration:0 Width:0 Height:0 Video:0 Audio:0\n", false},
        {"noise.mpg", "Duration:0 Width:0 Height:0 Video:0 Audio:0\n", false},
        {"missing.avi", "Duration:0 Width:0 Height:0 Video:0 Audio:0\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const ToolRun run = runTool({"ffmpeg-converter", "-info", at(c.file)});
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.out, QByteArray(c.reply));
        EXPECT_EQ(run.exitCode == 0, c.ok);
        // A failure says why in one line; a success says nothing more.
        EXPECT_EQ(run.err.count('\n'), c.ok ? 0 : 1) << run.err.toStdString();
    }
}

TEST_F(EncodeToolTest, EachContainerFamilyConvertsWithTheExpectedCodecsAndSize)
{
    const struct
    {
        const char* output;
        const char* options;
        const char* video;
        const char* audio;
        int width, height;
    } cases[] = {
        {"mp4.mp4", "-vcodec mpeg4 -b 300k -s 320x240 -acodec libfaac -ab 64k -ar 44100 -ac 2",
         "mpeg4", "aac", 320, 240},
        {"mobile.3gp", "-vcodec h263 -s 176x144 -b 100k -acodec libamr_nb -ar 8000 -ac 1 -ab 12.2k",
         "h263", "aac", 176, 144},
        {"flash.flv", "-vcodec flv -s 320x240 -b 300k -acodec libmp3lame -ab 64k -ar 22050", "flv1",
         "mp3", 320, 240},
        {"xvid.avi", "-vcodec libxvid -b 300k -s 320x240 -acodec libmp3lame -ab 128k -ac 2",
         "mpeg4", "mp3", 320, 240},
        {"win.wmv", "-vcodec wmv2 -b 300k -s 320x240 -acodec wmav2 -ab 64k", "wmv2", "wmav2", 320,
         240},
        {"mpeg1.mpg", "-vcodec mpeg1video -b 500k -s 320x240 -acodec mp2 -ab 128k", "mpeg1video",
         "mp2", 320, 240},
        {"vcd.mpg", "-target vcd", "mpeg1video", "mp2", 352, 288},
        {"svcd.mpg", "-target svcd", "mpeg2video", "mp2", 480, 576},
        {"dvd.vob", "-target dvd", "mpeg2video", "ac3", 720, 576},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        const QString out = at(c.output);
        const ToolRun run = runTool(
            conversion(at("clip.mp4"), QString(c.options).split(' ', Qt::SkipEmptyParts), out));
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        expectProgress(run, 2);
        const Probed p = probe(out);
        EXPECT_EQ(p.video.codec, c.video);
        EXPECT_EQ(p.audio.codec, c.audio);
        EXPECT_EQ(p.video.width, c.width);
        EXPECT_EQ(p.video.height, c.height);
        EXPECT_NEAR(p.duration, 2.0, 0.35);
        const QByteArray name(c.output);
        if (name == "mobile.3gp") {
            EXPECT_TRUE(run.err.contains("AMR-NB")) << run.err.toStdString();
        } else if (name == "mp4.mp4" || name == "xvid.avi") {
            EXPECT_TRUE(complaints(run).isEmpty()) << run.err.toStdString();
        }
    }
}

TEST_F(EncodeToolTest, CropPadAndTimeWindow)
{
    const QString padded = at("padded.mp4");
    ToolRun run = runTool(
        conversion(at("clip.mp4"),
                   {"-croptop", "20", "-cropbottom", "20", "-cropleft", "40", "-cropright", "40",
                    "-padtop", "30", "-padbottom", "30", "-padcolor", "00FF00", "-s", "160x120"},
                   padded));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    Probed p = probe(padded);
    EXPECT_EQ(p.video.width, 160);
    EXPECT_EQ(p.video.height, 180); // the size is the picture inside the pad bands

    const QString window = at("window.avi");
    run = runTool(conversion(at("three.mp4"), {"-ss", "00:00:01", "-t", "1.5"}, window));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    expectProgress(run, 1);
    p = probe(window);
    EXPECT_NEAR(p.duration, 1.5, 0.3);
    EXPECT_EQ(p.video.width, 160);
}

TEST_F(EncodeToolTest, ScriptInputConvertsTheFileItNames)
{
    QDir(dir->path()).mkpath("odd folder");
    const QString source = at("odd folder/my \"holiday\" 100% (cut).dat");
    ASSERT_TRUE(QFile::copy(at("clip.mp4"), source));
    const QString script = at("edit.avs");
    ASSERT_TRUE(TestMedia::writeFile(script, "LoadPlugin(\"plugin\\DirectShowSource.dll\")\r\n"
                                             "DirectShowSource(\"" +
                                                 QFile::encodeName(source) + "\")\r\nreturn last"));
    const QString out = at("from script.flv");
    const ToolRun run = runTool(conversion(script, {"-s", "160x120", "-ar", "22050"}, out));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    expectProgress(run, 2);
    const Probed p = probe(out);
    EXPECT_EQ(p.video.width, 160);
    EXPECT_EQ(p.audio.codec, "mp3");
    EXPECT_NEAR(p.duration, 2.0, 0.35);
}

TEST_F(EncodeToolTest, ScriptWithARelativeNameReadsBesideTheScript)
{
    QDir(dir->path()).mkpath("scripts");
    ASSERT_TRUE(QFile::copy(at("three.mp4"), at("scripts/near by.dat")));
    const QString script = at("scripts/edit.avs");
    ASSERT_TRUE(TestMedia::writeFile(script, "DirectShowSource(\"near by.dat\")\r\nreturn last"));
    const QString out = at("relative.avi");
    const ToolRun run = runTool(conversion(script, {"-t", "1"}, out));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(probe(out).video.width, 160);
}

TEST_F(EncodeToolTest, AwkwardOutputNamesInTheWorkingFolder)
{
    QDir(dir->path()).mkpath("work");
    const QString work = at("work");
    for (const QString& name :
         {QString("-dash 100%d.avi"), QString("pipe:odd.avi"), QString("caf\u00e9 \"x\".avi")}) {
        SCOPED_TRACE(name.toStdString());
        const ToolRun run = runTool(conversion(at("three.mp4"), {"-t", "1"}, name), work);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_GT(QFileInfo(work + "/" + name).size(), 0);
    }
}

TEST_F(EncodeToolTest, StillPictureBecomesAClip)
{
    const QString out = at("still.avi");
    const ToolRun run = runTool(conversion(at("still.jpg"), {"-t", "3"}, out));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(complaints(run).isEmpty()) << run.err.toStdString();
    expectProgress(run, 2);
    const Probed p = probe(out);
    EXPECT_EQ(p.video.width, 160);
    EXPECT_NEAR(p.duration, 3.0, 0.3);
}

TEST_F(EncodeToolTest, PictureNamedLikeASequenceIsOnePicture)
{
    const QString picture = at("shot %d 100%.jpg");
    ASSERT_TRUE(QFile::copy(at("still.jpg"), picture));
    const QString out = at("shot.mp4");
    const ToolRun run = runTool(conversion(picture, {"-t", "1"}, out));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(probe(out).video.width, 160);
}

TEST_F(EncodeToolTest, TitleAuthorCopyrightAndCommentReachTheFile)
{
    const QString out = at("tagged.mp4");
    const ToolRun run =
        runTool(conversion(at("three.mp4"),
                           {"-t", "1", "-title", "A \"title\" = 100%", "-author", "Someone",
                            "-copyright", "(c) 2007 Someone", "-comment", "first cut"},
                           out));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(complaints(run).isEmpty()) << run.err.toStdString();
    QProcess ffprobe;
    ffprobe.start("ffprobe",
                  {"-v", "error", "-show_entries", "format_tags", "-of", "default=nw=1", out});
    ASSERT_TRUE(ffprobe.waitForFinished(60000));
    const QString tags = QString::fromUtf8(ffprobe.readAllStandardOutput());
    EXPECT_TRUE(tags.contains("TAG:title=A \"title\" = 100%")) << tags.toStdString();
    EXPECT_TRUE(tags.contains("TAG:artist=Someone")) << tags.toStdString();
    EXPECT_TRUE(tags.contains("TAG:copyright=(c) 2007 Someone")) << tags.toStdString();
    EXPECT_TRUE(tags.contains("TAG:comment=first cut")) << tags.toStdString();
}

TEST_F(EncodeToolTest, StopRequestLeavesNoShortenedFileUnderTheOutputName)
{
    // Without a duration the picture plays for 300 seconds: long enough to stop midway.
    const QString out = at("stopped.mp4");
    const ToolRun run = runTool(conversion(at("still.jpg"), {"-s", "320x240"}, out), QString(),
                                QProcessEnvironment::systemEnvironment(), [](QProcess& p) {
                                    // Wait for real progress, then stop as the converter does.
                                    QByteArray seen;
                                    while (p.waitForReadyRead(60000)) {
                                        seen = p.peek(1 << 20);
                                        if (seen.count('\n') >= 2)
                                            break;
                                    }
                                    p.write(QByteArray("q") + QByteArray(9, '\0'));
                                });
    ASSERT_TRUE(run.finished);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("stopped before the end")) << run.err.toStdString();
    // A shortened file would pass for a finished one.
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST_F(EncodeToolTest, ClearOneLineReasonsWhenItCannotRun)
{
    ToolRun run = runTool(conversion(at("missing.avi"), {}, at("x.avi")));
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(run.err.count('\n'), 1);
    EXPECT_TRUE(run.err.contains("no such file")) << run.err.toStdString();

    run = runTool(conversion(at("empty.avi"), {}, at("x.avi")));
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("empty")) << run.err.toStdString();

    ASSERT_TRUE(TestMedia::writeFile(at("nosource.avs"), "LoadPlugin(\"x\")\r\nreturn last"));
    run = runTool(conversion(at("nosource.avs"), {}, at("x.avi")));
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("names no file")) << run.err.toStdString();

    // Converting a file onto itself would destroy it.
    const QString self = at("self.mp4");
    ASSERT_TRUE(QFile::copy(at("three.mp4"), self));
    const qint64 size = QFileInfo(self).size();
    run = runTool(conversion(self, {}, self));
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(QFileInfo(self).size(), size);

    run = runTool({"ffmpeg-converter", "-i", at("clip.mp4")});
    EXPECT_EQ(run.exitCode, 2);

    QProcessEnvironment noPath = QProcessEnvironment::systemEnvironment();
    noPath.insert("PATH", dir->path() + "/nothing-here");
    run = runTool(conversion(at("clip.mp4"), {}, at("x.avi")), QString(), noPath);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("cannot find ffmpeg")) << run.err.toStdString();
}

// Stand-ins for ffmpeg provoke what the real one will not do on demand.
class FakeFfmpegTest : public EncodeToolTest
{
protected:
    void SetUp() override
    {
        if (!QFileInfo("/bin/sh").isExecutable())
            GTEST_SKIP() << "the stand-ins are shell scripts";
    }

    static QProcessEnvironment withFake(const QString& name, const QByteArray& script)
    {
        return withFakeFfmpeg(at(name), script);
    }
};

TEST_F(FakeFfmpegTest, AnFfmpegThatIgnoresTheStopIsEndedAfterItsGrace)
{
    // The converter kills the tool 10 s after its stop request: the tool must end ffmpeg first.
    static_assert(2 * FfmpegRunner::kStopGraceMs < 10000);
    // Deaf to "q" and to the request to terminate alike.
    const QProcessEnvironment env =
        withFake("deaf", "trap '' TERM\n"
                         "printf 'frame=1\\nout_time_us=40000\\nprogress=continue\\n'\n"
                         "exec sleep 120\n");
    const ToolRun run =
        runTool(conversion(at("clip.mp4"), {}, at("deaf.avi")), QString(), env, [](QProcess& p) {
            p.waitForReadyRead(30000);
            p.write(QByteArray("q") + QByteArray(9, '\0'));
        });
    ASSERT_TRUE(run.finished);
    // Its one block, and a closing line for the run that never ended by itself.
    EXPECT_EQ(run.out.count('\n'), 2) << run.out.toStdString();
    EXPECT_EQ(progressSeconds(run.out), 0);
}

TEST_F(FakeFfmpegTest, AnFfmpegThatCrashesIsReportedAsAFailureAndLeavesNoFile)
{
    // It dies half-way through writing its output.
    const QProcessEnvironment env =
        withFake("crash", "for a; do last=$a; done\nprintf partial > \"${last#file:}\"\n"
                          "echo 'something broke' >&2\nkill -SEGV $$\n");
    const QString out = at("crash.avi");
    const ToolRun run = runTool(conversion(at("clip.mp4"), {}, out), QString(), env);
    ASSERT_TRUE(run.finished);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("something broke"));
    EXPECT_TRUE(run.err.contains("ended abnormally")) << run.err.toStdString();
    // The converter judges a row by its output file: a partial one would read as success.
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_TRUE(run.err.contains("removed the output")) << run.err.toStdString();
}

// True once `pid` has ended (a zombie nobody reaps has ended too).
bool processEnded(const QByteArray& pid)
{
    QFile stat("/proc/" + pid.trimmed() + "/stat");
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray fields = stat.readAll();
    return fields.mid(fields.lastIndexOf(')') + 2, 1) == "Z";
}

TEST_F(FakeFfmpegTest, FfmpegEndsWhenTheToolIsKilled)
{
    const QString pidFile = at("ffmpeg.pid");
    const QProcessEnvironment env =
        withFake("orphan", "echo $$ > '" + QFile::encodeName(pidFile) + "'\nexec sleep 120\n");
    QByteArray pid;
    const ToolRun run = runTool(conversion(at("clip.mp4"), {}, at("orphan.avi")), QString(), env,
                                [&](QProcess& tool) {
                                    EXPECT_TRUE(waitFor(
                                        [&] {
                                            pid = TestMedia::readFile(pidFile);
                                            return !pid.isEmpty();
                                        },
                                        30000, "ffmpeg's pid file"));
                                    tool.kill();
                                });
    ASSERT_FALSE(pid.isEmpty());
    EXPECT_TRUE(waitFor([&] { return processEnded(pid); }, 30000,
                        "ffmpeg " + pid.toStdString() + " to end with the tool"));
}

} // namespace
