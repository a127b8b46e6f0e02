#include "TargetConversion.h"

#include "CrfSearch.h"
#include "FfmpegRunner.h"
#include "OutputCheck.h"
#include "QualityMeter.h"
#include "QualityOptions.h"
#include "SegmentWorkFolder.h"
#include "SourceAnalysis.h"
#include "StdinWatcher.h"
#include "ToolSays.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMegabyte = 1000000.0;
// A sound stream whose rate the options leave to the encoder is taken at this rate.
constexpr double kDefaultAudioBps = 128000;

// Removes every `name` and the value after it from `args`.
void drop(QStringList& args, const QString& name)
{
    for (qsizetype i = args.indexOf(name); i >= 0 && i + 1 < args.size(); i = args.indexOf(name))
        args.remove(i, 2);
}

// "128k", "1.5M" or "96000" in bits per second; 0 when it is none of them.
double bitsPerSecond(const QString& text)
{
    const QString t = text.trimmed().toLower();
    const double scale = t.endsWith('k') ? 1e3 : t.endsWith('m') ? 1e6 : 1;
    bool ok = false;
    const double value = (scale > 1 ? t.chopped(1) : t).toDouble(&ok);
    return ok && value > 0 ? value * scale : 0;
}

// `args` without sound: a pass or a sample that only the picture matters in.
QStringList withoutSound(QStringList args)
{
    for (const char* name : {"-c:a", "-b:a", "-ar", "-ac", "-af", "-q:a"})
        drop(args, QLatin1String(name));
    return args << QStringLiteral("-an");
}

QString valueAfter(const QStringList& args, const QString& name)
{
    const qsizetype at = args.lastIndexOf(name);
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();
}

QString say(const QString& text)
{
    ToolSays::line(QStringLiteral("encode: ") + text);
    return text;
}

} // namespace

double TargetConversion::videoBitRate(double megabytes, double seconds, double audioBps,
                                      double& least)
{
    const double usable = megabytes * kMegabyte * (1 - kContainerShare) * 8;
    const double video = usable / seconds - audioBps;
    if (video >= kLeastVideoBps)
        return video;
    const double needed = (kLeastVideoBps + audioBps) * seconds / 8 / (1 - kContainerShare);
    least = std::ceil(needed / kMegabyte * 10) / 10;
    return 0;
}

bool TargetConversion::asked(const LegacyCommandLine& line)
{
    for (const LegacyOption& o : line.options)
        if ((o.name == QLatin1String("target_ssim") || o.name == QLatin1String("target_mb")) &&
            !o.value.trimmed().isEmpty())
            return true;
    return false;
}

TargetConversion::TargetConversion(const LegacyCommandLine& line, const QString& input,
                                   const QString& ffmpeg, StdinWatcher& watcher,
                                   ChildLifetime& lifetime)
    : m_line(line), m_input(input), m_ffmpeg(ffmpeg), m_watcher(watcher), m_lifetime(lifetime),
      m_work(QDir::tempPath() + QStringLiteral("/tovel-target-XXXXXX"))
{
    m_took.start();
}

int TargetConversion::run(const LegacyCommandLine& line, const QString& input,
                          const QString& ffmpeg, const QString& toolFolder, StdinWatcher& watcher,
                          ChildLifetime& lifetime)
{
    QString why;
    const std::unique_ptr<MediaLibrary> library = MediaLibrary::load(toolFolder, why);
    if (!library) {
        ToolSays::line(why);
        return 1;
    }
    TargetConversion conversion(line, input, ffmpeg, watcher, lifetime);
    return conversion.convert(*library);
}

int TargetConversion::convert(const MediaLibrary& library)
{
    m_library = &library;
    const MediaProbeResult probe = library.probe(m_input);
    // Crop, deinterlacing and loudness found on the source hold for a target too.
    SourceAnalysis analysis(m_ffmpeg, m_watcher, m_lifetime);
    m_command = analysis.translate(m_line, m_input, probe, library);
    if (analysis.stopped())
        return 1;
    for (const QString& note : std::as_const(m_command.notes))
        ToolSays::line(note);
    if (!m_command.refusal.isEmpty()) {
        ToolSays::line(m_command.refusal);
        return 1;
    }
    if (!m_work.isValid()) {
        say(QStringLiteral("no temporary folder for the passes"));
        return 1;
    }
    // The picture's rate or quality is the target's to set.
    QStringList args = m_command.arguments;
    const qsizetype input = args.indexOf(QStringLiteral("-i"));
    m_pre = args.mid(0, input);
    m_post = args.mid(input + 2, args.size() - input - 3);
    drop(m_pre, QStringLiteral("-ss"));
    m_profileCrf = valueAfter(m_post, QStringLiteral("-crf"));
    for (const char* name : {"-crf", "-b:v", "-maxrate", "-bufsize", "-x265-params"})
        drop(m_post, QLatin1String(name));
    m_start = m_command.origin.sourceStart;
    m_seconds = m_command.expected.seconds > 0 ? m_command.expected.seconds
                                               : std::max(0.0, probe.duration - m_start);
    say(QStringLiteral("not cut into segments: a target %1 is set")
            .arg(m_command.target.megabytes > 0 ? QLatin1String("size")
                                                : QLatin1String("quality")));
    if (m_command.target.megabytes > 0)
        return toSize();
    int code = 0;
    const int crf = searchCrf(code);
    if (crf < 0)
        return finish(code != 0 ? code : 1, -1);
    // The verdict's share is of the conversion the user asked for, not of the search.
    m_took.restart();
    QStringList whole = m_pre;
    if (m_start > 0)
        whole << QStringLiteral("-ss") << QString::number(m_start, 'f', 3);
    whole << QStringLiteral("-i") << QStringLiteral("file:") + m_input << m_post
          << QStringLiteral("-crf") << QString::number(crf);
    if (m_command.target.videoEncoder.startsWith(QLatin1String("libvpx")))
        whole << QStringLiteral("-b:v") << QStringLiteral("0");
    if (m_command.target.videoEncoder == QLatin1String("libx265"))
        whole << QStringLiteral("-x265-params") << QStringLiteral("log-level=error");
    return finish(runFfmpeg(whole << m_line.output, 0, 1), crf);
}

int TargetConversion::runFfmpeg(const QStringList& arguments, double offset, double factor)
{
    FfmpegRunner runner(m_watcher, m_lifetime);
    runner.setTimeShare(offset, factor);
    const int code = runner.run(m_ffmpeg, FfmpegRunner::controlArguments() + arguments);
    m_stopped = m_stopped || runner.stopped();
    return m_stopped ? 1 : code;
}

QStringList TargetConversion::passArguments(int pass) const
{
    const QString log = m_work.filePath(QStringLiteral("pass"));
    const QString encoder = m_command.target.videoEncoder;
    if (encoder == QLatin1String("libx265"))
        return {QStringLiteral("-x265-params"),
                QStringLiteral("log-level=error:pass=%1:stats=%2.x265").arg(pass).arg(log)};
    return {QStringLiteral("-pass"), QString::number(pass), QStringLiteral("-passlogfile"), log};
}

int TargetConversion::encodeAtRate(double bps)
{
    QStringList common = m_pre;
    if (m_start > 0)
        common << QStringLiteral("-ss") << QString::number(m_start, 'f', 3);
    common << QStringLiteral("-i") << QStringLiteral("file:") + m_input << m_post
           << QStringLiteral("-b:v") << QString::number(qRound64(bps));
    // SVT-AV1 has no second pass in this FFmpeg: one pass at the rate, and the size check.
    if (m_command.target.videoEncoder == QLatin1String("libsvtav1"))
        return runFfmpeg(common << m_line.output, 0, 1);
    const QString first =
        m_work.filePath(QStringLiteral("first.") + QFileInfo(m_line.output).suffix());
    const int code = runFfmpeg(withoutSound(common + passArguments(1)) << first, 0, 0.5);
    if (code != 0)
        return code;
    QFile::remove(first);
    return runFfmpeg(common + passArguments(2) + QStringList{m_line.output}, m_seconds * 0.5, 0.5);
}

int TargetConversion::toSize()
{
    const double target = m_command.target.megabytes * kMegabyte;
    if (m_seconds <= 0) {
        say(QStringLiteral("a target size needs the file's play time, which is not known"));
        return 1;
    }
    double audioBps = 0;
    if (m_command.expected.audio) {
        const QString copied = valueAfter(m_post, QStringLiteral("-c:a"));
        audioBps = bitsPerSecond(valueAfter(m_post, QStringLiteral("-b:a")));
        if (copied == QLatin1String("copy"))
            audioBps = double(m_library->probe(m_input).audioBitRate);
        if (audioBps <= 0)
            audioBps = kDefaultAudioBps;
    }
    double least = 0;
    double bps = videoBitRate(m_command.target.megabytes, m_seconds, audioBps, least);
    if (bps <= 0) {
        say(QStringLiteral("a target size of %1 MB is too small for %2 s with its sound; the "
                           "least that works is %3 MB")
                .arg(m_command.target.megabytes)
                .arg(m_seconds, 0, 'f', 1)
                .arg(least, 0, 'f', 1));
        return 1;
    }
    int code = 0;
    // The first encode, once more corrected by its miss, and a last time only when still over.
    for (int attempt = 0; attempt < 3; ++attempt) {
        code = encodeAtRate(bps);
        if (code != 0)
            return finish(code, -1);
        const double bytes = double(QFileInfo(m_line.output).size());
        say(QStringLiteral("target size %1 MB: video at %2 kbit/s over %3 s came out at %4 MB "
                           "(%5 %)")
                .arg(m_command.target.megabytes)
                .arg(bps / 1000, 0, 'f', 0)
                .arg(m_seconds, 0, 'f', 1)
                .arg(bytes / kMegabyte, 0, 'f', 2)
                .arg(bytes / target * 100, 0, 'f', 1));
        const bool under = m_seconds >= 30 && bytes < 0.95 * target && attempt < 2;
        if (bytes <= target && !under)
            return finish(0, -1);
        // The miss belongs to the picture: the sound's bytes are what its rate says.
        const double audioBytes = audioBps * m_seconds / 8;
        const double aim = 0.985 * target - audioBytes;
        bps = std::max(kLeastVideoBps, bps * aim / std::max(1.0, bytes - audioBytes));
    }
    if (QFileInfo(m_line.output).size() <= target)
        return finish(0, -1);
    ToolSays::discard(m_line.output, QStringLiteral("the output came out over its target size "
                                                    "of %1 MB")
                                         .arg(m_command.target.megabytes));
    return 1;
}

bool TargetConversion::cutStretches()
{
    // Each stretch of the source is decoded once, losslessly, in one run: the probes then
    // neither seek nor decode the source again, and their measures compare the very same
    // frames. Each is a file of its own, so that each sample's encoder starts afresh.
    const double share = m_seconds / kSamples;
    const double length = std::min(kSampleSeconds, m_seconds);
    const int count = m_seconds <= length ? 1 : kSamples;
    QStringList args;
    QStringList stretches;
    for (int i = 0; i < count; ++i) {
        const double at = std::max(0.0, share * (i + 0.5) - length / 2);
        args << m_pre << QStringLiteral("-ss") << QString::number(m_start + at, 'f', 3)
             << QStringLiteral("-t") << QString::number(length, 'f', 3) << QStringLiteral("-i")
             << QStringLiteral("file:") + m_input;
    }
    for (int i = 0; i < count; ++i) {
        stretches << m_work.filePath(QStringLiteral("stretch%1.mkv").arg(i));
        args << QStringLiteral("-map") << QStringLiteral("%1:v:0").arg(i) << QStringLiteral("-c:v")
             << QStringLiteral("ffv1") << QStringLiteral("-an") << QStringLiteral("-sn")
             << QStringLiteral("-dn") << stretches[i];
    }
    if (runFfmpeg(args, 0, 0) != 0)
        return false;
    m_stretches = stretches;
    return true;
}

double TargetConversion::probe(int crf, qint64& bytes)
{
    if (m_stretches.isEmpty() && !cutStretches())
        return -1;
    QStringList post = m_post;
    drop(post, QStringLiteral("-map"));
    post << QStringLiteral("-crf") << QString::number(crf);
    if (m_command.target.videoEncoder.startsWith(QLatin1String("libvpx")))
        post << QStringLiteral("-b:v") << QStringLiteral("0");
    post = withoutSound(post);
    // One run encodes every sample: their encoders work side by side, each on its own stretch.
    QStringList args;
    QStringList samples;
    for (const QString& stretch : std::as_const(m_stretches))
        args << m_pre << QStringLiteral("-i") << QStringLiteral("file:") + stretch;
    for (int i = 0; i < m_stretches.size(); ++i) {
        samples << m_work.filePath(QStringLiteral("sample%1.").arg(i) +
                                   QFileInfo(m_line.output).suffix());
        args << QStringLiteral("-map") << QStringLiteral("%1:v:0").arg(i) << post << samples[i];
    }
    if (runFfmpeg(args, 0, 0) != 0)
        return -1;
    // The picture went through the conversion's own filters; the stretch is its source.
    PictureOrigin origin = m_command.origin;
    origin.sourceStart = 0;
    bytes = 0;
    for (const QString& sample : std::as_const(samples))
        bytes += QFileInfo(sample).size();
    QualityMeter meter({m_ffmpeg, QString(), QString(), true, origin,
                        m_library->probe(samples.first()), 0, &m_watcher});
    double ssimSum = 0;
    double mseSum = 0;
    int frames = 0;
    QString why;
    if (!meter.measureBeside(samples, m_stretches, ssimSum, mseSum, frames, why))
        return -1;
    return frames > 0 ? ssimSum / frames : -1;
}

int TargetConversion::searchCrf(int& code)
{
    const double goal = m_command.target.ssim;
    const int ceiling = QualityOptions::crfCeiling(m_command.target.videoEncoder);
    // The profile's own CRF is where the search starts: most targets lie a few steps from it.
    bool given = false;
    const int profileCrf = qRound(m_profileCrf.toDouble(&given));
    CrfSearch search(goal, ceiling, given ? profileCrf : ceiling * 23 / 51);
    for (int crf = search.next(); crf >= 0; crf = search.next()) {
        qint64 bytes = 0;
        const double ssim = probe(crf, bytes);
        if (ssim < 0) {
            code = 1;
            if (!m_stopped)
                say(QStringLiteral("target quality: the samples at CRF %1 could not be made")
                        .arg(crf));
            return -1;
        }
        say(QStringLiteral("target quality SSIM %1: CRF %2 gives SSIM %3 at %4 bytes")
                .arg(goal)
                .arg(crf)
                .arg(ssim, 0, 'f', 4)
                .arg(bytes));
        search.add(crf, ssim);
    }
    if (search.chosen() < 0) {
        say(QStringLiteral("target quality SSIM %1: no CRF reaches it; CRF 0, the best the %2 "
                           "encoder allows, chosen")
                .arg(goal)
                .arg(m_command.target.videoEncoder));
        return 0;
    }
    say(QStringLiteral("target quality SSIM %1: CRF %2 chosen").arg(goal).arg(search.chosen()));
    return search.chosen();
}

int TargetConversion::finish(int code, int crf)
{
    if (m_stopped) {
        ToolSays::discard(m_line.output, QStringLiteral("stopped before the end"));
        return 1;
    }
    const MediaProbeResult output =
        code == 0 ? m_library->probe(m_line.output) : MediaProbeResult{};
    const QString fault =
        code != 0 ? QStringLiteral("the conversion did not finish (exit code %1)").arg(code)
                  : OutputCheck::fault(m_command.expected, output);
    if (!fault.isEmpty()) {
        ToolSays::discard(m_line.output, fault);
        return code != 0 ? code : 1;
    }
    SegmentWorkFolder::removeFor(m_line.output, m_input);
    QualityMeter meter({m_ffmpeg, m_input, m_line.output, m_command.expected.video,
                        m_command.origin, output, m_took.elapsed(), &m_watcher});
    ToolSays::line(QualityMeter::line(meter.measure(), crf));
    return 0;
}
