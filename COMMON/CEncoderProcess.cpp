#include "CEncoderProcess.h"

#include "CEventReporter.h"
#include "CMediaEncoder.h"
#include "CTraceLog.h"
#include "ChildPriority.h"
#include "EncoderToolContract.h"
#include "LineSplitter.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>

namespace {

constexpr int kReadSize = 1024;
constexpr int kPollMs = 50; // how soon a stop request is seen while the tool is silent

} // namespace

bool CEncoderProcess::Run(const EncoderCommand& command, CMediaEncoder* sink, int userValue,
                          CTraceLog* trace, EventLog* events)
{
    auto send = [&](int code, qint64 value, const QByteArray& text = QByteArray()) {
        if (sink)
            sink->Event(code, value, text, userValue);
    };
    auto deliver = [&](const QByteArray& line) {
        if (trace)
            trace->write(line);
        send(CMediaEncoder::LineComplete, 0, line);
    };

    // The command line goes to the trace first, so that a tool that cannot start is on record.
    if (trace)
        trace->write(command.text.toLocal8Bit() + "\r\n");
    m_end = End{};
    // Stopped before it started: starting it only to send "q" would leave a stub of a file.
    if (m_stopRequested.load()) {
        send(CMediaEncoder::StopRequested, 0);
        m_end.stopped = true;
        return true;
    }

    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    if (!command.workingFolder.isEmpty())
        tool.setWorkingDirectory(command.workingFolder);
    if (!command.environment.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& entry : command.environment)
            environment.insert(entry.section(QLatin1Char('='), 0, 0),
                               entry.section(QLatin1Char('='), 1));
        tool.setProcessEnvironment(environment);
    }
    ChildPriority::startAtNormalPriority(tool);
    tool.start(command.program, command.arguments);
    if (!tool.waitForStarted(-1)) {
        send(CMediaEncoder::RunOver, kStartFailedCode);
        return false;
    }
    send(CMediaEncoder::ToolStarted, tool.processId());

    LineSplitter lines;
    const bool stopped =
        ReadUntilEnd(tool, lines, deliver, [&] { send(CMediaEncoder::StopRequested, 0); });

    const QByteArray last = lines.takeRest();
    if (!last.isEmpty())
        deliver(last);
    // A crash or a normal exit both close the pipe; only a failing read is worth an event.
    if (tool.error() == QProcess::ReadError && !last.isEmpty()) {
        CEventReporter(events).error(CEventReporter::format(CEventReporter::kLongTextBuffer,
                                                            "Module:%s,Line:%s,Error Info :%s",
                                                            "CFFMPEGENCODER", "PostMessage",
                                                            last.constData()),
                                     CEventReporter::kLongTextBuffer);
    }
    const int resultCode = tool.error() == QProcess::ReadError ? int(QProcess::ReadError) + 1 : 0;
    tool.waitForFinished(-1);

    m_end.stopped = stopped;
    m_end.crashed = tool.exitStatus() == QProcess::CrashExit;
    m_end.exitCode = tool.exitCode();
    if (!stopped)
        send(CMediaEncoder::RunOver, resultCode);
    return true;
}

bool CEncoderProcess::ReadUntilEnd(QProcess& tool, LineSplitter& lines,
                                   const std::function<void(const QByteArray&)>& deliver,
                                   const std::function<void()>& stopSent)
{
    bool stopped = false;
    bool ended = false;
    QDeadlineTimer grace;
    char buffer[kReadSize + 1];
    for (;;) {
        // A tool that has already ended finished its file: a late request does not cut it.
        if (!stopped && m_stopRequested.load() && tool.state() != QProcess::NotRunning) {
            tool.write(EncoderToolContract::kStopRequest, EncoderToolContract::kStopRequestSize);
            tool.waitForBytesWritten(1000);
            stopSent();
            stopped = true;
            grace.setRemainingTime(m_stopGraceMs);
        }
        // A tool that ignores the request must not hold the batch forever.
        if (stopped && !ended && grace.hasExpired() && tool.state() != QProcess::NotRunning) {
            tool.kill();
            ended = true;
        }
        if (tool.bytesAvailable() == 0) {
            if (tool.state() == QProcess::NotRunning)
                break;
            tool.waitForReadyRead(kPollMs);
            continue;
        }
        const qint64 got = tool.read(buffer, kReadSize);
        if (got <= 0)
            break;
        buffer[got] = '\0';
        lines.feed(buffer, got, deliver);
    }
    return stopped;
}
