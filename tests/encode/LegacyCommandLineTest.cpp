#include "LegacyCommandLine.h"

#include <gtest/gtest.h>

namespace {

using Mode = LegacyCommandLine::Mode;

TEST(LegacyCommandLine, InformationRequestTakesThePathAsOneWord)
{
    const auto line = LegacyCommandLine::parse(
        {"ffmpeg-converter", "-info", "/media/a \"quoted\" 100% -name.avi"});
    EXPECT_EQ(line.mode, Mode::Info);
    EXPECT_EQ(line.input, "/media/a \"quoted\" 100% -name.avi");

    EXPECT_EQ(LegacyCommandLine::parse({"ffmpeg-converter", "-info"}).mode, Mode::Invalid);
    EXPECT_EQ(LegacyCommandLine::parse({"ffmpeg-converter", "-info", "a", "b"}).mode,
              Mode::Invalid);
}

TEST(LegacyCommandLine, ConversionSplitsInputOptionsAndOutput)
{
    const auto line = LegacyCommandLine::parse({"ffmpeg-converter", "-i", "-in put.avi", "-vcodec",
                                                "libxvid", "-itsoffset", "-2", "-strict", "-1",
                                                "-intra", "-deinterlace", "-title", "-a title-",
                                                "-async", "24", "-vsync", "24", "-y", "-out.avi"});
    ASSERT_EQ(line.mode, Mode::Convert) << line.error.toStdString();
    EXPECT_EQ(line.input, "-in put.avi");
    EXPECT_EQ(line.output, "-out.avi");
    const QStringList expected{"vcodec=libxvid", "itsoffset=-2", "strict=-1",
                               "intra",          "deinterlace",  "title=-a title-",
                               "async=24",       "vsync=24",     "y"};
    QStringList got;
    for (const LegacyOption& o : line.options)
        got << (o.hasValue ? o.name + '=' + o.value : o.name);
    EXPECT_EQ(got, expected);
}

TEST(LegacyCommandLine, BareOptionsWrittenWithAValueKeepTheValueOffTheOutput)
{
    // The converter writes value-less table rows such as -h with whatever the profile holds.
    const auto line = LegacyCommandLine::parse({"ffmpeg-converter", "-i", "in.avi", "-h", "full",
                                                "-newvideo", "-crf", "23", "-y", "out.mp4"});
    ASSERT_EQ(line.mode, Mode::Convert);
    ASSERT_EQ(line.options.size(), 4);
    EXPECT_EQ(line.options[0].name, "h");
    EXPECT_EQ(line.options[0].value, "full");
    EXPECT_FALSE(line.options[1].hasValue);
    EXPECT_EQ(line.options[2].name, "crf"); // unknown to the old table: value taken
    EXPECT_EQ(line.options[2].value, "23");
    EXPECT_EQ(line.output, "out.mp4");
}

TEST(LegacyCommandLine, MalformedLinesAreRefusedWithAReason)
{
    const QList<QStringList> bad{
        {},
        {"ffmpeg-converter"},
        {"ffmpeg-converter", "-i", "in.avi"},                  // no output
        {"ffmpeg-converter", "-b", "800k", "-y", "out.avi"},   // no input
        {"ffmpeg-converter", "-i", "in.avi", "-b", "out.avi"}, // -b swallows the output
        {"ffmpeg-converter", "-i", "a.avi", "-i", "b.avi", "-y", "out.avi"},
        {"ffmpeg-converter", "-i", "in.avi", "stray", "-y", "out.avi"},
        {"ffmpeg-converter", "-i", "in.avi", "-vn", "-an"}, // option where output belongs
    };
    for (const QStringList& args : bad) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const auto line = LegacyCommandLine::parse(args);
        EXPECT_EQ(line.mode, Mode::Invalid);
        EXPECT_FALSE(line.error.isEmpty());
    }
}

} // namespace
