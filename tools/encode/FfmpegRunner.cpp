#include "FfmpegRunner.h"

#include "StdinWatcher.h"

#include <QEventLoop>

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

// Hands each complete line of `pending` to `take`, keeping the unfinished rest.
template <typename Take> void splitLines(QByteArray& pending, Take take)
{
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = pending.indexOf('\n', start);
        if (end < 0)
            break;
        qsizetype stop = end;
        if (stop > start && pending.at(stop - 1) == '\r')
            --stop;
        take(pending.mid(start, stop - start));
        start = end + 1;
    }
    pending.remove(0, start);
}

} // namespace

FfmpegRunner::FfmpegRunner(StdinWatcher& watcher, QObject* parent)
    : QObject(parent), m_watcher(watcher)
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
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

int FfmpegRunner::run(const QString& program, const QStringList& arguments)
{
    QEventLoop loop;
    connect(&m_process, &QProcess::finished, &loop, &QEventLoop::quit);
    m_process.start(program, arguments);
    if (!m_process.waitForStarted(-1)) {
        writeLog(QStringLiteral("encode: cannot start ffmpeg \"%1\": %2")
                     .arg(program, m_process.errorString())
                     .toLocal8Bit());
        return 1;
    }
    m_poll.start();
    if (m_process.state() != QProcess::NotRunning)
        loop.exec();
    m_poll.stop();

    readProgress();
    readLog();
    finishLines();
    if (m_process.exitStatus() != QProcess::NormalExit && !m_stopSent) {
        writeLog("encode: ffmpeg ended abnormally");
        return 1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : 1;
}

void FfmpegRunner::readProgress()
{
    m_progressPending += m_process.readAllStandardOutput();
    splitLines(m_progressPending, [this](const QByteArray& line) {
        if (m_progress.feed(line)) {
            m_sawBlock = true;
            writeOut(m_progress.line());
        }
    });
}

void FfmpegRunner::readLog()
{
    m_logPending += m_process.readAllStandardError();
    splitLines(m_logPending, [](const QByteArray& line) {
        if (!line.trimmed().isEmpty() && !isNoise(line))
            writeLog(line);
    });
}

// Output cut short: the last unfinished log line, and a closing progress line when ffmpeg
// ended without its final block.
void FfmpegRunner::finishLines()
{
    if (!m_logPending.trimmed().isEmpty() && !isNoise(m_logPending))
        writeLog(m_logPending.trimmed());
    m_logPending.clear();
    if (!m_progressPending.isEmpty() && m_progress.feed(m_progressPending))
        writeOut(m_progress.line());
    m_progressPending.clear();
    if (m_sawBlock && !m_progress.ended() && m_progress.feed("progress=end"))
        writeOut(m_progress.line());
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
    const int grace = kStopGraceSeconds * 1000 / kPollMs;
    if (m_stopTicks == grace)
        m_process.terminate(); // ffmpeg still closes its file on this signal
    else if (m_stopTicks == 2 * grace)
        m_process.kill();
}
