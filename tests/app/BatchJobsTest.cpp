#include "BatchFixture.h"
#include "CBatchConverter.h"
#include "CConversionClock.h"
#include "CProfileManager.h"
#include "CQuentaMediaCntl.h"
#include "CTraceLog.h"
#include "CapturingEventLog.h"
#include "EncoderSetup.h"
#include "MediaEncoderFactory.h"
#include "Preferences.h"
#include "RowCommand.h"
#include "TestMedia.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(RowTimingTest, SpeedAndTimeLeftFromTheToolsTimeAgainstTheWallClock)
{
    // 18 s of a 60 s clip done in 10 s: 1.8 times real time, 42 s of media = 23.3 s to go.
    const RowTiming busy = CConversionClock::estimate(60, 18, 10);
    EXPECT_EQ(busy.text(), QString("1.8") + QChar(0x00D7) + ", 00:00:24 left");
    // Nothing known before the first progress; past the end nothing is left.
    EXPECT_EQ(CConversionClock::estimate(60, 0, 3).text(), QString());
    EXPECT_EQ(CConversionClock::estimate(60, 61, 20).leftText(), "00:00:00 left");
    RowTiming done = CConversionClock::estimate(60, 60, 65.4);
    done.finished = true;
    EXPECT_EQ(done.text(), QString("Took 00:01:05 (0.9") + QChar(0x00D7) + ')');
}

// A row's pace and command line, and rows converted side by side, over the fake tool.
class BatchJobsTest : public BatchFixture
{
protected:
    // A job for `path` (made, in a folder of its own when given one) with an MP4 profile.
    std::unique_ptr<ConversionJob> job(const QString& path)
    {
        QDir().mkpath(QFileInfo(work.path() + '/' + path).path());
        TestMedia::writeFile(work.path() + '/' + path, "input");
        auto job = std::make_unique<ConversionJob>();
        job->inputPath = work.path() + '/' + path;
        job->media.duration = 4;
        job->profile = std::make_unique<Profile>();
        job->profile->format = "mp4";
        job->profile->extName = "mp4";
        return job;
    }
};

TEST_F(BatchJobsTest, ARowsPaceIsReportedWhileItConvertsAndItsTimeWhenItEnds)
{
    rows.add(job("clip-slow.avi")); // a second between 1 s and 2 s of its 4 s
    run();

    ASSERT_EQ(rows.status(0), "Completed");
    const auto timings = rows.timings();
    ASSERT_GE(timings.size(), 2u);
    bool paced = false;
    for (const auto& [row, timing] : timings) {
        EXPECT_EQ(row, 0);
        paced = paced || (!timing.finished && timing.speed > 0 && timing.secondsLeft >= 0);
    }
    EXPECT_TRUE(paced);
    const RowTiming last = timings.back().second;
    EXPECT_TRUE(last.finished);
    EXPECT_GE(last.elapsed, 1.0);
    EXPECT_TRUE(last.text().startsWith("Took 00:00:0")) << last.text().toStdString();
}

TEST_F(BatchJobsTest, TheCommandLineShownForARowIsTheOneTheConversionRuns)
{
    // A profile loaded as the program loads it, then edited for this row only.
    ASSERT_TRUE(QDir(app.path()).mkdir("profiles"));
    ASSERT_TRUE(TestMedia::writeFile(app.path() + "/profiles/p.pf",
                                     "[Main]\nName=Edited\nFormat=mp4\nExtName=mp4\n"
                                     "[Parameter]\nvcodec=,,h264\nb=,,800\nab=,,128\n"));
    CProfileManager profiles;
    profiles.ScanProfiles(app.path() + "/profiles/", app.path() + "/config.ini");
    std::unique_ptr<ConversionJob> row = job("in dir/clip \"50%\".mkv");
    row->media.probedByDirectShow = 1; // read by the detector only: the tool gets a script
    ASSERT_TRUE(profiles.LoadProfile("Edited", row->profile.get()));
    for (ProfileOption& option : row->profile->options)
        if (option.name == "b")
            option.value = "1200";
    ASSERT_TRUE(QDir().mkpath(out()));
    TestMedia::writeFile(out() + "/clip \"50%\".mp4", "an earlier result");

    const QString shown =
        RowCommand::CommandLine(*row, RowCommand::OutputPath(*row, out(), false), setup.appFolder);
    EXPECT_TRUE(shown.contains("-i \"" + app.path() + "/edit.avs\"")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("-vcodec libx264 -b 1200k -ab 128k ")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("\"" + out() + "/clip \"50%\"-0.mp4\"")) << shown.toStdString();
    rows.add(std::move(row));
    run();

    ASSERT_EQ(rows.status(0), "Completed");
    const QByteArray traced = TestMedia::readFile(app.path() + "/trace.log");
    EXPECT_EQ(QString::fromLocal8Bit(traced.left(traced.indexOf("\r\n"))), shown);
}

TEST_F(BatchJobsTest, AnEngineThatCannotBeMadeLeavesOneJobAndSaysWhy)
{
    int made = 0;
    const auto factory = [&made](EncoderKind kind) {
        if (++made == 2)
            throw std::runtime_error("no room for another engine");
        return CreateMediaEncoder(kind);
    };
    EXPECT_FALSE(batch->setJobs(3, factory));
    EXPECT_EQ(batch->jobs(), 1);
    EXPECT_EQ(batch->jobsProblem(), "no room for another engine");
    EXPECT_TRUE(batch->setJobs(2, factory));
    EXPECT_EQ(batch->jobs(), 2);
    EXPECT_TRUE(batch->jobsProblem().isEmpty());
}

TEST_F(BatchJobsTest, AFailureAmongParallelRowsLetsTheRunningOneFinishAndStartsNoMore)
{
    ASSERT_TRUE(batch->setJobs(2));
    rows.add(job("a-slow.avi"));
    rows.add(job("b-fail.avi"));
    rows.add(job("c.avi"));
    run();

    EXPECT_EQ(rows.status(0), "Completed");
    EXPECT_EQ(rows.status(1), "Fail");
    EXPECT_EQ(rows.status(2), "Ready");
    EXPECT_TRUE(rows.callsOn(2).isEmpty());
    ASSERT_EQ(user.messages().size(), 1u); // the failure text, no summary
    EXPECT_EQ(user.messages()[0].caption, "Warning");
    EXPECT_TRUE(batch->FailureSeen());
    // Each row's lines form one block that begins with its command line: the failed row's,
    // which ended first, lies whole before the slow row's.
    const QByteArray traced = TestMedia::readFile(app.path() + "/trace.log");
    const qsizetype failed = traced.indexOf("fake: cannot convert");
    EXPECT_TRUE(traced.indexOf("b-fail.avi") < failed && failed < traced.indexOf("a-slow.avi"))
        << traced.constData();
}

TEST_F(BatchJobsTest, KeepGoingWithParallelRowsTriesEveryRowAndStopEndsEachRunningOne)
{
    ASSERT_TRUE(batch->setJobs(2));
    batch->setKeepGoing(true);
    rows.add(job("a-slow.avi"));
    rows.add(job("b-fail.avi"));
    rows.add(job("c.avi"));
    run();
    EXPECT_EQ(rows.status(0), "Completed");
    EXPECT_EQ(rows.status(1), "Fail");
    EXPECT_EQ(rows.status(2), "Completed");
    ASSERT_EQ(user.messages().size(), 1u);
    EXPECT_TRUE(user.messages()[0].text.startsWith("1 file failed:\nb-fail.avi: fake: cannot"));

    // Both running rows are cut short by one Stop; the row after them is not started.
    TestRows stopRows;
    CBatchConverter stopBatch(*controller, setup, stopRows, user);
    ASSERT_EQ(controller->Init(&setup), 1);
    ASSERT_TRUE(stopBatch.setJobs(2));
    stopBatch.setShutdown([] {});
    for (const char* name : {"d-hang.avi", "e-hang.avi", "f.avi"})
        stopRows.add(job(name));
    ASSERT_EQ(stopBatch.StartConvert(), CBatchConverter::Started);
    ASSERT_TRUE(stopRows.waitForProgress(0) && stopRows.waitForProgress(1));
    stopBatch.RequestStop();
    stopBatch.Wait();
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(stopRows.status(row), "Abort") << row;
    EXPECT_TRUE(stopRows.checked(0) && stopRows.checked(1));
    EXPECT_FALSE(QFileInfo::exists(out() + "/d-hang.mp4")); // no shortened file stays
}

} // namespace
