#include "CFfmpegEncoder.h"

#include "CTraceLog.h"
#include "Profile.h"

#include "AppFolder.h"
#include "CAvsScriptWriter.h"
#include "CEncoderCommandBuilder.h"
#include "CMediaDetector.h"
#include "CToolInformationProbe.h"
#include "CTraceLog.h"
#include "ConversionJob.h"
#include "EncoderToolContract.h"
#include "Profile.h"
#include "QualityVerdict.h"

#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kModule = "COMMON/CFfmpegEncoder";
constexpr unsigned kModuleNumber = 0xFFFF01;
constexpr int kLineBuffer = 512;
// Fixed "Line:" field of the event for a job the set-up could not prepare (part of the event
// text, not a source line).
constexpr int kEventLineSetupFailed = 501;
// Fixed "Line:" fields of the events for a script fallback that could not be written and for
// an exception while the tool ran or a file was probed.
constexpr int kEventLineScriptFailed = 502;
constexpr int kEventLineRunException = 503;
constexpr int kEventLineProbeException = 504;

} // namespace

int CFfmpegEncoder::Attach(const EncoderSetup* setup)
{
    if (!setup)
        return 0;
    m_callback = setup->callback;
    m_timeCallback = setup->timeCallback;
    m_context = setup->context;
    m_reserved = setup->reserved;
    m_appFolder = setup->appFolder.isEmpty() ? AppFolder::path() : setup->appFolder;
    m_writeFolder = setup->writeFolder.isEmpty() ? m_appFolder : setup->writeFolder;
    m_scriptName = setup->scriptName.isEmpty() ? QLatin1String(CAvsScriptWriter::kScriptName)
                                               : setup->scriptName;
    m_trace = setup->trace;
    m_events = CEventReporter(setup->events);
    m_probeCancel = setup->probeCancel;
    return m_callback ? 1 : 0;
}

int CFfmpegEncoder::Setup(const ConversionJob* job)
{
    if (!job)
        return 0;
    try {
        m_errorFlag.store(0);
        m_lineFailure.clear();
        // The stop request is left alone: one made while this row is set up must end it.
        m_command = EncoderCommand{};
        m_lines.clear();
        m_outcome = RunOutcome{};
        // The batch copies the probed length in; a job converted without it still has one.
        m_progressDuration =
            job->progressDuration > 0 ? job->progressDuration : job->media.duration;

        // A profile the installed FFmpeg cannot make fails here, before any tool runs.
        if (job->profile && !job->profile->unavailable.isEmpty()) {
            if (m_trace)
                m_trace->write("Profile \"" + job->profile->name + "\" " +
                               job->profile->unavailable.toLocal8Bit() + "\r\n");
            return 0;
        }
        // The builder names the script exactly when the writer writes it.
        const QString script = m_writeFolder + m_scriptName;
        if (job->media.probedByDirectShow == 1 &&
            CAvsScriptWriter::writeScript(script, job->inputPath) == CAvsScriptWriter::Failed) {
            m_outcome.reason = QStringLiteral("the script could not be written: ") + script;
            if (m_trace)
                m_trace->write(m_outcome.reason.toLocal8Bit() + "\r\n");
            m_events.error(CEventReporter::format(CEventReporter::kLongTextBuffer,
                                                  "Module:%s,Line:%d,Unable to write %s", kModule,
                                                  kEventLineScriptFailed,
                                                  script.toLocal8Bit().constData()),
                           CEventReporter::kLongTextBuffer);
            return 0;
        }
        m_command = CEncoderCommandBuilder::forJob(m_appFolder, *job, job->outputPath, script);
        if (!job->settings.segments)
            m_command.environment << QLatin1String(EncoderToolContract::kSegmentsVariable) +
                                         QStringLiteral("=0");
        if (job->settings.processors > 0)
            m_command.environment << QLatin1String(EncoderToolContract::kProcessorsVariable) +
                                         QLatin1Char('=') +
                                         QString::number(job->settings.processors);
        m_events.information(CEncoderCommandBuilder::eventText(m_command).toLocal8Bit());
        return 1;
    } catch (const std::exception& e) {
        return failSetup(e.what());
    } catch (...) {
        return failSetup(CEventReporter::kUnknownException);
    }
}

int CFfmpegEncoder::failSetup(const char* what)
{
    m_events.error(
        CEventReporter::format(CEventReporter::kTextBuffer,
                               "Module:%s,Line:%d,Unable to get output video convert interface: %s",
                               kModule, kEventLineSetupFailed, what));
    m_outcome.reason =
        QStringLiteral("the conversion could not be set up: ") + QString::fromLocal8Bit(what);
    return 0;
}

int CFfmpegEncoder::Run(const QString& /*outputPath*/, int /*reservedValue*/)
{
    m_outcome = RunOutcome{};
    if (m_command.isEmpty()) {
        m_outcome.reason = QStringLiteral("the encoder tool's command line could not be made");
        return 0;
    }
    try {
        if (!m_runner.Run(m_command, this, 0, m_trace, m_events.log())) {
            // The tool starts in the output folder, so a folder that could not be made stops it.
            const QString folder = m_command.workingFolder;
            m_outcome.reason =
                !folder.isEmpty() && !QFileInfo(folder).isDir()
                    ? QStringLiteral("the output folder could not be made: ") + folder
                    : QStringLiteral("the encoder tool could not be started: ") + m_command.program;
            return 0;
        }
        const CEncoderProcess::End& end = m_runner.lastEnd();
        m_outcome.stopped = end.stopped;
        if (m_errorFlag.load() != 0) {
            m_outcome.reason =
                QStringLiteral("a line of the encoder tool could not be handled: ") + m_lineFailure;
            return 0;
        }
        m_outcome.reason = failureOf(end);
        if (m_outcome.reason.isEmpty())
            return 1;
        // The tool's own lines may say nothing (a killed tool says nothing at all).
        if (m_trace)
            m_trace->write("\r\nConversion failed: " + m_outcome.reason.toLocal8Bit() + "\r\n");
        return 0;
    } catch (...) {
        const QByteArray what = CEventReporter::exceptionText(std::current_exception());
        m_outcome.reason =
            QStringLiteral("the encoder tool could not be run: ") + QString::fromLocal8Bit(what);
        m_events.error(CEventReporter::format(CEventReporter::kTextBuffer,
                                              "Module:%s,Line:%d,Run raise exception: %s", kModule,
                                              kEventLineRunException, what.constData()));
        return 0;
    }
}

QString CFfmpegEncoder::failureOf(const CEncoderProcess::End& end) const
{
    // After a Stop the tool may end any way it likes: the row is stopped, not failed.
    if (end.stopped)
        return QString();
    if (end.crashed)
        return QStringLiteral("the encoder tool ended abnormally (killed or crashed, code %1)")
            .arg(end.exitCode);
    if (end.exitCode == 0)
        return QString();
    const QString said = m_lines.reason();
    return said.isEmpty()
               ? QStringLiteral("the encoder tool failed with exit code %1").arg(end.exitCode)
               : said;
}

int CFfmpegEncoder::Stop()
{
    m_runner.RequestStop();
    return 1;
}

void CFfmpegEncoder::ClearStop()
{
    m_runner.ClearStopRequest();
}

void CFfmpegEncoder::setInformationLimits(int replyMs, int exitMs)
{
    m_infoReplyMs = replyMs;
    m_infoExitMs = exitMs;
}

int CFfmpegEncoder::Probe(const QString& path, ConversionJob* job)
{
    if (!job || path.isEmpty())
        return 0;
    MediaInfo& media = job->media;
    const EncoderCommand info = CEncoderCommandBuilder::information(m_appFolder, path);
    // The tool step reads into the job's frame size and stream flags as the detector left them.
    auto askTool = [&](CToolInformationProbe::Reply& reply) {
        reply.width = media.width;
        reply.height = media.height;
        reply.hasVideo = media.hasVideo;
        reply.hasAudio = media.hasAudio;
        const bool ok = CToolInformationProbe::run(info.program, info.arguments, reply,
                                                   m_infoReplyMs, m_infoExitMs, m_probeCancel);
        media.width = reply.width;
        media.height = reply.height;
        media.hasVideo = reply.hasVideo;
        media.hasAudio = reply.hasAudio;
        return ok;
    };

    try {
        CMediaDetector::detect(path, media);
        if (media.duration > 0 && media.width > 0 && media.height > 0) {
            media.probedByDirectShow = 1;
            media.duration += 1.0;
            return 1;
        }
        CToolInformationProbe::Reply reply;
        if (!askTool(reply))
            return 0;
        media.probedByDirectShow = 0;
        media.duration = reply.duration + 1.0;
        return 1;
    } catch (...) {
        reportProbeException(path, std::current_exception());
    }
    try {
        CToolInformationProbe::Reply reply;
        if (askTool(reply)) {
            media.probedByDirectShow = 0;
            media.duration = reply.duration;
            return 1;
        }
    } catch (...) {
        reportProbeException(path, std::current_exception());
    }
    m_events.error(CEventReporter::format(CEventReporter::kTextBuffer,
                                          "Module:%x,bGetMediaFileContent raise exception",
                                          kModuleNumber));
    return 0;
}

int CFfmpegEncoder::Event(int code, qint64 /*value*/, const QByteArray& text, int /*userValue*/)
{
    if (code == LineComplete && !text.isEmpty())
        handleLine(text);
    return m_errorFlag.load() == 0 ? 1 : 0;
}

void CFfmpegEncoder::handleLine(const QByteArray& line)
{
    try {
        // The tool's verdict is no complaint: it is kept with the outcome, not reported.
        if (std::optional<QualityVerdict> verdict = QualityVerdict::fromToolLine(line)) {
            m_outcome.verdict = std::move(*verdict);
            return;
        }
        char buffer[kLineBuffer] = {};
        std::memcpy(buffer, line.constData(),
                    size_t(qMin<qsizetype>(line.size(), kLineBuffer - 1)));
        // The whole seconds after "time=" are read without overflow (strtoll saturates), so
        // absurd times still give a percentage in 1..100.
        int timeAt = -1;
        std::sscanf(buffer, EncoderToolContract::kProgressScan, &timeAt);
        char* end = nullptr;
        const long long seconds = timeAt >= 0 ? std::strtoll(buffer + timeAt, &end, 10) : 0;
        if (timeAt < 0 || end == buffer + timeAt) {
            m_lines.note(line);
            static const QByteArray crop = QByteArray("encode: ") + EncoderToolContract::kCropFound;
            if (line.startsWith(crop))
                m_outcome.cropFound = QString::fromLocal8Bit(line.mid(crop.size())).trimmed();
            reportLine(buffer);
            return;
        }
        const double share =
            m_progressDuration > 0 ? double(seconds) / m_progressDuration * 100.0 : 0.0;
        // Past the end is as good as finished: 100, never back to 1.
        const int percent = share >= 100.0 ? 100 : share >= 1.0 ? int(share) : 1;
        if (m_timeCallback)
            m_timeCallback(double(seconds), m_context);
        if (m_callback)
            m_callback(percent, m_context);
        if (share >= 100.0)
            reportLine(buffer);
    } catch (const std::exception& e) {
        failLine(line, e.what());
    } catch (...) {
        failLine(line, CEventReporter::kUnknownException);
    }
}

void CFfmpegEncoder::failLine(const QByteArray& line, const char* what)
{
    m_errorFlag.store(1);
    m_lineFailure = QString::fromLocal8Bit(what);
    reportLine(line + " (" + what + ")");
}

void CFfmpegEncoder::reportLine(const QByteArray& line)
{
    m_events.error(CEventReporter::format(CEventReporter::kTextBuffer,
                                          "Module:%x,Line:%s,Error Info :%s", kModuleNumber,
                                          "PostMessage", line.constData()));
}

void CFfmpegEncoder::reportProbeException(const QString& path, std::exception_ptr raised)
{
    m_events.error(CEventReporter::format(CEventReporter::kLongTextBuffer,
                                          "Module:%s,Line:%d,Probe of %s raise %s", kModule,
                                          kEventLineProbeException, path.toLocal8Bit().constData(),
                                          CEventReporter::exceptionText(raised).constData()),
                   CEventReporter::kLongTextBuffer);
}
