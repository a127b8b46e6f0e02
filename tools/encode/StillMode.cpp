#include "StillMode.h"

#include "ChildLifetime.h"
#include "EncoderToolContract.h"
#include "MediaLibrary.h"
#include "SourceAnalysis.h"
#include "StdinWatcher.h"
#include "ToolSays.h"

#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// Runs ffmpeg to its end; empty when it wrote its file, else what it said.
QString runFfmpeg(const QString& ffmpeg, const QStringList& arguments, ChildLifetime& lifetime)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    lifetime.bind(process);
    process.start(ffmpeg, QStringList{QStringLiteral("-hide_banner"), QStringLiteral("-nostdin"),
                                      QStringLiteral("-nostats"), QStringLiteral("-loglevel"),
                                      QStringLiteral("error")} +
                              arguments);
    process.waitForFinished(-1);
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return QString();
    const QString said = QString::fromLocal8Bit(process.readAll()).trimmed();
    return said.isEmpty() ? QStringLiteral("ffmpeg ended with code %1").arg(process.exitCode())
                          : said.section(QLatin1Char('\n'), -1);
}

// The line without the loudness row: evening out the sound measures every track first, and a
// still has no sound.
LegacyCommandLine withoutSound(LegacyCommandLine line)
{
    line.options.removeIf(
        [](const LegacyOption& o) { return o.name == QLatin1String("loudness"); });
    return line;
}

} // namespace

bool StillMode::asked(double& seconds)
{
    const QByteArray at = qgetenv(EncoderToolContract::kStillVariable);
    bool ok = false;
    seconds = at.toDouble(&ok);
    return !at.isEmpty() && ok && std::isfinite(seconds);
}

QStringList StillMode::frameArguments(const QStringList& arguments, double seconds,
                                      const QString& png)
{
    QStringList out = arguments;
    if (!out.isEmpty())
        out.removeLast(); // the conversion's output
    // The last -ss before the input wins over a start the profile gives. Times kept as they are
    // in the file, so that burned-in subtitles meet their moment.
    const qsizetype input = std::max<qsizetype>(0, out.indexOf(QStringLiteral("-i")));
    out.insert(input, QStringLiteral("-copyts"));
    out.insert(input, QString::number(std::max(0.0, seconds), 'f', 3));
    out.insert(input, QStringLiteral("-ss"));
    out << QStringLiteral("-frames:v") << QStringLiteral("1") << QStringLiteral("-an")
        << QStringLiteral("-sn") << QStringLiteral("-dn") << QStringLiteral("-c:v")
        << QStringLiteral("png") << QStringLiteral("-f") << QStringLiteral("image2")
        << QStringLiteral("-update") << QStringLiteral("1") << QStringLiteral("-y")
        << QStringLiteral("file:") + png;
    return out;
}

int StillMode::run(const LegacyCommandLine& line, const QString& input, double seconds,
                   const QString& ffmpeg, const QString& toolFolder)
{
    QString why;
    const std::unique_ptr<MediaLibrary> library = MediaLibrary::load(toolFolder, why);
    if (!library) {
        ToolSays::line(why);
        return 1;
    }
    const MediaProbeResult probe = library->probe(input);
    StdinWatcher watcher;
    watcher.start();
    ChildLifetime lifetime;
    SourceAnalysis analysis(ffmpeg, watcher, lifetime);
    const FfmpegCommand command = analysis.translate(withoutSound(line), input, probe, *library);
    if (analysis.stopped())
        return 1;
    for (const QString& note : command.notes)
        ToolSays::line(note);
    if (!command.refusal.isEmpty()) {
        ToolSays::line(command.refusal);
        return 1;
    }
    if (!command.origin.reencoded) {
        ToolSays::line(QStringLiteral("encode: no still: the conversion re-encodes no moving "
                                      "picture"));
        return 1;
    }
    // Past the last picture a seek finds none.
    const double length = probe.videoDuration > 0 ? probe.videoDuration : probe.duration;
    const double at = std::clamp(seconds, 0.0, std::max(0.0, length - 0.5));
    const QString frame = line.output + QStringLiteral(".frame.png");
    why = runFfmpeg(ffmpeg, frameArguments(command.arguments, at, frame), lifetime);
    const MediaProbeResult shot = why.isEmpty() ? library->probe(frame) : MediaProbeResult();
    if (why.isEmpty() && (!shot.ok || !shot.hasVideo))
        why = QStringLiteral("no picture at %1 s").arg(at);
    if (!why.isEmpty()) {
        QFile::remove(frame);
        ToolSays::line(QStringLiteral("encode: no still: ") + why);
        return 1;
    }
    // Pixels that are not square are stretched as a player would show them.
    const int shownWidth = 2 * int(std::lround(shot.height * shot.displayAspect / 2));
    QFile::remove(line.output);
    if (std::abs(shownWidth - shot.width) <= 1) {
        QFile::rename(frame, line.output);
    } else {
        why = runFfmpeg(
            ffmpeg,
            {QStringLiteral("-i"), QStringLiteral("file:") + frame, QStringLiteral("-vf"),
             QStringLiteral("scale=%1:%2,setsar=1").arg(shownWidth).arg(shot.height),
             QStringLiteral("-f"), QStringLiteral("image2"), QStringLiteral("-update"),
             QStringLiteral("1"), QStringLiteral("-y"), QStringLiteral("file:") + line.output},
            lifetime);
        QFile::remove(frame);
        if (!why.isEmpty()) {
            ToolSays::line(QStringLiteral("encode: no still: ") + why);
            return 1;
        }
    }
    ToolSays::line(QStringLiteral("encode: %1%2x%3")
                       .arg(QLatin1String(EncoderToolContract::kStillFrame))
                       .arg(shot.width)
                       .arg(shot.height));
    return 0;
}
