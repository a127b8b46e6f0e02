#include "ConvertMode.h"

#include "AvsScriptReader.h"
#include "ChildLifetime.h"
#include "CuttingDecision.h"
#include "FfmpegLocator.h"
#include "FfmpegRunner.h"
#include "LegacyTranslator.h"
#include "MediaLibrary.h"
#include "OutputCheck.h"
#include "QualityMeter.h"
#include "SegmentWorkFolder.h"
#include "SourceAnalysis.h"
#include "StdinWatcher.h"
#include "StillMode.h"
#include "TargetConversion.h"
#include "ThreadHandOff.h"
#include "ToolSays.h"
#include "TrustingCatalogue.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <thread>

namespace {

// Why `path` cannot be converted, or empty when it can be read.
QString unreadable(const QString& path)
{
    const QFileInfo info(path);
    const char* why = !info.exists()       ? "no such file"
                      : !info.isFile()     ? "not a file"
                      : info.size() == 0   ? "the file is empty"
                      : !info.isReadable() ? "permission denied"
                                           : nullptr;
    return why ? QStringLiteral("encode: cannot read the input \"%1\": %2")
                     .arg(path, QLatin1String(why))
               : QString();
}

// What the helper thread finds; written before it reports to the main thread, read after.
struct Settled
{
    std::unique_ptr<MediaLibrary> library;
    QString why;
    FfmpegCommand command;
};

} // namespace

QString ConvertMode::resolveInput(const QString& input, QString& why)
{
    if (!AvsScriptReader::isScript(input))
        return input;
    QString source = AvsScriptReader::sourceOf(input);
    // A relative name is taken from the script's own folder, as AviSynth does.
    if (!source.isEmpty() && QFileInfo(source).isRelative())
        source = QFileInfo(input).dir().filePath(source);
    if (source.isEmpty()) {
        why = QStringLiteral("encode: the script \"%1\" names no file to convert").arg(input);
        if (!unreadable(input).isEmpty())
            why = unreadable(input);
    }
    return source;
}

namespace {

// The file `line` converts, or empty when it cannot be read or is the output itself; `why`
// then says which.
QString checkedInput(const LegacyCommandLine& line, QString& why)
{
    const QString input = ConvertMode::resolveInput(line.input, why);
    if (input.isEmpty())
        return QString();
    why = unreadable(input);
    if (!why.isEmpty())
        return QString();
    const QFileInfo out(line.output);
    if (out.exists() && out.canonicalFilePath() == QFileInfo(input).canonicalFilePath()) {
        why = QStringLiteral("encode: the output \"%1\" is the input file; nothing converted")
                  .arg(line.output);
        return QString();
    }
    return input;
}

// What a finished run left: 0 when the output is what was asked, else the exit code, the
// output removed and the reason said.
// What measuring a finished output against its source needs.
struct Measure
{
    QString ffmpeg;
    qint64 tookMs = 0; // the conversion's own time, which bounds the measure's
    StdinWatcher* watcher = nullptr;
};

int judge(const LegacyCommandLine& line, const QString& input, bool stopped, int code,
          const FfmpegCommand& command, const MediaLibrary* library, const Measure& measure)
{
    // A shortened file under the output's name would pass for a finished one.
    const bool ran = !stopped && code == 0;
    const MediaProbeResult output = ran ? library->probe(line.output) : MediaProbeResult{};
    const QString fault =
        stopped     ? QStringLiteral("stopped before the end")
        : code != 0 ? QStringLiteral("the conversion did not finish (exit code %1)").arg(code)
                    : OutputCheck::fault(command.expected, output);
    if (fault.isEmpty()) {
        // The output was written another way than by a cut conversion's join.
        SegmentWorkFolder::removeFor(line.output, input);
        QualityMeter::report({measure.ffmpeg, input, line.output, command.expected.video,
                              command.origin, output, measure.tookMs, measure.watcher});
        return 0;
    }
    ToolSays::discard(line.output, fault);
    return code != 0 ? code : 1;
}

// A conversion whose line depends on the input's streams or on a look at its pictures and
// sound: ffmpeg starts once all of that is known.
int runLookedAt(const LegacyCommandLine& line, const QString& input, const QString& ffmpeg,
                const QString& toolFolder, StdinWatcher& watcher, ChildLifetime& lifetime)
{
    QString why;
    const std::unique_ptr<MediaLibrary> library = MediaLibrary::load(toolFolder, why);
    if (!library) {
        ToolSays::line(why);
        return 1;
    }
    SourceAnalysis analysis(ffmpeg, watcher, lifetime);
    const FfmpegCommand command = analysis.translate(line, input, library->probe(input), *library);
    if (analysis.stopped())
        return 1;
    for (const QString& note : command.notes)
        ToolSays::line(note);
    if (!command.refusal.isEmpty()) {
        ToolSays::line(command.refusal);
        return 1;
    }
    QElapsedTimer took;
    took.start();
    FfmpegRunner runner(watcher, lifetime);
    const int code = runner.run(ffmpeg, FfmpegRunner::controlArguments() + command.arguments);
    return judge(line, input, runner.stopped(), code, command, library.get(),
                 {ffmpeg, took.elapsed(), &watcher});
}

} // namespace

int ConvertMode::run(const LegacyCommandLine& line, const QString& toolFolder)
{
    QString why;
    const QString input = checkedInput(line, why);
    if (input.isEmpty()) {
        ToolSays::line(why);
        return 1;
    }

    const QString ffmpeg = FfmpegLocator::find(toolFolder);
    if (ffmpeg.isEmpty()) {
        ToolSays::line(
            QStringLiteral("encode: cannot find ffmpeg beside this tool or on the search path"));
        return 1;
    }

    if (double at = 0; StillMode::asked(at))
        return StillMode::run(line, input, at, ffmpeg, toolFolder);

    if (TargetConversion::asked(line)) {
        StdinWatcher watcher;
        watcher.start();
        ChildLifetime lifetime;
        return TargetConversion::run(line, input, ffmpeg, toolFolder, watcher, lifetime);
    }

    // Loading the FFmpeg libraries takes longer than starting ffmpeg. So ffmpeg starts at once
    // on a translation that trusts every name and knows nothing of the input, while a helper
    // thread loads the libraries, probes the input and makes the real translation; only where
    // the two differ (pictures, covers, unknown names) does ffmpeg start again.
    const QStringList control = FfmpegRunner::controlArguments();
    const FfmpegCommand quick =
        LegacyTranslator::translate(line, input, MediaProbeResult{}, TrustingCatalogue());
    // A value no encoder takes fails before ffmpeg runs: a file it began would only mislead.
    if (!quick.refusal.isEmpty()) {
        ToolSays::line(quick.refusal);
        return 1;
    }
    StdinWatcher watcher;
    watcher.start();
    ChildLifetime lifetime;
    QElapsedTimer took;
    took.start();
    if (CuttingDecision::worthDeciding(quick.arguments))
        return CuttingDecision::run(line, input, ffmpeg, toolFolder, watcher, lifetime);
    const TrackSettings& tracks = quick.tracks;
    if (tracks.mapsStreams() || tracks.needsAnalysis())
        return runLookedAt(line, input, ffmpeg, toolFolder, watcher, lifetime);
    FfmpegRunner runner(watcher, lifetime);
    Settled settled;
    const auto settle = [&] {
        settled.library = MediaLibrary::load(toolFolder, settled.why);
        if (settled.library)
            settled.command = LegacyTranslator::translate(
                line, input, settled.library->probe(input), *settled.library);
        ThreadHandOff::post(&runner, [&] {
            if (!settled.library) {
                ToolSays::line(settled.why);
                runner.abandon();
                return;
            }
            for (const QString& note : std::as_const(settled.command.notes))
                ToolSays::line(note);
            if (!settled.command.refusal.isEmpty()) {
                ToolSays::line(settled.command.refusal);
                runner.abandon();
                return;
            }
            if (settled.command.arguments == quick.arguments)
                runner.confirm();
            else
                runner.restart(control + settled.command.arguments);
        });
    };
    // The helper starts once ffmpeg runs: the loading would otherwise slow its start.
    std::thread helper;
    QTimer::singleShot(0, &runner, [&] { helper = std::thread(settle); });
    const int code = runner.run(ffmpeg, control + quick.arguments, true);
    if (helper.joinable())
        helper.join();

    return judge(line, input, runner.stopped(), code, settled.command, settled.library.get(),
                 {ffmpeg, took.elapsed(), &watcher});
}
