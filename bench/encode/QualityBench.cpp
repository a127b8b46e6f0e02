// Prints what the quality verdict and the targets cost and reach, on a clip with moving detail
// and noise through the H.264, H.265, AV1 and VP9 profiles' settings. Per codec: the plain
// conversion's time (ffmpeg with the tool's own translation), the verdict's time and its share of
// the conversion (goal <= 10 %), and the target-quality conversion (SSIM 0.97) against a plain
// one by the tool: time ratio (goal <= 1.5 for 60 s or more), its ratio to a conversion at the
// CRF it chose, and the SSIM reached (goal no more than 0.005 under). Then, when H.264 is among
// the codecs, target sizes of 10, 25 and 50 MB: size against target (goal 95 % to 100 %).
//
// Usage: bench_quality [seconds of source, default 120] [width x height, default 1280x720]
//        [codec names, default all; "sizes" for the target sizes alone]
#include "BenchSupport.h"
#include "FfmpegLocator.h"
#include "FfmpegRunner.h"
#include "LegacyCommandLine.h"
#include "LegacyTranslator.h"
#include "LibavMediaLibrary.h"
#include "QualityMeter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const QString kAppDir = QStringLiteral(TOVEL_APP_DIR);

using Codec = BenchCodec;

QStringList legacyLine(const QString& source, const QStringList& options, const QString& output)
{
    return QStringList{"ffmpeg-converter", "-i", source} + options +
           QStringList{"-async", "24", "-vsync", "24", "-y", output};
}

// Runs the tool whole (never cut, so that its time compares with ffmpeg's); the milliseconds,
// with its verdict line in `verdict`.
double runTool(const QStringList& args, QByteArray& verdict)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TOVEL_SEGMENTS", "0");
    p.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    p.start(kAppDir + "encode", args);
    p.closeWriteChannel();
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        return -1;
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    for (const QByteArray& line : p.readAllStandardError().split('\n'))
        if (line.startsWith("verdict:"))
            verdict = line;
    return ms;
}

double figure(const QByteArray& verdict, const char* key)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QString("%1=([0-9.]+)").arg(key)).match(QString::fromLatin1(verdict));
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

void verdictCost(const QTemporaryDir& dir, const QString& source, const Codec& c)
{
    const QString output = dir.filePath(QString("plain.") + c.extension);
    const LegacyCommandLine line = LegacyCommandLine::parse(legacyLine(source, c.options, output));
    const LibavMediaLibrary library;
    const FfmpegCommand command =
        LegacyTranslator::translate(line, source, ProbeMediaFile(source), library);
    QProcess ffmpeg;
    const double convertMs = timeOnce([&] {
        ffmpeg.start(FfmpegLocator::find(kAppDir),
                     FfmpegRunner::controlArguments() + command.arguments);
        return ffmpeg.waitForFinished(-1) && ffmpeg.exitCode() == 0;
    });
    QualityMeter meter({FfmpegLocator::find(kAppDir), source, output, command.expected.video,
                        command.origin, ProbeMediaFile(output), qint64(convertMs), nullptr});
    QualityMeter::Figures f;
    const double verdictMs = timeOnce([&] {
        f = meter.measure();
        return f.ssim >= 0;
    });
    std::printf("%-5s conversion %7.1f s | verdict %5.1f s = %4.1f %% (goal <= 10 %%) on %.0f of "
                "%.0f s | SSIM %.4f PSNR %.2f dB size %.1f %%\n",
                c.name, convertMs / 1e3, verdictMs / 1e3, verdictMs / convertMs * 100,
                f.measuredSeconds, f.totalSeconds, f.ssim, f.psnr, f.sizeShare * 100);
    std::fflush(stdout);
}

void targetQuality(const QTemporaryDir& dir, const QString& source, const Codec& c)
{
    QByteArray plainVerdict, targetVerdict, chosenVerdict;
    const double plain =
        runTool(legacyLine(source, c.options, dir.filePath("tool." + c.extension)), plainVerdict);
    const double aimed = runTool(legacyLine(source, c.options + QStringList{"-target_ssim", "0.97"},
                                            dir.filePath("aimed." + c.extension)),
                                 targetVerdict);
    // The same CRF given outright: what the search itself costs.
    QStringList atChosen = c.options;
    const qsizetype crf = atChosen.indexOf("-crf");
    if (crf >= 0)
        atChosen[crf + 1] = QString::number(figure(targetVerdict, "crf"));
    const double chosen =
        runTool(legacyLine(source, atChosen, dir.filePath("chosen." + c.extension)), chosenVerdict);
    std::printf("%-5s target SSIM 0.97: plain %7.1f s, aimed %7.1f s, ratio %.2f (goal <= 1.5); "
                "%.2f of a conversion at the CRF chosen | reached SSIM %.4f (%+.4f) at CRF %.0f, "
                "size %.1f %% vs plain %.1f %%\n",
                c.name, plain / 1e3, aimed / 1e3, aimed / plain, aimed / chosen,
                figure(targetVerdict, "ssim"), figure(targetVerdict, "ssim") - 0.97,
                figure(targetVerdict, "crf"), figure(targetVerdict, "size") * 100,
                figure(plainVerdict, "size") * 100);
    std::fflush(stdout);
}

void targetSize(const QTemporaryDir& dir, const QString& source, const Codec& c, int megabytes)
{
    const QString output = dir.filePath(QString("size%1.").arg(megabytes) + c.extension);
    QByteArray verdict;
    const double ms = runTool(
        legacyLine(source, c.options + QStringList{"-target_mb", QString::number(megabytes)},
                   output),
        verdict);
    std::printf("%-5s target %2d MB: %s in %.1f s | %.3f MB = %.1f %% of the target (goal 95 to "
                "100 %%) | SSIM %.4f\n",
                c.name, megabytes, ms < 0 ? "FAILED" : "made", ms / 1e3,
                QFileInfo(output).size() / 1e6, QFileInfo(output).size() / (megabytes * 1e4),
                figure(verdict, "ssim"));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(10, std::atoi(argv[1])) : 120;
    const QString size = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("1280x720");
    QTemporaryDir dir;
    const QString source = dir.filePath("source.mp4");
    const QString length = QString::number(seconds);
    std::printf("Making a %d-second %s clip with moving detail and noise...\n", seconds,
                qPrintable(size));
    QProcess make;
    make.start("ffmpeg",
               lavfiSourceArgs("testsrc2=size=" + size + ":rate=25:duration=" + length +
                                   ",noise=alls=12:allf=t",
                               "sine=frequency=440:sample_rate=48000:duration=" + length) +
                   QStringList{"-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p",
                               "-c:a", "aac", source});
    if (!make.waitForFinished(-1) || make.exitCode() != 0)
        return 1;
    // "sizes" among the names leaves out the verdict and the target quality.
    bool sizesOnly = false;
    for (int i = 3; i < argc; ++i)
        sizesOnly = sizesOnly || QLatin1String(argv[i]) == QLatin1String("sizes");
    const std::vector<BenchCodec> codecs =
        sizesOnly ? std::vector<BenchCodec>{todaysCodecs()[0]} : chosenCodecs(argc, argv, 3);
    for (const Codec& c : codecs)
        if (!sizesOnly)
            verdictCost(dir, source, c);
    for (const Codec& c : codecs)
        if (!sizesOnly)
            targetQuality(dir, source, c);
    // Sizes with H.264, when it is among the codecs chosen.
    for (const Codec& c : codecs)
        for (int megabytes : {10, 25, 50})
            if (QLatin1String(c.name) == QLatin1String("H.264"))
                targetSize(dir, source, c, megabytes);
    return 0;
}
