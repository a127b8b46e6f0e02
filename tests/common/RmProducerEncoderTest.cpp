#include "CQuentaMediaCntl.h"
#include "CRmProducerEncoder.h"
#include "CRmProgressListener.h"
#include "CTraceLog.h"
#include "ConversionJob.h"
#include "EncoderSetup.h"
#include "JobPreparation.h"
#include "ProducerLibrary.h"
#include "TestMedia.h"
#include "TestProfiles.h"
#include "WaitFor.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

// The RealMedia driver with the real producer library of the build.
namespace {

TEST(RmProgressListener, CountsReferencesAndAnswersOnlyItsOwnIdentifier)
{
    auto alive = std::make_shared<int>(0);
    QList<int> seen;
    auto* listener = new CRmProgressListener(
        [alive, &seen](int percent, void* context) {
            EXPECT_EQ(context, &seen);
            seen << percent;
        },
        &seen);
    EXPECT_EQ(listener->AddRef(), 1u); // the count starts at 0
    void* out = &out;
    EXPECT_EQ(listener->QueryInterface(IESUnknown::kIid, &out), ES_E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(listener->QueryInterface(IESListener::kIid, nullptr), ES_E_POINTER);
    ASSERT_EQ(listener->QueryInterface(IESListener::kIid, &out), ES_OK);
    EXPECT_EQ(out, static_cast<IESListener*>(listener));

    const int32_t values[] = {37, 0};
    EXPECT_EQ(listener->OnEvent(ES_EVENT_STARTED, nullptr), ES_OK);
    EXPECT_EQ(listener->OnEvent(ES_EVENT_PROGRESS, &values[0]), ES_OK);
    EXPECT_EQ(listener->OnEvent(ES_EVENT_PROGRESS, &values[1]), ES_OK);
    EXPECT_EQ(listener->OnEvent(ES_EVENT_PROGRESS, nullptr), ES_OK);
    for (int32_t other : {2, 3, 5, 7, -1})
        EXPECT_EQ(listener->OnEvent(other, &values[0]), ES_OK);
    EXPECT_EQ(listener->OnEvent(ES_EVENT_COMPLETED, nullptr), ES_OK);
    EXPECT_EQ(seen, QList<int>({1, 37, 1, 100}));

    EXPECT_EQ(listener->Release(), 1u);
    EXPECT_EQ(alive.use_count(), 2); // still held by the listener's callback
    EXPECT_EQ(listener->Release(), 0u);
    EXPECT_EQ(alive.use_count(), 1); // deleted with its callback
}

TEST(RmProducerEncoder, TheAudienceIndexIsAnExactMatchOrZero)
{
    EXPECT_EQ(CRmProducerEncoder::audienceIndex("256k DSL or Cable"), 8);
    EXPECT_EQ(CRmProducerEncoder::audienceIndex("256K DSL or Cable"), 0);
    EXPECT_EQ(CRmProducerEncoder::audienceIndex("256k DSL or Cable "), 0);
    EXPECT_EQ(CRmProducerEncoder::audienceIndex(""), 0);
    EXPECT_EQ(CRmProducerEncoder::audienceIndex("PocketPC Local Playback"), 37);
}

// A private application folder with the built library and audiences, and its trace.
struct ProducerHarness
{
    QTemporaryDir app;
    CTraceLog trace{app.filePath("trace.log")};
    EncoderSetup setup;
    QMutex lock;
    QList<int> progress;

    explicit ProducerHarness(bool withLibrary = true)
    {
        if (withLibrary)
            for (const char* folder : {"tools", "audiences"})
                QFile::link(TestMedia::appDir() + folder, app.filePath(folder));
        setup.callback = [this](int percent, void*) {
            QMutexLocker hold(&lock);
            progress << percent;
        };
        setup.kind = EncoderKind::RealMediaProducer;
        setup.appFolder = app.path() + '/';
        setup.trace = &trace;
    }
    QList<int> seen()
    {
        QMutexLocker hold(&lock);
        return progress;
    }
    QByteArray traceText() const { return TestMedia::readFile(app.filePath("trace.log")); }

    // A job of `input` to `output` with an RM profile of `options`, prepared as the batch does.
    std::unique_ptr<ConversionJob>
    job(const QString& input, const QString& output,
        std::initializer_list<std::pair<QByteArray, QByteArray>> options = {})
    {
        auto job = std::make_unique<ConversionJob>();
        job->inputPath = input;
        job->outputPath = output;
        job->media.width = 320;
        job->media.height = 240;
        job->profile = MakeProfile(options, "rm");
        SettingsDefaults(job.get());
        Prepare(job.get(), job->profile.get());
        return job;
    }
};

TEST(RmProducerEncoder, WithoutAUsableLibraryEveryStepFailsQuietly)
{
    ProducerHarness none(false);
    CRmProducerEncoder encoder;
    EXPECT_EQ(encoder.Attach(nullptr), 0);
    EncoderSetup noCallback = none.setup;
    noCallback.callback = nullptr;
    EXPECT_EQ(encoder.Attach(&noCallback), 0);
    EXPECT_EQ(encoder.Attach(&none.setup), 0);
    const auto job = none.job(none.app.filePath("in.avi"), none.app.filePath("out.rm"));
    EXPECT_EQ(encoder.Setup(job.get()), 0);
    EXPECT_EQ(encoder.Run(job->outputPath, 0), 0);
    EXPECT_EQ(encoder.Stop(), 1);

    // Something that is no library at all in its place.
    ASSERT_TRUE(QDir(none.app.path()).mkdir("tools"));
    ASSERT_TRUE(TestMedia::writeFile(none.app.filePath("tools/" + ProducerLibrary::fileName()),
                                     QByteArray(4096, 'x')));
    CRmProducerEncoder garbage;
    EXPECT_EQ(garbage.Attach(&none.setup), 0);
    EXPECT_EQ(garbage.Setup(job.get()), 0);

    // A library, but not the producer.
    const QString library = none.app.filePath("tools/" + ProducerLibrary::fileName());
    ASSERT_TRUE(QFile::remove(library));
    ASSERT_TRUE(QFile::copy(TOVEL_LIBRARY_WITHOUT_EXPORTS, library));
    CRmProducerEncoder stranger;
    EXPECT_EQ(stranger.Attach(&none.setup), 0);
    EXPECT_EQ(stranger.Run(job->outputPath, 0), 0);
}

TEST(RmProducerEncoder, ConvertsWithTheSettingsDefaultsAndPrefiltersByStreamKind)
{
    ProducerHarness h;
    const QString video = h.app.filePath("silent 50% clip.avi");
    const QString tone = h.app.filePath("tone.wav");
    ASSERT_TRUE(TestMedia::makeVideo(video, 1.0, "320x240", 25, false));
    ASSERT_TRUE(TestMedia::makeAudio(tone, 1.0));
    CRmProducerEncoder encoder;
    ASSERT_EQ(encoder.Attach(&h.setup), 1);

    // No "s": the defaults 240 x 0, the height following the input's 4:3.
    const auto first = h.job(video, h.app.filePath("silent.rm"), {{"vcodec", "256K DSL or Cable"}});
    EXPECT_EQ(first->settings.outputWidth, 240);
    EXPECT_EQ(first->settings.outputHeight, 0);
    ASSERT_EQ(encoder.Setup(first.get()), 1);
    EXPECT_EQ(encoder.Run(QString(), 0), 0);
    ASSERT_EQ(encoder.Run(first->outputPath, 0), 1);
    EXPECT_EQ(TestMedia::probe(first->outputPath).join(' ').toStdString().substr(0, 18),
              "rv20|video|240|180");
    EXPECT_EQ(h.seen().first(), 1);
    EXPECT_EQ(h.seen().last(), 100);

    const auto second = h.job(tone, h.app.filePath("tone.rm"), {{"vcodec", "256k DSL or Cable"}});
    ASSERT_EQ(encoder.Setup(second.get()), 1);
    ASSERT_EQ(encoder.Run(second->outputPath, 0), 1);
    EXPECT_TRUE(TestMedia::probe(second->outputPath).first().startsWith("ac3|audio"));

    // The trace tells which pre-filters and audience each input got.
    const QByteArray trace = h.traceText();
    const qsizetype split = trace.indexOf("Input File: " + tone.toLocal8Bit() + "\r\n");
    ASSERT_GT(split, 0) << trace.constData();
    const QByteArray silent = trace.left(split), audio = trace.mid(split);
    EXPECT_TRUE(silent.startsWith("Input File: " + video.toLocal8Bit() +
                                  "\r\n  Using input plugin: rn-avfile-avi\r\n"));
    EXPECT_TRUE(silent.contains("Pre-filter: rn-prefilter-blacklevel"));
    EXPECT_FALSE(silent.contains("audiogain"));
    EXPECT_TRUE(silent.contains("Audience: 100% Quality Download (VBR)\r\n"));
    EXPECT_TRUE(audio.contains("Pre-filter: rn-prefilter-audiogain"));
    EXPECT_FALSE(audio.contains("blacklevel"));
    EXPECT_TRUE(audio.contains("Audience: 256k DSL or Cable\r\n"));
}

TEST(RmProducerEncoder, AnUnreadableInputFailsTheRun)
{
    ProducerHarness h;
    CRmProducerEncoder encoder;
    ASSERT_EQ(encoder.Attach(&h.setup), 1);
    const QString text = h.app.filePath("notes.avi");
    ASSERT_TRUE(TestMedia::writeFile(text, "no media"));
    const auto job = h.job(text, h.app.filePath("notes.rm"));
    ASSERT_EQ(encoder.Setup(job.get()), 1);
    EXPECT_EQ(encoder.Run(job->outputPath, 0), 0);
    EXPECT_FALSE(QFile::exists(job->outputPath));
}

TEST(RmProducerEncoder, StopDuringEncodingEndsTheConversionSoon)
{
    ProducerHarness h;
    const QString clip = h.app.filePath("long.avi");
    ASSERT_TRUE(TestMedia::makeVideo(clip, 40.0, "320x240"));
    h.setup.kind = EncoderKind::FfmpegTool;
    CQuentaMediaCntl cntl;
    ASSERT_EQ(cntl.Init(&h.setup), 1);
    h.setup.kind = EncoderKind::RealMediaProducer;
    ASSERT_EQ(cntl.SwitchEncoder(&h.setup), 1);
    cntl.Stop();      // nothing runs yet
    cntl.ClearStop(); // and a batch starting forgets it

    const auto job = h.job(clip, h.app.filePath("long.rm"), {{"s", "320x240"}});
    std::atomic<int> result{-1};
    std::thread worker([&] { result = cntl.bDoConvert(job.get()); });
    auto reached = [&](int percent) {
        const QList<int> seen = h.seen();
        return !seen.isEmpty() && seen.last() >= percent;
    };
    EXPECT_TRUE(waitFor([&] { return reached(3) || result != -1; }, 60000, "3 percent"));
    cntl.Stop();
    worker.join();

    EXPECT_EQ(result, 1); // what was encoded is kept as a playable file
    EXPECT_TRUE(job->outcome.stopped);
    EXPECT_FALSE(h.seen().contains(100));
    const double duration = TestMedia::probeDuration(job->outputPath);
    EXPECT_GT(duration, 0.0);
    EXPECT_LT(duration, 39.0);
    EXPECT_EQ(cntl.RestoreEncoder(), 1);
}

TEST(RmProducerEncoder, CannotProbeSoAFileAddedAfterARealMediaRowIsProbedByTheTool)
{
    ProducerHarness h;
    const QString clip = h.app.filePath("clip.avi");
    ASSERT_TRUE(TestMedia::makeVideo(clip, 1.0, "320x240"));
    ConversionJob job;
    CRmProducerEncoder producer;
    EXPECT_EQ(producer.Probe(clip, &job), CMediaEncoder::kCannotProbe);

    h.setup.kind = EncoderKind::FfmpegTool;
    CQuentaMediaCntl cntl;
    ASSERT_EQ(cntl.Init(&h.setup), 1);
    h.setup.kind = EncoderKind::RealMediaProducer;
    ASSERT_EQ(cntl.SwitchEncoder(&h.setup), 1);
    EXPECT_EQ(cntl.bGetMediaFileContent(clip, &job), 1);
    EXPECT_EQ(job.media.width, 320);
    EXPECT_GT(job.media.duration, 1.0);
    const QString text = h.app.filePath("notes.avi");
    ASSERT_TRUE(TestMedia::writeFile(text, "no media"));
    ConversionJob refused;
    EXPECT_EQ(cntl.bGetMediaFileContent(text, &refused), 0);
}

} // namespace
