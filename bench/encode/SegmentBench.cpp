// Prints what cutting a long video into segments gains over FFmpeg converting it whole:
// a 120-second 1280x720 clip with moving detail and noise through the H.264, H.265, AV1 and VP9
// profiles' settings, once by plain ffmpeg with the tool's own translation and once by the tool,
// in the same run. Per codec: the time ratio (tool / ffmpeg; goal <= 0.75 where ffmpeg leaves a
// core idle, never above 1.05), the processors' use of each ((user + system CPU) / (wall x
// processors); goal >= 0.9 for the tool), the size ratio (goal within 2 %) and each output's SSIM
// against the source (goal within 0.002). Then a conversion stopped at half and resumed, against
// an uninterrupted one (goal <= 1.1).
// Usage: bench_segments [seconds of source, default 120] [codec names, default all]
#include "BenchSupport.h"
#include "ChildCpuTime.h"
#include "EncoderToolContract.h"
#include "FfmpegLocator.h"
#include "FfmpegRunner.h"
#include "LegacyCommandLine.h"
#include "LegacyTranslator.h"
#include "LibavMediaLibrary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

const QString kAppDir = QStringLiteral(TOVEL_APP_DIR);

struct Figures
{
    double wallMs = -1;
    double cpuMs = 0;
    double use() const { return cpuMs / (wallMs * QThread::idealThreadCount()); }
};

// Runs `program` to its end; `during` sees each line it prints on standard output.
Figures measure(const QString& program, const QStringList& args,
                const std::function<void(QProcess&, const QByteArray&)>& during = {})
{
    Figures f;
    const double cpuBefore = ChildCpuTime::milliseconds();
    QElapsedTimer clock;
    clock.start();
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(30000))
        return f;
    QByteArray pending;
    while (!p.waitForFinished(100)) {
        pending += p.readAllStandardOutput();
        p.readAllStandardError();
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            if (during)
                during(p, pending.left(end));
            pending.remove(0, end + 1);
        }
    }
    f.wallMs = double(clock.nsecsElapsed()) / 1e6;
    f.cpuMs = ChildCpuTime::milliseconds() - cpuBefore;
    return f;
}

double ssim(const QString& output, const QString& source)
{
    QProcess p;
    p.start("ffmpeg", {"-hide_banner", "-nostdin", "-i", output, "-i", source, "-lavfi",
                       "[0:v][1:v]ssim", "-f", "null", "-"});
    p.waitForFinished(-1);
    const QRegularExpressionMatch m =
        QRegularExpression("All:([0-9.]+)").match(QString::fromLocal8Bit(p.readAllStandardError()));
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

bool makeSource(const QString& path, int seconds)
{
    const QString length = QString::number(seconds);
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start("ffmpeg", lavfiSourceArgs("testsrc2=size=1280x720:rate=25:duration=" + length +
                                          ",noise=alls=12:allf=t",
                                      "sine=frequency=440:sample_rate=48000:duration=" + length) +
                          QStringList{"-c:v", "libx264", "-preset", "veryfast", "-g", "50",
                                      "-pix_fmt", "yuv420p", "-c:a", "aac", path});
    return p.waitForFinished(-1) && p.exitCode() == 0;
}

using Codec = BenchCodec;

QStringList legacyLine(const QString& source, const Codec& c, const QString& output)
{
    return QStringList{"ffmpeg-converter", "-i", source} + c.options +
           QStringList{"-async", "24", "-vsync", "24", "-y", output};
}

void compare(const QTemporaryDir& dir, const QString& source, const Codec& c)
{
    const QString viaTool = dir.filePath(QString("tool.") + c.extension);
    const QString viaFfmpeg = dir.filePath(QString("ffmpeg.") + c.extension);
    LegacyCommandLine line = LegacyCommandLine::parse(legacyLine(source, c, viaFfmpeg));
    const QStringList plain =
        FfmpegRunner::controlArguments() +
        LegacyTranslator::translate(line, source, ProbeMediaFile(source), LibavMediaLibrary())
            .arguments;
    const Figures direct = measure(FfmpegLocator::find(kAppDir), plain);
    const Figures tool = measure(kAppDir + "encode", legacyLine(source, c, viaTool));
    if (direct.wallMs < 0 || tool.wallMs < 0 || !QFileInfo::exists(viaTool)) {
        std::printf("%-5s a conversion failed\n", c.name);
        return;
    }
    const double sizeRatio = double(QFileInfo(viaTool).size()) / QFileInfo(viaFfmpeg).size();
    const double ssimTool = ssim(viaTool, source), ssimFfmpeg = ssim(viaFfmpeg, source);
    std::printf("%-5s ffmpeg %8.1f s use %.2f | tool %8.1f s use %.2f | time ratio %.3f | size "
                "ratio %.4f | SSIM ffmpeg %.5f tool %.5f (diff %+.5f)\n",
                c.name, direct.wallMs / 1e3, direct.use(), tool.wallMs / 1e3, tool.use(),
                tool.wallMs / direct.wallMs, sizeRatio, ssimFfmpeg, ssimTool,
                ssimTool - ssimFfmpeg);
    std::fflush(stdout);
}

void resume(const QTemporaryDir& dir, const QString& source, const Codec& c, int seconds)
{
    const Figures whole =
        measure(kAppDir + "encode", legacyLine(source, c, dir.filePath("whole." + c.extension)));
    const QStringList stopped = legacyLine(source, c, dir.filePath("resumed." + c.extension));
    bool sent = false;
    const Figures first =
        measure(kAppDir + "encode", stopped, [&](QProcess& p, const QByteArray& l) {
            const qsizetype at = l.indexOf(EncoderToolContract::kTimeKey);
            const QByteArray time = at < 0 ? QByteArray() : l.mid(at + 5).split(' ').first();
            if (!sent && time.toDouble() >= seconds / 2.0) {
                p.write(EncoderToolContract::kStopRequest, EncoderToolContract::kStopRequestSize);
                sent = true;
            }
        });
    const Figures second = measure(kAppDir + "encode", stopped);
    std::printf("resume (%s): uninterrupted %.1f s | stopped at half %.1f s + resumed %.1f s = "
                "%.1f s | ratio %.3f (goal <= 1.1)\n",
                c.name, whole.wallMs / 1e3, first.wallMs / 1e3, second.wallMs / 1e3,
                (first.wallMs + second.wallMs) / 1e3,
                (first.wallMs + second.wallMs) / whole.wallMs);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(10, std::atoi(argv[1])) : 120;
    QTemporaryDir dir;
    const QString source = dir.filePath("source.mp4");
    std::printf("Making a %d-second 1280x720 clip with moving detail and noise...\n", seconds);
    if (!makeSource(source, seconds))
        return 1;
    std::printf("%d processors\n", QThread::idealThreadCount());
    const std::vector<BenchCodec> codecs = chosenCodecs(argc, argv, 2);
    for (const Codec& c : codecs)
        compare(dir, source, c);
    resume(dir, source, todaysCodecs()[0], seconds);
    return 0;
}
