#include "BatchDoubles.h"
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

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>

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
        m_setup->callback(50, m_setup->context);
        m_setup->callback(100, m_setup->context);
        return 1;
    }
    int Stop() override { return 1; }
    int Probe(const QString&, ConversionJob*) override { return 1; }
    int Event(int, qint64, const QByteArray&, int) override { return 1; }

private:
    const EncoderSetup* m_setup = nullptr;
};

// A batch over rows of jobs converted by the fake tool, which stands in the application
// folder as the encoder tool.
class BatchTest : public ::testing::Test
{
protected:
    QTemporaryDir app;
    QTemporaryDir work;
    QString startDir = QDir::currentPath();
    CTraceLog trace{app.path() + "/trace.log"};
    CapturingEventLog events;
    EncoderSetup setup;
    std::unique_ptr<CQuentaMediaCntl> controller;
    TestRows rows;
    TestUser user;
    std::unique_ptr<CBatchConverter> batch;
    std::atomic<int> shutdowns{0};
    std::atomic<int> producers{0};

    void SetUp() override
    {
        ASSERT_TRUE(QFile::link(TOVEL_FAKE_ENCODER, app.path() + "/encode"));
        qputenv("TOVEL_FAKE_LOG", (work.path() + "/fake.log").toLocal8Bit());
        g_bOverwrite = 0;
        g_bShutdown = 0;
        setup.appFolder = app.path() + '/';
        setup.trace = &trace;
        setup.events = &events;
        user.presetOutputBox(out());
        controller = std::make_unique<CQuentaMediaCntl>([this](EncoderKind kind) {
            if (kind != EncoderKind::RealMediaProducer)
                return CreateMediaEncoder(kind);
            ++producers;
            return std::unique_ptr<CMediaEncoder>(std::make_unique<TestProducer>());
        });
        batch = std::make_unique<CBatchConverter>(*controller, setup, rows, user);
        batch->setShutdown([this] { ++shutdowns; });
        ASSERT_EQ(controller->Init(&setup), 1);
    }
    void TearDown() override
    {
        batch.reset();
        QDir::setCurrent(startDir);
        qunsetenv("TOVEL_FAKE_LOG");
        g_bShutdown = 0;
    }

    QString out() const { return work.path() + "/out"; }
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
    void run()
    {
        ASSERT_EQ(batch->StartConvert(), CBatchConverter::Started);
        batch->Wait();
        EXPECT_FALSE(batch->IsRunning());
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
    EXPECT_EQ(rows.status(0), "Completed"); // the tool finished its file on "q"
    EXPECT_EQ(rows.status(1), "Abort");
    EXPECT_EQ(rows.callsOn(1), QStringList({"nobar", "status Abort"}));
    EXPECT_EQ(rows.status(2), "Ready");
    EXPECT_TRUE(rows.checked(2));
    EXPECT_EQ(converted(), QStringList({"first-hang.avi"}));
    EXPECT_EQ(messageTexts(), QStringList({kAccomplished}));
}

TEST_F(BatchTest, StopWithoutABatchAsksNothing)
{
    batch->StopConvert();
    EXPECT_TRUE(user.calls().filter("ask").isEmpty());
}

TEST_F(BatchTest, MissingFolderLevelsAreMadeAndTheToolWorksInThem)
{
    const QString deeper = out() + "/new/deeper";
    user.presetOutputBox(deeper + '/');
    rows.add(job("clip.avi"));
    run();

    EXPECT_EQ(rows.status(0), "Completed");
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

TEST_F(BatchTest, EmptyResultsNamelessInputsAndOverlongPathsFail)
{
    struct Case
    {
        QString input;
        QString folder;
        QString message;
    };
    const QString longName = QString(252, 'n'); // 256 bytes with its extension
    QString deep = out();
    for (int level = 0; level < 5; ++level)
        deep += '/' + QString(200, 'f');
    const Case cases[] = {
        {"empty.avi", out(), failureText()},
        {"no-extension", out(), failureText()},
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
        ASSERT_EQ(caseUser.messages().size(), 1u);
        EXPECT_EQ(caseUser.messages()[0].text, c.message);
        EXPECT_EQ(caseUser.messages()[0].caption, "Warning");
        EXPECT_TRUE(caseBatch.FailureSeen());
    }
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

TEST_F(BatchTest, AnEmptyListStartsNothing)
{
    EXPECT_EQ(batch->StartConvert(), CBatchConverter::NoRows);
    EXPECT_TRUE(user.calls().isEmpty());
}

} // namespace

namespace {

TEST(RealBatchTest, ConvertsAClipWithTheEncoderToolAndAShippedProfile)
{
    const QString appDir = TestMedia::appDir();
    ASSERT_TRUE(QFileInfo(appDir + "encode").isExecutable()) << "the encoder tool is not built";
    CProfileManager profiles;
    profiles.ScanProfiles(appDir + "profiles/", appDir + "no-such-config.ini");
    auto profile = std::make_unique<Profile>();
    for (const QByteArray& name : profiles.Names()) {
        profile = std::make_unique<Profile>();
        if (profiles.LoadProfile(name, profile.get()) &&
            profile->format.compare("mp4", Qt::CaseInsensitive) == 0)
            break;
        profile.reset();
    }
    ASSERT_TRUE(profile) << "no shipped MP4 profile";

    const QString startDir = QDir::currentPath();
    QTemporaryDir work;
    const QString clip = work.path() + "/in 50% clip.avi";
    ASSERT_TRUE(TestMedia::makeVideo(clip, 2.0, "160x120"));
    CTraceLog trace(work.path() + "/trace.log");
    CapturingEventLog events;
    EncoderSetup setup;
    setup.appFolder = appDir;
    setup.trace = &trace;
    setup.events = &events;
    CQuentaMediaCntl controller;
    TestRows rows;
    TestUser user;
    user.presetOutputBox(work.path() + "/out");
    CBatchConverter batch(controller, setup, rows, user);
    batch.setShutdown([] {});
    ASSERT_EQ(controller.Init(&setup), 1);

    auto job = std::make_unique<ConversionJob>();
    job->inputPath = clip;
    ASSERT_EQ(controller.bGetMediaFileContent(clip, job.get()), 1);
    job->profile = std::move(profile);
    rows.add(std::move(job));
    ASSERT_EQ(batch.StartConvert(), CBatchConverter::Started);
    batch.Wait();
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

} // namespace
