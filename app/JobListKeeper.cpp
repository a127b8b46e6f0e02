#include "JobListKeeper.h"

#include "CJobList.h"
#include "CParamTree.h"
#include "CProfileManager.h"
#include "ConversionJob.h"
#include "JobModel.h"
#include "MessageBoxes.h"
#include "Preferences.h"
#include "RowCommand.h"
#include "WindowAdmissions.h"

#include <QDir>
#include <QLineEdit>
#include <utility>

namespace {

// Changes within this time go to disk together.
constexpr int kGatherMs = 300;

QString files(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(count);
}

} // namespace

JobListKeeper::JobListKeeper(const QString& folder, Parts parts)
    : m_store(folder), m_parts(std::move(parts))
{
    m_found = m_store.load(m_foundList);
    m_timer.setSingleShot(true);
    m_timer.setInterval(kGatherMs);
    connect(&m_timer, &QTimer::timeout, this, &JobListKeeper::SaveNow);

    const JobModel* model = m_parts.model;
    connect(model, &JobModel::rowInserted, this, &JobListKeeper::changed);
    connect(model, &JobModel::rowRemoved, this, &JobListKeeper::changed);
    connect(model, &JobModel::rowMoved, this, &JobListKeeper::changed);
    connect(model, &JobModel::rowChanged, this, [this](int, int changes) {
        // A running row's progress and pace move many times a second and change nothing kept.
        if (changes & ~(JobModel::Progress | JobModel::Timing))
            changed();
    });
    if (m_parts.outputBox)
        connect(m_parts.outputBox, &QLineEdit::textChanged, this, &JobListKeeper::changed);
    if (m_parts.editor)
        connect(m_parts.editor, &CParamTree::notify, this, [this](int code) {
            if (code == CParamTree::kNotifyEndEdit)
                changed();
        });
}

JobListKeeper::~JobListKeeper()
{
    if (m_keeping && m_timer.isActive())
        SaveNow();
}

void JobListKeeper::changed()
{
    if (m_keeping && !m_timer.isActive())
        m_timer.start();
}

JobListStore::Kept JobListKeeper::snapshot()
{
    if (m_parts.writeBackEdits)
        m_parts.writeBackEdits();
    JobListStore::Kept list;
    if (m_parts.outputBox)
        list.outputBox = m_parts.outputBox->text();
    QList<JobListStore::Row>& rows = list.rows;
    const JobModel& model = *m_parts.model;
    for (int index = 0; index < model.rowCount(); ++index) {
        const ConversionJob* job = model.job(index);
        if (!job)
            continue;
        JobListStore::Row row;
        row.inputPath = job->inputPath;
        row.subfolder = job->outputSubfolder;
        if (job->profile) {
            row.profileName = job->profile->name;
            for (const ProfileOption& option : job->profile->options)
                row.values.append({option.name, option.value});
        }
        const JobModel::RowValues values = model.values(index);
        const bool running = values.state == RowState::Converting;
        // A row cut short by the crash converts again.
        row.checked = running || values.checked;
        row.state = running ? RowState::Ready : values.state;
        if (!running)
            row.verdict = values.verdict;
        rows.append(std::move(row));
    }
    return list;
}

void JobListKeeper::SaveNow()
{
    m_timer.stop();
    if (!m_keeping)
        return;
    const JobListStore::Kept list = snapshot();
    if (list.rows.isEmpty()) {
        // An empty list needs no file: the next start is an ordinary one.
        m_store.remove();
        m_written.clear();
        return;
    }
    const QByteArray bytes = JobListStore::encode(list);
    if (bytes != m_written && m_store.saveEncoded(bytes))
        m_written = bytes;
}

void JobListKeeper::Discard()
{
    m_keeping = false;
    m_timer.stop();
    m_store.remove();
    m_written.clear();
}

void JobListKeeper::OfferRestore()
{
    if (m_keeping)
        return;
    const JobListStore::Found found = std::exchange(m_found, JobListStore::Nothing);
    const JobListStore::Kept list = std::exchange(m_foundList, {});
    if (found == JobListStore::Damaged) {
        const QString aside = m_store.setAside();
        const QString fate =
            aside.isEmpty()
                ? QStringLiteral("It was deleted.")
                : QStringLiteral("It was set aside as %1.").arg(QDir::toNativeSeparators(aside));
        MessageBoxes::show(m_parts.owner,
                           QStringLiteral("The job list kept from the last session could not be "
                                          "read. ") +
                               fate,
                           QStringLiteral("Warning"), BatchUser::Exclamation);
    } else if (found == JobListStore::List && !list.rows.isEmpty() &&
               MessageBoxes::askYesNo(
                   m_parts.owner,
                   QStringLiteral("The program did not end normally last time. Restore its job "
                                  "list (%1)?")
                       .arg(files(list.rows.size())),
                   QStringLiteral("Warning"))) {
        restore(list);
        return;
    }
    startKeeping();
}

void JobListKeeper::startKeeping()
{
    m_keeping = true;
    SaveNow();
}

void JobListKeeper::restore(const JobListStore::Kept& list)
{
    // The rows convert where the user had typed, not into the stored "Output" folder.
    if (m_parts.outputBox && !list.outputBox.isEmpty())
        m_parts.outputBox->setText(list.outputBox);
    // Probed on the admission worker; each row comes back here, in kept order. Until the last
    // has, nothing is kept: the file found stays as it was.
    auto left = std::make_shared<LeftOut>();
    auto rows = std::make_shared<const QList<JobListStore::Row>>(list.rows);
    WindowAdmissions::Request request;
    for (const JobListStore::Row& saved : list.rows)
        request.paths << saved.inputPath;
    request.refused = [left](const QString& path, int) {
        left->gone << QDir::toNativeSeparators(path);
    };
    request.ended = [this, left](const AdmissionWorker::Outcome&) {
        sayLeftOut(left->gone, left->lostProfiles);
        startKeeping();
    };
    request.admitted = [this, rows, left](std::unique_ptr<ConversionJob> job, int item) {
        const JobListStore::Row& saved = (*rows)[item];
        QStringList& lostProfiles = left->lostProfiles;
        // A profile no longer listed gives way to the current one; the kept values still
        // apply wherever its options have the same names.
        const bool listed = !m_parts.profiles->PathOf(saved.profileName).isEmpty();
        const QByteArray name = listed ? saved.profileName : m_parts.jobs->CurrentProfileName();
        if (!listed) {
            const QString missing = QString::fromLocal8Bit(saved.profileName);
            if (!lostProfiles.contains(missing))
                lostProfiles << missing;
        }
        job->outputSubfolder = saved.subfolder;
        job->profile = std::make_unique<Profile>();
        m_parts.profiles->LoadProfile(name, job->profile.get());
        for (ProfileOption& option : job->profile->options) {
            for (const auto& [key, value] : saved.values) {
                if (key == option.name) {
                    option.value = value;
                    break;
                }
            }
        }
        const int row = m_parts.jobs->Append(std::move(job));
        m_parts.model->setChecked(row, saved.checked);
        m_parts.model->setState(row, saved.state);
        if (!saved.verdict.isEmpty())
            m_parts.model->setVerdict(row, saved.verdict);
        // A conversion cut short by a crash goes on from the segments it kept.
        if (const ConversionJob* kept = m_parts.model->job(row); kept && m_parts.outputBox)
            m_parts.model->setResumePercent(
                row, RowCommand::ResumePercent(
                         *kept, RowCommand::BatchFolder(m_parts.outputBox->text()),
                         g_bOverwrite.load() == 1,
                         m_parts.namePattern ? m_parts.namePattern() : OutputNamePattern(), row));
    };
    m_parts.admissions->enqueue(std::move(request));
}

void JobListKeeper::sayLeftOut(const QStringList& gone, const QStringList& lostProfiles)
{
    if (!lostProfiles.isEmpty())
        MessageBoxes::show(
            m_parts.owner,
            QStringLiteral("These profiles are no longer there; their rows now "
                           "convert with \"%1\":\n")
                    .arg(QString::fromLocal8Bit(m_parts.jobs->CurrentProfileName())) +
                lostProfiles.join(QLatin1Char('\n')),
            QStringLiteral("Warning"), BatchUser::Exclamation);
    if (!gone.isEmpty())
        MessageBoxes::show(m_parts.owner,
                           QStringLiteral("These files are gone or can no longer be read and "
                                          "were left out of the job list:\n") +
                               gone.join(QLatin1Char('\n')),
                           QStringLiteral("Warning"), BatchUser::Exclamation);
}
