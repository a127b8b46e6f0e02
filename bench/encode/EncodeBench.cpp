// Prints what the encoder tool costs over FFmpeg itself:
//  1. its fixed start-up cost: the time until the ffmpeg it starts is running, less the time to
//     start that program directly (goal: under 10 ms);
//  2. the same 30-second 640x480 conversion through `encode` (old option language) and
//     through `ffmpeg` with the equivalent modern arguments, alternated, with the ratio
//     (goal: at most 1.02);
//  3. the information mode per file against an ffprobe run on the same file
//     (goal: at least 5 times faster), and the in-process probe underneath it.
// Usage: bench_encode [conversion rounds] [probe rounds] [encode program to measure]
#include "BenchSupport.h"
#include "FfmpegLocator.h"
#include "FfmpegRunner.h"
#include "LegacyCommandLine.h"
#include "LegacyTranslator.h"
#include "LibavMediaLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

const QString kAppDir = QStringLiteral(TOVEL_APP_DIR);

// Runs a program to its end with its input closed; true when it exited 0.
bool run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(30000))
        return false;
    p.closeWriteChannel();
    // Drain the pipes as the converter does, so neither side blocks on a full pipe.
    while (!p.waitForFinished(50)) {
        p.readAllStandardOutput();
        p.readAllStandardError();
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool ffmpeg(const QStringList& args)
{
    return run(QStringLiteral("ffmpeg"),
               QStringList{"-hide_banner", "-loglevel", "error", "-nostdin", "-y"} + args);
}

QString makeSource(const QTemporaryDir& dir)
{
    const QString source = dir.filePath("source 640x480.mp4");
    std::printf("Making a 30-second 640x480 clip...\n");
    if (!makeSourceClip(source)) {
        std::printf("  could not make the clip\n");
        return QString();
    }
    return source;
}

// One profile's conversion, alternately through the tool and straight through ffmpeg.
void conversionBench(const QTemporaryDir& dir, const QString& source, const QString& tool,
                     const char* title, const QStringList& options, const QString& extension,
                     int rounds)
{
    const QStringList legacy =
        QStringList{"ffmpeg-converter", "-i", source} + options +
        QStringList{"-async", "24", "-vsync",
                    "24",     "-y", dir.filePath("through encode." + extension)};
    LegacyCommandLine line = LegacyCommandLine::parse(legacy);
    line.output = dir.filePath("through ffmpeg." + extension);
    const QStringList modern =
        FfmpegRunner::controlArguments() +
        LegacyTranslator::translate(line, source, ProbeMediaFile(source), LibavMediaLibrary())
            .arguments;
    const QString ffmpegPath = FfmpegLocator::find(kAppDir);

    std::printf("%s\n  encode %s\n  ffmpeg %s\n", title,
                legacy.mid(1).join(' ').toLocal8Bit().constData(),
                modern.join(' ').toLocal8Bit().constData());
    std::vector<double> viaTool, direct;
    for (int r = 0; r < rounds; ++r) {
        // Alternate, so a change in machine load hits both sides alike.
        viaTool.push_back(timeOnce([&] { return run(tool, legacy); }));
        direct.push_back(timeOnce([&] { return run(ffmpegPath, modern); }));
        std::printf("  round %d: encode %8.1f ms   ffmpeg %8.1f ms\n", r + 1, viaTool.back(),
                    direct.back());
    }
    const double a = median(viaTool), b = median(direct);
    if (a < 0 || b < 0) {
        std::printf("  a conversion failed\n");
        return;
    }
    std::printf("  median of %d: encode %.1f ms, ffmpeg %.1f ms, ratio %.4f (goal <= 1.02)\n",
                rounds, a, b, a / b);
    std::printf("  best of %d:   encode %.1f ms, ffmpeg %.1f ms, ratio %.4f, extra %.1f ms\n\n",
                rounds, best(viaTool), best(direct), best(viaTool) / best(direct),
                best(viaTool) - best(direct));
}

void probeBench(const QTemporaryDir& dir, const QString& tool, int rounds)
{
    struct Sample
    {
        const char* name;
        QStringList make;
    };
    const std::vector<Sample> samples = {
        {"clip.mp4",
         {"-f", "lavfi", "-i", "testsrc=size=320x240:duration=5", "-pix_fmt", "yuv420p"}},
        {"clip.mpg", {"-f", "lavfi", "-i", "testsrc=size=320x240:duration=5"}},
        {"tone.mp3", {"-f", "lavfi", "-i", "sine=duration=5"}},
        {"still.jpg", {"-f", "lavfi", "-i", "testsrc=size=320x240", "-frames:v", "1"}},
    };
    std::printf("Information mode per file (median of %d runs):\n", rounds);
    std::printf("  %-10s %12s %12s %10s %16s\n", "file", "encode -info", "ffprobe", "speed-up",
                "in-process probe");
    for (const Sample& s : samples) {
        const QString path = dir.filePath(QLatin1String(s.name));
        if (!ffmpeg(s.make + QStringList{path})) {
            std::printf("  %-10s could not be made\n", s.name);
            continue;
        }
        std::vector<double> info, probe, inProcess;
        for (int r = 0; r < rounds; ++r) {
            info.push_back(timeOnce([&] {
                return run(tool, {"ffmpeg-converter", "-info", path});
            }));
            probe.push_back(timeOnce([&] {
                return run("ffprobe",
                           {"-v", "error", "-show_entries", "format=duration:stream=width,height",
                            "-of", "compact", path});
            }));
            inProcess.push_back(timeOnce([&] { return ProbeMediaFile(path).ok; }));
        }
        const double a = median(info), b = median(probe), c = median(inProcess);
        std::printf("  %-10s %9.2f ms %9.2f ms %9.2fx %13.3f ms\n", s.name, a, b,
                    a > 0 ? b / a : 0.0, c);
    }
    std::printf("  (goal: encode -info at least 5x faster than ffprobe)\n");
}

// Nanoseconds on the clock the stand-in ffmpeg writes.
qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Milliseconds from starting `program` until the stand-in ffmpeg (started by it, or it) noted
// its start; negative when it never did.
double untilStamp(const QString& program, const QStringList& args, const QString& stampFile,
                  const QProcessEnvironment& env)
{
    QFile::remove(stampFile);
    QProcess p;
    p.setProcessEnvironment(env);
    const qint64 start = nowNs();
    p.start(program, args);
    if (!p.waitForStarted(30000))
        return -1;
    p.closeWriteChannel();
    p.waitForFinished(30000);
    QFile stamp(stampFile);
    if (!stamp.open(QIODevice::ReadOnly))
        return -1;
    return double(stamp.readAll().trimmed().toLongLong() - start) / 1e6;
}

void startBench(const QTemporaryDir& dir, const QString& source, const QString& tool, int rounds)
{
    // The stand-in answers to the name ffmpeg on the search path the tool looks along.
    const QString folder = dir.filePath("stand-in");
    const QString standIn = folder + "/ffmpeg";
    QDir().mkpath(folder);
    if (!QFile::copy(QStringLiteral(TOVEL_BENCH_STAMP_TOOL), standIn)) {
        std::printf("Start-up: could not place the stand-in ffmpeg\n\n");
        return;
    }
    const QString stampFile = dir.filePath("stamp");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PATH", folder);
    env.insert("TOVEL_BENCH_STAMP", stampFile);
    const QStringList legacy = {"ffmpeg-converter",
                                "-i",
                                source,
                                "-vcodec",
                                "libxvid",
                                "-acodec",
                                "libmp3lame",
                                "-async",
                                "24",
                                "-vsync",
                                "24",
                                "-y",
                                dir.filePath("start.avi")};
    std::vector<double> viaTool, direct;
    for (int r = 0; r < rounds; ++r) {
        viaTool.push_back(untilStamp(tool, legacy, stampFile, env));
        direct.push_back(untilStamp(standIn, {}, stampFile, env));
    }
    const double a = median(viaTool), b = median(direct);
    if (a < 0 || b < 0) {
        std::printf("Start-up: the stand-in ffmpeg never ran\n\n");
        return;
    }
    std::printf("Start-up, until ffmpeg runs (%d rounds):\n"
                "  through encode: median %.2f ms, best %.2f ms\n"
                "  started directly: median %.2f ms, best %.2f ms\n"
                "  fixed cost of encode: median %.2f ms, best %.2f ms (goal < 10 ms)\n\n",
                rounds, a, best(viaTool), b, best(direct), a - b, best(viaTool) - best(direct));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int conversions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int probes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    const QString tool =
        argc > 3 ? QString::fromLocal8Bit(argv[3]) : kAppDir + QStringLiteral("encode");
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString source = makeSource(dir);
    if (!source.isEmpty()) {
        startBench(dir, source, tool, std::max(20, probes));
        conversionBench(dir, source, tool, "AVI, Xvid and MP3:",
                        {"-vcodec", "libxvid", "-b", "1000k", "-s", "640x480", "-r", "25",
                         "-acodec", "libmp3lame", "-ab", "128k", "-ac", "2", "-ar", "44100"},
                        "avi", conversions);
        // A conversion so short that the tool's start and end weigh most.
        conversionBench(dir, source, tool, "Short conversion (AVI, first second only):",
                        {"-t", "1", "-vcodec", "libxvid", "-acodec", "libmp3lame"}, "avi",
                        conversions);
        conversionBench(dir, source, tool, "MP4, H.264 and AAC:",
                        {"-vcodec", "libx264", "-b", "1000k", "-s", "640x480", "-acodec", "libfaac",
                         "-ab", "128k", "-ac", "2", "-ar", "44100"},
                        "mp4", conversions);
    }
    probeBench(dir, tool, probes);
    return 0;
}
