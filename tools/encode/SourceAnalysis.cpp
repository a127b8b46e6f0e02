#include "SourceAnalysis.h"

#include "ChildLifetime.h"
#include "EncoderToolContract.h"
#include "StdinWatcher.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kPollMs = 50;

QStringList head()
{
    return {QStringLiteral("-hide_banner"), QStringLiteral("-nostdin"), QStringLiteral("-nostats"),
            QStringLiteral("-loglevel"), QStringLiteral("info")};
}

// The last match of `pattern` in `text`, or an empty match.
QRegularExpressionMatch lastMatch(const QRegularExpression& pattern, const QByteArray& text)
{
    QRegularExpressionMatch last;
    auto it = pattern.globalMatch(QString::fromLatin1(text));
    while (it.hasNext())
        last = it.next();
    return last;
}

int firstVideo(const MediaProbeResult& probe)
{
    for (int i = 0; i < probe.streams.size(); ++i)
        if (probe.streams[i].type == MediaStream::Video && !probe.streams[i].cover)
            return i;
    return -1;
}

int evenDown(int pixels)
{
    return std::max(0, pixels - pixels % 2);
}

} // namespace

SourceAnalysis::SourceAnalysis(const QString& ffmpeg, StdinWatcher& watcher,
                               ChildLifetime& lifetime)
    : m_ffmpeg(ffmpeg), m_watcher(watcher), m_lifetime(lifetime)
{
}

FfmpegCommand SourceAnalysis::translate(const LegacyCommandLine& line, const QString& input,
                                        const MediaProbeResult& probe,
                                        const FfmpegCatalogue& catalogue)
{
    FfmpegCommand first = LegacyTranslator::translate(line, input, probe, catalogue);
    if (!first.refusal.isEmpty() || (!first.tracks.needsAnalysis() && !first.lookForHdr))
        return first;
    QStringList notes;
    const SourceFindings found = run(input, probe, first, notes);
    FfmpegCommand command = LegacyTranslator::translate(line, input, probe, catalogue, found);
    command.notes = notes + command.notes;
    return command;
}

SourceFindings SourceAnalysis::run(const QString& input, const MediaProbeResult& probe,
                                   const FfmpegCommand& command, QStringList& notes)
{
    SourceFindings found;
    found.analysed = true;
    const TrackSettings& s = command.tracks;
    if (s.crop == TrackSettings::Crop::Auto || s.interlace == TrackSettings::Interlace::Auto)
        samplePictures(input, probe, s, found, notes);
    if (command.lookForHdr)
        readHdr(input, probe, found, notes);
    if (s.loudness != 0)
        measureLoudness(input, command, found, notes);
    return found;
}

QByteArray SourceAnalysis::runFfmpeg(const QStringList& arguments)
{
    return runAll({arguments}).value(0);
}

QList<QByteArray> SourceAnalysis::runAll(const QList<QStringList>& runs)
{
    QList<QByteArray> reports;
    // The samples are short: starting ffmpeg costs as much as the work, so several run at once.
    const int wide = std::max(2, QThread::idealThreadCount());
    for (qsizetype first = 0; first < runs.size() && !m_stopped; first += wide) {
        std::vector<std::unique_ptr<QProcess>> wave;
        for (qsizetype i = first; i < std::min(runs.size(), first + wide); ++i) {
            wave.push_back(std::make_unique<QProcess>());
            wave.back()->setProcessChannelMode(QProcess::MergedChannels);
            m_lifetime.bind(*wave.back());
            wave.back()->start(m_ffmpeg, head() + runs[i]);
        }
        for (const auto& process : wave) {
            while (!m_stopped && !process->waitForFinished(kPollMs) &&
                   process->state() != QProcess::NotRunning)
                m_stopped = m_watcher.stopRequested();
            if (m_stopped)
                process->kill();
            process->waitForFinished();
            reports << process->readAll();
        }
    }
    if (m_stopped)
        reports.clear();
    return reports;
}

void SourceAnalysis::samplePictures(const QString& input, const MediaProbeResult& probe,
                                    const TrackSettings& s, SourceFindings& found,
                                    QStringList& notes)
{
    const int video = firstVideo(probe);
    if (video < 0 || probe.isStillPicture)
        return;
    const bool crop = s.crop == TrackSettings::Crop::Auto;
    const bool idet = s.interlace == TrackSettings::Interlace::Auto;
    QStringList filters;
    if (idet)
        filters << QStringLiteral("idet");
    if (crop)
        filters << QStringLiteral("cropdetect=round=2:reset=0");
    const double length = probe.videoDuration > 0 ? probe.videoDuration : probe.duration;
    QList<QStringList> runs;
    for (int i = 0; i < kSamples; ++i) {
        const double at = length * (i + 0.5) / kSamples;
        runs << QStringList{QStringLiteral("-ss"),       QString::number(at, 'f', 3),
                            QStringLiteral("-i"),        QStringLiteral("file:") + input,
                            QStringLiteral("-map"),      QStringLiteral("0:%1").arg(video),
                            QStringLiteral("-frames:v"), QString::number(kFramesPerSample),
                            QStringLiteral("-vf"),       filters.join(QLatin1Char(',')),
                            QStringLiteral("-f"),        QStringLiteral("null"),
                            QStringLiteral("-")};
    }
    const QList<QByteArray> reports = runAll(runs);
    if (m_stopped)
        return;
    if (crop) {
        if (unionCrop(reports, probe.width, probe.height, found.crop))
            notes << QStringLiteral("encode: %1on %2 samples: %3:%4:%5:%6 (top:bottom:left:right)")
                         .arg(QLatin1String(EncoderToolContract::kCropFound))
                         .arg(kSamples)
                         .arg(found.crop[0])
                         .arg(found.crop[1])
                         .arg(found.crop[2])
                         .arg(found.crop[3]);
        else
            notes << QStringLiteral("encode: crop: every sample was black; nothing cropped");
    }
    if (idet) {
        QString summary;
        found.interlaced = interlaced(reports, summary);
        notes << QStringLiteral("encode: interlacing: %1; %2")
                     .arg(summary, found.interlaced ? QStringLiteral("deinterlaced (bwdif)")
                                                    : QStringLiteral("left as it is"));
    }
}

void SourceAnalysis::readHdr(const QString& input, const MediaProbeResult& probe,
                             SourceFindings& found, QStringList& notes)
{
    const int video = firstVideo(probe);
    if (video < 0 || probe.isStillPicture)
        return;
    found.hdr = hdrOf(
        runFfmpeg({QStringLiteral("-i"), QStringLiteral("file:") + input, QStringLiteral("-map"),
                   QStringLiteral("0:%1").arg(video), QStringLiteral("-frames:v"),
                   QStringLiteral("1"), QStringLiteral("-vf"), QStringLiteral("showinfo"),
                   QStringLiteral("-f"), QStringLiteral("null"), QStringLiteral("-")}));
    if (found.hdr.mastering || found.hdr.maxCll > 0)
        notes << QStringLiteral("encode: HDR10 source: mastering display %1, light levels "
                                "%2/%3 cd/m2")
                     .arg(found.hdr.mastering ? QStringLiteral("%1 to %2 cd/m2")
                                                    .arg(found.hdr.minLuminance)
                                                    .arg(found.hdr.maxLuminance)
                                              : QStringLiteral("not given"))
                     .arg(found.hdr.maxCll)
                     .arg(found.hdr.maxFall);
}

SourceFindings::Hdr SourceAnalysis::hdrOf(const QByteArray& report)
{
    static const QRegularExpression display(QStringLiteral(
        R"(r\(([\d.]+),([\d.]+)\) g\(([\d.]+),([\d.]+)\) b\(([\d.]+) ([\d.]+)\) )"
        R"(wp\(([\d.]+), ([\d.]+)\) min_luminance=([\d.]+), max_luminance=([\d.]+))"));
    static const QRegularExpression light(QStringLiteral(R"(MaxCLL=(\d+), MaxFALL=(\d+))"));
    SourceFindings::Hdr hdr;
    const QRegularExpressionMatch m = lastMatch(display, report);
    if (m.hasMatch()) {
        hdr.mastering = true;
        for (int i = 0; i < 8; ++i)
            hdr.primaries[i] = m.captured(i + 1).toDouble();
        hdr.minLuminance = m.captured(9).toDouble();
        hdr.maxLuminance = m.captured(10).toDouble();
    }
    const QRegularExpressionMatch l = lastMatch(light, report);
    if (l.hasMatch()) {
        hdr.maxCll = l.captured(1).toInt();
        hdr.maxFall = l.captured(2).toInt();
    }
    return hdr;
}

bool SourceAnalysis::unionCrop(const QList<QByteArray>& reports, int width, int height, int crop[4])
{
    static const QRegularExpression box(
        QStringLiteral("x1:(-?\\d+) x2:(-?\\d+) y1:(-?\\d+) y2:(-?\\d+)"));
    int x1 = width, x2 = -1, y1 = height, y2 = -1;
    for (const QByteArray& report : reports) {
        const QRegularExpressionMatch m = lastMatch(box, report);
        if (!m.hasMatch())
            continue;
        const int a = m.captured(1).toInt(), b = m.captured(2).toInt();
        const int c = m.captured(3).toInt(), d = m.captured(4).toInt();
        if (a > b || c > d)
            continue; // a black sample says nothing about the borders
        x1 = std::min(x1, a);
        x2 = std::max(x2, b);
        y1 = std::min(y1, c);
        y2 = std::max(y2, d);
    }
    if (x2 < 0 || y2 < 0)
        return false;
    crop[0] = evenDown(y1);
    crop[1] = evenDown(height - 1 - y2);
    crop[2] = evenDown(x1);
    crop[3] = evenDown(width - 1 - x2);
    return true;
}

bool SourceAnalysis::interlaced(const QList<QByteArray>& reports, QString& summary)
{
    static const QRegularExpression counts(
        QStringLiteral("Multi frame detection: TFF: *(\\d+) BFF: *(\\d+) Progressive: *(\\d+)"));
    int combed = 0, progressive = 0;
    for (const QByteArray& report : reports) {
        const QRegularExpressionMatch m = lastMatch(counts, report);
        if (!m.hasMatch())
            continue;
        combed += m.captured(1).toInt() + m.captured(2).toInt();
        progressive += m.captured(3).toInt();
    }
    summary = QStringLiteral("%1 interlaced and %2 progressive frames on %3 samples")
                  .arg(combed)
                  .arg(progressive)
                  .arg(reports.size());
    // Only a clear majority counts: deinterlacing a progressive film would blur it.
    return combed >= kFramesPerSample && combed >= 4 * progressive;
}

void SourceAnalysis::measureLoudness(const QString& input, const FfmpegCommand& command,
                                     SourceFindings& found, QStringList& notes)
{
    const QString chain =
        command.audioFilters.isEmpty() ? QString() : command.audioFilters + QLatin1Char(',');
    QList<QStringList> runs;
    for (int stream : command.keptAudio)
        runs << QStringList{QStringLiteral("-i"),
                            QStringLiteral("file:") + input,
                            QStringLiteral("-map"),
                            QStringLiteral("0:%1").arg(stream),
                            QStringLiteral("-af"),
                            chain + QStringLiteral("loudnorm=I=%1:TP=-1:print_format=json")
                                        .arg(command.tracks.loudness),
                            QStringLiteral("-f"),
                            QStringLiteral("null"),
                            QStringLiteral("-")};
    const QList<QByteArray> reports = runAll(runs);
    for (qsizetype k = 0; k < reports.size(); ++k) {
        const int stream = command.keptAudio[k];
        const QByteArray& report = reports[k];
        SourceFindings::Loudness m;
        const qsizetype open = report.lastIndexOf('{');
        const QJsonObject o =
            QJsonDocument::fromJson(report.mid(open, report.lastIndexOf('}') - open + 1)).object();
        m.integrated = o.value(QLatin1String("input_i")).toString();
        m.truePeak = o.value(QLatin1String("input_tp")).toString();
        m.range = o.value(QLatin1String("input_lra")).toString();
        m.threshold = o.value(QLatin1String("input_thresh")).toString();
        m.offset = o.value(QLatin1String("target_offset")).toString();
        bool finite = false;
        const double loudness = m.integrated.toDouble(&finite);
        m.ok =
            open >= 0 && finite && std::isfinite(loudness) && std::isfinite(m.truePeak.toDouble());
        if (m.ok)
            notes << QStringLiteral("encode: sound track %1 measured at %2 LUFS (true peak %3 "
                                    "dBTP); evened out to %4 LUFS")
                         .arg(stream)
                         .arg(m.integrated, m.truePeak)
                         .arg(command.tracks.loudness);
        found.loudness << m;
    }
}
