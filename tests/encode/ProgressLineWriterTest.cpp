#include "ProgressLineWriter.h"
#include "InfoMode.h"

#include <QList>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {

// The converter's own reading of a progress line.
int scanSeconds(const QByteArray& line)
{
    int seconds = -1;
    if (std::sscanf(line.constData(), "%*s %*s %*s %*s %*s %*s %*s %*s time=%d", &seconds) != 1)
        return -1;
    return seconds;
}

TEST(ProgressLineWriter, EightWordsStandBeforeTimeWhateverTheFigures)
{
    const ProgressLineWriter::Figures cases[] = {
        {0, 0, 0, 0, 0, 0},
        {123, 25, 2, 1234 * 1024, 4.92, 800},
        {123456789, 12345.6, -1, int64_t(9) << 40, 98765.43, 123456.7},
        {-5, -1, 31, -1, -3, -2}, // nonsense from a confused encoder stays well formed
    };
    for (const auto& f : cases) {
        const QByteArray line = ProgressLineWriter::format(f);
        SCOPED_TRACE(line.toStdString());
        ASSERT_TRUE(line.endsWith('\n'));
        const QList<QByteArray> words = line.simplified().split(' ');
        ASSERT_GE(words.size(), 9);
        EXPECT_TRUE(words[8].startsWith("time="));
        EXPECT_EQ(scanSeconds(line), f.seconds > 0 ? int(f.seconds) : 0);
    }
    EXPECT_EQ(ProgressLineWriter::format({123, 25, 2, 1234 * 1024, 4.92, 800}),
              "frame= 123 fps= 25.0 q= 2.0 size= 1234kB time=4.92 bitrate= 800.0kbits/s\n");
}

TEST(ProgressLineWriter, OneLinePerFfmpegProgressBlock)
{
    ProgressLineWriter writer;
    const QByteArray block1 = "frame=50\nfps=N/A\nstream_0_0_q=3.5\nbitrate=N/A\n"
                              "total_size=2048\nout_time_us=2000000\nout_time_ms=2000000\n"
                              "out_time=00:00:02.000000\ndup_frames=0\ndrop_frames=0\n"
                              "speed=N/A\nprogress=continue";
    int lines = 0;
    for (const QByteArray& l : block1.split('\n'))
        lines += writer.feed(l) ? 1 : 0;
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(writer.line(), "frame= 50 fps= 0.0 q= 3.5 size= 2kB time=2.00 bitrate= 0.0kbits/s\n");
    EXPECT_FALSE(writer.ended());

    EXPECT_FALSE(writer.feed("out_time_us=10520000"));
    EXPECT_FALSE(writer.feed("bitrate= 512.3kbits/s"));
    EXPECT_FALSE(writer.feed("out_time_us=N/A")); // unknown: back to zero, never garbage
    EXPECT_FALSE(writer.feed("out_time_us=10520000"));
    EXPECT_TRUE(writer.feed("progress=end"));
    EXPECT_TRUE(writer.ended());
    EXPECT_EQ(scanSeconds(writer.line()), 10);
    EXPECT_TRUE(writer.line().contains("bitrate= 512.3kbits/s"));
}

TEST(ProgressLineWriter, AbsurdFiguresAreCutAndTheLineIsKept)
{
    ProgressLineWriter writer;
    for (const QByteArray l :
         {"frame=9223372036854775807", "fps=1e300", "stream_0_0_q=-1e300",
          "total_size=9223372036854775807", "bitrate=1e308kbits/s", "out_time_us=3000000000000000"})
        EXPECT_FALSE(writer.feed(l));
    ASSERT_TRUE(writer.feed("progress=continue"));
    EXPECT_EQ(writer.line(), "frame= 9223372036854775807 fps= 1000000000000.0 "
                             "q= -1000000000000.0 size= 9007199254740991kB time=2147483647.00 "
                             "bitrate= 1000000000000.0kbits/s\n");
    EXPECT_EQ(scanSeconds(writer.line()), 2147483647);

    // Values no parse gives but a caller might: still a line of the same shape.
    const QByteArray odd = ProgressLineWriter::format({1, NAN, NAN, 0, INFINITY, -INFINITY});
    EXPECT_EQ(odd, "frame= 1 fps= 0.0 q= 0.0 size= 0kB time=2147483647.00 bitrate= 0.0kbits/s\n");
}

TEST(InfoMode, ReplyHasTheFixedShapeAndZerosForNothingFound)
{
    MediaProbeResult r;
    r.ok = r.hasVideo = r.hasAudio = true;
    r.duration = 59.97;
    r.width = 640;
    r.height = 480;
    EXPECT_EQ(InfoMode::reply(r), "Duration:59 Width:640 Height:480 Video:1 Audio:1\n");
    r.hasAudio = false;
    r.duration = 0;
    EXPECT_EQ(InfoMode::reply(r), "Duration:0 Width:640 Height:480 Video:1 Audio:0\n");
    EXPECT_EQ(InfoMode::reply(MediaProbeResult{}), "Duration:0 Width:0 Height:0 Video:0 Audio:0\n");
}

} // namespace
