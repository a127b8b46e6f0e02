#include "WindowAdmissions.h"

#include "CCodecInfoDlg.h"
#include "CJobList.h"
#include "ConversionJob.h"
#include "MessageBoxes.h"
#include "RefusedFiles.h"

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>
#include <utility>

namespace {

// An admission shorter than this never shows its line, which would only flicker.
constexpr int kShowBarAfterMs = 250;

// Whether a folder's message is worth saying: a cancel may have cut it before its first file.
bool worthSaying(const MediaAdmission::FolderTally& tally, bool cancelled)
{
    return !cancelled || tally.added + tally.skipped > 0;
}

} // namespace

WindowAdmissions::WindowAdmissions(Parts parts, QObject* parent)
    : QObject(parent), m_parts(std::move(parts))
{
    m_parts.bar->hide();
    m_showBar.setSingleShot(true);
    m_showBar.setInterval(kShowBarAfterMs);
    connect(&m_showBar, &QTimer::timeout, this, [this] {
        m_parts.bar->show();
        m_parts.bar->raise();
    });
    connect(m_parts.cancel, &QAbstractButton::clicked, this, &WindowAdmissions::cancel);
}

WindowAdmissions::~WindowAdmissions()
{
    abandon();
}

void WindowAdmissions::add(const QStringList& files)
{
    auto refused = std::make_shared<RefusedFiles>();
    Request request;
    request.paths = files;
    request.refused = [refused](const QString& path, int) { refused->add(path); };
    request.ended = [this, refused](const AdmissionWorker::Outcome&) {
        if (!refused->isEmpty()) {
            // One Information dialog names every file of this Add that cannot be decoded.
            CCodecInfoDlg info(m_parts.owner);
            info.setFileName(refused->names().join(QLatin1Char('\n')));
            if (m_parts.codecDownload)
                info.setCodecDownload(m_parts.codecDownload);
            info.exec();
        }
        selectLastRow();
        if (m_parts.stopPreview)
            m_parts.stopPreview();
    };
    enqueue(std::move(request));
}

void WindowAdmissions::addFolder(const QString& folder)
{
    Request request;
    request.paths = QStringList{folder};
    request.walkFolders = true;
    request.ended = [this](const AdmissionWorker::Outcome& outcome) {
        const MediaAdmission::FolderTally tally =
            outcome.folders.empty() ? MediaAdmission::FolderTally{} : outcome.folders[0].second;
        if (tally.added > 0)
            selectLastRow();
        if (worthSaying(tally, outcome.cancelled))
            MessageBoxes::show(m_parts.owner, MediaAdmission::SummaryText(tally), QString(),
                               BatchUser::Information);
        if (m_parts.stopPreview)
            m_parts.stopPreview();
    };
    enqueue(std::move(request));
}

void WindowAdmissions::drop(const QStringList& paths)
{
    auto refused = std::make_shared<RefusedFiles>();
    auto admitted = std::make_shared<int>(0);
    Request request;
    request.paths = paths;
    request.walkFolders = true;
    request.admitted = [this, admitted](std::unique_ptr<ConversionJob> job, int) {
        m_parts.jobs->Append(std::move(job));
        ++*admitted;
    };
    request.refused = [refused](const QString& path, int) { refused->add(path); };
    request.ended = [this, refused, admitted](const AdmissionWorker::Outcome& outcome) {
        if (*admitted > 0)
            selectLastRow();
        // Each folder says its own tally, in the order given, as when it was dropped alone.
        for (const auto& [item, tally] : outcome.folders) {
            if (worthSaying(tally, outcome.cancelled))
                MessageBoxes::show(m_parts.owner, MediaAdmission::SummaryText(tally), QString(),
                                   BatchUser::Information);
        }
        if (!refused->isEmpty())
            MessageBoxes::show(m_parts.owner, refused->text(), QStringLiteral("Error"),
                               BatchUser::Stop);
    };
    enqueue(std::move(request));
}

void WindowAdmissions::enqueue(Request request)
{
    m_waiting.push_back(std::move(request));
    if (m_busy)
        return;
    m_busy = true;
    emit started();
    startNext();
}

void WindowAdmissions::startNext()
{
    if (m_waiting.empty()) {
        m_busy = false;
        hideBar();
        emit finished();
        return;
    }
    m_current = std::move(m_waiting.front());
    m_waiting.pop_front();

    AdmissionWorker::Reports reports;
    reports.admitted = [this](std::unique_ptr<ConversionJob> job, int item) {
        if (m_current.admitted)
            m_current.admitted(std::move(job), item);
        else
            m_parts.jobs->Append(std::move(job));
    };
    reports.refused = [this](const QString& path, int item) {
        if (m_current.refused)
            m_current.refused(path, item);
    };
    reports.progress = [this](int done, int total) { showProgress(done, total); };
    reports.finished = [this](const AdmissionWorker::Outcome& outcome) { onFinished(outcome); };
    m_worker = std::make_unique<AdmissionWorker>(m_parts.setup, std::move(reports), this);
    showProgress(0, m_current.walkFolders ? 0 : int(m_current.paths.size()));
    if (!m_parts.bar->isVisible() && !m_showBar.isActive())
        m_showBar.start();
    m_worker->start(m_current.paths, m_current.walkFolders);
}

void WindowAdmissions::onFinished(const AdmissionWorker::Outcome& outcome)
{
    // Its thread has nothing left to do; the object goes once this report has returned.
    m_worker.release()->deleteLater();
    const Request ended = std::exchange(m_current, Request{});
    // The line goes before the messages of the end, unless another admission follows.
    if (m_waiting.empty())
        hideBar();
    if (ended.ended)
        ended.ended(outcome);
    // The window may have closed while a message of the end was open.
    if (m_busy)
        startNext();
}

void WindowAdmissions::cancel()
{
    if (m_worker)
        m_worker->cancel();
}

void WindowAdmissions::abandon()
{
    m_waiting.clear();
    m_worker.reset(); // cancels and waits; its reports still queued are dropped
    m_current = Request{};
    m_busy = false;
    hideBar();
}

void WindowAdmissions::showProgress(int done, int total)
{
    const QString text = QStringLiteral("Adding files\u2026 %1 of %2").arg(done).arg(total);
    m_parts.text->setText(text);
    // Read out as what it says, not as a fixed name.
    m_parts.text->setAccessibleName(text);
}

void WindowAdmissions::hideBar()
{
    m_showBar.stop();
    const bool hadFocus = m_parts.cancel->hasFocus();
    m_parts.bar->hide();
    if (hadFocus && m_parts.list)
        m_parts.list->setFocus();
}

void WindowAdmissions::selectLastRow()
{
    m_parts.jobs->SelectLastRow();
}
