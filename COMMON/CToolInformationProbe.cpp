#include "CToolInformationProbe.h"

#include "ChildPriority.h"
#include "EncoderToolContract.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <cstdio>

namespace {

constexpr int kReadSize = 100;

// Scans one read from its first byte; a partial match stores the leading fields only.
void scanReply(const char* bytes, CToolInformationProbe::Reply& reply)
{
    std::sscanf(bytes, EncoderToolContract::kInfoReply, &reply.duration, &reply.width,
                &reply.height, &reply.hasVideo, &reply.hasAudio);
}

} // namespace

bool CToolInformationProbe::run(const QString& program, const QStringList& arguments, Reply& reply,
                                int replyMs, int exitMs, const std::atomic<bool>* cancel)
{
    const auto cancelled = [cancel] { return cancel && cancel->load(); };
    // Without a cancel flag a wait takes its whole time at once.
    const auto slice = [cancel](const QDeadlineTimer& deadline) {
        qint64 left = deadline.isForever() ? -1 : qMax<qint64>(1, deadline.remainingTime());
        if (cancel && (left < 0 || left > kCancelCheckMs))
            left = kCancelCheckMs;
        return int(left);
    };
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.setStandardInputFile(QProcess::nullDevice());
    ChildPriority::startAtNormalPriority(tool);
    tool.start(program, arguments, QIODevice::ReadOnly);
    if (tool.waitForStarted(-1)) {
        const QDeadlineTimer replyDeadline(replyMs);
        while (reply.duration <= 0 && !cancelled()) {
            if (tool.bytesAvailable() == 0) {
                // Ended with nothing more to read, or silent for too long.
                if (tool.state() == QProcess::NotRunning || replyDeadline.hasExpired())
                    break;
                tool.waitForReadyRead(slice(replyDeadline));
                continue;
            }
            char buffer[kReadSize + 1] = {};
            const qint64 got = tool.read(buffer, kReadSize);
            if (got <= 0)
                break;
            buffer[got] = '\0';
            scanReply(buffer, reply);
        }
        // The answer is in: give the tool a moment to end by itself, then end it.
        const QDeadlineTimer exitDeadline(exitMs);
        while (tool.state() != QProcess::NotRunning && !cancelled() && !exitDeadline.hasExpired())
            tool.waitForFinished(slice(exitDeadline));
        if (tool.state() != QProcess::NotRunning) {
            tool.kill();
            tool.waitForFinished(-1);
        }
    }
    if (cancelled())
        return false;

    if (reply.duration == 0 && reply.hasVideo == 1 && reply.width > 0 && reply.height > 0)
        reply.duration = EncoderToolContract::kStillPictureSeconds;
    return reply.duration > 0;
}
