#include "QualityMeter.h"

#include "EncoderToolContract.h"
#include "StdinWatcher.h"
#include "ToolSays.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace {

// A measure never waits longer than this, or than the conversion took, whichever is more.
constexpr int kLeastPatienceMs = 60000;

// The windows of `count` spread so that every prefix of the order covers the file evenly.
QList<int> spreadOrder(int count)
{
    QList<int> order;
    QList<bool> taken(count, false);
    for (int i = 1; order.size() < count; ++i) {
        double v = 0;
        double bit = 0.5;
        for (int n = i; n > 0; n >>= 1, bit /= 2)
            v += (n & 1) * bit;
        const int slot = std::min(count - 1, int(v * count));
        if (!taken[slot]) {
            taken[slot] = true;
            order << slot;
        }
    }
    return order;
}

// The numbers after `key` on every line of `path` that has one.
QList<double> statsColumn(const QString& path, const QByteArray& key)
{
    QList<double> values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return values;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        const int at = line.indexOf(key);
        if (at < 0)
            continue;
        const int from = at + key.size();
        int to = from;
        while (to < line.size() && line[to] != ' ' && line[to] != '\n' && line[to] != '(')
            ++to;
        bool ok = false;
        const double value = line.mid(from, to - from).toDouble(&ok);
        if (ok)
            values << value;
    }
    return values;
}

QString seconds(double value)
{
    return QString::number(value, 'f', 3);
}

} // namespace

QualityMeter::QualityMeter(Setup setup) : m_setup(std::move(setup)) {}

QStringList QualityMeter::windowArguments(const Window& w, const QStringList& outputs,
                                          const QStringList& sources) const
{
    QStringList args{QStringLiteral("-hide_banner"), QStringLiteral("-nostdin"),
                     QStringLiteral("-loglevel"), QStringLiteral("error")};
    const auto input = [&](double at, const QString& path) {
        if (at > 0)
            args << QStringLiteral("-ss") << seconds(at);
        if (w.length > 0)
            args << QStringLiteral("-t") << seconds(w.length);
        // ffmpeg runs in the measure's own folder: names are made absolute here.
        args << QStringLiteral("-i")
             << QStringLiteral("file:") + QFileInfo(path).absoluteFilePath();
    };
    for (qsizetype i = 0; i < outputs.size(); ++i) {
        input(w.at, outputs[i]);
        input(w.at + w.sourceStart, sources[i]);
    }
    // The source goes through the conversion's filters, then to the output's size and rate.
    const MediaProbeResult& out = m_setup.outputProbe;
    QStringList reference;
    if (!m_setup.origin.filters.isEmpty())
        reference << m_setup.origin.filters;
    if (out.frameRate > 0)
        reference << QStringLiteral("fps=%1").arg(out.frameRate, 0, 'g', 10);
    reference << QStringLiteral("scale=%1:%2:flags=bicubic").arg(out.width).arg(out.height);
    const QString common = QStringLiteral("format=yuv420p,setsar=1,split");
    // Each pair has filters and figures of its own: none waits for, or shifts, another.
    QStringList graph;
    for (qsizetype i = 0; i < outputs.size(); ++i) {
        graph << QStringLiteral("[%1:v:0]%2[o1_%3][o2_%3];[%4:v:0]%5,%2[r1_%3][r2_%3];"
                                "[o1_%3][r1_%3]ssim=stats_file=ssim%3.log:shortest=1[s%3];"
                                "[o2_%3][r2_%3]psnr=stats_file=psnr%3.log:shortest=1[p%3]")
                     .arg(2 * i)
                     .arg(common)
                     .arg(i)
                     .arg(2 * i + 1)
                     .arg(reference.join(QLatin1Char(',')));
        args << QStringLiteral("-map") << QStringLiteral("[s%1]").arg(i) << QStringLiteral("-map")
             << QStringLiteral("[p%1]").arg(i);
    }
    args << QStringLiteral("-filter_complex") << graph.join(QLatin1Char(';'))
         << QStringLiteral("-f") << QStringLiteral("null") << QStringLiteral("-");
    return args;
}

bool QualityMeter::measureWindow(const Window& window, double& ssimSum, double& mseSum, int& frames,
                                 QString& why) const
{
    return measurePairs(window, {m_setup.output}, {m_setup.source}, ssimSum, mseSum, frames, why);
}

bool QualityMeter::measureBeside(const QStringList& outputs, const QStringList& sources,
                                 double& ssimSum, double& mseSum, int& frames, QString& why) const
{
    return measurePairs({0, 0, 0}, outputs, sources, ssimSum, mseSum, frames, why);
}

bool QualityMeter::measurePairs(const Window& window, const QStringList& outputs,
                                const QStringList& sources, double& ssimSum, double& mseSum,
                                int& frames, QString& why) const
{
    // The filters write their figures into a folder of this measure's own, named relative to
    // it, so that no path needs escaping inside the filter graph.
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/tovel-measure-XXXXXX"));
    if (!folder.isValid()) {
        why = QStringLiteral("no temporary folder");
        return false;
    }
    QProcess ffmpeg;
    ffmpeg.setWorkingDirectory(folder.path());
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(m_setup.ffmpeg, windowArguments(window, outputs, sources));
    if (!ffmpeg.waitForStarted()) {
        why = QStringLiteral("ffmpeg could not be started");
        return false;
    }
    QElapsedTimer waited;
    waited.start();
    const qint64 patience = std::max<qint64>(kLeastPatienceMs, m_setup.conversionMs);
    while (!ffmpeg.waitForFinished(100)) {
        const bool stop = m_setup.watcher && m_setup.watcher->stopRequested();
        if (stop || waited.elapsed() > patience) {
            ffmpeg.kill();
            ffmpeg.waitForFinished();
            why = stop ? QStringLiteral("stopped") : QStringLiteral("it took too long");
            return false;
        }
    }
    const QByteArray said = ffmpeg.readAll().trimmed();
    const QByteArray first = said.left(said.indexOf('\n'));
    const bool ran = ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0;
    for (qsizetype i = 0; i < outputs.size(); ++i) {
        const QList<double> ssim =
            statsColumn(folder.filePath(QStringLiteral("ssim%1.log").arg(i)), "All:");
        const QList<double> mse =
            statsColumn(folder.filePath(QStringLiteral("psnr%1.log").arg(i)), "mse_avg:");
        if (!ran || ssim.isEmpty() || ssim.size() != mse.size()) {
            why = first.isEmpty() ? QStringLiteral("no frames could be compared")
                                  : QString::fromLocal8Bit(first);
            return false;
        }
        for (qsizetype f = 0; f < ssim.size(); ++f) {
            ssimSum += ssim[f];
            mseSum += mse[f];
        }
        frames += int(ssim.size());
    }
    return true;
}

QualityMeter::Figures QualityMeter::measure()
{
    Figures f;
    const qint64 source = QFileInfo(m_setup.source).size();
    if (source > 0)
        f.sizeShare = double(QFileInfo(m_setup.output).size()) / double(source);
    const MediaProbeResult& out = m_setup.outputProbe;
    if (!m_setup.origin.reencoded || !out.hasVideo || out.width <= 0)
        return f;
    const double total = out.videoDuration > 0 ? out.videoDuration : out.duration;
    const int windows = std::max(1, int(std::ceil(total / kWindowSeconds)));
    double ssimSum = 0;
    double mseSum = 0;
    int frames = 0;
    const double start = m_setup.origin.sourceStart;
    if (windows <= kWholeWindows) {
        if (!measureWindow({0, 0, start}, ssimSum, mseSum, frames, f.unmeasured))
            return f;
        f.measuredSeconds = f.totalSeconds = total;
    } else {
        // Windows in spread order until the next would pass the budget; two at least.
        const double budget = kCostShare * double(m_setup.conversionMs);
        QElapsedTimer spent;
        spent.start();
        int taken = 0;
        for (const int slot : spreadOrder(windows)) {
            if (taken >= 2 && double(spent.elapsed()) * (taken + 1) / taken > budget)
                break;
            const double at = slot * kWindowSeconds;
            const double length = std::min(kWindowSeconds, total - at);
            if (!measureWindow({at, length, start}, ssimSum, mseSum, frames, f.unmeasured))
                return f;
            f.measuredSeconds += length;
            ++taken;
        }
        f.totalSeconds = total;
    }
    if (frames == 0) {
        f.unmeasured = QStringLiteral("no frames could be compared");
        return f;
    }
    f.ssim = ssimSum / frames;
    const double mse = mseSum / frames;
    f.psnr = mse > 0 ? std::min(100.0, 10.0 * std::log10(255.0 * 255.0 / mse)) : 100.0;
    return f;
}

QString QualityMeter::line(const Figures& f, int crf)
{
    namespace C = EncoderToolContract;
    QStringList words{QLatin1String(C::kVerdictWord)};
    if (f.sizeShare >= 0)
        words << QLatin1String(C::kVerdictSize) + QString::number(f.sizeShare, 'f', 4);
    if (f.ssim >= 0) {
        words << QLatin1String(C::kVerdictSsim) + QString::number(f.ssim, 'f', 5)
              << QLatin1String(C::kVerdictPsnr) + QString::number(f.psnr, 'f', 2);
        if (f.measuredSeconds < f.totalSeconds - 0.01)
            words << QLatin1String(C::kVerdictSampled) + QStringLiteral("%1/%2")
                                                             .arg(f.measuredSeconds, 0, 'f', 1)
                                                             .arg(f.totalSeconds, 0, 'f', 1);
    }
    if (crf >= 0)
        words << QLatin1String(C::kVerdictCrf) + QString::number(crf);
    if (!f.unmeasured.isEmpty())
        words << QLatin1String(C::kVerdictUnmeasured) + f.unmeasured;
    return words.join(QLatin1Char(' '));
}

void QualityMeter::report(Setup setup)
{
    // A copied picture is the source's own: there is nothing to judge.
    if (setup.pictureExpected && !setup.origin.reencoded)
        return;
    ToolSays::line(line(QualityMeter(std::move(setup)).measure()));
}
