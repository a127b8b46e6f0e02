#include "FfmpegRunner.h"

#include "ChildLifetime.h"
#include "LineSplitter.h"
#include "StdinWatcher.h"

#include <cstdio>

namespace {

constexpr int kPollMs = 50;

void writeOut(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void writeLog(const QByteArray& line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

// ffmpeg warnings that say nothing to someone reading the log after a failure: every JPEG
// picture ("yuvj" pixel formats) triggers this one, once per scaler thread.
bool isNoise(const QByteArray& line)
{
    return line.contains("deprecated pixel format used, make sure you did set range correctly");
}

} // namespace

FfmpegRunner::FfmpegRunner(StdinWatcher& watcher, ChildLifetime& lifetime, QObject* parent)
    : QObject(parent), m_watcher(watcher)
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    lifetime.bind(m_process);
    connect(&m_process, &QProcess::finished, &m_loop, &QEventLoop::quit);
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &FfmpegRunner::readProgress);
    connect(&m_process, &QProcess::readyReadStandardError, this, &FfmpegRunner::readLog);
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &FfmpegRunner::pollStop);
}

QStringList FfmpegRunner::controlArguments()
{
    return {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("warning"),
            QStringLiteral("-nostats"),     QStringLiteral("-progress"), QStringLiteral("pipe:1")};
}

int FfmpegRunner::run(const QString& program, const QStringList& arguments, bool provisional)
{
    m_program = program;
    m_settled = !provisional;
    if (!start(arguments))
        return 1;
    m_poll.start();
    // Everything that ends the wait (ffmpeg's end, the settling of the arguments) happens
    // while the loop runs.
    while (!m_abandoned && (m_process.state() != QProcess::NotRunning || !m_settled))
        m_loop.exec();
    m_poll.stop();
    if (m_abandoned)
        return 1;

    readProgress();
    readLog();
    finishLines();
    if (m_process.exitStatus() != QProcess::NormalExit && !m_stopSent) {
        writeLog("encode: ffmpeg ended abnormally");
        return 1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : 1;
}

bool FfmpegRunner::start(const QStringList& arguments)
{
    m_process.start(m_program, arguments);
    if (m_process.waitForStarted(-1))
        return true;
    writeLog(QStringLiteral("encode: cannot start ffmpeg \"%1\": %2")
                 .arg(m_program, m_process.errorString())
                 .toLocal8Bit());
    return false;
}

void FfmpegRunner::confirm()
{
    m_settled = true;
    for (const auto& [progress, bytes] : std::as_const(m_held))
        progress ? writeOut(bytes) : writeLog(bytes);
    m_held.clear();
    m_loop.quit();
}

void FfmpegRunner::restart(const QStringList& arguments)
{
    if (m_stopSent) {
        confirm();
        return;
    }
    endUnheard();
    m_settled = true;
    if (!start(arguments))
        m_abandoned = true;
    m_loop.quit();
}

void FfmpegRunner::abandon()
{
    endUnheard();
    m_abandoned = true;
    m_loop.quit();
}

// Ends the provisional ffmpeg and forgets all it said.
void FfmpegRunner::endUnheard()
{
    m_process.kill();
    m_process.waitForFinished(-1);
    m_process.readAllStandardOutput();
    m_process.readAllStandardError();
    m_held.clear();
    m_progressLines.clear();
    m_logLines.clear();
    m_progress = ProgressLineWriter();
    m_sawBlock = false;
}

void FfmpegRunner::passOut(const QByteArray& bytes)
{
    if (m_settled)
        writeOut(bytes);
    else
        m_held.append({true, bytes});
}

void FfmpegRunner::passLog(const QByteArray& line)
{
    if (m_settled)
        writeLog(line);
    else
        m_held.append({false, line});
}

void FfmpegRunner::readProgress()
{
    m_progressLines.feed(m_process.readAllStandardOutput(), [this](const QByteArray& line) {
        if (m_progress.feed(line)) {
            m_sawBlock = true;
            passOut(progressLine());
        }
    });
}

QByteArray FfmpegRunner::progressLine() const
{
    if (m_timeOffset == 0 && m_timeFactor == 1)
        return m_progress.line();
    ProgressLineWriter::Figures figures = m_progress.figures();
    figures.seconds = m_timeOffset + figures.seconds * m_timeFactor;
    return ProgressLineWriter::format(figures);
}

void FfmpegRunner::readLog()
{
    m_logLines.feed(m_process.readAllStandardError(), [this](const QByteArray& line) {
        if (!line.trimmed().isEmpty() && !isNoise(line))
            passLog(line);
    });
}

// Output cut short: the last unfinished log line, and a closing progress line when ffmpeg
// ended without its final block.
void FfmpegRunner::finishLines()
{
    const QByteArray log = m_logLines.takeRest().trimmed();
    if (!log.isEmpty() && !isNoise(log))
        writeLog(log);
    const QByteArray progress = m_progressLines.takeRest();
    if (!progress.isEmpty() && m_progress.feed(progress))
        writeOut(progressLine());
    if (m_sawBlock && !m_progress.ended() && m_progress.feed("progress=end"))
        writeOut(progressLine());
}

void FfmpegRunner::pollStop()
{
    if (m_process.state() != QProcess::Running)
        return;
    if (!m_stopSent) {
        if (!m_watcher.stopRequested())
            return;
        m_stopSent = true;
        m_process.write("q");
        return;
    }
    ++m_stopTicks;
    const int grace = kStopGraceMs / kPollMs;
    if (m_stopTicks == grace)
        m_process.terminate(); // ffmpeg still closes its file on this signal
    else if (m_stopTicks == 2 * grace)
        m_process.kill();
}
