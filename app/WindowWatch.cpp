#include "WindowWatch.h"

#include "CJobList.h"
#include "CProfileManager.h"
#include "CliWatch.h"
#include "ConversionJob.h"
#include "FolderWatch.h"
#include "JobModel.h"
#include "MediaAdmission.h"
#include "MessageBoxes.h"
#include "RowCommand.h"
#include "WatchRecord.h"
#include "WindowAdmissions.h"

#include <QAction>

#include <QDir>
#include <QFileInfo>

WindowWatch::WindowWatch(Parts parts, QObject* parent) : QObject(parent), m_parts(std::move(parts))
{
    m_timer.setInterval(CliWatch::kLookEveryMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { look(); });
    connect(m_parts.model, &JobModel::rowChanged, this,
            [this](int row, int changes) { rowChanged(row, changes); });
}

WindowWatch::~WindowWatch() = default;

bool WindowWatch::watch(const QString& folder, QString& damagedNotice)
{
    stop();
    if (!QFileInfo(folder).isDir())
        return false;
    m_record = std::make_unique<WatchRecord>(m_parts.stateFolder, folder);
    QString aside;
    if (m_record->load(aside) == WatchRecord::Damaged)
        damagedNotice = aside.isEmpty()
                            ? QStringLiteral("The watch record %1 could not be read; it was "
                                             "deleted, and the watch starts afresh.")
                                  .arg(QDir::toNativeSeparators(m_record->path()))
                            : QStringLiteral("The watch record could not be read; it was set "
                                             "aside as %1, and the watch starts afresh.")
                                  .arg(QDir::toNativeSeparators(aside));
    m_watch = std::make_unique<FolderWatch>(folder, m_parts.outputFolder());
    m_watch->poll(); // the first sighting; the files count from the next look on
    m_timer.start();
    return true;
}

void WindowWatch::stop()
{
    m_timer.stop();
    m_watch.reset();
    m_record.reset();
}

void WindowWatch::attach(QAction* entry)
{
    entry->setCheckable(true);
    connect(entry, &QAction::triggered, this, [this, entry] {
        if (watching()) {
            stop();
        } else if (const QString chosen = m_parts.pickFolder(); !chosen.isEmpty()) {
            QString notice;
            if (!watch(QDir::fromNativeSeparators(chosen), notice))
                MessageBoxes::show(m_parts.owner,
                                   QStringLiteral("The folder cannot be watched: ") + chosen,
                                   QStringLiteral("Warning"), BatchUser::Exclamation);
            else if (!notice.isEmpty())
                MessageBoxes::show(m_parts.owner, notice, QStringLiteral("Warning"),
                                   BatchUser::Exclamation);
        }
        entry->setChecked(watching());
        entry->setToolTip(watching() ? QStringLiteral("Watching ") + folder() : QString());
    });
}

QString WindowWatch::folder() const
{
    return m_watch ? m_watch->folder() : QString();
}

void WindowWatch::look()
{
    if (!m_watch || m_looking || !m_parts.idle())
        return;
    if (std::exchange(m_startDue, false)) {
        m_parts.start();
        return;
    }
    QStringList arrived;
    for (const QString& file : m_watch->poll())
        if (!m_record->has(file))
            arrived << file;
    if (arrived.isEmpty())
        return;
    m_looking = true;
    WindowAdmissions::Request request;
    request.paths = arrived;
    auto rows = std::make_shared<int>(0);
    request.admitted = [this, rows](std::unique_ptr<ConversionJob> job, int) {
        *rows += admitted(std::move(job)) ? 1 : 0;
    };
    request.refused = [this](const QString& path, int) {
        if (m_record)
            m_record->add(path, QStringLiteral("Not media"));
    };
    request.ended = [this, rows](const AdmissionWorker::Outcome&) {
        m_looking = false;
        // Started at the next look: the admission is not over until its end has been said.
        m_startDue = *rows > 0;
    };
    m_parts.admissions->enqueue(std::move(request));
}

bool WindowWatch::admitted(std::unique_ptr<ConversionJob> job)
{
    if (!m_watch)
        return false; // the watch ended while its files were probed
    job->outputSubfolder = MediaAdmission::SubfolderOf(m_watch->folder(), job->inputPath);
    job->profile = std::make_unique<Profile>();
    m_parts.profiles->LoadProfile(m_parts.jobs->CurrentProfileName(), job->profile.get());
    const QString output = RowCommand::OutputPath(*job, m_parts.outputFolder(), true, {},
                                                  m_parts.naming(), m_parts.model->rowCount());
    if (QFileInfo::exists(output)) {
        m_record->add(job->inputPath, QStringLiteral("Output there"));
        return false;
    }
    m_added.insert(job->inputPath);
    m_parts.jobs->Append(std::move(job));
    return true;
}

void WindowWatch::rowChanged(int row, int changes)
{
    if (!(changes & JobModel::State))
        return;
    const ConversionJob* job = m_parts.model->job(row);
    if (!job || !m_added.contains(job->inputPath))
        return;
    const RowState state = m_parts.model->values(row).state;
    if (state != RowState::Completed && state != RowState::Skipped)
        return;
    m_added.remove(job->inputPath);
    if (m_record && QFileInfo::exists(job->inputPath))
        m_record->add(job->inputPath, rowStateName(state));
}
