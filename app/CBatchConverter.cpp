#include "CBatchConverter.h"

#include "BatchRows.h"
#include "BatchUser.h"
#include "CConversionClock.h"
#include "CTraceLog.h"
#include "ConversionJob.h"
#include "EncoderSetup.h"
#include "JobPreparation.h"
#include "KeepSourceDate.h"
#include "OutputFolder.h"
#include "OutputNaming.h"
#include "Preferences.h"
#include "RowCommand.h"
#include "SameCodecSkip.h"
#include "SegmentWorkFolder.h"
#include "ShutdownComputer.h"
#include "ThreadPriority.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QThread>

#include <algorithm>

#ifndef TOVEL_SUPPORT_ADDRESS
#define TOVEL_SUPPORT_ADDRESS "support@tovel.example.org"
#endif

namespace {

const char kNoSelection[] = "There is no selected file in list! ";
const char kStopQuestion[] = "  Stop the video convert operation?   ";
const char kRestart[] = "Encounter a problem,please Restart !!!";
const char kAccomplished[] = "    Mission accomplished!        ";
const char kWarning[] = "Warning";

// A conversion by the tool counts only when it left a non-empty regular file.
bool resultFileIsGood(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isFile() && info.size() > 0;
}

// Output names compare as the most forgiving file system would: case and spelling of the path.
QString nameKey(const QString& path)
{
    return QDir::cleanPath(path).toCaseFolded();
}

} // namespace

// One engine with the row it converts. The first lane's controller and setup are the caller's.
// Threads: row and clock belong to the worker running the lane; the engine's callbacks read
// them on that worker (or, for the producer, on its own thread while the worker waits).
struct CBatchConverter::Lane
{
    CBatchConverter* batch = nullptr;
    CQuentaMediaCntl* controller = nullptr;
    EncoderSetup* setup = nullptr;
    std::unique_ptr<EncoderSetup> ownSetup;
    std::unique_ptr<CQuentaMediaCntl> ownController;
    std::atomic<int> row{-1};
    CConversionClock clock;
};

CBatchConverter::CBatchConverter(CQuentaMediaCntl& controller, EncoderSetup& setup, BatchRows& rows,
                                 BatchUser& user)
    : m_setup(setup), m_rows(rows), m_user(user), m_shutdown(&ShutdownComputer)
{
    auto lane = std::make_unique<Lane>();
    lane->batch = this;
    lane->controller = &controller;
    lane->setup = &setup;
    m_setup.callback = &CBatchConverter::OnProgress;
    m_setup.timeCallback = &CBatchConverter::OnProgressTime;
    m_setup.context = lane.get();
    m_lanes.push_back(std::move(lane));
}

CBatchConverter::~CBatchConverter()
{
    Wait();
}

bool CBatchConverter::setJobs(int jobs, CQuentaMediaCntl::EncoderFactory factory)
{
    if (m_running.load() || jobs < 1)
        return false;
    m_jobsProblem.clear();
    m_lanes.resize(1);
    for (int i = 1; i < jobs; ++i) {
        auto lane = std::make_unique<Lane>();
        lane->batch = this;
        lane->ownSetup = std::make_unique<EncoderSetup>(m_setup);
        lane->ownSetup->kind = EncoderKind::FfmpegTool;
        lane->ownSetup->context = lane.get();
        // Each engine writes its script fallback under a name of its own.
        lane->ownSetup->scriptName = QStringLiteral("edit-%1.avs").arg(i);
        lane->ownController = std::make_unique<CQuentaMediaCntl>(factory);
        if (lane->ownController->Init(lane->ownSetup.get()) != 1) {
            m_jobsProblem = lane->ownController->initProblem();
            m_lanes.resize(1);
            return false;
        }
        lane->controller = lane->ownController.get();
        lane->setup = lane->ownSetup.get();
        m_lanes.push_back(std::move(lane));
    }
    return true;
}

CBatchConverter::StartResult CBatchConverter::StartConvert()
{
    if (m_running.load())
        return Busy;
    const int count = m_rows.rowCount();
    if (count == 0) {
        // An empty list is told as a list with nothing checked is, not met with silence.
        m_user.showMessage(QString::fromLatin1(kNoSelection), QString::fromLatin1(kWarning),
                           BatchUser::Exclamation);
        return NoRows;
    }
    for (int row = 0; row < count; ++row) {
        if (!m_rows.isChecked(row))
            continue;
        bool idle = false;
        // One batch at a time, even when Encode comes twice before the worker disables it.
        if (!m_running.compare_exchange_strong(idle, true))
            return Busy;
        if (m_worker.joinable())
            m_worker.join();
        // Cleared here rather than by the worker, so that a Stop pressed before the worker
        // gets going is not lost; the engines keep a request from now on until the next batch.
        m_stopRequested.store(0);
        m_pauseAsked.store(false);
        m_endedPaused.store(false);
        for (const auto& lane : m_lanes)
            lane->controller->ClearStop();
        m_user.stopPreview();
        // What the worker needs from the window is taken now, on this thread: the editor's
        // pending values go into the profiles, and the worker gets the output box text as a
        // copy. It never reads what the UI thread may be writing.
        m_user.writeBackSelectedProfile();
        int checked = 0;
        for (int r = 0; r < count; ++r)
            checked += m_rows.isChecked(r) ? 1 : 0;
        m_processorShare.store(
            std::max(1, QThread::idealThreadCount() / std::clamp(checked, 1, jobs())));
        m_worker = std::thread([this, box = m_user.outputBoxText()] {
            ThreadPriority::setCurrentThreadIdle();
            ConvertBatch(box);
            m_running.store(false);
            if (m_ended)
                m_ended();
        });
        return Started;
    }
    m_user.showMessage(QString::fromLatin1(kNoSelection), QString::fromLatin1(kWarning),
                       BatchUser::Exclamation);
    return NoneChecked;
}

void CBatchConverter::StopConvert()
{
    if (m_convState.load() == Converting &&
        !m_user.askYesNo(QString::fromLatin1(kStopQuestion), QString::fromLatin1(kWarning)))
        return;
    RequestStop();
}

void CBatchConverter::RequestStop()
{
    m_stopRequested.store(1);
    for (const auto& lane : m_lanes)
        lane->controller->Stop();
}

void CBatchConverter::Wait()
{
    if (m_worker.joinable() && m_worker.get_id() != std::this_thread::get_id())
        m_worker.join();
}

void CBatchConverter::OnProgress(int percent, void* context)
{
    if (!context)
        return;
    const Lane* lane = static_cast<const Lane*>(context);
    lane->batch->m_rows.updateProgress(lane->row.load(), percent);
}

void CBatchConverter::OnProgressTime(double seconds, void* context)
{
    if (!context)
        return;
    Lane* lane = static_cast<Lane*>(context);
    lane->batch->m_rows.updateTiming(lane->row.load(), lane->clock.progress(seconds));
}

QString CBatchConverter::OutputFolder() const
{
    QMutexLocker lock(&m_folderLock);
    return m_outputFolder;
}

QString CBatchConverter::FailureText() const
{
    // The file this run's trace is written to, wherever the program decided to keep it.
    const QString trace =
        m_setup.trace ? m_setup.trace->path() : m_setup.appFolder + QStringLiteral("trace.log");
    return QStringLiteral("Convert fail,please send the trace file:") + trace +
           QStringLiteral(" to ") + QStringLiteral(TOVEL_SUPPORT_ADDRESS);
}

QString CBatchConverter::FailureListText() const
{
    QMutexLocker lock(&m_failedLock);
    const QString head = m_failedRows.size() == 1
                             ? QStringLiteral("1 file failed:")
                             : QStringLiteral("%1 files failed:").arg(m_failedRows.size());
    return head + QLatin1Char('\n') + m_failedRows.join(QLatin1Char('\n')) +
           QStringLiteral("\n\n") + FailureText();
}

void CBatchConverter::ConvertBatch(const QString& box)
{
    m_failureSeen.store(0);
    m_engineFailed.store(0);
    m_goOn.store(m_keepGoing.load());
    {
        QMutexLocker lock(&m_failedLock);
        m_failedRows.clear();
        m_skippedRows.clear();
        m_lowQualityRows.clear();
    }
    m_user.stopPreview();

    const QString shown = RowCommand::BatchFolder(box);
    if (box.isEmpty())
        m_user.setOutputBoxText(shown);
    {
        QMutexLocker lock(&m_folderLock);
        m_outputFolder = shown;
    }
    // A folder the system cannot hold is refused whole: cut, it would name another folder.
    if (!OutputNaming::OutputFolderFits(shown))
        return RefuseBatch(QStringLiteral("The output folder is too long for this system: ") +
                           shown);
    // Every path handed on is absolute: the tool works in the output folder, not where the
    // program was started.
    const QString folder =
        QDir::isRelativePath(shown) ? QDir::current().absoluteFilePath(shown) : shown;
    // Said once, rather than as a failure of every row in turn.
    MakeOutputFolder(folder);
    if (!QFileInfo(folder).isDir())
        return RefuseBatch(QStringLiteral("The output folder cannot be created: ") + shown);

    m_user.enableControls(false);
    m_convState.store(Converting);

    {
        QMutexLocker lock(&m_walkLock);
        m_nextRow = 0;
        m_walkEnded = false;
        m_rowsLeftAtPause = false;
    }
    std::vector<std::thread> helpers;
    for (size_t i = 1; i < m_lanes.size(); ++i)
        helpers.emplace_back([this, &folder, lane = m_lanes[i].get()] {
            ThreadPriority::setCurrentThreadIdle();
            RunLane(*lane, folder);
        });
    RunLane(*m_lanes.front(), folder);
    for (std::thread& helper : helpers)
        helper.join();
    // With "go on" the failures are listed together at the end instead.
    if (m_failureSeen.load() && !m_goOn.load())
        m_user.showMessage(m_failureText, QString::fromLatin1(kWarning), BatchUser::Exclamation);
    EndBatch(m_engineFailed.load() ? Ending::Cut : Ending::Walked, shown);
}

void CBatchConverter::RefuseBatch(const QString& text)
{
    m_failureSeen.store(1);
    m_user.showMessage(text, QString::fromLatin1(kWarning), BatchUser::Exclamation);
    EndBatch(Ending::Cut, QString());
}

void CBatchConverter::EndBatch(Ending ending, const QString& shown)
{
    {
        QMutexLocker lock(&m_walkLock);
        m_endedPaused.store(ending == Ending::Walked && m_pauseAsked.load() && m_rowsLeftAtPause &&
                            m_stopRequested.load() == 0);
    }
    if (m_endedPaused.load())
        ending = Ending::Paused;
    m_convState.store(Finished);
    m_user.enableEncode();
    // A cut batch skips the rest, but the window must stay closable so that the user can
    // restart as asked.
    if (ending == Ending::Walked) {
        if (g_bShutdown.load() == 1 && m_shutdown)
            m_shutdown();
        // Success is said only when every row taken completed: after a Stop the list shows
        // rows cut short, which a summary of success would contradict.
        if (m_failureSeen.load() == 0 && m_stopRequested.load() == 0)
            m_user.showMessage(AccomplishedText(), QString(), BatchUser::Information);
        else if (m_goOn.load())
            m_user.showMessage(FailureListText(), QString::fromLatin1(kWarning),
                               BatchUser::Exclamation);
        // The box is locked during a batch, so it still shows the folder used.
        m_user.openOutputFolder(shown);
    }
    m_user.enableControls(true);
}

void CBatchConverter::RunLane(Lane& lane, const QString& folder)
{
    // A lane whose row failed ends here; the others see the failure before their next row.
    for (int row = ClaimRow(); row >= 0; row = ClaimRow()) {
        if (m_rowClaimed)
            m_rowClaimed(row);
        if (!ConvertRow(lane, row, folder))
            return;
    }
}

int CBatchConverter::ClaimRow()
{
    QMutexLocker lock(&m_walkLock);
    // The row count is read again for every row.
    while (!m_walkEnded && (m_failureSeen.load() == 0 || m_goOn.load()) &&
           m_engineFailed.load() == 0 && m_nextRow < m_rows.rowCount()) {
        const int row = m_nextRow++;
        if (!m_rows.isChecked(row))
            continue;
        if (m_stopRequested.load() == 1) {
            m_walkEnded = true;
            m_rows.setState(row, RowState::Abort);
            return -1;
        }
        // Left for a lane still converting, should the user resume before it ends.
        if (m_pauseAsked.load()) {
            --m_nextRow;
            m_rowsLeftAtPause = true;
            return -1;
        }
        return row;
    }
    return -1;
}

void CBatchConverter::setNamePattern(const OutputNamePattern& pattern)
{
    QMutexLocker lock(&m_nameLock);
    m_namePattern = pattern;
}

OutputNamePattern CBatchConverter::namePattern() const
{
    QMutexLocker lock(&m_nameLock);
    return m_namePattern;
}

QString CBatchConverter::ReserveOutputPath(const ConversionJob& job, int row, const QString& folder)
{
    QMutexLocker lock(&m_nameLock);
    const QString path = RowCommand::OutputPath(
        job, folder, g_bOverwrite.load() == 1,
        [this](const QString& p) { return m_namesInUse.contains(nameKey(p)); }, m_namePattern, row);
    if (!path.isEmpty())
        m_namesInUse.insert(nameKey(path));
    return path;
}

void CBatchConverter::ReleaseOutputPath(const QString& path)
{
    QMutexLocker lock(&m_nameLock);
    m_namesInUse.remove(nameKey(path));
}

bool CBatchConverter::ConvertRow(Lane& lane, int row, const QString& folder)
{
    lane.row.store(row);
    m_rows.setState(row, RowState::Converting);

    ConversionJob* job = m_rows.job(row);
    if (!job) {
        FailRow(row, FailureText(), QStringLiteral("the row has no job"));
        return m_goOn.load();
    }
    job->settings = ConversionSettings{};
    SettingsDefaults(job);
    // The rows converting at once share the processors.
    job->settings.segments = m_segments.load();
    job->settings.processors = m_processorShare.load();
    if (m_skipSameCodec.load()) {
        if (const QString why = SameCodecSkip::reason(*job); !why.isEmpty()) {
            SkipRow(row, why);
            return true;
        }
    }

    // Held until the row is judged, so that no row converting at the same time writes there.
    const QString output = ReserveOutputPath(*job, row, folder);
    const auto release = qScopeGuard([&] { ReleaseOutputPath(output); });
    if (!OutputNaming::OutputPathFits(output)) {
        job->outputPath.clear();
        FailRow(row, QStringLiteral("The output path is too long for this system: ") + output,
                QStringLiteral("the output path is too long for this system"));
        return m_goOn.load();
    }
    // A row from an added folder converts into its mirrored sub-folder, made here: the tool
    // writes only into a folder that is there.
    if (const QString into = QFileInfo(output).absolutePath();
        into != folder && !QDir().mkpath(into)) {
        job->outputPath.clear();
        FailRow(row, QStringLiteral("The output folder cannot be created: ") + into,
                QStringLiteral("the output sub-folder cannot be created: ") + into);
        return m_goOn.load();
    }
    job->outputPath = output;

    job->progressDuration = job->media.duration;
    Prepare(job, job->profile.get());

    if (!SwitchEngineFor(lane, *job)) {
        m_rows.setState(row, RowState::Fail);
        m_engineFailed.store(1);
        m_user.showMessage(QString::fromLatin1(kRestart), QStringLiteral("Error"), BatchUser::Stop);
        return false;
    }

    lane.clock.start(job->progressDuration);
    // Rows converting side by side write their trace lines as one block each.
    CTraceLog* const trace = m_lanes.size() > 1 ? m_setup.trace : nullptr;
    if (trace)
        trace->beginBlock();
    const int converted = lane.controller->bDoConvert(job);
    if (trace)
        trace->endBlock();
    m_rows.updateTiming(row, lane.clock.finish());
    if (job->outcome.stopped) {
        // Cut short: a shortened file under the output's name would pass for a finished one,
        // whatever ended the tool; the segments finished stay for the next Encode, and the row
        // stays checked.
        if (QFileInfo(job->outputPath).isFile())
            QFile::remove(job->outputPath);
        m_rows.setResumePercent(row,
                                SegmentWorkFolder::donePercent(job->outputPath, job->inputPath));
        m_rows.setState(row, RowState::Abort);
        return true; // the walk ends at the next checked row
    }
    // RealMedia results are judged by the conversion's answer alone.
    const bool byTool = lane.setup->kind == EncoderKind::FfmpegTool;
    if (converted != 1 || (byTool && !resultFileIsGood(job->outputPath))) {
        QString reason = job->outcome.reason;
        if (reason.isEmpty())
            reason = QFileInfo::exists(job->outputPath)
                         ? QStringLiteral("the encoder tool left an empty output file")
                         : QStringLiteral("the encoder tool wrote no output file");
        FailRow(row, FailureText(), reason);
        return m_goOn.load();
    }

    if (byTool && DropLargerOutput(row, *job))
        return true;
    if (m_keepDates.load())
        KeepSourceDate(job->inputPath, job->outputPath);
    m_rows.setCropFound(row, job->outcome.cropFound);
    if (!JudgeQuality(row, *job))
        return m_goOn.load();
    m_rows.setState(row, RowState::Completed);
    m_rows.setChecked(row, false);
    return true;
}

bool CBatchConverter::SwitchEngineFor(Lane& lane, const ConversionJob& job)
{
    const bool producer = RowCommand::UsesProducer(job);
    EncoderSetup& setup = *lane.setup;
    bool switched = true;
    if (producer && setup.kind != EncoderKind::RealMediaProducer) {
        setup.kind = EncoderKind::RealMediaProducer;
        switched = lane.controller->SwitchEncoder(&setup) == 1;
    } else if (!producer && setup.kind == EncoderKind::RealMediaProducer) {
        setup.kind = EncoderKind::FfmpegTool;
        switched = lane.controller->RestoreEncoder() == 1;
    } else {
        return true;
    }
    // A Stop that reached the engine put aside must reach the one that converts now. Read
    // after the switch: a Stop after this point finds the new engine itself.
    if (m_stopRequested.load() == 1)
        lane.controller->Stop();
    return switched;
}

void CBatchConverter::SkipRow(int row, const QString& reason)
{
    m_rows.setFailureReason(row, reason);
    m_rows.setState(row, RowState::Skipped);
    const ConversionJob* job = m_rows.job(row);
    const QString name = job ? QFileInfo(job->inputPath).fileName() : QString::number(row + 1);
    QMutexLocker lock(&m_failedLock);
    m_skippedRows << name + QStringLiteral(": ") + reason;
}

bool CBatchConverter::DropLargerOutput(int row, const ConversionJob& job)
{
    if (!m_keepSmaller.load() || !job.profile || SameCodecSkip::copies(*job.profile))
        return false;
    const qint64 source = QFileInfo(job.inputPath).size();
    const qint64 output = QFileInfo(job.outputPath).size();
    if (output <= source)
        return false;
    QFile::remove(job.outputPath);
    const QString larger = QStringLiteral("its output (%1 bytes) came out larger than its source "
                                          "(%2 bytes)")
                               .arg(output)
                               .arg(source);
    if (!m_copySource.load()) {
        SkipRow(row, larger + QStringLiteral(" and was removed"));
        return true;
    }
    // The copy keeps the source's own extension: its bytes are still the source's container.
    const QFileInfo out(job.outputPath);
    const QString copy =
        OutputNaming::FormOutputPath(job.outputPath, out.absolutePath(),
                                     QFileInfo(job.inputPath).suffix(), g_bOverwrite.load() == 1);
    if (QFileInfo::exists(copy))
        QFile::remove(copy);
    if (copy.isEmpty() || !QFile::copy(job.inputPath, copy)) {
        FailRow(row, FailureText(),
                larger + QStringLiteral("; the source could not be copied in its place"));
        return true;
    }
    SkipRow(row, larger + QStringLiteral("; the source was copied in its place as ") +
                     QFileInfo(copy).fileName());
    return true;
}

bool CBatchConverter::JudgeQuality(int row, const ConversionJob& job)
{
    QualityVerdict verdict = job.outcome.verdict;
    const double floor = m_qualityFloor.load();
    verdict.belowFloor = floor > 0 && verdict.hasSsim() && verdict.ssim < floor;
    m_rows.setVerdict(row, verdict);
    if (!verdict.belowFloor)
        return true;
    const QString name = QFileInfo(job.inputPath).fileName();
    const QString below = QStringLiteral("below SSIM %1").arg(floor);
    if (m_lowQualityFails.load()) {
        // The file stays: it is a finished conversion the user may still want.
        FailRow(row, QStringLiteral("The output of %1 is %2: %3").arg(name, below, verdict.text()),
                QStringLiteral("the output's quality is ") + below);
        return false;
    }
    QMutexLocker lock(&m_failedLock);
    m_lowQualityRows << name + QStringLiteral(": SSIM ") + QString::number(verdict.ssim, 'f', 3);
    return true;
}

QString CBatchConverter::AccomplishedText() const
{
    QMutexLocker lock(&m_failedLock);
    QString text = QString::fromLatin1(kAccomplished);
    const auto list = [&](const QStringList& rows, const QString& one, const QString& many) {
        if (!rows.isEmpty())
            text += QStringLiteral("\n\n") + (rows.size() == 1 ? one : many.arg(rows.size())) +
                    QLatin1Char('\n') + rows.join(QLatin1Char('\n'));
    };
    list(m_skippedRows, QStringLiteral("1 file skipped:"), QStringLiteral("%1 files skipped:"));
    const QString floor = QString::number(m_qualityFloor.load());
    list(m_lowQualityRows, QStringLiteral("1 file below SSIM %1:").arg(floor),
         QStringLiteral("%1 files below SSIM ") + floor + QLatin1Char(':'));
    return text;
}

void CBatchConverter::FailRow(int row, const QString& text, const QString& reason)
{
    {
        // Shown once every lane has ended: the rows converting beside this one finish first.
        QMutexLocker lock(&m_walkLock);
        if (m_failureSeen.exchange(1) == 0)
            m_failureText = text;
    }
    m_rows.setFailureReason(row, reason);
    m_rows.setState(row, RowState::Fail);
    if (!m_goOn.load())
        return; // its failure text is shown once every lane has ended
    const ConversionJob* job = m_rows.job(row);
    const QString name = job ? QFileInfo(job->inputPath).fileName() : QString::number(row + 1);
    QMutexLocker lock(&m_failedLock);
    m_failedRows << name + QStringLiteral(": ") + reason;
}
