#include "ConvertMode.h"

#include "AvsScriptReader.h"
#include "FfmpegLocator.h"
#include "FfmpegRunner.h"
#include "LegacyTranslator.h"
#include "MediaProbe.h"
#include "StdinWatcher.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

void say(const QString& line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

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

int ConvertMode::run(const LegacyCommandLine& line, const QString& toolFolder)
{
    QString why;
    const QString input = resolveInput(line.input, why);
    if (input.isEmpty()) {
        say(why);
        return 1;
    }
    why = unreadable(input);
    if (!why.isEmpty()) {
        say(why);
        return 1;
    }
    const QFileInfo out(line.output);
    if (out.exists() && out.canonicalFilePath() == QFileInfo(input).canonicalFilePath()) {
        say(QStringLiteral("encode: the output \"%1\" is the input file; nothing converted")
                .arg(line.output));
        return 1;
    }

    const MediaProbeResult facts = ProbeMediaFile(input);
    const FfmpegCommand command = LegacyTranslator::translate(line, input, facts);
    for (const QString& note : command.notes)
        say(note);

    const QString ffmpeg = FfmpegLocator::find(toolFolder);
    if (ffmpeg.isEmpty()) {
        say(QStringLiteral("encode: cannot find ffmpeg beside this tool or on the search path"));
        return 1;
    }
    StdinWatcher watcher;
    watcher.start();
    FfmpegRunner runner(watcher);
    return runner.run(ffmpeg, FfmpegRunner::controlArguments() + command.arguments);
}
