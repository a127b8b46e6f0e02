#include "CAvsScriptWriter.h"
#include "CFfmpegEncoder.h"
#include "CQuentaMediaCntl.h"
#include "CapturingEventLog.h"
#include "ConversionJob.h"
#include "TestMedia.h"
#include "TestProfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct SetupResult
{
    EncoderCommand command;
    QByteArray script; // edit.avs as written, empty when none
    QList<CapturingEventLog::Event> events;
};

SetupResult setUp(const QString& input, int probedByDirectShow)
{
    QTemporaryDir app;
    CapturingEventLog log;
    EncoderSetup setup;
    setup.callback = [](int, void*) {};
    setup.appFolder = app.path() + '/';
    setup.events = &log;
    CFfmpegEncoder encoder;
    EXPECT_EQ(encoder.Attach(&setup), 1);

    ConversionJob job;
    job.inputPath = input;
    job.outputPath = "/out/result.mp4";
    job.media.probedByDirectShow = probedByDirectShow;
    job.profile = MakeProfile({{"vcodec", "mpeg4"}});
    EXPECT_EQ(encoder.Setup(&job), 1);
    return {encoder.command(), TestMedia::readFile(app.filePath("edit.avs")), log.events()};
}

} // namespace

TEST(ScriptFallback, DetectorOnlyInputsGoThroughTheScript)
{
    struct Case
    {
        QString input;
        int probedByDirectShow;
        bool throughScript;
    };
    const Case cases[] = {
        {"/in/my clip.dat", 1, true},  {"/in/clip.MOV", 1, false}, // any case
        {"/in/clip.Mpeg", 1, false},   {"/in/clip.dat", 0, false},
        {"/in/no extension", 1, true}, {"/in/dotted.folder/no extension", 1, true},
        {"/in/clip.mkv", 1, true},     {"/in/clip.rmvb", 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        const SetupResult got = setUp(c.input, c.probedByDirectShow);
        const QString toolInput = got.command.arguments.at(2);
        if (c.throughScript) {
            EXPECT_TRUE(toolInput.endsWith("/edit.avs"));
            EXPECT_TRUE(got.command.text.contains("-i \"" + toolInput + "\" -vcodec mpeg4 "));
            EXPECT_EQ(got.script, "LoadPlugin(\"plugin\\DirectShowSource.dll\")\r\n"
                                  "DirectShowSource(\"" +
                                      c.input.toUtf8() +
                                      "\")\r\n"
                                      "return last");
        } else {
            EXPECT_EQ(toolInput, c.input);
            EXPECT_TRUE(got.script.isEmpty());
        }
    }
}

TEST(ScriptFallback, EverySetupReportsItsCommandLineFromTheFirstDashI)
{
    const SetupResult got = setUp("/in/100% %s.avi", 0);
    ASSERT_EQ(got.events.size(), 1);
    EXPECT_EQ(got.events[0].type, EventLog::Information);
    EXPECT_EQ(got.events[0].id, 3);
    EXPECT_EQ(*got.events[0].text,
              "-i \"/in/100% %s.avi\" -vcodec mpeg4  -async 24 -vsync 24  -y \"/out/result.mp4\"");
}

TEST(ScriptFallback, AScriptThatCannotBeWrittenFailsTheRowWithAReason)
{
    QTemporaryDir dir;
    const QString script = dir.filePath("missing folder/edit.avs");
    EXPECT_EQ(CAvsScriptWriter::writeScript(script, "/in/clip.dat"), CAvsScriptWriter::Failed);
    EXPECT_FALSE(QFile::exists(script));
    EXPECT_EQ(CAvsScriptWriter::writeScript(script, "/in/clip.avi"), 0);

    // A folder where the script goes: the conversion stops before any tool runs.
    ASSERT_TRUE(QDir(dir.path()).mkdir("edit.avs"));
    CapturingEventLog log;
    EncoderSetup setup;
    setup.callback = [](int, void*) {};
    setup.appFolder = dir.path() + '/';
    setup.events = &log;
    CQuentaMediaCntl controller;
    ASSERT_EQ(controller.Init(&setup), 1);
    ConversionJob job;
    job.inputPath = "/in/clip.dat";
    job.outputPath = dir.filePath("result.mp4");
    job.media.probedByDirectShow = 1;
    job.profile = MakeProfile({{"vcodec", "mpeg4"}});
    EXPECT_EQ(controller.bDoConvert(&job), 0);
    EXPECT_EQ(job.outcome.reason, "the script could not be written: " + dir.filePath("edit.avs"));
    const auto events = log.events();
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(*events[0].text, "Module:COMMON/CFfmpegEncoder,Line:502,Unable to write " +
                                   dir.filePath("edit.avs").toUtf8());
}

TEST(ScriptFallback, SetupWithoutAJobFailsAndAttachNeedsACallback)
{
    CFfmpegEncoder encoder;
    EXPECT_EQ(encoder.Setup(nullptr), 0);
    EXPECT_EQ(encoder.Run("/out/x.mp4", 0), 0); // nothing set up, nothing run
    EXPECT_EQ(encoder.Attach(nullptr), 0);
    EncoderSetup setup;
    EXPECT_EQ(encoder.Attach(&setup), 0);
}
