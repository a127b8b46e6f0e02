#include "CBatchConverter.h"

#include "BatchRows.h"
#include "BatchUser.h"
#include "CQuentaMediaCntl.h"
#include "ConversionJob.h"
#include "DefaultFolders.h"
#include "EncoderSetup.h"
#include "JobPreparation.h"
#include "OutputFolder.h"
#include "OutputNaming.h"
#include "Preferences.h"
#include "ShutdownComputer.h"
#include "ThreadPriority.h"

#include <QFileInfo>

#ifndef TOVEL_SUPPORT_ADDRESS
#define TOVEL_SUPPORT_ADDRESS "support@tovel.example.org"
#endif

std::atomic<int> g_nCurItem{0};

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

bool isRealMedia(const ConversionJob& job)
{
    return job.profile && job.profile->format.compare("rm", Qt::CaseInsensitive) == 0;
}

} // namespace

CBatchConverter::CBatchConverter(CQuentaMediaCntl& controller, EncoderSetup& setup, BatchRows& rows,
                                 BatchUser& user)
    : m_controller(controller), m_setup(setup), m_rows(rows), m_user(user),
      m_shutdown(&ShutdownComputer)
{
    m_setup.callback = &CBatchConverter::OnProgress;
    m_setup.context = this;
}

CBatchConverter::~CBatchConverter()
{
    Wait();
}

CBatchConverter::StartResult CBatchConverter::StartConvert()
{
    if (m_running.load())
        return Busy;
    const int count = m_rows.rowCount();
    if (count == 0)
        return NoRows;
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
        // gets going is not lost.
        m_stopRequested.store(0);
        m_user.stopPreview();
        m_worker = std::thread([this] {
            ThreadPriority::setCurrentThreadIdle();
            ConvertBatch();
            m_running.store(false);
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
    m_controller.Stop();
}

void CBatchConverter::Wait()
{
    if (m_worker.joinable() && m_worker.get_id() != std::this_thread::get_id())
        m_worker.join();
}

void CBatchConverter::OnProgress(int percent, void* context)
{
    if (context)
        static_cast<CBatchConverter*>(context)->m_rows.updateProgress(g_nCurItem.load(), percent);
}

QString CBatchConverter::OutputFolder() const
{
    QMutexLocker lock(&m_folderLock);
    return m_outputFolder;
}

QString CBatchConverter::FailureText() const
{
    return QStringLiteral("Convert fail,please send the trace file:") + m_setup.appFolder +
           QStringLiteral("trace.log") + QStringLiteral(" to ") +
           QStringLiteral(TOVEL_SUPPORT_ADDRESS);
}

void CBatchConverter::ConvertBatch()
{
    m_failureSeen.store(0);
    m_engineFailed.store(0);
    m_user.stopPreview();

    QString folder = m_user.outputBoxText();
    if (folder.isEmpty()) {
        folder = DefaultFolders::emptyOutputBox();
        m_user.setOutputBoxText(folder);
    }
    {
        QMutexLocker lock(&m_folderLock);
        m_outputFolder = folder;
    }
    // A folder that cannot be made shows up as failed conversions.
    MakeOutputFolder(folder);

    m_user.enableControls(false);
    m_user.writeBackSelectedProfile();
    m_convState.store(Converting);

    for (int row = 0; row < m_rows.rowCount(); ++row) {
        g_nCurItem.store(row);
        if (!m_rows.isChecked(row))
            continue;
        if (m_stopRequested.load() == 1) {
            m_rows.removeProgress(row);
            m_rows.setStatusText(row, QStringLiteral("Abort"));
            break;
        }
        if (!ConvertRow(row, folder)) {
            if (m_engineFailed.load()) {
                // The window must stay closable so that the user can restart as asked; the
                // rest of the end of a batch is skipped.
                m_convState.store(Finished);
                m_user.enableEncode();
                m_user.enableControls(true);
                return;
            }
            break;
        }
    }

    m_convState.store(Finished);
    m_user.enableEncode();
    if (g_bShutdown.load() == 1 && m_shutdown)
        m_shutdown();
    if (m_failureSeen.load() == 0)
        m_user.showMessage(QString::fromLatin1(kAccomplished), QString(), BatchUser::Information);
    m_user.openOutputFolder(m_user.outputBoxText());
    m_user.enableControls(true);
}

bool CBatchConverter::ConvertRow(int row, const QString& folder)
{
    m_rows.setProgress(row);
    m_rows.updateProgress(row, 0);

    ConversionJob* job = m_rows.job(row);
    if (!job) {
        FailRow(row, FailureText());
        return false;
    }
    job->settings = ConversionSettings{};
    SettingsDefaults(job);

    const QString extension =
        job->profile ? QString::fromLocal8Bit(job->profile->extName) : QString();
    const QString output =
        OutputNaming::FormOutputPath(job->inputPath, folder, extension, g_bOverwrite.load() == 1);
    if (!OutputNaming::OutputPathFits(output)) {
        job->outputPath.clear();
        FailRow(row, QStringLiteral("The output path is too long for this system: ") + output);
        return false;
    }
    job->outputPath = output;

    job->progressDuration = job->media.duration;
    Prepare(job, job->profile.get());

    if (!SwitchEngineFor(*job)) {
        m_rows.removeProgress(row);
        m_rows.setStatusText(row, QStringLiteral("Fail"));
        m_engineFailed.store(1);
        m_user.showMessage(QString::fromLatin1(kRestart), QStringLiteral("Error"), BatchUser::Stop);
        return false;
    }

    const int converted = m_controller.bDoConvert(job);
    // RealMedia results are judged by the conversion's answer alone.
    if (converted != 1 || (m_setup.kind == 0 && !resultFileIsGood(job->outputPath))) {
        FailRow(row, FailureText());
        return false;
    }

    m_rows.removeProgress(row);
    m_rows.setStatusText(row, QStringLiteral("Completed"));
    m_rows.setChecked(row, false);
    return true;
}

bool CBatchConverter::SwitchEngineFor(const ConversionJob& job)
{
    const bool realMedia = isRealMedia(job);
    if (realMedia && m_setup.kind != 1) {
        m_setup.kind = 1;
        return m_controller.SwitchEncoder(&m_setup) == 1;
    }
    if (!realMedia && m_setup.kind == 1) {
        m_setup.kind = 0;
        return m_controller.RestoreEncoder() == 1;
    }
    return true;
}

void CBatchConverter::FailRow(int row, const QString& text)
{
    m_failureSeen.store(1);
    m_rows.removeProgress(row);
    m_rows.setStatusText(row, QStringLiteral("Fail"));
    m_user.showMessage(text, QString::fromLatin1(kWarning), BatchUser::Exclamation);
}
