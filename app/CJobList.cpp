#include "CJobList.h"

#include "CCellListCtrl.h"
#include "CProfileManager.h"
#include "ConversionJob.h"
#include "IProfileView.h"
#include "JobModel.h"
#include "ProfileBoxMarks.h"
#include "SharedProfileEdit.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QSignalBlocker>

#include <algorithm>

CJobList::CJobList(JobModel& model, CCellListCtrl* list, QComboBox* profileBox,
                   CProfileManager& profiles, QObject* parent)
    : QObject(parent), m_model(model), m_list(list), m_profileBox(profileBox), m_profiles(profiles)
{
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { OnSelectionChanged(); });
}

CJobList::~CJobList() = default;

int CJobList::Append(std::unique_ptr<ConversionJob> job)
{
    if (!job->profile) {
        job->profile = std::make_unique<Profile>();
        m_profiles.LoadProfile(m_currentName, job->profile.get());
    }
    return m_model.append(std::move(job));
}

ConversionJob* CJobList::SelectedJob() const
{
    return m_model.indexOf(m_selectedJob) >= 0 ? m_selectedJob : nullptr;
}

void CJobList::SelectRow(int row)
{
    m_selectedRow = row;
    if (row >= 0 && row < m_model.rowCount())
        m_list->SelectItem(row);
}

void CJobList::SelectLastRow()
{
    SelectRow(m_model.rowCount() - 1);
}

void CJobList::DeleteRow(int row)
{
    ConversionJob* doomed = m_model.job(row);
    if (doomed)
        ReleaseShown(doomed->profile.get());
    if (doomed == m_selectedJob)
        m_selectedJob = nullptr;
    m_selectedJobs.removeAll(doomed);
    m_model.remove(row);
}

QList<int> CJobList::SelectedRows() const
{
    return m_list->SelectedItems();
}

QList<Profile*> CJobList::SelectedProfiles() const
{
    QList<Profile*> profiles;
    for (ConversionJob* job : m_selectedJobs)
        if (m_model.indexOf(job) >= 0 && job->profile)
            profiles << job->profile.get();
    return profiles;
}

void CJobList::Remove()
{
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty() || rows.last() >= m_model.rowCount())
        return;
    // The rows go with their pending edits; the editor lets go of what it shows first.
    m_selectedJobs.clear();
    if (m_shared) {
        m_profiles.ReplaceProfile(IProfileView::ReadOnly, m_currentName, m_profiles.DisplayPlace());
        m_shared.reset();
    }
    for (qsizetype i = rows.size() - 1; i >= 0; --i)
        DeleteRow(rows[i]);
    m_selectedRow = std::min(rows.first(), m_model.rowCount() - 1);
    if (m_selectedRow >= 0) {
        m_list->setFocus();
        SelectRow(m_selectedRow);
    }
}

void CJobList::RemoveAll()
{
    if (m_model.rowCount() == 0)
        return;
    m_selectedJobs.clear();
    if (m_shared) {
        m_profiles.ReplaceProfile(IProfileView::ReadOnly, m_currentName, m_profiles.DisplayPlace());
        m_shared.reset();
    }
    for (int row = m_model.rowCount() - 1; row >= 0; --row)
        DeleteRow(row);
    m_selectedRow = -1;
}

void CJobList::SetAllChecks(bool checked)
{
    for (int row = m_model.rowCount() - 1; row >= 0; --row)
        m_model.setChecked(row, checked);
}

void CJobList::Up()
{
    MoveBlock(-1);
}

void CJobList::Down()
{
    MoveBlock(1);
}

void CJobList::MoveBlock(int by)
{
    if (m_model.rowCount() == 0)
        return;
    m_list->setFocus();
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty() || rows.last() - rows.first() + 1 != rows.size())
        return; // no block to move
    const int first = rows.first(), last = rows.last();
    if (first + by < 0 || last + by >= m_model.rowCount())
        return;
    // The neighbour passes the block; the rows keep their cells, jobs and pending edits.
    const bool moved = by < 0 ? m_model.move(first - 1, last) : m_model.move(last + 1, first);
    if (!moved)
        return;
    if (rows.size() == 1)
        SelectRow(first + by);
    else
        m_list->SelectItems(first + by, last + by);
}

void CJobList::OnProfileChanged(int index)
{
    m_currentName = m_profiles.SelectEntry(index);
    const QList<int> rows = SelectedRows();
    if (rows.size() > 1) {
        for (const int row : rows) {
            ConversionJob* job = m_model.job(row);
            if (!job)
                continue;
            auto fresh = std::make_unique<Profile>();
            m_profiles.LoadProfile(m_currentName, fresh.get());
            ReleaseShown(job->profile.get());
            job->profile = std::move(fresh);
            m_model.profileChanged(row);
        }
        ShowSelection();
        return;
    }
    ConversionJob* selected = m_model.job(m_selectedRow);
    if (!selected) {
        m_shown = nullptr;
        m_profiles.ReplaceProfile(IProfileView::ReadOnly, m_currentName, m_profiles.DisplayPlace());
        return;
    }
    m_profiles.ReplaceProfile(IProfileView::Editable, m_currentName, selected->profile);
    m_shown = selected->profile.get();
    m_shared.reset();
    m_model.profileChanged(m_selectedRow);
}

void CJobList::WriteBackEdits()
{
    if (m_batchRunning)
        return;
    if (m_shared) {
        m_profiles.WriteBack(m_shared->shown());
        m_shared->apply(SelectedProfiles());
        return;
    }
    ConversionJob* job = SelectedJob();
    if (job && job->profile)
        m_profiles.WriteBack(*job->profile);
}

void CJobList::SetBatchRunning(bool running)
{
    if (running) {
        // Pending edits take part in the conversion; then nothing may change what the
        // worker reads.
        WriteBackEdits();
        m_batchRunning = true;
        m_profiles.LockAll();
        return;
    }
    m_batchRunning = false;
    ShowSelection();
}

void CJobList::OnSelectionChanged()
{
    // The edits belong to the rows selected until now.
    if (!m_selectedJobs.isEmpty()) {
        WriteBackEdits();
        m_profiles.LockAll();
    }
    m_selectedJobs.clear();
    const QList<int> rows = SelectedRows();
    for (const int row : rows)
        if (ConversionJob* job = m_model.job(row))
            m_selectedJobs << job;
    m_selectedRow = rows.isEmpty() ? -1 : rows.first();
    m_selectedJob = m_selectedJobs.value(0);
    ConversionJob* first = m_selectedJob;
    if (!first || !first->profile)
        return; // the editor keeps showing, locked, what it showed
    const int index = int(m_profiles.Names().indexOf(first->profile->name));
    const int entry = ProfileBoxMarks::EntryOf(*m_profileBox, index);
    if (entry >= 0) {
        const QSignalBlocker quiet(m_profileBox);
        m_profileBox->setCurrentIndex(entry);
        m_profiles.SelectEntry(index);
    }
    m_currentName = first->profile->name;
    ShowSelection();
}

void CJobList::ShowSelection()
{
    const QList<Profile*> profiles = SelectedProfiles();
    if (profiles.isEmpty())
        return;
    if (profiles.size() == 1) {
        for (ConversionJob* job : m_selectedJobs)
            if (job->profile.get() == profiles.first())
                ShowJobProfile(*job);
        m_shared.reset();
        return;
    }
    auto loaded = std::make_unique<Profile>();
    m_profiles.LoadProfile(profiles.first()->name, loaded.get());
    auto shared = std::make_unique<SharedProfileEdit>(std::move(loaded), profiles);
    m_profiles.ShowProfile(shared->shown(),
                           m_batchRunning ? IProfileView::ReadOnly : IProfileView::Editable);
    // Freed only now: until the line above the editor linked into the old one.
    m_shared = std::move(shared);
    m_shown = nullptr;
}

void CJobList::ShowJobProfile(ConversionJob& job)
{
    m_profiles.ShowProfile(*job.profile,
                           m_batchRunning ? IProfileView::ReadOnly : IProfileView::Editable);
    m_shown = job.profile.get();
    const QString found = m_model.values(m_model.indexOf(&job)).cropFound;
    if (m_profiles.View() && !found.isEmpty())
        m_profiles.View()->ShowFound("crop",
                                     QStringLiteral("Found by the last conversion ") + found);
}

void CJobList::ReleaseShown(const Profile* profile)
{
    // A job's profile is freed with its row: the editor must not keep links into it.
    if (!profile || profile != m_shown)
        return;
    m_shown = nullptr;
    m_profiles.ReplaceProfile(IProfileView::ReadOnly, m_currentName, m_profiles.DisplayPlace());
}
