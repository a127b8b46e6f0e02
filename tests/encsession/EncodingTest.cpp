#include "LoadedProducer.h"
#include "RecordingListener.h"
#include "TestMedia.h"
#include "WaitFor.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <thread>

// Real conversions through the producer library, configured as the driver configures them.
namespace {

struct Request
{
    QString input;
    QString output;
    int width = 176;
    int height = 144;
    uint32_t audience = 8; // 256k DSL or Cable
    bool blackLevel = false;
    double gain = 0;
};

// Builds `job` for `request`; false (with a test failure) when a step fails.
bool configure(LoadedProducer& producer, IESJob* job, const Request& request)
{
    IESJobFactory* factory = producer.factory.get();
    const QByteArray input = request.input.toLocal8Bit();
    const QByteArray output = request.output.toLocal8Bit();
    ESRef<IESInput> in;
    ESRef<IESOutputProfile> out;
    ESRef<IESDestination> destination;
    ESRef<IESMediaProfile> profile;
    ESRef<IESAudienceEnumerator> audiences;
    ESRef<IESAudience> audience;
    EXPECT_EQ(
        ESBuild(
            factory,
            producer.bag({{"pluginType", "avFileInput"}, {"filename", input.constData()}}).get(),
            in),
        ES_OK);
    if (!in || ESFailed(job->SetInput(in.get())))
        return false;
    if (request.blackLevel || request.gain != 0) {
        ESRef<IESPrefilter> prefilter;
        const char* type = request.blackLevel ? "blackLevelPrefilter" : "audioGainPrefilter";
        EXPECT_EQ(ESBuild(factory, producer.bag({{"pluginType", type}}).get(), prefilter), ES_OK);
        if (!prefilter || ESFailed(prefilter->SetDouble("gain", request.gain)) ||
            ESFailed(in->AddPrefilter(prefilter.get())))
            return false;
    }
    EXPECT_EQ(ESBuild(factory,
                      producer
                          .bag({{"pluginType", "fileDestination"},
                                {"pluginName", "rn-file-realmedia"},
                                {"filename", output.constData()}})
                          .get(),
                      destination),
              ES_OK);
    return destination && !ESFailed(ESBuild(factory, nullptr, out)) &&
           !ESFailed(out->AddDestination(destination.get())) &&
           !ESFailed(job->AddOutput(out.get())) && !ESFailed(ESBuild(factory, nullptr, profile)) &&
           !ESFailed(profile->SetInt32("outputWidth", request.width)) &&
           !ESFailed(profile->SetInt32("outputHeight", request.height)) &&
           !ESFailed(out->SetMediaProfile(profile.get())) &&
           !ESFailed(ESCreate(factory, audiences)) &&
           !ESFailed(audiences->Load((TestMedia::appDir() + "audiences").toLocal8Bit())) &&
           !ESFailed(audiences->GetAudience(request.audience, audience.put())) &&
           !ESFailed(profile->AddAudience(audience.get()));
}

// Encodes `request` to its end; the start result.
ESResult encode(LoadedProducer& producer, const Request& request,
                RecordingListener* listener = nullptr)
{
    ESRef<IESJob> job;
    ESRef<IESEventManager> events;
    if (ESFailed(ESCreate(producer.factory.get(), job)) || !configure(producer, job.get(), request))
        return ES_E_FAIL;
    if (listener &&
        (ESFailed(job->GetEventManager(events.put())) || ESFailed(events->Subscribe(listener))))
        return ES_E_FAIL;
    const ESResult result = job->StartEncoding(1);
    if (listener)
        events->Unsubscribe(listener);
    return result;
}

// Decodes `file` with ffmpeg into the raw bytes `output` asks for.
QByteArray decoded(const QString& file, const QStringList& output)
{
    QProcess p;
    p.start("ffmpeg", QStringList{"-v", "error", "-i", file} + output + QStringList{"-"});
    p.waitForFinished(120000);
    return p.readAllStandardOutput();
}

double meanOfBytes(const QByteArray& bytes)
{
    double sum = 0;
    for (char b : bytes)
        sum += uint8_t(b);
    return bytes.isEmpty() ? -1 : sum / bytes.size();
}

double rmsOfSamples(const QByteArray& bytes)
{
    const auto* samples = reinterpret_cast<const int16_t*>(bytes.constData());
    const qsizetype count = bytes.size() / 2;
    double sum = 0;
    for (qsizetype i = 0; i < count; ++i)
        sum += double(samples[i]) * samples[i];
    return count ? std::sqrt(sum / double(count)) : -1;
}

class ProducerEncoding : public ::testing::Test
{
protected:
    LoadedProducer producer;
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.path() + '/' + name; }
};

TEST_F(ProducerEncoding, WritesRealVideoAndAc3ReportingFromItsOwnThread)
{
    ASSERT_TRUE(producer.factory);
    const QString clip = path("clip 50%.avi");
    ASSERT_TRUE(TestMedia::makeVideo(clip, 2.0, "320x240"));
    RecordingListener listener;
    Request request{clip, path("-out ü.rm")};
    ASSERT_EQ(encode(producer, request, &listener), ES_OK);

    const QString streams = TestMedia::probe(request.output).join(' ');
    EXPECT_TRUE(streams.contains("rv20|video|176|144")) << streams.toStdString();
    EXPECT_TRUE(streams.contains("ac3|audio")) << streams.toStdString();
    EXPECT_NEAR(TestMedia::probeDuration(request.output), 2.0, 0.3);

    const auto events = listener.events();
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front().kind, ES_EVENT_STARTED);
    EXPECT_EQ(events.back().kind, ES_EVENT_COMPLETED);
    int32_t last = -1;
    for (const auto& event : events) {
        EXPECT_NE(event.thread, std::this_thread::get_id());
        if (event.kind == ES_EVENT_PROGRESS) {
            EXPECT_GT(event.value, last);
            last = event.value;
        }
    }
    EXPECT_EQ(last, 100);
    EXPECT_EQ(listener.refs, 0u);
}

TEST_F(ProducerEncoding, PrefiltersLiftBlackToLegalLevelsAndRaiseTheAudioBySixDecibels)
{
    ASSERT_TRUE(producer.factory);
    // Black below the legal level, and a quiet tone.
    const QString clip = path("black.avi");
    ASSERT_TRUE(
        TestMedia::ffmpeg({"-f", "lavfi", "-i", "color=black:size=176x144:rate=10:d=1", "-f",
                           "lavfi", "-i", "sine=frequency=440:d=1", "-vf", "lutyuv=y=0", "-af",
                           "volume=0.1", "-c:v", "ffv1", "-c:a", "pcm_s16le", "-shortest", clip}));
    Request plain{clip, path("plain.rm")};
    Request filtered{clip, path("filtered.rm")};
    filtered.blackLevel = true;
    ASSERT_EQ(encode(producer, plain), ES_OK);
    ASSERT_EQ(encode(producer, filtered), ES_OK);
    Request louder{clip, path("louder.rm")};
    louder.gain = 6.0;
    ASSERT_EQ(encode(producer, louder), ES_OK);

    // The luma plane of the first frame.
    const QStringList frame{"-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "yuv420p"};
    const int lumaBytes = 176 * 144;
    EXPECT_LT(meanOfBytes(decoded(plain.output, frame).left(lumaBytes)), 6.0);
    EXPECT_NEAR(meanOfBytes(decoded(filtered.output, frame).left(lumaBytes)), 16.0, 3.0);

    const QStringList pcm{"-vn", "-ac", "1", "-f", "s16le"};
    const double ratio =
        rmsOfSamples(decoded(louder.output, pcm)) / rmsOfSamples(decoded(plain.output, pcm));
    EXPECT_NEAR(ratio, std::pow(10.0, 6.0 / 20.0), 0.15);
}

TEST_F(ProducerEncoding, AWidePictureIsLetterboxedInTheFixedFrame)
{
    ASSERT_TRUE(producer.factory);
    // White 16:9 into the 176x144 frame: white in the middle rows, black bars above and below.
    const QString clip = path("wide.avi");
    ASSERT_TRUE(TestMedia::ffmpeg(
        {"-f", "lavfi", "-i", "color=white:size=320x180:rate=10:d=1", "-c:v", "ffv1", clip}));
    Request wide{clip, path("wide.rm")};
    ASSERT_EQ(encode(producer, wide), ES_OK);
    const QByteArray luma =
        decoded(wide.output, {"-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "gray"});
    ASSERT_EQ(luma.size(), 176 * 144);
    // 176 / (16/9) = 99 rows of picture (98, even), 22 or 24 rows of bar on each side.
    EXPECT_LT(meanOfBytes(luma.left(176 * 16)), 30.0);
    EXPECT_LT(meanOfBytes(luma.right(176 * 16)), 30.0);
    EXPECT_GT(meanOfBytes(luma.mid(176 * 50, 176 * 40)), 200.0);
}

TEST_F(ProducerEncoding, AnAudioOnlyInputGivesAnAudioOnlyFile)
{
    ASSERT_TRUE(producer.factory);
    const QString tone = path("tone.wav");
    ASSERT_TRUE(TestMedia::makeAudio(tone, 1.0));
    Request request{tone, path("tone.rm")};
    request.audience = 10; // 28k Dial-up: mono
    ASSERT_EQ(encode(producer, request), ES_OK);
    const QStringList streams = TestMedia::probe(request.output);
    ASSERT_EQ(streams.size(), 2) << streams.join(' ').toStdString(); // one stream, the duration
    EXPECT_TRUE(streams[0].startsWith("ac3|audio"));
}

TEST_F(ProducerEncoding, ACancelEndsTheEncodingSoonWithAPlayableFile)
{
    ASSERT_TRUE(producer.factory);
    const QString clip = path("long.avi");
    ASSERT_TRUE(TestMedia::makeVideo(clip, 40.0, "320x240"));
    ESRef<IESJob> job;
    ESRef<IESEventManager> events;
    ASSERT_EQ(ESCreate(producer.factory.get(), job), ES_OK);
    Request request{clip, path("long.rm"), 320, 240};
    ASSERT_TRUE(configure(producer, job.get(), request));
    RecordingListener listener;
    ASSERT_EQ(job->GetEventManager(events.put()), ES_OK);
    ASSERT_EQ(events->Subscribe(&listener), ES_OK);

    ESResult result = ES_E_FAIL;
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        result = job->StartEncoding(1);
        returned = true;
    });
    EXPECT_TRUE(waitFor([&] { return listener.progress() >= 2 || returned; }, 60000, "2 percent"));
    EXPECT_EQ(job->CancelEncoding(), ES_OK);
    worker.join();

    EXPECT_EQ(result, ES_FALSE);
    EXPECT_EQ(listener.events().back().kind, ES_EVENT_CANCELLED);
    EXPECT_LT(listener.progress(), 100);
    const double duration = TestMedia::probeDuration(request.output);
    EXPECT_GT(duration, 0.0);
    EXPECT_LT(duration, 39.0);
    // Once cancelled, the job stays so.
    EXPECT_EQ(job->StartEncoding(1), ES_E_ABORT);
    events->Unsubscribe(&listener);
}

TEST_F(ProducerEncoding, AnUnwritableOutputFailsTheStart)
{
    ASSERT_TRUE(producer.factory);
    const QString clip = path("clip.avi");
    ASSERT_TRUE(TestMedia::makeVideo(clip, 0.5, "64x48"));
    EXPECT_EQ(encode(producer, {clip, path("no such folder/out.rm")}), ES_E_OUTPUT);
}

} // namespace
