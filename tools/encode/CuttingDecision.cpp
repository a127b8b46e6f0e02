#include "CuttingDecision.h"

#include "EncoderToolContract.h"
#include "FfmpegRunner.h"
#include "LegacyTranslator.h"
#include "MediaLibrary.h"
#include "OutputCheck.h"
#include "QualityMeter.h"
#include "SegmentCommands.h"
#include "SegmentManifest.h"
#include "SegmentWorkFolder.h"
#include "SegmentedConversion.h"
#include "SourceAnalysis.h"
#include "ToolSays.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace {

int environmentNumber(const char* name)
{
    bool ok = false;
    const int value = qEnvironmentVariable(name).toInt(&ok);
    return ok && value > 0 ? value : 0;
}

// Why a source with this probe is converted whole; empty when it may be cut.
QString wholeSource(const MediaProbeResult& input, const QStringList& arguments)
{
    if (!input.ok || !input.hasVideo || input.isStillPicture)
        return QStringLiteral("the input has no moving video");
    if (input.noTimestamps || input.lengthEstimated)
        return QStringLiteral("the input's times cannot be trusted for seeking");
    bool subtitles = false;
    for (const MediaStream& stream : input.streams)
        subtitles = subtitles || stream.type == MediaStream::Subtitle;
    if (subtitles && !input.hasAudio && !arguments.contains(QStringLiteral("-sn")))
        return QStringLiteral("subtitles without sound are converted with the picture");
    return QString();
}

} // namespace

bool CuttingDecision::worthDeciding(const QStringList& arguments)
{
    return qEnvironmentVariable(EncoderToolContract::kSegmentsVariable) != QLatin1String("0") &&
           SegmentCommands(arguments).refusal().isEmpty();
}

int CuttingDecision::run(const LegacyCommandLine& line, const QString& input, const QString& ffmpeg,
                         const QString& toolFolder, StdinWatcher& watcher, ChildLifetime& lifetime)
{
    QElapsedTimer took;
    took.start();
    QString why;
    const std::unique_ptr<MediaLibrary> library = MediaLibrary::load(toolFolder, why);
    if (!library) {
        ToolSays::line(why);
        return 1;
    }
    const MediaProbeResult probe = library->probe(input);
    SourceAnalysis analysis(ffmpeg, watcher, lifetime);
    const FfmpegCommand command = analysis.translate(line, input, probe, *library);
    if (analysis.stopped())
        return 1; // nothing was written yet
    for (const QString& note : command.notes)
        ToolSays::line(note);
    if (!command.refusal.isEmpty()) {
        ToolSays::line(command.refusal);
        return 1;
    }
    const SegmentCommands commands(command.arguments);
    const int processors = environmentNumber(EncoderToolContract::kProcessorsVariable);
    const SegmentPlan::Lanes lanes =
        SegmentPlan::lanesFor(processors > 0 ? processors : QThread::idealThreadCount());
    QString whole = commands.refusal();
    if (whole.isEmpty())
        whole = wholeSource(probe, command.arguments);
    SegmentPlan plan;
    if (whole.isEmpty()) {
        plan = SegmentPlan::make(probe.videoDuration > 0 ? probe.videoDuration : probe.duration,
                                 library->keyframeTimes(input), lanes.lanes,
                                 environmentNumber(EncoderToolContract::kSegmentSecondsVariable),
                                 commands.shortestSegment());
        whole = plan.refusal;
    }
    const QStringList control = FfmpegRunner::controlArguments();
    int code = 0;
    bool stopped = false;
    if (!whole.isEmpty()) {
        if (!plan.tooShort)
            ToolSays::line(QStringLiteral("encode: not cut into segments: %1").arg(whole));
        FfmpegRunner runner(watcher, lifetime);
        code = runner.run(ffmpeg, control + command.arguments);
        stopped = runner.stopped();
    } else {
        SegmentManifest manifest(line.output, input, command.arguments);
        // A kept or finished segment counts only when it reads back as video.
        const auto readsBack = [&](const QString& path) {
            const MediaProbeResult segment = library->probe(path);
            return segment.ok && segment.hasVideo;
        };
        if (!manifest.open(plan, readsBack, why)) {
            ToolSays::line(QStringLiteral("encode: ") + why);
            return 1;
        }
        SegmentedConversion::Setup setup{
            ffmpeg,    control,
            &commands, &manifest,
            lanes,     probe.hasAudio && !command.arguments.contains(QStringLiteral("-an")),
            readsBack};
        SegmentedConversion conversion(watcher, lifetime, std::move(setup));
        code = conversion.run();
        stopped = conversion.stopped();
        // Before the join, the output's name was never written: kept segments are all a stop or
        // a failure leaves.
        if (!conversion.joinStarted())
            return code;
    }
    if (stopped) {
        ToolSays::discard(line.output, QStringLiteral("stopped before the end"));
        return code != 0 ? code : 1;
    }
    const MediaProbeResult output = code == 0 ? library->probe(line.output) : MediaProbeResult{};
    const QString fault =
        code != 0 ? QStringLiteral("the conversion did not finish (exit code %1)").arg(code)
                  : OutputCheck::fault(command.expected, output);
    if (!fault.isEmpty()) {
        ToolSays::discard(line.output, fault);
        return code != 0 ? code : 1;
    }
    SegmentWorkFolder::removeFor(line.output, input);
    QualityMeter::report({ffmpeg, input, line.output, command.expected.video, command.origin,
                          output, took.elapsed(), &watcher});
    return 0;
}
