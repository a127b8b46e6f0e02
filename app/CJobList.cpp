#include "CJobList.h"

#include "CCellListCtrl.h"
#include "CProfileManager.h"
#include "ComboSearch.h"
#include "ConversionJob.h"
#include "IProfileView.h"
#include "JobModel.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QSignalBlocker>

#include <algorithm>

CJobList::CJobList(JobModel& model, CCellListCtrl* list, QComboBox* profileBox,
                   CProfileManager& profiles, QObject* parent)
    : QObject(parent), m_model(model), m_list(list), m_profileBox(profileBox), m_profiles(profiles)
{
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CJobList::OnSelectionChanged);
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
    m_model.remove(row);
}

void CJobList::Remove()
{
    const int removed = m_selectedRow;
    if (removed < 0 || removed >= m_model.rowCount())
        return;
    DeleteRow(removed);
    m_selectedRow = std::min(removed, m_model.rowCount() - 1);
    if (m_selectedRow >= 0) {
        m_list->setFocus();
        SelectRow(m_selectedRow);
    }
}

void CJobList::RemoveAll()
{
    if (m_model.rowCount() == 0)
        return;
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
    if (m_model.rowCount() == 0)
        return;
    m_list->setFocus();
    if (m_selectedRow <= 0)
        return;
    Move(m_selectedRow - 1);
}

void CJobList::Down()
{
    if (m_model.rowCount() == 0)
        return;
    m_list->setFocus();
    if (m_selectedRow < 0 || m_selectedRow >= m_model.rowCount() - 1)
        return;
    Move(m_selectedRow + 1);
}

void CJobList::Move(int to)
{
    // The row keeps its cells and its selection, so the editor goes on showing its profile.
    if (m_model.move(m_selectedRow, to))
        SelectRow(to);
}

void CJobList::OnProfileChanged(int index)
{
    m_currentName = m_profiles.SelectEntry(index);
    ConversionJob* selected = m_model.job(m_selectedRow);
    if (!selected) {
        m_shown = nullptr;
        m_profiles.ReplaceProfile(IProfileView::ReadOnly, m_currentName, m_profiles.DisplayPlace());
        return;
    }
    m_profiles.ReplaceProfile(IProfileView::Editable, m_currentName, selected->profile);
    m_shown = selected->profile.get();
    m_model.profileChanged(m_selectedRow);
}

void CJobList::SetBatchRunning(bool running)
{
    ConversionJob* selected = m_model.job(m_selectedRow);
    if (running) {
        // Pending edits take part in the conversion; then nothing may change what the
        // worker reads.
        if (selected && selected->profile && !m_batchRunning)
            m_profiles.WriteBack(*selected->profile);
        m_batchRunning = true;
        m_profiles.LockAll();
        return;
    }
    m_batchRunning = false;
    if (selected && selected->profile)
        ShowJobProfile(*selected);
}

void CJobList::OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    // As a list reports it: the row that lost the selection first, then the one that got it.
    if (!deselected.isEmpty()) {
        ConversionJob* job = SelectedJob();
        if (job && job->profile) {
            // During a batch the editor is locked, so there is nothing to write back.
            if (!m_batchRunning)
                m_profiles.WriteBack(*job->profile);
            m_profiles.LockAll();
        }
        m_selectedRow = -1;
        m_selectedJob = nullptr;
    }
    if (!selected.isEmpty()) {
        m_selectedRow = m_list->GetFirstSelectedItem();
        ConversionJob* job = m_model.job(m_selectedRow);
        m_selectedJob = job;
        if (job && job->profile) {
            const int entry =
                FindStringPrefix(*m_profileBox, QString::fromLocal8Bit(job->profile->name), 0);
            if (entry >= 0) {
                const QSignalBlocker quiet(m_profileBox);
                m_profileBox->setCurrentIndex(entry);
                m_profiles.SelectEntry(entry);
            }
            m_currentName = job->profile->name;
            ShowJobProfile(*job);
        }
    }
}

void CJobList::ShowJobProfile(ConversionJob& job)
{
    m_profiles.ShowProfile(*job.profile,
                           m_batchRunning ? IProfileView::ReadOnly : IProfileView::Editable);
    m_shown = job.profile.get();
}

void CJobList::ReleaseShown(const Profile* profile)
{
    // A job's profile is freed with its row: the editor must not keep links into it.
    if (!profile || profile != m_shown)
        return;
    m_shown = nullptr;
    m_profiles.ReplaceProfile(IProfileView::ReadOnly, m_currentName, m_profiles.DisplayPlace());
}
