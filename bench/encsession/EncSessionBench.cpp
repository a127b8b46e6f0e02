// Prints what a RealMedia conversion costs through the producer library against the ffmpeg
// program doing the same: a 30-second 640x480 clip to RealVideo 2.0 and AC-3 at 320x240 for
// the "256k DSL or Cable" audience, with the black-level and +6 dB gain pre-filters (goal:
// at most 1.10 times ffmpeg's time).
// Usage: bench_encsession [rounds]
#include "BenchSupport.h"
#include "EncSession.h"
#include "ProducerLibrary.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

const QString kAppDir = QStringLiteral(TOVEL_APP_DIR);
constexpr uint32_t kAudience = 8; // 256k DSL or Cable: 161 kbit/s video, 64 kbit/s stereo

bool ffmpeg(const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral("ffmpeg"),
            QStringList{"-hide_banner", "-loglevel", "error", "-nostdin", "-y"} + args);
    return p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

ESRef<IESPropertyBag> bag(IESJobFactory* factory,
                          std::initializer_list<std::pair<const char*, QByteArray>> texts)
{
    ESRef<IESPropertyBag> made;
    if (ESFailed(ESCreate(factory, made)))
        return made;
    for (const auto& [name, value] : texts)
        made->SetString(name, value.constData());
    return made;
}

// One conversion through the library, configured as the program's driver does it.
bool convertThroughLibrary(IESJobFactory* factory, const QString& input, const QString& output)
{
    ESRef<IESJob> job;
    ESRef<IESInput> in;
    ESRef<IESPrefilter> black, gain;
    ESRef<IESOutputProfile> out;
    ESRef<IESDestination> destination;
    ESRef<IESMediaProfile> profile;
    ESRef<IESAudienceEnumerator> audiences;
    ESRef<IESAudience> audience;
    const bool made =
        !ESFailed(ESCreate(factory, job)) &&
        !ESFailed(ESBuild(
            factory,
            bag(factory, {{"pluginType", "avFileInput"}, {"filename", input.toLocal8Bit()}}).get(),
            in)) &&
        !ESFailed(job->SetInput(in.get())) &&
        !ESFailed(
            ESBuild(factory, bag(factory, {{"pluginType", "blackLevelPrefilter"}}).get(), black)) &&
        !ESFailed(in->AddPrefilter(black.get())) &&
        !ESFailed(
            ESBuild(factory, bag(factory, {{"pluginType", "audioGainPrefilter"}}).get(), gain)) &&
        !ESFailed(gain->SetDouble("gain", 6.0)) && !ESFailed(in->AddPrefilter(gain.get())) &&
        !ESFailed(ESBuild(factory, nullptr, out)) && !ESFailed(job->AddOutput(out.get())) &&
        !ESFailed(ESBuild(
            factory,
            bag(factory, {{"pluginType", "fileDestination"}, {"filename", output.toLocal8Bit()}})
                .get(),
            destination)) &&
        !ESFailed(out->AddDestination(destination.get())) &&
        !ESFailed(ESBuild(factory, nullptr, profile)) &&
        !ESFailed(out->SetMediaProfile(profile.get())) &&
        !ESFailed(profile->SetInt32("outputWidth", 320)) &&
        !ESFailed(profile->SetInt32("outputHeight", 240)) &&
        !ESFailed(ESCreate(factory, audiences)) &&
        !ESFailed(audiences->Load((kAppDir + "audiences").toLocal8Bit().constData())) &&
        !ESFailed(audiences->GetAudience(kAudience, audience.put())) &&
        !ESFailed(profile->AddAudience(audience.get()));
    if (!made)
        return false;
    // The driver's stream settings: 4 s start-up latency, a key frame every 10 s.
    for (uint32_t i = 0; i < audience->GetStreamCount(); ++i) {
        ESRef<IESStream> stream;
        audience->GetStream(i, stream.put());
        stream->SetDouble("maxStartupLatency", 4.0);
        stream->SetDouble("maxKeyFrameInterval", 10.0);
        stream->SetString("encodingComplexity", "medium");
    }
    return job->StartEncoding(1) == ES_OK;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QLibrary library(kAppDir + "tools/" + ProducerLibrary::fileName());
    auto setPaths = reinterpret_cast<SetDLLAccessPathFn>(library.resolve("SetDLLAccessPath"));
    auto createFactory =
        reinterpret_cast<HXTCreateJobFactoryFn>(library.resolve("HXTCreateJobFactory"));
    ESRef<IESJobFactory> factory;
    QByteArray block(int(kESAccessPathBlockSize), '\0');
    if (!setPaths || !createFactory || ESFailed(setPaths(block.constData())) ||
        ESFailed(createFactory(factory.put()))) {
        std::printf("cannot load %s\n", qPrintable(library.fileName()));
        return 1;
    }

    QTemporaryDir dir;
    const QString source = dir.filePath("source 640x480.mp4");
    std::printf("Making a 30-second 640x480 clip...\n");
    if (!makeSourceClip(source)) {
        std::printf("  could not make the clip\n");
        return 1;
    }
    // What the library does for this audience, spelled for the ffmpeg program.
    const QStringList video{"-vf",      "scale=320:240,lutyuv=y=max(val\\,16)",
                            "-c:v",     "rv20",
                            "-b:v",     "161000",
                            "-maxrate", "322000",
                            "-bufsize", "644000",
                            "-g",       "250"};
    const QStringList audio{"-af",   "volume=6dB", "-c:a", "ac3", "-b:a",
                            "64000", "-ac",        "2",    "-ar", "44100"};
    const QStringList same = QStringList{"-i", source} + video + audio +
                             QStringList{"-f", "rm", dir.filePath("through ffmpeg.rm")};
    std::printf("RealVideo 2.0 + AC-3, 320x240, 256k DSL or Cable:\n  ffmpeg %s\n",
                qPrintable(same.join(' ')));

    std::vector<double> viaLibrary, direct;
    for (int r = 0; r < rounds; ++r) {
        // Alternate, so a change in machine load hits both sides alike.
        viaLibrary.push_back(timeOnce([&] {
            return convertThroughLibrary(factory.get(), source, dir.filePath("through library.rm"));
        }));
        direct.push_back(timeOnce([&] { return ffmpeg(same); }));
        std::printf("  round %d: library %8.1f ms   ffmpeg %8.1f ms\n", r + 1, viaLibrary.back(),
                    direct.back());
    }
    const double a = median(viaLibrary), b = median(direct);
    if (a < 0 || b < 0) {
        std::printf("  a conversion failed\n");
        return 1;
    }
    std::printf("  median of %d: library %.1f ms, ffmpeg %.1f ms, ratio %.4f (goal <= 1.10)\n",
                rounds, a, b, a / b);
    std::printf("  best of %d:   library %.1f ms, ffmpeg %.1f ms, ratio %.4f\n", rounds,
                *std::min_element(viaLibrary.begin(), viaLibrary.end()),
                *std::min_element(direct.begin(), direct.end()),
                *std::min_element(viaLibrary.begin(), viaLibrary.end()) /
                    *std::min_element(direct.begin(), direct.end()));
    factory.reset();
    library.unload();
    return 0;
}
