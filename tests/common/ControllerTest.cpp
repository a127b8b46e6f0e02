#include "CQuentaMediaCntl.h"
#include "CapturingEventLog.h"
#include "ConversionJob.h"
#include "EncoderSetup.h"
#include "JobPreparation.h"
#include "TestProfiles.h"

#include <QStringList>
#include <atomic>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace {

// What the test encoders did, in order, named "<kind><id>:<operation>".
struct Journal
{
    std::mutex lock;
    QStringList entries;
    std::atomic<int> stops{0};
    int created = 0;
    bool throwInSetup = false;
    bool throwOddInSetup = false; // something that is no std::exception
    bool throwInStop = false;

    void add(const QString& entry)
    {
        std::lock_guard hold(lock);
        entries << entry;
    }
    QStringList take()
    {
        std::lock_guard hold(lock);
        QStringList out;
        out.swap(entries);
        return out;
    }
};

class TestEncoder : public CMediaEncoder
{
public:
    TestEncoder(Journal& journal, int kind)
        : m_journal(journal), m_name(QString("%1#%2").arg(kind).arg(++journal.created))
    {
    }
    ~TestEncoder() override { m_journal.add(m_name + ":gone"); }
    int Attach(const EncoderSetup* setup) override
    {
        m_journal.add(m_name + ":attach");
        return setup && setup->callback ? 1 : 0;
    }
    int Setup(const ConversionJob*) override
    {
        if (m_journal.throwInSetup)
            throw std::runtime_error("set-up failed");
        if (m_journal.throwOddInSetup)
            throw 42;
        m_journal.add(m_name + ":setup");
        return 1;
    }
    int Run(const QString& output, int) override
    {
        m_journal.add(m_name + ":run " + output);
        return 1;
    }
    int Stop() override
    {
        if (m_journal.throwInStop)
            throw std::runtime_error("no thread");
        ++m_journal.stops;
        return 1;
    }
    // The RealMedia stand-in cannot probe, as the producer cannot.
    int Probe(const QString&, ConversionJob*) override
    {
        m_journal.add(m_name + ":probe");
        return m_name.startsWith('1') ? kCannotProbe : 1;
    }
    int Event(int, qint64, const QByteArray&, int) override { return 1; }

private:
    Journal& m_journal;
    QString m_name;
};

struct ControllerHarness
{
    Journal journal;
    CapturingEventLog log;
    EncoderSetup setup;
    CQuentaMediaCntl cntl{[this](EncoderKind kind) -> std::unique_ptr<CMediaEncoder> {
        return std::make_unique<TestEncoder>(journal, int(kind));
    }};

    ControllerHarness()
    {
        setup.callback = [](int, void*) {};
        setup.events = &log;
        setup.appFolder = "/opt/tovel/";
    }
};

} // namespace

TEST(Controller, ANullJobIsReportedAndFails)
{
    ControllerHarness h;
    ASSERT_EQ(h.cntl.Init(&h.setup), 1);
    EXPECT_EQ(h.cntl.bDoConvert(nullptr), 0);
    const auto events = h.log.events();
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events[0].type, EventLog::Error);
    EXPECT_EQ(*events[0].text, "Module:COMMON/CQuentaMediaCntl,Line:115,pointer is NULL ");
}

TEST(Controller, AnExceptionInAConversionIsTwoEventsAndAFailureWithItsText)
{
    ControllerHarness h;
    ASSERT_EQ(h.cntl.Init(&h.setup), 1);
    h.journal.throwInSetup = true;
    ConversionJob job;
    EXPECT_EQ(h.cntl.bDoConvert(&job), 0);
    EXPECT_EQ(job.outcome.reason, "the conversion raised an exception: set-up failed");
    h.journal.throwInSetup = false;
    h.journal.throwOddInSetup = true;
    EXPECT_EQ(h.cntl.bDoConvert(&job), 0);
    EXPECT_EQ(job.outcome.reason, "the conversion raised an exception: unknown exception");

    const auto events = h.log.events();
    ASSERT_EQ(events.size(), 4);
    for (int i : {0, 2})
        EXPECT_EQ(*events[i].text,
                  "Module:COMMON/CQuentaMediaCntl,Line:181,bDoConvert raise exception");
    EXPECT_EQ(events[1].text, "set-up failed");
    EXPECT_EQ(events[3].text, "unknown exception");
}

TEST(Controller, InitCreatesOnlyTheToolEncoder)
{
    ControllerHarness h;
    h.setup.kind = EncoderKind::RealMediaProducer;
    EXPECT_EQ(h.cntl.Init(&h.setup), 0);
    EXPECT_FALSE(h.cntl.hasEncoder());
    EXPECT_EQ(h.cntl.Init(nullptr), 0);
    h.setup.kind = EncoderKind::FfmpegTool;
    h.setup.callback = nullptr;
    EXPECT_EQ(h.cntl.Init(&h.setup), 0); // the Attach result; the encoder is in place
    EXPECT_TRUE(h.cntl.hasEncoder());
}

TEST(Controller, ABatchSwitchesToRealMediaOnceAndBackOnce)
{
    ControllerHarness h;
    ASSERT_EQ(h.cntl.Init(&h.setup), 1);
    h.journal.take();

    // The batch's engine choice per row, as the window makes it.
    const QByteArray formats[] = {"mp4", "rm", "RM", "avi"};
    for (const QByteArray& format : formats) {
        ConversionJob job;
        job.outputPath = "/out/" + format;
        job.profile = MakeProfile({{"vcodec", "x"}}, format);
        SettingsDefaults(&job);
        Prepare(&job, job.profile.get());
        const bool rm = format.compare("rm", Qt::CaseInsensitive) == 0;
        if (rm && h.setup.kind != EncoderKind::RealMediaProducer) {
            h.setup.kind = EncoderKind::RealMediaProducer;
            EXPECT_EQ(h.cntl.SwitchEncoder(&h.setup), 1);
        } else if (!rm && h.setup.kind == EncoderKind::RealMediaProducer) {
            h.setup.kind = EncoderKind::FfmpegTool;
            EXPECT_EQ(h.cntl.RestoreEncoder(), 1);
        }
        EXPECT_EQ(h.cntl.bDoConvert(&job), 1);
    }
    EXPECT_EQ(
        h.journal.take(),
        QStringList({"0#1:setup", "0#1:run /out/mp4", "1#2:attach", "1#2:setup", "1#2:run /out/rm",
                     "1#2:setup", "1#2:run /out/RM", "1#2:gone", "0#1:setup", "0#1:run /out/avi"}));
    EXPECT_EQ(h.cntl.currentKind(), EncoderKind::FfmpegTool);
}

TEST(Controller, SwitchRefusesBadRequestsWithoutChangingAnything)
{
    ControllerHarness h;
    EXPECT_EQ(h.cntl.SwitchEncoder(&h.setup), 0); // no encoder yet
    ASSERT_EQ(h.cntl.Init(&h.setup), 1);
    h.setup.kind = EncoderKind(2); // no such encoder
    EXPECT_EQ(h.cntl.SwitchEncoder(&h.setup), 0);
    EXPECT_EQ(h.cntl.SwitchEncoder(nullptr), 0);
    EXPECT_EQ(h.journal.created, 1);
    EXPECT_EQ(h.cntl.currentKind(), EncoderKind::FfmpegTool);
}

TEST(Controller, RestoringTwiceLeavesNoEncoderAndEveryOperationFails)
{
    ControllerHarness h;
    ASSERT_EQ(h.cntl.Init(&h.setup), 1);
    EXPECT_EQ(h.cntl.RestoreEncoder(), 0);
    EXPECT_EQ(h.cntl.RestoreEncoder(), 0);
    EXPECT_FALSE(h.cntl.hasEncoder());
    ConversionJob job;
    EXPECT_EQ(h.cntl.bGetMediaFileContent("/in/clip.avi", &job), 0);
    EXPECT_EQ(h.cntl.bDoConvert(&job), 0);
    h.setup.kind = EncoderKind::RealMediaProducer;
    EXPECT_EQ(h.cntl.SwitchEncoder(&h.setup), 0);
    h.cntl.Stop();
}

TEST(Controller, WithoutTheProducerTheRealMediaSwitchFailsCleanly)
{
    CapturingEventLog log;
    EncoderSetup setup;
    setup.callback = [](int, void*) {};
    setup.events = &log;
    CQuentaMediaCntl cntl;
    ASSERT_EQ(cntl.Init(&setup), 1);
    setup.kind = EncoderKind::RealMediaProducer;
    EXPECT_EQ(cntl.SwitchEncoder(&setup), 0);
    EXPECT_EQ(cntl.currentKind(), EncoderKind::RealMediaProducer);
    ConversionJob job;
    job.profile = MakeProfile({}, "rm");
    EXPECT_EQ(cntl.bDoConvert(&job), 0);
    EXPECT_EQ(cntl.RestoreEncoder(), 1); // the tool encoder comes back
    EXPECT_EQ(cntl.currentKind(), EncoderKind::FfmpegTool);
    EXPECT_EQ(cntl.bGetMediaFileContent("", &job), 0);
    EXPECT_EQ(cntl.bGetMediaFileContent("/in/x.avi", nullptr), 0);
}

TEST(Controller, StopWithNothingRunningChangesNothing)
{
    ControllerHarness h;
    h.cntl.Stop(); // no encoder at all
    ASSERT_EQ(h.cntl.Init(&h.setup), 1);
    h.cntl.Stop();
    EXPECT_EQ(h.journal.stops, 1);
    ConversionJob job;
    job.outputPath = "/out/a";
    EXPECT_EQ(h.cntl.bDoConvert(&job), 1);
}

TEST(Controller, StopMayRaceTheWorkersSwitches)
{
    ControllerHarness h;
    ASSERT_EQ(h.cntl.Init(&h.setup), 1);
    std::atomic<bool> done{false};
    std::thread ui([&] {
        while (!done)
            h.cntl.Stop();
    });
    // Until both sides have had plenty of turns.
    for (int i = 0; i < 2000 || h.journal.stops < 100; ++i) {
        h.setup.kind = EncoderKind::RealMediaProducer;
        EXPECT_EQ(h.cntl.SwitchEncoder(&h.setup), 1);
        ConversionJob job;
        EXPECT_EQ(h.cntl.bDoConvert(&job), 1);
        h.setup.kind = EncoderKind::FfmpegTool;
        EXPECT_EQ(h.cntl.RestoreEncoder(), 1);
    }
    done = true;
    ui.join();
    EXPECT_EQ(h.cntl.currentKind(), EncoderKind::FfmpegTool);
    EXPECT_GT(h.journal.stops, 0);
}

TEST(Controller, AProbeAfterARealMediaRowGoesToTheToolEncoderPutAside)
{
    ControllerHarness h;
    ASSERT_EQ(h.cntl.Init(&h.setup), 1);
    h.setup.kind = EncoderKind::RealMediaProducer;
    ASSERT_EQ(h.cntl.SwitchEncoder(&h.setup), 1); // a batch that ended on a RealMedia row
    h.journal.take();
    ConversionJob job;
    EXPECT_EQ(h.cntl.bGetMediaFileContent("/in/clip.avi", &job), 1);
    EXPECT_EQ(h.journal.take(), QStringList({"1#2:probe", "0#1:probe"}));
    EXPECT_TRUE(h.log.events().isEmpty());

    // With nothing put aside, no encoder can answer: a refusal, and the log says why.
    CQuentaMediaCntl alone{[&h](EncoderKind kind) -> std::unique_ptr<CMediaEncoder> {
        return std::make_unique<TestEncoder>(h.journal, int(kind) + 1);
    }};
    h.setup.kind = EncoderKind::FfmpegTool;
    ASSERT_EQ(alone.Init(&h.setup), 1); // its "tool" encoder is the RealMedia stand-in
    EXPECT_EQ(alone.bGetMediaFileContent("/in/clip.avi", &job), 0);
    const auto events = h.log.events();
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(*events[0].text, "Module:COMMON/CQuentaMediaCntl,Line:184,No encoder can probe "
                               "/in/clip.avi");
}

TEST(Controller, ExceptionsWhileStoppingOrSwitchingReachTheCallerAndTheLog)
{
    ControllerHarness h;
    ASSERT_EQ(h.cntl.Init(&h.setup), 1);
    EXPECT_EQ(h.cntl.Stop(), 1);
    h.journal.throwInStop = true;
    EXPECT_EQ(h.cntl.Stop(), 0);

    Journal other;
    CQuentaMediaCntl failing{[&other](EncoderKind kind) -> std::unique_ptr<CMediaEncoder> {
        if (kind == EncoderKind::RealMediaProducer)
            throw std::bad_alloc();
        return std::make_unique<TestEncoder>(other, 0);
    }};
    ASSERT_EQ(failing.Init(&h.setup), 1);
    h.setup.kind = EncoderKind::RealMediaProducer;
    EXPECT_EQ(failing.SwitchEncoder(&h.setup), 0);

    const auto events = h.log.events();
    ASSERT_EQ(events.size(), 2);
    EXPECT_EQ(*events[0].text,
              "Module:COMMON/CQuentaMediaCntl,Line:183,Stop raise exception: no thread");
    EXPECT_EQ(*events[1].text,
              "Module:COMMON/CQuentaMediaCntl,Line:182,SwitchEncoder raise exception: "
              "std::bad_alloc");
}
