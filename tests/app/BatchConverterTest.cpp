#include "BatchFixture.h"
#include "CBatchConverter.h"
#include "CMediaEncoder.h"
#include "CProfileManager.h"
#include "CQuentaMediaCntl.h"
#include "CTraceLog.h"
#include "CapturingEventLog.h"
#include "EncoderSetup.h"
#include "MediaEncoderFactory.h"
#include "Preferences.h"
#include "TestMedia.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <signal.h>
#include <thread>

namespace {

const QString kAccomplished = "    Mission accomplished!        ";

// The RealMedia producer stand-in: converts by reporting progress and writes no file, so a
// row it converts can only pass when its result is judged by the conversion's answer alone.
class TestProducer : public CMediaEncoder
{
public:
    int Attach(const EncoderSetup* setup) override
    {
        m_setup = setup;
        return setup && setup->callback ? 1 : 0;
    }
    int Setup(const ConversionJob*) override { return 1; }
    int Run(const QString&, int) override
    {
        m_outcome.stopped = m_stop.load();
        if (m_outcome.stopped)
            return 1;
        m_setup->callback(50, m_setup->context);
        m_setup->callback(100, m_setup->context);
        return 1;
    }
    int Stop() override
    {
        m_stop = true;
        return 1;
    }
    void ClearStop() override { m_stop = false; }
    RunOutcome Outcome() const override { return m_outcome; }
    int Probe(const QString&, ConversionJob*) override { return 1; }
    int Event(int, qint64, const QByteArray&, int) override { return 1; }

private:
    const EncoderSetup* m_setup = nullptr;
    std::atomic<bool> m_stop{false};
    RunOutcome m_outcome;
};

// The batch loop over the fake tool, which logs the inputs it converts; the RealMedia
// producer is the stand-in above.
class BatchTest : public BatchFixture
{
protected:
    std::atomic<int> producers{0};

    std::unique_ptr<CQuentaMediaCntl> makeController() override
    {
        return std::make_unique<CQuentaMediaCntl>([this](EncoderKind kind) {
            if (kind != EncoderKind::RealMediaProducer)
                return CreateMediaEncoder(kind);
            ++producers;
            return std::unique_ptr<CMediaEncoder>(std::make_unique<TestProducer>());
        });
    }
    void SetUp() override
    {
        qputenv("TOVEL_FAKE_LOG", (work.path() + "/fake.log").toLocal8Bit());
        g_bShutdown = 0;
        BatchFixture::SetUp();
    }
    void TearDown() override
    {
        BatchFixture::TearDown();
        qunsetenv("TOVEL_FAKE_LOG");
        g_bShutdown = 0;
    }

    std::unique_ptr<ConversionJob> job(const QString& name, const char* format = "mp4")
    {
        auto job = std::make_unique<ConversionJob>();
        job->inputPath = work.path() + "/in/" + name;
        job->media.duration = 3;
        job->profile = std::make_unique<Profile>();
        job->profile->name = "Test";
        job->profile->format = format;
        job->profile->extName = QByteArray(format).toLower() == "rm" ? "rm" : "mp4";
        return job;
    }
    // The inputs the fake tool converted, in order, by name.
    QStringList converted() const
    {
        QStringList names;
        for (const QByteArray& line : TestMedia::readFile(work.path() + "/fake.log").split('\n'))
            if (!line.isEmpty())
                names << QFileInfo(QString::fromLocal8Bit(line)).fileName();
        return names;
    }
    QString failureText() const
    {
        return "Convert fail,please send the trace file:" + app.path() +
               "/trace.log to support@tovel.example.org";
    }
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const auto& m : user.messages())
            texts << m.text;
        return texts;
    }
};

TEST_F(BatchTest, AFailedRowEndsTheBatchAndLeavesTheRestReady)
{
    g_bShutdown = 1;
    rows.add(job("one.avi"));
    rows.add(job("two-fail.avi"));
    rows.add(job("three.avi"));
    run();

    EXPECT_EQ(rows.status(0), "Completed");
    EXPECT_FALSE(rows.checked(0));
    EXPECT_EQ(rows.status(1), "Fail");
    EXPECT_TRUE(rows.checked(1));
    EXPECT_EQ(rows.status(2), "Ready");
    EXPECT_TRUE(rows.checked(2));
    EXPECT_TRUE(rows.callsOn(2).isEmpty());
    EXPECT_EQ(converted(), QStringList({"one.avi", "two-fail.avi"}));
    EXPECT_TRUE(QFileInfo(out() + "/one.mp4").size() > 0);

    ASSERT_EQ(user.messages().size(), 1u);
    EXPECT_EQ(user.messages()[0].text, failureText());
    EXPECT_EQ(user.messages()[0].caption, "Warning");
    EXPECT_EQ(user.messages()[0].icon, BatchUser::Exclamation);
    EXPECT_TRUE(batch->FailureSeen());
    EXPECT_EQ(batch->ConvState(), CBatchConverter::Finished);
    EXPECT_EQ(shutdowns, 1); // even after a failure
    // The end of the batch, in its order: Encode back, no summary, folder opened, controls on.
    const QStringList calls = user.calls();
    const qsizetype encode = calls.indexOf("encode");
    ASSERT_GE(encode, 0);
    EXPECT_EQ(calls.mid(encode), QStringList({"encode", "open " + out(), "controls 1"}));
    EXPECT_LT(calls.indexOf("controls 0"), calls.indexOf("encode"));
}

TEST_F(BatchTest, OnlyCheckedRowsConvertTopToBottomWithProgressOnTheirOwnRow)
{
    for (const char* name : {"a.avi", "b.avi", "c.avi", "d.avi", "e.avi"})
        rows.add(job(name), false);
    rows.check(1, true);
    rows.check(3, true);
    run();

    EXPECT_EQ(converted(), QStringList({"b.avi", "d.avi"}));
    for (int row : {0, 2, 4}) {
        EXPECT_TRUE(rows.callsOn(row).isEmpty()) << row;
        EXPECT_EQ(rows.status(row), "Ready");
    }
    for (int row : {1, 3}) {
        const QStringList calls = rows.callsOn(row);
        ASSERT_GE(calls.size(), 4) << row;
        EXPECT_EQ(calls.mid(0, 2), QStringList({"bar", "0"}));
        EXPECT_TRUE(calls.contains("33")) << calls.join(',').toStdString(); // 1 s of 3 s
        EXPECT_TRUE(calls.contains("66")) << calls.join(',').toStdString();
        EXPECT_EQ(calls.mid(calls.size() - 3),
                  QStringList({"nobar", "status Completed", "check 0"}));
    }
    EXPECT_EQ(messageTexts(), QStringList({kAccomplished}));
    EXPECT_EQ(user.messages()[0].caption, QString());
    EXPECT_EQ(user.messages()[0].icon, BatchUser::Information);
    EXPECT_EQ(shutdowns, 0);
}

TEST_F(BatchTest, StopDuringTheFirstRowAbortsTheNextAndStillSumsUp)
{
    rows.add(job("first-hang.avi"));
    rows.add(job("second.avi"));
    rows.add(job("third.avi"));
    ASSERT_EQ(batch->StartConvert(), CBatchConverter::Started);
    EXPECT_EQ(batch->StartConvert(), CBatchConverter::Busy); // a second Encode starts nothing
    ASSERT_TRUE(rows.waitForProgress(0));
    EXPECT_EQ(batch->ConvState(), CBatchConverter::Converting);

    user.answer(false);
    batch->StopConvert();
    EXPECT_FALSE(batch->StopRequested()); // No: the batch goes on
    EXPECT_TRUE(batch->IsRunning());
    user.answer(true);
    batch->StopConvert();
    batch->Wait();

    const QString question = "ask Warning|  Stop the video convert operation?   ";
    EXPECT_EQ(user.calls().count(question), 2);
    EXPECT_TRUE(batch->StopRequested());
    // Cut short: it says so and stays checked for the next Encode; a shortened file would pass
    // for a finished one.
    EXPECT_EQ(rows.status(0), "Abort");
    EXPECT_TRUE(rows.checked(0));
    EXPECT_FALSE(QFileInfo::exists(out() + "/first-hang.mp4"));
    EXPECT_EQ(rows.status(1), "Abort");
    EXPECT_EQ(rows.callsOn(1), QStringList({"nobar", "status Abort"}));
    EXPECT_EQ(rows.status(2), "Ready");
    EXPECT_TRUE(rows.checked(2));
    EXPECT_EQ(converted(), QStringList({"first-hang.avi"}));
    EXPECT_TRUE(messageTexts().isEmpty()) << "no summary of success after a Stop";
}

TEST_F(BatchTest, APauseLetsTheRowConvertingFinishStartsNoOtherAndTheNextBatchGoesOn)
{
    rows.add(job("first-slow.avi"));
    rows.add(job("second.avi"));
    ASSERT_EQ(batch->StartConvert(), CBatchConverter::Started);
    ASSERT_TRUE(rows.waitForProgress(0));
    batch->requestPause(true);
    batch->Wait();
    EXPECT_EQ(rows.status(0), "Completed");
    EXPECT_EQ(rows.status(1), "Ready");
    EXPECT_TRUE(rows.checked(1));
    EXPECT_TRUE(batch->endedPaused());
    EXPECT_TRUE(messageTexts().isEmpty()) << "a pause is not the batch's end";

    run();
    EXPECT_FALSE(batch->endedPaused());
    EXPECT_EQ(rows.status(1), "Completed");
    EXPECT_EQ(converted(), QStringList({"first-slow.avi", "second.avi"}));
    EXPECT_EQ(messageTexts().size(), 1);
}

TEST_F(BatchTest, StopWithoutABatchAsksNothingAndDoesNotStopTheNextBatch)
{
    batch->StopConvert();
    EXPECT_TRUE(user.calls().filter("ask").isEmpty());
    rows.add(job("clip.avi"));
    run();
    EXPECT_EQ(rows.status(0), "Completed");
    EXPECT_EQ(converted(), QStringList({"clip.avi"}));
}

TEST_F(BatchTest, AStopJustAfterARowIsTakenEndsThatRowEvenAcrossAnEngineSwitch)
{
    // The worker is held just after it took a row, while Stop comes from the other thread.
    batch->setRowClaimedHook([this](int) {
        std::thread ui([this] { batch->StopConvert(); });
        ui.join();
    });
    rows.add(job("one.avi"));
    rows.add(job("two.avi"));
    run();
    EXPECT_EQ(rows.status(0), "Abort");
    EXPECT_TRUE(rows.checked(0));
    EXPECT_EQ(rows.status(1), "Abort");
    EXPECT_TRUE(converted().isEmpty()); // the tool was not even started
    EXPECT_TRUE(messageTexts().isEmpty());

    // The Stop reaches the FFmpeg engine, which the RealMedia row puts aside.
    TestRows rmRows;
    CBatchConverter rmBatch(*controller, setup, rmRows, user);
    ASSERT_EQ(controller->Init(&setup), 1);
    rmBatch.setShutdown([] {});
    rmBatch.setRowClaimedHook([&](int) {
        std::thread ui([&] { rmBatch.RequestStop(); });
        ui.join();
    });
    rmRows.add(job("three.avi", "rm"));
    ASSERT_EQ(rmBatch.StartConvert(), CBatchConverter::Started);
    rmBatch.Wait();
    EXPECT_EQ(producers, 1);
    EXPECT_EQ(rmRows.status(0), "Abort");
    EXPECT_FALSE(rmRows.callsOn(0).contains("100"));
}

TEST_F(BatchTest, MissingFolderLevelsAreMadeAndTheToolWorksInThemWhileTheProgramStaysPut)
{
    const QString deeper = out() + "/new/deeper";
    user.presetOutputBox(deeper + '/');
    rows.add(job("clip.avi"));
    QStringList during;
    batch->setRowClaimedHook([&](int) { during << QDir::currentPath(); });
    rows.onProgress = [&](int, int) { during << QDir::currentPath(); };
    run();

    EXPECT_EQ(rows.status(0), "Completed");
    ASSERT_GE(during.size(), 2);
    EXPECT_EQ(during.count(startDir), during.size()); // never moved into the output folder
    EXPECT_EQ(QDir::currentPath(), startDir);
    const QByteArray result = TestMedia::readFile(deeper + "/clip.mp4");
    EXPECT_TRUE(result.startsWith("cwd=" + deeper.toLocal8Bit() + '\n')) << result.constData();
    EXPECT_TRUE(result.contains("arg=" + deeper.toLocal8Bit() + "/clip.mp4\n"));
    EXPECT_EQ(batch->OutputFolder(), deeper + '/');
}

TEST_F(BatchTest, AnEmptyOutputBoxWritesIntoTheHomeFolder)
{
    const QByteArray home = qgetenv("HOME");
    const QString fakeHome = work.path() + "/home";
    ASSERT_TRUE(QDir().mkpath(fakeHome));
    qputenv("HOME", fakeHome.toLocal8Bit());
    user.presetOutputBox(QString());
    rows.add(job("clip.avi"));
    run();
    qputenv("HOME", home);

    EXPECT_TRUE(user.calls().contains("box " + fakeHome));
    EXPECT_TRUE(user.calls().contains("open " + fakeHome));
    EXPECT_EQ(rows.status(0), "Completed");
    EXPECT_TRUE(QFileInfo(fakeHome + "/clip.mp4").size() > 0);
}

TEST_F(BatchTest, TheOutputBoxAndTheEditorAreReadOnceByTheThreadThatStartsTheBatch)
{
    rows.add(job("clip.avi"));
    run();
    // The window's widgets belong to the UI thread: the worker gets what it needs at Encode.
    const std::thread::id starter = std::this_thread::get_id();
    EXPECT_EQ(user.windowReaders(), std::vector({starter, starter}));
    EXPECT_TRUE(user.calls().contains("open " + out()));
    EXPECT_EQ(rows.status(0), "Completed");
}

TEST_F(BatchTest, EmptyResultsNamelessInputsAndOverlongPathsFail)
{
    struct Case
    {
        QString input;
        QString folder;
        QString message;
    };
    const QString longName = QString(252, 'n'); // 256 bytes with its extension
    // A folder the system holds, whose output path then does not fit.
    QString deep = out();
    while (deep.size() + 201 <= 1020)
        deep += '/' + QString(200, 'f');
    deep += '/' + QString(1020 - deep.size() - 1, 'f');
    ASSERT_TRUE(QDir().mkpath(out()));
    // (A folder that cannot be made is refused before any row: see below.)
    const Case cases[] = {
        {"empty.avi", out(), failureText()},
        {longName + ".avi", out(),
         "The output path is too long for this system: " + out() + '/' + longName + ".mp4"},
        {"clip.avi", deep, "The output path is too long for this system: " + deep + "/clip.mp4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.left(20).toStdString());
        TestRows caseRows;
        TestUser caseUser;
        caseUser.presetOutputBox(c.folder);
        CBatchConverter caseBatch(*controller, setup, caseRows, caseUser);
        ASSERT_EQ(controller->Init(&setup), 1); // the engine now reports to this batch
        caseRows.add(job(c.input));
        ASSERT_EQ(caseBatch.StartConvert(), CBatchConverter::Started);
        caseBatch.Wait();
        EXPECT_EQ(caseRows.status(0), "Fail");
        EXPECT_FALSE(caseRows.reason(0).isEmpty());
        ASSERT_EQ(caseUser.messages().size(), 1u);
        EXPECT_EQ(caseUser.messages()[0].text, c.message);
        EXPECT_EQ(caseUser.messages()[0].caption, "Warning");
        EXPECT_TRUE(caseBatch.FailureSeen());
    }
}

TEST_F(BatchTest, AnInputWithoutAnExtensionConvertsIntoA300ByteFolder)
{
    QString folder = out();
    while (folder.toLocal8Bit().size() < 300)
        folder += '/' + QString(std::min<qsizetype>(100, 300 - folder.size() - 1), 'f');
    ASSERT_EQ(folder.toLocal8Bit().size(), 300);
    user.presetOutputBox(folder);
    rows.add(job("clip"));
    run();
    EXPECT_EQ(rows.status(0), "Completed");
    EXPECT_TRUE(QFileInfo(folder + "/clip.mp4").size() > 0);
    EXPECT_EQ(messageTexts(), QStringList({kAccomplished}));
}

TEST_F(BatchTest, AFolderTheSystemCannotHoldIsRefusedWholeAndNothingConverts)
{
    const QString folder = out() + '/' + QString(5000, 'f');
    user.presetOutputBox(folder);
    rows.add(job("clip.avi"));
    run();
    EXPECT_EQ(rows.status(0), "Ready");
    EXPECT_TRUE(rows.callsOn(0).isEmpty());
    EXPECT_TRUE(converted().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(out()));
    EXPECT_EQ(messageTexts(),
              QStringList({"The output folder is too long for this system: " + folder}));
    EXPECT_TRUE(batch->FailureSeen());
    EXPECT_EQ(user.calls().last(), "controls 1");
}

// Said once, not as a failure of each row.
TEST_F(BatchTest, AFolderThatCannotBeMadeIsRefusedWholeInOneMessage)
{
    ASSERT_TRUE(TestMedia::writeFile(work.path() + "/a file", "not a folder"));
    const QString folder = work.path() + "/a file/out";
    user.presetOutputBox(folder);
    rows.add(job("one.avi"));
    rows.add(job("two.avi"));
    run();
    EXPECT_EQ(rows.status(0), "Ready");
    EXPECT_EQ(rows.status(1), "Ready");
    EXPECT_TRUE(converted().isEmpty());
    EXPECT_EQ(messageTexts(), QStringList({"The output folder cannot be created: " + folder}));
    EXPECT_EQ(user.calls().last(), "controls 1");
}

TEST_F(BatchTest, AToolFailingAfterWritingLosesItsFileAndTheRowSaysWhy)
{
    g_bOverwrite = 1;
    ASSERT_TRUE(QDir().mkpath(out()));
    ASSERT_TRUE(TestMedia::writeFile(out() + "/two-fail.mp4", "an earlier result"));
    rows.add(job("one-broken.avi"));
    rows.add(job("two-fail.avi"));
    batch->setKeepGoing(true);
    run();

    EXPECT_EQ(rows.status(0), "Fail");
    EXPECT_EQ(rows.reason(0), "fake: No space left on device");
    EXPECT_FALSE(QFileInfo::exists(out() + "/one-broken.mp4")); // written by the run: gone
    EXPECT_EQ(rows.status(1), "Fail");
    EXPECT_EQ(rows.reason(1), "fake: cannot convert " + work.path() + "/in/two-fail.avi");
    // Not written by the run: left alone.
    EXPECT_EQ(TestMedia::readFile(out() + "/two-fail.mp4"), "an earlier result");
    EXPECT_TRUE(rows.checked(0) && rows.checked(1));
}

TEST_F(BatchTest, KeepGoingTriesEveryCheckedRowAndListsTheFailuresOnce)
{
    batch->setKeepGoing(true);
    for (const char* name : {"a.avi", "b-fail.avi", "c.avi", "d-fail.avi"})
        rows.add(job(name));
    run();

    EXPECT_EQ(converted(), QStringList({"a.avi", "b-fail.avi", "c.avi", "d-fail.avi"}));
    EXPECT_EQ(rows.status(0), "Completed");
    EXPECT_EQ(rows.status(1), "Fail");
    EXPECT_EQ(rows.status(2), "Completed");
    EXPECT_EQ(rows.status(3), "Fail");
    EXPECT_TRUE(rows.checked(1) && rows.checked(3));
    EXPECT_FALSE(rows.checked(0) || rows.checked(2));
    const QString in = work.path() + "/in/";
    ASSERT_EQ(user.messages().size(), 1u);
    EXPECT_EQ(user.messages()[0].text, "2 files failed:\nb-fail.avi: fake: cannot convert " + in +
                                           "b-fail.avi\nd-fail.avi: fake: cannot convert " + in +
                                           "d-fail.avi\n\n" + failureText());
    EXPECT_EQ(user.messages()[0].caption, "Warning");
    EXPECT_TRUE(batch->FailureSeen());
}

TEST_F(BatchTest, RealMediaRowsSwitchTheEngineAndBackAndAreJudgedByTheConversion)
{
    rows.add(job("one.avi"));
    rows.add(job("two.avi", "RM"));
    rows.add(job("three.avi", "rm")); // already switched: no second switch
    rows.add(job("four.avi"));
    run();

    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(rows.status(row), "Completed") << row;
    EXPECT_EQ(producers, 1);
    EXPECT_EQ(setup.kind, EncoderKind::FfmpegTool);
    EXPECT_EQ(controller->currentKind(), EncoderKind::FfmpegTool);
    EXPECT_EQ(converted(), QStringList({"one.avi", "four.avi"}));
    EXPECT_FALSE(QFileInfo::exists(out() + "/two.rm"));
    EXPECT_TRUE(rows.callsOn(1).contains("100"));
    EXPECT_EQ(messageTexts(), QStringList({kAccomplished}));
}

TEST_F(BatchTest, AFailedEngineSwitchEndsTheBatchAtOnceButLeavesItClosable)
{
    g_bShutdown = 1;
    CQuentaMediaCntl plain; // the application folder has no producer library to attach
    CBatchConverter plainBatch(plain, setup, rows, user);
    ASSERT_EQ(plain.Init(&setup), 1);
    rows.add(job("one.avi", "rm"));
    rows.add(job("two.avi"));
    ASSERT_EQ(plainBatch.StartConvert(), CBatchConverter::Started);
    plainBatch.Wait();

    EXPECT_EQ(rows.status(0), "Fail");
    EXPECT_EQ(rows.status(1), "Ready");
    ASSERT_EQ(user.messages().size(), 1u);
    EXPECT_EQ(user.messages()[0].text, "Encounter a problem,please Restart !!!");
    EXPECT_EQ(user.messages()[0].caption, "Error");
    EXPECT_EQ(user.messages()[0].icon, BatchUser::Stop);
    EXPECT_TRUE(plainBatch.EngineFailed());
    EXPECT_EQ(plainBatch.ConvState(), CBatchConverter::Finished);
    EXPECT_EQ(shutdowns, 0);
    EXPECT_TRUE(user.calls().filter("open").isEmpty());
    EXPECT_EQ(user.calls().last(), "controls 1");
}

TEST_F(BatchTest, ASecondRunAutoRenamesAndOneWithNothingCheckedSaysSo)
{
    rows.add(job("clip.avi"));
    run();
    EXPECT_EQ(rows.status(0), "Completed");
    rows.check(0, true);
    run();
    EXPECT_TRUE(QFileInfo(out() + "/clip.mp4").size() > 0);
    EXPECT_TRUE(QFileInfo(out() + "/clip-0.mp4").size() > 0);

    EXPECT_EQ(batch->StartConvert(), CBatchConverter::NoneChecked);
    const auto messages = user.messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[2].text, "There is no selected file in list! ");
    EXPECT_EQ(messages[2].caption, "Warning");
    EXPECT_EQ(messages[2].icon, BatchUser::Exclamation);

    g_bOverwrite = 1;
    rows.check(0, true);
    run();
    EXPECT_FALSE(QFileInfo::exists(out() + "/clip-1.mp4"));
}

TEST_F(BatchTest, AnEmptyListStartsNothingAndSaysSo)
{
    EXPECT_EQ(batch->StartConvert(), CBatchConverter::NoRows);
    EXPECT_EQ(messageTexts(), QStringList{"There is no selected file in list! "});
    EXPECT_FALSE(batch->IsRunning());
}

} // namespace

namespace {

// The first shipped profile with the MP4 format; null when there is none.
std::unique_ptr<Profile> shippedMp4Profile()
{
    const QString appDir = TestMedia::appDir();
    CProfileManager profiles;
    profiles.ScanProfiles(appDir + "profiles/", appDir + "no-such-config.ini");
    for (const QByteArray& name : profiles.Names()) {
        auto profile = std::make_unique<Profile>();
        if (profiles.LoadProfile(name, profile.get()) &&
            profile->format.compare("mp4", Qt::CaseInsensitive) == 0)
            return profile;
    }
    return nullptr;
}

// The processes this one started whose command name is `name` (Linux's /proc).
QList<int> childrenNamed(const QByteArray& name)
{
    QList<int> found;
    const QByteArray self = QByteArray::number(QCoreApplication::applicationPid());
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        const QByteArray stat = TestMedia::readFile("/proc/" + entry + "/stat");
        const qsizetype open = stat.indexOf('('), close = stat.lastIndexOf(')');
        if (open < 0 || close < open)
            continue;
        const QList<QByteArray> rest = stat.mid(close + 2).split(' ');
        if (stat.mid(open + 1, close - open - 1) == name && rest.size() > 1 && rest[1] == self)
            found << entry.toInt();
    }
    return found;
}

// The real encoder tool with the shipped MP4 profile, converting into work/out.
class RealBatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo(TestMedia::appDir() + "encode").isExecutable())
            << "the encoder tool is not built";
        trace = std::make_unique<CTraceLog>(work.path() + "/trace.log");
        setup.appFolder = TestMedia::appDir();
        setup.trace = trace.get();
        setup.events = &events;
        user.presetOutputBox(work.path() + "/out");
        batch = std::make_unique<CBatchConverter>(controller, setup, rows, user);
        batch->setShutdown([] {});
        ASSERT_EQ(controller.Init(&setup), 1);
    }
    // Makes a clip at `path` and adds it as a row with the shipped MP4 profile.
    void addClip(const QString& path, double seconds, const char* size)
    {
        std::unique_ptr<Profile> profile = shippedMp4Profile();
        ASSERT_TRUE(profile) << "no shipped MP4 profile";
        ASSERT_TRUE(TestMedia::makeVideo(path, seconds, size));
        auto job = std::make_unique<ConversionJob>();
        job->inputPath = path;
        ASSERT_EQ(controller.bGetMediaFileContent(path, job.get()), 1);
        job->profile = std::move(profile);
        rows.add(std::move(job));
    }

    QTemporaryDir work;
    std::unique_ptr<CTraceLog> trace;
    CapturingEventLog events;
    EncoderSetup setup;
    CQuentaMediaCntl controller;
    TestRows rows;
    TestUser user;
    std::unique_ptr<CBatchConverter> batch;
};

TEST_F(RealBatchTest, ConvertsAClipWithTheEncoderToolAndAShippedProfile)
{
    const QString startDir = QDir::currentPath();
    const QString clip = work.path() + "/in 50% clip.avi";
    ASSERT_NO_FATAL_FAILURE(addClip(clip, 2.0, "160x120"));
    ASSERT_EQ(batch->StartConvert(), CBatchConverter::Started);
    batch->Wait();
    QDir::setCurrent(startDir);

    EXPECT_EQ(rows.status(0), "Completed");
    const QString output = work.path() + "/out/in 50% clip.mp4";
    EXPECT_NEAR(TestMedia::probeDuration(output), 2.0, 0.5);
    // Progress rose on row 0 and never went back.
    int last = -1;
    for (const QString& call : rows.callsOn(0)) {
        bool number = false;
        const int percent = call.toInt(&number);
        if (!number)
            continue;
        EXPECT_GE(percent, last);
        last = percent;
    }
    EXPECT_GE(last, 50);
    ASSERT_EQ(user.messages().size(), 1u);
    EXPECT_EQ(user.messages()[0].text, kAccomplished);
}

TEST_F(RealBatchTest, AnEncoderToolKilledMidRunFailsTheRowAndLeavesNothing)
{
    ASSERT_NO_FATAL_FAILURE(addClip(work.path() + "/long.avi", 60.0, "320x240"));
    // As the out-of-memory killer would: SIGKILL at the first progress, mid-way through.
    int killed = 0;
    rows.onProgress = [&](int, int percent) {
        if (percent < 1 || percent >= 100 || killed)
            return;
        for (int pid : childrenNamed("encode"))
            killed += ::kill(pid, SIGKILL) == 0;
    };
    ASSERT_EQ(batch->StartConvert(), CBatchConverter::Started);
    batch->Wait();

    ASSERT_EQ(killed, 1);
    EXPECT_EQ(rows.status(0), "Fail");
    EXPECT_TRUE(rows.checked(0));
    EXPECT_TRUE(rows.reason(0).startsWith("the encoder tool ended abnormally"))
        << rows.reason(0).toStdString();
    EXPECT_TRUE(QDir(work.path() + "/out").isEmpty(QDir::NoDotAndDotDot | QDir::AllEntries));
    EXPECT_TRUE(TestMedia::readFile(work.path() + "/trace.log")
                    .contains("Conversion failed: " + rows.reason(0).toUtf8()));
    ASSERT_EQ(user.messages().size(), 1u);
    EXPECT_EQ(user.messages()[0].caption, "Warning");
}

} // namespace
