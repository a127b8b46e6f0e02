#include "CEncoderProcess.h"
#include "CFfmpegEncoder.h"
#include "CTraceLog.h"
#include "CapturingEventLog.h"
#include "ConversionJob.h"
#include "FakeTool.h"
#include "TestMedia.h"
#include "TestProfiles.h"
#include "WaitFor.h"

#include <QFile>
#include <QMutex>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

// Eight words, then the time: the shape of a progress line.
QString progressLine(const QString& time)
{
    return "frame= 10 fps= 25 q= 2.0 size= 12kB time=" + time + " bitrate= 9.8kbits/s";
}

// The system log, which can be made to throw when an information event is reported.
class ThrowingEventLog : public CapturingEventLog
{
public:
    bool throwOnInformation = false;
    int report(Type type, int id, const std::optional<QByteArray>& text) override
    {
        if (throwOnInformation && type == Information)
            throw std::runtime_error("the log is full");
        return CapturingEventLog::report(type, id, text);
    }
};

// One FFmpeg encoder over a fake tool, with its trace, events and progress captured.
struct Harness
{
    FakeTool tool;
    ThrowingEventLog log;
    CTraceLog trace{tool.filePath("trace.log")};
    CFfmpegEncoder encoder;
    ConversionJob job;
    QMutex lock;
    QList<int> progress;
    std::function<void(int)> onProgress;

    Harness(double duration = 41.0)
    {
        EncoderSetup setup;
        setup.callback = [this](int percent, void* context) {
            EXPECT_EQ(context, this);
            {
                QMutexLocker hold(&lock);
                progress << percent;
            }
            if (onProgress)
                onProgress(percent);
        };
        setup.context = this;
        setup.appFolder = tool.appFolder();
        setup.trace = &trace;
        setup.events = &log;
        encoder.Attach(&setup);
        job.inputPath = tool.filePath("in put.avi");
        job.outputPath = tool.filePath("out put.mp4");
        job.progressDuration = duration;
        job.profile = MakeProfile({{"vcodec", "mpeg4"}});
    }

    int convert()
    {
        if (encoder.Setup(&job) != 1)
            return -1;
        log.clear();
        return encoder.Run(job.outputPath, 0);
    }

    QList<int> seen()
    {
        QMutexLocker hold(&lock);
        return progress;
    }

    QStringList errorTexts() const
    {
        QStringList texts;
        for (const auto& e : log.events())
            if (e.type == EventLog::Error && e.text)
                texts << QString::fromUtf8(*e.text);
        return texts;
    }
};

// Records the runner's events in order.
class RecordingSink : public CMediaEncoder
{
public:
    QList<int> codes;
    QList<QByteArray> lines;
    int Attach(const EncoderSetup*) override { return 1; }
    int Setup(const ConversionJob*) override { return 1; }
    int Run(const QString&, int) override { return 1; }
    int Stop() override { return 1; }
    int Probe(const QString&, ConversionJob*) override { return 1; }
    int Event(int code, qint64, const QByteArray& text, int userValue) override
    {
        EXPECT_EQ(userValue, 7);
        codes << code;
        if (code == LineComplete)
            lines << text;
        return 1;
    }
};

} // namespace

TEST(EncoderRun, ProgressLinesBecomePercentagesAndOtherLinesErrorEvents)
{
    struct Case
    {
        QString line;
        QList<int> progress;
        bool errorEvent;
    };
    const Case cases[] = {
        {progressLine("20.48"), {48}, false},
        {progressLine("0.00"), {1}, false},
        {progressLine("12.84"), {29}, false},
        {progressLine("41.00"), {100}, true},
        {progressLine("50.00"), {100}, true}, // past the end stays at 100
        {"frame= 10 fps= 25 time=20.48 bitrate= 9.8kbits/s", {}, true},
        {"Stream mapping: garbage", {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        Harness h;
        ASSERT_TRUE(h.tool.isValid());
        h.tool.setPlan({"print " + c.line});
        EXPECT_EQ(h.convert(), 1);
        EXPECT_EQ(h.seen(), c.progress);
        const QStringList errors = h.errorTexts();
        if (c.errorEvent) {
            ASSERT_EQ(errors.size(), 1);
            EXPECT_EQ(errors[0], "Module:ffff01,Line:PostMessage,Error Info :" + c.line);
        } else {
            EXPECT_TRUE(errors.isEmpty());
        }
    }
}

TEST(EncoderRun, TimesBeyondAnIntStillGiveAPercentage)
{
    struct Case
    {
        QByteArray time;
        int percent;
    };
    const Case cases[] = {
        {"3000000000", 100},
        {"3000000000.00", 100},
        {"99999999999999999999999999", 100},
        {"-3000000000", 1},
        {"-99999999999999999999999999", 1},
        {"5.9", 45}, // whole seconds, as before
        {" 5", 45},
    };
    Harness h(11.0);
    ASSERT_EQ(h.encoder.Setup(&h.job), 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time.toStdString());
        h.progress.clear();
        EXPECT_EQ(
            h.encoder.Event(CMediaEncoder::LineComplete, 0, "a b c d e f g h time=" + c.time, 0),
            1);
        EXPECT_EQ(h.seen(), QList<int>{c.percent});
    }
    h.progress.clear();
    h.encoder.Event(CMediaEncoder::LineComplete, 0, "a b c d e f g h time=-x", 0);
    EXPECT_TRUE(h.seen().isEmpty());
}

TEST(EncoderRun, LineEndsAreSplitAsTheToolMeantThem)
{
    Harness h;
    h.tool.setPlan({"raw a b c d e f g h time=10.5 x\\r\\n", "raw one\\rtwo\\n", "raw split cr\\r",
                    "sleep 100", "raw \\n", "raw \\n", "raw no final line feed"});
    EXPECT_EQ(h.convert(), 1);
    EXPECT_EQ(h.seen(), QList<int>{24});
    EXPECT_EQ(h.errorTexts(),
              QStringList({"Module:ffff01,Line:PostMessage,Error Info :one\rtwo",
                           "Module:ffff01,Line:PostMessage,Error Info :split cr",
                           "Module:ffff01,Line:PostMessage,Error Info :no final line feed"}));
    // The command line with CR LF, then every line as it came, without separators.
    EXPECT_EQ(TestMedia::readFile(h.tool.filePath("trace.log")),
              h.encoder.command().text.toUtf8() + "\r\na b c d e f g h time=10.5 x" +
                  "one\rtwosplit crno final line feed");
}

TEST(EncoderRun, LongLinesAreCutInTheirEvent)
{
    Harness h;
    h.tool.setPlan({"print " + QString(2000, 'x')});
    EXPECT_EQ(h.convert(), 1);
    const QStringList errors = h.errorTexts();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0].size(), 255);
}

TEST(EncoderRun, TheRunnerReportsStartLinesAndEndInOrder)
{
    FakeTool tool;
    tool.setPlan({"print first", "print", "print second"});
    CEncoderProcess runner;
    RecordingSink sink;
    EncoderCommand command{"fake", tool.appFolder() + "encode", {"x"}, {}, {}};
    EXPECT_TRUE(runner.Run(command, &sink, 7, nullptr, nullptr));
    EXPECT_EQ(sink.codes, QList<int>({997, 998, 998, 998, 999}));
    EXPECT_EQ(sink.lines, QList<QByteArray>({"first", "", "second"}));

    // A tool that is not there: only the end, with an error code, and no success.
    RecordingSink missing;
    command.program = tool.filePath("no such tool");
    EXPECT_FALSE(runner.Run(command, &missing, 7, nullptr, nullptr));
    EXPECT_EQ(missing.codes, QList<int>{999});
}

TEST(EncoderRun, AMissingToolFailsTheRunButLeavesItsCommandLineInTheTrace)
{
    Harness h;
    QFile::remove(h.tool.appFolder() + "encode");
    EXPECT_EQ(h.convert(), 0);
    EXPECT_EQ(TestMedia::readFile(h.tool.filePath("trace.log")),
              h.encoder.command().text.toUtf8() + "\r\n");
}

TEST(EncoderRun, TwoRunsLeaveBothCommandLinesInTheTrace)
{
    Harness h;
    h.job.inputPath = h.tool.filePath("100% %s first.avi");
    h.tool.setPlan({"print line one"});
    EXPECT_EQ(h.convert(), 1);
    const QByteArray first = h.encoder.command().text.toUtf8();
    h.job.inputPath = h.tool.filePath("second.avi");
    EXPECT_EQ(h.convert(), 1);
    const QByteArray second = h.encoder.command().text.toUtf8();
    EXPECT_TRUE(first.contains("100% %s first.avi"));
    EXPECT_EQ(TestMedia::readFile(h.tool.filePath("trace.log")),
              first + "\r\nline one" + second + "\r\nline one");
}

TEST(EncoderRun, ACrashingToolEndsTheRunAsAFailureAndTheTraceSaysWhy)
{
    Harness h;
    h.tool.setPlan({"print " + progressLine("5.0"), "raw last words", "crash"});
    EXPECT_EQ(h.convert(), 0);
    EXPECT_EQ(h.seen(), QList<int>{12});
    EXPECT_EQ(h.errorTexts(), QStringList{"Module:ffff01,Line:PostMessage,Error Info :last words"});
    EXPECT_FALSE(QFile::exists(h.job.outputPath));
    const RunOutcome outcome = h.encoder.Outcome();
    EXPECT_FALSE(outcome.stopped);
    EXPECT_TRUE(outcome.reason.startsWith("the encoder tool ended abnormally"))
        << outcome.reason.toStdString();
    EXPECT_TRUE(TestMedia::readFile(h.tool.filePath("trace.log"))
                    .endsWith("\r\nConversion failed: " + outcome.reason.toUtf8() + "\r\n"));
}

TEST(EncoderRun, AFailureCodeFailsTheRunWithTheToolsOwnReason)
{
    Harness h;
    h.tool.setPlan({"print " + progressLine("5.0"),
                    "print [mp4 @ 0x55d0c1a2b340] Invalid frame size: abc.",
                    "print Conversion failed!", "output partial",
                    "print encode: the conversion did not finish (exit code 1); removed the output",
                    "exit 1"});
    EXPECT_EQ(h.convert(), 0);
    EXPECT_EQ(h.encoder.Outcome().reason, "Invalid frame size: abc.");
    // A silent failure still says what happened.
    h.tool.setPlan({"exit 3"});
    EXPECT_EQ(h.convert(), 0);
    EXPECT_EQ(h.encoder.Outcome().reason, "the encoder tool failed with exit code 3");
    // The tool's own words, cleaned, when they are all there is.
    h.tool.setPlan({"print encode: cannot read the input \"x\": no such file", "exit 1"});
    EXPECT_EQ(h.convert(), 0);
    EXPECT_EQ(h.encoder.Outcome().reason, "cannot read the input \"x\": no such file");
}

TEST(EncoderRun, StopWritesQAndNineNulsAndTheToolFinishesItsFile)
{
    Harness h;
    h.tool.setPlan({"print " + progressLine("4.0"), "waitq", "output finished", "exit 0"});
    h.onProgress = [&](int) { h.encoder.Stop(); };
    EXPECT_EQ(h.convert(), 1);
    EXPECT_EQ(h.tool.input(), QByteArray("q\0\0\0\0\0\0\0\0\0", 10));
    EXPECT_EQ(TestMedia::readFile(h.job.outputPath), "finished");
    EXPECT_TRUE(h.encoder.Outcome().stopped);
}

TEST(EncoderRun, AToolIgnoringStopIsEndedAfterTheGracePeriod)
{
    Harness h;
    h.encoder.setStopGrace(300);
    h.tool.setPlan({"print " + progressLine("4.0"), "hang"});
    std::atomic<bool> started{false};
    std::atomic<bool> over{false};
    h.onProgress = [&](int) { started = true; };
    int result = -1;
    std::thread worker([&] {
        result = h.convert();
        over = true;
    });
    EXPECT_TRUE(waitFor([&] { return started || over; }, 120000, "the tool's first progress"));
    h.encoder.Stop(); // from another thread, as the window does
    worker.join();
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(QFile::exists(h.job.outputPath));
}

TEST(EncoderRun, AStopWhileNothingRunsDoesNotStopTheNextConversion)
{
    Harness h;
    h.encoder.Stop();
    h.encoder.ClearStop(); // a batch starts: what was asked before it is forgotten
    h.tool.setPlan({"sleep 200", "print " + progressLine("41.0"), "output whole"});
    EXPECT_EQ(h.convert(), 1);
    EXPECT_EQ(TestMedia::readFile(h.job.outputPath), "whole");
    EXPECT_TRUE(h.tool.input().isEmpty());
    EXPECT_FALSE(h.encoder.Outcome().stopped);
}

TEST(EncoderRun, AStopWhileTheRowIsSetUpEndsItsConversionUnstarted)
{
    Harness h;
    h.tool.setPlan({"print " + progressLine("41.0"), "output whole"});
    ASSERT_EQ(h.encoder.Setup(&h.job), 1);
    h.encoder.Stop();
    ASSERT_EQ(h.encoder.Setup(&h.job), 1); // setting up again does not forget it
    EXPECT_EQ(h.encoder.Run(h.job.outputPath, 0), 1);
    EXPECT_TRUE(h.encoder.Outcome().stopped);
    EXPECT_FALSE(h.tool.ran());
    EXPECT_FALSE(QFile::exists(h.job.outputPath));
}

TEST(EncoderRun, AnExceptionInTheSetUpOrALineFailsTheRowWithItsText)
{
    Harness h;
    h.log.throwOnInformation = true;
    EXPECT_EQ(h.encoder.Setup(&h.job), 0);
    EXPECT_EQ(h.encoder.Outcome().reason, "the conversion could not be set up: the log is full");
    EXPECT_EQ(h.errorTexts(), QStringList{"Module:COMMON/CFfmpegEncoder,Line:501,Unable to get "
                                          "output video convert interface: the log is full"});

    h.log.throwOnInformation = false;
    h.onProgress = [](int) { throw std::bad_alloc(); };
    h.tool.setPlan({"print " + progressLine("20.0"), "output whole"});
    EXPECT_EQ(h.convert(), 0);
    EXPECT_EQ(h.encoder.Outcome().reason,
              "a line of the encoder tool could not be handled: std::bad_alloc");
    ASSERT_FALSE(h.errorTexts().isEmpty());
    EXPECT_TRUE(h.errorTexts().first().endsWith("time=20.0 bitrate= 9.8kbits/s (std::bad_alloc)"))
        << h.errorTexts().first().toStdString();
}

TEST(EncoderRun, TheToolReceivesTheArgumentListUnsplit)
{
    Harness h;
    h.job.inputPath = h.tool.filePath("-dash \"quoted\" 100% Ünï.avi");
    h.job.profile = MakeProfile({{"title", "A title with blanks"}, {"vn", "True"}});
    h.tool.setPlan({});
    EXPECT_EQ(h.convert(), 1);
    EXPECT_EQ(h.tool.arguments(), QStringList({"ffmpeg-converter", "-i", h.job.inputPath, "-title",
                                               "A title with blanks", "-vn", "-async", "24",
                                               "-vsync", "24", "-y", h.job.outputPath}));
}

TEST(EncoderRun, TheToolsVerdictIsKeptWithTheOutcomeNeitherReportedNorAReason)
{
    Harness h;
    h.tool.setPlan({"print " + progressLine("2.0"),
                    "print verdict: size=0.3812 ssim=0.98412 psnr=41.20 crf=27", "output made"});
    EXPECT_EQ(h.convert(), 1);
    const QualityVerdict verdict = h.encoder.Outcome().verdict;
    EXPECT_NEAR(verdict.ssim, 0.98412, 1e-9);
    EXPECT_NEAR(verdict.psnr, 41.2, 1e-9);
    EXPECT_NEAR(verdict.sizeShare, 0.3812, 1e-9);
    EXPECT_EQ(verdict.crf, 27);
    EXPECT_TRUE(h.errorTexts().isEmpty());
    // A failure after it is explained by what went wrong, and a new run forgets the verdict.
    h.tool.setPlan({"print verdict: size=0.5", "print encode: the disk is full", "exit 1"});
    EXPECT_EQ(h.convert(), 0);
    EXPECT_EQ(h.encoder.Outcome().reason, "the disk is full");
    h.tool.setPlan({"output made"});
    EXPECT_EQ(h.convert(), 1);
    EXPECT_TRUE(h.encoder.Outcome().verdict.isEmpty());
}

TEST(EncoderRun, TheCropTheToolFoundIsKeptForTheRow)
{
    Harness h;
    h.tool.setPlan({"print encode: crop found on 12 samples: 140:140:0:0 (top:bottom:left:right)",
                    "print " + progressLine("5.0"), "output whole", "exit 0"});
    EXPECT_EQ(h.convert(), 1);
    EXPECT_EQ(h.encoder.Outcome().cropFound, "on 12 samples: 140:140:0:0 (top:bottom:left:right)");
    h.tool.setPlan({"output whole", "exit 0"});
    EXPECT_EQ(h.convert(), 1);
    EXPECT_EQ(h.encoder.Outcome().cropFound, "");
}
