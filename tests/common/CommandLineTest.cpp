#include "CEncoderCommandBuilder.h"
#include "ConversionJob.h"
#include "JobPreparation.h"
#include "TestProfiles.h"

#include <gtest/gtest.h>

namespace {

const QString kApp = QStringLiteral("/opt/tovel/");
const QString kHead = QStringLiteral("/opt/tovel/encode ffmpeg-converter -i \"/in/clip.avi\" ");
const QString kTail = QStringLiteral(" -async 24 -vsync 24  -y \"/out/clip.mp4\"");
const QStringList kTailArgs{"-async", "24", "-vsync", "24", "-y", "/out/clip.mp4"};

EncoderCommand build(const Profile* profile)
{
    return CEncoderCommandBuilder::conversion(kApp, "/in/clip.avi", profile, "/out/clip.mp4");
}

} // namespace

TEST(CommandLine, XvidExampleHasTwoBlanksBeforeAsyncAndBeforeY)
{
    const auto profile = MakeProfile({{"vcodec", "xvid"},
                                      {"b", "800"},
                                      {"s", "320x240"},
                                      {"acodec", "mp3"},
                                      {"ab", "128"},
                                      {"ac", "2 (Stereo)"},
                                      {"ar", "44100"}});
    const EncoderCommand command =
        CEncoderCommandBuilder::conversion(kApp, "/in/clip.avi", profile.get(), "/out/clip.avi");
    EXPECT_EQ(command.text,
              "/opt/tovel/encode ffmpeg-converter -i \"/in/clip.avi\" -vcodec libxvid "
              "-b 800k -s 320x240 -acodec libmp3lame -ab 128k -ac 2 -ar 44100  "
              "-async 24 -vsync 24  -y \"/out/clip.avi\"");
    EXPECT_EQ(command.program, "/opt/tovel/encode");
    EXPECT_EQ(command.arguments, QStringList({"ffmpeg-converter",
                                              "-i",
                                              "/in/clip.avi",
                                              "-vcodec",
                                              "libxvid",
                                              "-b",
                                              "800k",
                                              "-s",
                                              "320x240",
                                              "-acodec",
                                              "libmp3lame",
                                              "-ab",
                                              "128k",
                                              "-ac",
                                              "2",
                                              "-ar",
                                              "44100",
                                              "-async",
                                              "24",
                                              "-vsync",
                                              "24",
                                              "-y",
                                              "/out/clip.avi"}));
}

TEST(CommandLine, AProfileWithNoOptionsGivesInputBlankAndTail)
{
    const auto profile = MakeProfile({});
    const EncoderCommand command = build(profile.get());
    EXPECT_EQ(command.text, kHead + kTail);
    EXPECT_EQ(command.arguments,
              QStringList({"ffmpeg-converter", "-i", "/in/clip.avi"}) + kTailArgs);
    EXPECT_EQ(build(nullptr).text, kHead + kTail);
}

TEST(CommandLine, EachOptionIsWrittenLeftOutOrTranslated)
{
    struct Case
    {
        QByteArray name, value;
        QString text;     // what stands between the input part and the tail
        QStringList args; // the arguments it becomes
    };
    const Case cases[] = {
        {"vn", "True", "-vn  ", {"-vn"}},
        {"vn", "true", "-vn  ", {"-vn"}},
        {"an", "false", "", {}},
        {"vn", "FALSE", "", {}},
        {"t", "Full", "", {}},
        {"t", "full", "", {}},
        {"ss", "00:00:00", "", {}},
        {"t", "00:10:00", "-t 00:10:00 ", {"-t", "00:10:00"}},
        {"ss", "00:00:05", "-ss 00:00:05 ", {"-ss", "00:00:05"}},
        {"aspect", "AUTO", "", {}},
        {"vcodec", "auto", "", {}},
        {"s", "", "", {}},
        {"vcodec", "H264", "-vcodec libx264 ", {"-vcodec", "libx264"}},
        {"vcodec", "mpeg4", "-vcodec mpeg4 ", {"-vcodec", "mpeg4"}},
        {"acodec", "AAC", "-acodec libfaac ", {"-acodec", "libfaac"}},
        {"acodec", "aad", "-acodec libfaad ", {"-acodec", "libfaad"}},
        {"acodec", "faad", "-acodec faad ", {"-acodec", "faad"}},
        {"acodec", "Vorbis", "-acodec libvorbis ", {"-acodec", "libvorbis"}},
        {"vcodec", "amr_nb", "-vcodec libamr_nb ", {"-vcodec", "libamr_nb"}},
        {"ab", "128", "-ab 128k ", {"-ab", "128k"}},
        {"b", "800k", "-b 800kk ", {"-b", "800kk"}},
        {"ac", "1 (Mono)", "-ac 1 ", {"-ac", "1"}},
        {"ac", "2 (Stereo)", "-ac 2 ", {"-ac", "2"}},
        {"r", "25.0", "-r 25.0 ", {"-r", "25.0"}},
        // A value is one argument, blanks and all.
        {"title", "My Holiday 2024", "-title My Holiday 2024 ", {"-title", "My Holiday 2024"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.name + " = " + c.value).constData());
        const auto profile = MakeProfile({{c.name, c.value}});
        const EncoderCommand command = build(profile.get());
        EXPECT_EQ(command.text, kHead + c.text + kTail);
        EXPECT_EQ(command.arguments,
                  QStringList({"ffmpeg-converter", "-i", "/in/clip.avi"}) + c.args + kTailArgs);
    }
}

TEST(CommandLine, AwkwardFileNamesArriveAsSingleArguments)
{
    const QStringList names{"/in/my clip.avi", "/in/say \"hi\".avi", "/in/100% %s %n.avi",
                            "/in/Ünïcødé ✓.avi", "/in/-leading dash.avi"};
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const EncoderCommand command =
            CEncoderCommandBuilder::conversion(kApp, name, nullptr, name + ".mp4");
        EXPECT_EQ(command.arguments.at(2), name);
        EXPECT_EQ(command.arguments.last(), name + ".mp4");
        EXPECT_TRUE(command.text.contains("-i \"" + name + "\" "));
    }
}

TEST(CommandLine, InformationModeAndItsEventText)
{
    const EncoderCommand info = CEncoderCommandBuilder::information(kApp, "/in/my clip.dat");
    EXPECT_EQ(info.text, "/opt/tovel/encode ffmpeg-converter -info \"/in/my clip.dat\"");
    EXPECT_EQ(info.arguments, QStringList({"ffmpeg-converter", "-info", "/in/my clip.dat"}));

    const EncoderCommand plain =
        CEncoderCommandBuilder::conversion(kApp, "/in/clip.avi", nullptr, "/o.mp4");
    EXPECT_EQ(CEncoderCommandBuilder::eventText(plain),
              "-i \"/in/clip.avi\"  -async 24 -vsync 24  -y \"/o.mp4\"");
    // A folder name holding "-i" is not taken for the option.
    const EncoderCommand odd =
        CEncoderCommandBuilder::conversion("/opt/my-install/", "/in/a-in.avi", nullptr, "/o.mp4");
    EXPECT_EQ(CEncoderCommandBuilder::eventText(odd),
              "-i \"/in/a-in.avi\"  -async 24 -vsync 24  -y \"/o.mp4\"");
}

TEST(Prepare, StoresAudienceAndOutputFrameSize)
{
    struct Case
    {
        QByteArray vcodec, size;
        QByteArray audience;
        int width, height;
    };
    const Case cases[] = {
        {"cook", "320x240", "cook", 320, 240},
        {"Auto", "Auto", "", 240, 0},
        {"", "640", "", 720, 576}, // no "x": the probed frame size
        {"x", "x", "x", 0, 0},     // no digits read as 0
        {"a", "1024x768junk", "a", 1024, 768},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.vcodec + " / " + c.size).constData());
        ConversionJob job;
        job.media.width = 720;
        job.media.height = 576;
        job.settings.audienceName = "left over";
        job.settings = ConversionSettings{};
        SettingsDefaults(&job);
        EXPECT_EQ(job.settings.outputWidth, 240);
        EXPECT_EQ(job.settings.outputHeight, 0);
        const auto profile = MakeProfile({{"vcodec", c.vcodec}, {"s", c.size}}, "rm");
        EXPECT_TRUE(Prepare(&job, profile.get()));
        EXPECT_EQ(job.settings.audienceName, c.audience);
        EXPECT_EQ(job.settings.outputWidth, c.width);
        EXPECT_EQ(job.settings.outputHeight, c.height);
    }
    ConversionJob job;
    EXPECT_FALSE(Prepare(&job, nullptr));
    const auto profile = MakeProfile({});
    EXPECT_FALSE(Prepare(nullptr, profile.get()));
}
