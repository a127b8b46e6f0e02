// The verdict the tool gives of a finished conversion, against ffmpeg's own SSIM filter.
#include "TestMedia.h"
#include "ToolRun.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

double word(const QByteArray& line, const char* key)
{
    const QRegularExpression re(QStringLiteral("%1=([0-9.]+)").arg(key));
    const QRegularExpressionMatch m = re.match(QString::fromLatin1(line));
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

// ffmpeg's SSIM ("All") of `output` against `source` brought to `size`.
double ffmpegSsim(const QString& output, const QString& source, const QString& size)
{
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-hide_banner", "-nostdin", "-i", output, "-i", source, "-lavfi",
                            QString("[1:v]scale=%1:flags=bicubic,format=yuv420p[r];"
                                    "[0:v]format=yuv420p[o];[o][r]ssim")
                                .arg(QString(size).replace('x', ':')),
                            "-f", "null", "-"});
    ffmpeg.waitForFinished(120000);
    const QRegularExpressionMatch m =
        QRegularExpression("All:([0-9.]+)")
            .match(QString::fromLatin1(ffmpeg.readAllStandardError()));
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

} // namespace

TEST(QualityVerdict, ReencodesAreMeasuredCopiesAreNotSoundGetsItsSize)
{
    QTemporaryDir dir;
    const QString clip = dir.filePath("clip.mp4");
    ASSERT_TRUE(TestMedia::makeVideo(clip, 3.0, "320x240", 25));
    const struct
    {
        const char* output;
        QStringList options;
        const char* size; // of the output's picture; null: no picture measured
        bool verdict;
    } cases[] = {
        {"h264.mp4", {"-vcodec", "libx264", "-crf", "23", "-s", "160x120"}, "160x120", true},
        {"mpeg4.avi", {"-vcodec", "mpeg4", "-b", "200"}, "320x240", true},
        {"blocky.mp4", {"-vcodec", "libx264", "-crf", "51"}, "320x240", true},
        {"copy.mkv", {"-vcodec", "copy", "-acodec", "copy"}, nullptr, false},
        {"sound.mp3", {"-vn", "-acodec", "libmp3lame"}, nullptr, true},
    };
    double blocky = -1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        const QString out = dir.filePath(c.output);
        const ToolRun run = runTool(conversion(clip, c.options, out));
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QByteArray line = verdictLine(run);
        ASSERT_EQ(!line.isEmpty(), c.verdict) << run.err.toStdString();
        if (!c.verdict)
            continue;
        EXPECT_NEAR(word(line, "size"),
                    double(QFileInfo(out).size()) / double(QFileInfo(clip).size()), 0.001);
        const double ssim = word(line, "ssim");
        if (!c.size) {
            EXPECT_EQ(ssim, -1) << line.toStdString();
            continue;
        }
        EXPECT_NEAR(ssim, ffmpegSsim(out, clip, c.size), 0.002) << line.toStdString();
        EXPECT_GT(word(line, "psnr"), 10);
        EXPECT_FALSE(line.contains("sampled=")); // three seconds are measured whole
        if (QByteArray(c.output) == "blocky.mp4")
            blocky = ssim;
        else
            EXPECT_GT(ssim, 0.9);
    }
    EXPECT_LT(blocky, 0.9);
}

TEST(QualityVerdict, ALongFileIsMeasuredOnASampleOfAlignedWindows)
{
    QTemporaryDir dir;
    const QString clip = dir.filePath("long.mp4");
    ASSERT_TRUE(TestMedia::makeVideo(clip, 30.0, "160x120", 25));
    // The output begins 4 s into the source: the windows must compare the same moments.
    const ToolRun run = runTool(conversion(clip, {"-vcodec", "libx264", "-crf", "18", "-ss", "4"},
                                           dir.filePath("out.mp4")));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray line = verdictLine(run);
    EXPECT_TRUE(line.contains("sampled=")) << line.toStdString();
    EXPECT_GT(word(line, "ssim"), 0.95) << line.toStdString();
}
