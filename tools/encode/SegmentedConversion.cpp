#include "SegmentedConversion.h"

#include "ChildLifetime.h"
#include "SegmentCommands.h"
#include "SegmentManifest.h"
#include "StdinWatcher.h"
#include "ToolSays.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kPollMs = 50;
constexpr int kKeptLogLines = 8;

// ffmpeg's word for every option a lane leaves to the other streams: noise in a reason.
bool isNoise(const QByteArray& line)
{
    return line.contains("has not been used for any stream") || line.trimmed().isEmpty();
}

} // namespace

SegmentedConversion::SegmentedConversion(StdinWatcher& watcher, ChildLifetime& lifetime,
                                         Setup setup, QObject* parent)
    : QObject(parent), m_watcher(watcher), m_lifetime(lifetime), m_setup(std::move(setup))
{
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &SegmentedConversion::pollStop);
}

SegmentedConversion::~SegmentedConversion()
{
    endAll();
}

int SegmentedConversion::run()
{
    const SegmentPlan& plan = m_setup.manifest->plan();
    const int count = plan.count();
    for (int i = 0; i < count; ++i) {
        if (m_setup.manifest->isDone(i))
            ToolSays::line(QStringLiteral("encode: segment %1 of %2 kept from an earlier run")
                               .arg(i + 1)
                               .arg(count));
        else
            m_queue << i;
    }
    m_doneSeconds = m_setup.manifest->doneSeconds();
    report();
    m_poll.start();
    if (m_setup.rest) {
        m_lanes.push_back(std::make_unique<Lane>());
        const QString file = QDir(m_setup.manifest->folder())
                                 .filePath(QStringLiteral("rest") + m_setup.commands->extension());
        start(*m_lanes.back(), kRest, QStringLiteral("the other streams"),
              m_setup.commands->rest(file));
    }
    startSegments();
    while (m_running > 0)
        m_loop.exec();
    m_poll.stop();
    if (m_stopped) {
        int kept = 0;
        for (int i = 0; i < count; ++i)
            kept += m_setup.manifest->isDone(i) ? 1 : 0;
        ToolSays::line(
            QStringLiteral("encode: stopped; %1 of %2 segments are kept for the next run")
                .arg(kept)
                .arg(count));
        return 1;
    }
    if (!m_failure.isEmpty()) {
        ToolSays::line(m_failure);
        return m_failureCode != 0 ? m_failureCode : 1;
    }
    return join();
}

void SegmentedConversion::startSegments()
{
    const int lanes = std::max(1, m_setup.lanes.lanes);
    int videoLanes = 0;
    for (const auto& lane : m_lanes)
        videoLanes += lane->segment != kRest && lane->process ? 1 : 0;
    while (videoLanes < lanes && !m_queue.isEmpty() && !m_stopped && m_failure.isEmpty()) {
        const int i = m_queue.takeFirst();
        m_lanes.push_back(std::make_unique<Lane>());
        start(*m_lanes.back(), i, segmentName(i),
              m_setup.commands->segment(m_setup.manifest->plan(), i, m_setup.manifest->partFile(i),
                                        m_setup.lanes.threads));
        ++videoLanes;
    }
}

QString SegmentedConversion::segmentName(int i) const
{
    return QStringLiteral("segment %1 of %2").arg(i + 1).arg(m_setup.manifest->plan().count());
}

void SegmentedConversion::start(Lane& lane, int segment, const QString& what,
                                const QStringList& arguments)
{
    lane.segment = segment;
    lane.name = what;
    lane.process = std::make_unique<QProcess>();
    QProcess& process = *lane.process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    m_lifetime.bind(process);
    ToolSays::line(
        QStringLiteral("encode: %1: %2")
            .arg(what, SegmentCommands::displayText(m_setup.ffmpeg, m_setup.control + arguments)));
    connect(&process, &QProcess::readyReadStandardOutput, this, [this, &lane] {
        lane.out.feed(lane.process->readAllStandardOutput(), [&](const QByteArray& line) {
            if (lane.progress.feed(line) && lane.segment != kRest)
                report();
        });
    });
    connect(&process, &QProcess::readyReadStandardError, this, [&lane] {
        lane.err.feed(lane.process->readAllStandardError(), [&](const QByteArray& line) {
            if (isNoise(line))
                return;
            lane.log << QString::fromLocal8Bit(line).trimmed();
            if (lane.log.size() > kKeptLogLines)
                lane.log.removeFirst();
        });
    });
    connect(&process, &QProcess::finished, this, [this, &lane] { ended(lane); });
    connect(&process, &QProcess::errorOccurred, this, [this, &lane](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            ended(lane);
    });
    ++m_running;
    process.start(m_setup.ffmpeg, m_setup.control + arguments);
}

void SegmentedConversion::ended(Lane& lane)
{
    --m_running;
    QProcess& process = *lane.process;
    const int segment = lane.segment;
    const bool good = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    const QString& what = lane.name;
    if (!m_stopped && m_failure.isEmpty()) {
        QString why;
        if (!good) {
            const QString reason = lane.log.isEmpty() ? process.errorString() : lane.log.last();
            m_failureCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : 1;
            fail(QStringLiteral("encode: %1 failed: %2").arg(what, reason));
        } else if (segment != kRest && (!m_setup.check(m_setup.manifest->partFile(segment)) ||
                                        !m_setup.manifest->finish(segment, why))) {
            fail(QStringLiteral("encode: %1 failed: %2")
                     .arg(what,
                          why.isEmpty() ? QStringLiteral("its file does not read back") : why));
        } else if (segment != kRest) {
            const SegmentPlan& plan = m_setup.manifest->plan();
            m_doneSeconds +=
                (plan.end(segment) > 0 ? plan.end(segment) : plan.duration) - plan.start(segment);
        }
    }
    // A segment cut short is never taken for finished.
    if (segment != kRest && !m_setup.manifest->isDone(segment))
        QFile::remove(m_setup.manifest->partFile(segment));
    process.disconnect(this);
    lane.process.release()->deleteLater();
    report();
    startSegments();
    m_loop.quit();
}

void SegmentedConversion::fail(const QString& reason)
{
    m_failure = reason;
    endAll();
}

void SegmentedConversion::pollStop()
{
    if (m_stopped || !m_watcher.stopRequested())
        return;
    m_stopped = true;
    m_queue.clear();
    endAll();
}

// Ends every process still running; their parts are removed as they end.
void SegmentedConversion::endAll()
{
    for (const auto& lane : m_lanes)
        if (lane->process && lane->process->state() != QProcess::NotRunning)
            lane->process->kill();
}

void SegmentedConversion::report()
{
    ProgressLineWriter::Figures sum;
    sum.seconds = m_doneSeconds;
    const SegmentPlan& plan = m_setup.manifest->plan();
    for (const auto& lane : m_lanes) {
        if (!lane->process || lane->segment == kRest)
            continue;
        const ProgressLineWriter::Figures& f = lane->progress.figures();
        const double length =
            (plan.end(lane->segment) > 0 ? plan.end(lane->segment) : plan.duration) -
            plan.start(lane->segment);
        sum.seconds += std::clamp(f.seconds, 0.0, length);
        sum.frame += f.frame;
        sum.fps += f.fps;
        sum.sizeBytes += f.sizeBytes;
        sum.quality = std::max(sum.quality, f.quality);
        sum.kbitsPerSecond += f.kbitsPerSecond;
    }
    if (sum.seconds <= m_reported)
        return;
    m_reported = sum.seconds;
    const QByteArray line = ProgressLineWriter::format(sum);
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

int SegmentedConversion::join()
{
    SegmentManifest& manifest = *m_setup.manifest;
    const SegmentPlan& plan = manifest.plan();
    QStringList files;
    for (int i = 0; i < plan.count(); ++i)
        files << QFileInfo(manifest.segmentFile(i)).fileName();
    const QString list = QDir(manifest.folder()).filePath(QStringLiteral("segments.ffconcat"));
    QFile listFile(list);
    if (!listFile.open(QIODevice::WriteOnly) ||
        listFile.write(SegmentCommands::concatList(plan, files)) < 0 || !listFile.flush()) {
        ToolSays::line(QStringLiteral("encode: cannot write the segment list \"%1\"").arg(list));
        return 1;
    }
    listFile.close();
    const QString rest = m_setup.rest
                             ? QDir(manifest.folder())
                                   .filePath(QStringLiteral("rest") + m_setup.commands->extension())
                             : QString();
    m_lanes.clear();
    m_lanes.push_back(std::make_unique<Lane>());
    Lane& lane = *m_lanes.back();
    m_poll.start();
    m_joinStarted = true;
    start(lane, kRest, QStringLiteral("the join"), m_setup.commands->join(list, rest));
    while (m_running > 0)
        m_loop.exec();
    m_poll.stop();
    if (m_stopped)
        return 1;
    if (!m_failure.isEmpty()) {
        ToolSays::line(m_failure);
        return m_failureCode != 0 ? m_failureCode : 1;
    }
    return 0;
}
