#include "CJobList.h"

#include "CCellListCtrl.h"
#include "CCellListModel.h"
#include "CProfileManager.h"
#include "CQuentaMediaCntl.h"
#include "ComboSearch.h"
#include "ConversionJob.h"
#include "FormatHMS.h"
#include "IProfileView.h"
#include "MediaAdmission.h"
#include "ResourceImages.h"
#include "RowTiming.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QSignalBlocker>

#include <algorithm>

namespace {

const int kCheckColumn = 0;
const int kNameColumn = 1;
const int kDurationColumn = 2;
const int kTargetColumn = 3;
const int kStatusColumn = 4;
const int kColumns = 5;
// Images of the header strip (ResourceImages::HeaderChecks).
const int kPlainHeader = 0;
const int kUncheckedHeader = 1;

QString fileNameOf(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString targetOf(const Profile& profile)
{
    return QString::fromLocal8Bit(CProfileManager::TargetText(profile));
}

} // namespace

CJobList::CJobList(CCellListCtrl* list, QComboBox* profileBox, CProfileManager& profiles,
                   QObject* parent)
    : QObject(parent), m_list(list), m_profileBox(profileBox), m_profiles(profiles)
{
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CJobList::OnSelectionChanged);
    const QAbstractItemModel* model = m_list->cellModel();
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex& last) {
                if (first.column() <= kCheckColumn)
                    OnRowsChanged(first.row(), last.row());
            });
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { OnRowsInserted(first, last); });
    connect(model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { OnRowsRemoved(first, last); });
    connect(model, &QAbstractItemModel::rowsMoved, this,
            [this](const QModelIndex&, int first, int last, const QModelIndex&, int before) {
                OnRowsChanged(std::min(first, before), std::max(last, before - 1));
            });
}

CJobList::~CJobList() = default;

void CJobList::SetEmptyState()
{
    m_list->SetHeaderImageList(QPixmap(), 16, QColor());
    for (int column = m_list->GetColumnCount() - 1; column >= 0; --column)
        m_list->DeleteColumn(column);
    m_list->SetEmptyLook(ResourceImages::bitmap(ResourceImages::EmptyListTile));
    m_emptyState = true;
}

void CJobList::CreateColumns()
{
    m_list->SetReportLook();
    // The columns are made for the list at its template size (its minimum); in a larger
    // window the Name column takes the rest, so the other columns look the same at any size.
    const int laidOut = m_list->minimumWidth() > 0 ? m_list->minimumWidth() : m_list->width();
    const int width = laidOut - 2;
    const int check = width * 4 / 64;
    const int name = width * 24 / 64;
    const int duration = width * 8 / 64;
    const int target = width * 8 / 64;
    const int status = width - (check + name + duration + target) - 2;
    m_list->InsertColumn(kCheckColumn, QString(), Qt::AlignCenter, check);
    m_list->InsertColumn(kNameColumn, QStringLiteral("Name"), Qt::AlignLeft | Qt::AlignVCenter,
                         name);
    m_list->InsertColumn(kDurationColumn, QStringLiteral("Duration"), Qt::AlignCenter, duration);
    m_list->InsertColumn(kTargetColumn, QStringLiteral("Target"), Qt::AlignCenter, target);
    m_list->InsertColumn(kStatusColumn, QStringLiteral("Status"), Qt::AlignCenter, status);
    m_list->SetHeaderImageList(ResourceImages::bitmap(ResourceImages::HeaderChecks), 16,
                               QColor(255, 0, 255));
    for (int column = 0; column < kColumns; ++column)
        m_list->SetHeaderImage(column, column == kCheckColumn ? kUncheckedHeader : kPlainHeader);
    m_list->SetStretchColumn(kNameColumn, laidOut);
    m_emptyState = false;
}

bool CJobList::Admit(const QString& path, CQuentaMediaCntl& controller)
{
    std::unique_ptr<ConversionJob> job = MediaAdmission::ProbeFile(controller, path);
    if (!job)
        return false;
    Append(std::move(job));
    return true;
}

void CJobList::Append(std::unique_ptr<ConversionJob> job)
{
    const QString path = job->inputPath;
    if (m_emptyState)
        CreateColumns();

    if (!job->profile) {
        job->profile = std::make_unique<Profile>();
        m_profiles.LoadProfile(m_currentName, job->profile.get());
    }

    ConversionJob* added = job.get();
    m_owned.emplace(added, std::move(job));
    m_list->setUpdatesEnabled(false);
    const int row = m_list->InsertItem(m_list->GetItemCount(), QString());
    m_list->SetItemData(row, added);
    m_list->SetCheck(row, kCheckColumn, 1);
    m_list->SetItemText(row, kNameColumn, fileNameOf(path));
    m_list->SetItemText(row, kDurationColumn, FormatHMS(MeasuredSeconds(added->media.duration)));
    m_list->SetItemText(row, kTargetColumn, targetOf(*added->profile));
    m_list->SetItemText(row, kStatusColumn, QStringLiteral("Ready"));
    m_list->setUpdatesEnabled(true);
}

void CJobList::SelectRow(int row)
{
    m_selectedRow = row;
    if (row >= 0 && row < m_list->GetItemCount())
        m_list->SelectItem(row);
}

void CJobList::DeleteRow(int row)
{
    ConversionJob* doomed = jobAt(row);
    if (doomed)
        ReleaseShown(doomed->profile.get());
    // The worker's copy lets go of the row with the model, before the job is freed.
    m_list->DeleteItem(row);
    m_owned.erase(doomed);
}

void CJobList::Remove()
{
    const int removed = m_selectedRow;
    if (removed < 0 || removed >= m_list->GetItemCount())
        return;
    DeleteRow(removed);
    m_selectedRow = std::min(removed, m_list->GetItemCount() - 1);
    if (m_selectedRow >= 0) {
        m_list->setFocus();
        SelectRow(m_selectedRow);
    }
    if (m_list->GetItemCount() == 0 && !m_emptyState)
        SetEmptyState();
}

void CJobList::RemoveAll()
{
    if (m_list->GetItemCount() == 0)
        return;
    for (int row = m_list->GetItemCount() - 1; row >= 0; --row)
        DeleteRow(row);
    SetEmptyState();
    m_selectedRow = -1;
}

void CJobList::SetAllChecks(bool checked)
{
    for (int row = m_list->GetItemCount() - 1; row >= 0; --row) {
        if ((m_list->GetCheck(row, kCheckColumn) == 1) != checked)
            m_list->SetCheck(row, kCheckColumn, checked ? 1 : 0);
    }
}

void CJobList::Up()
{
    if (m_list->GetItemCount() == 0)
        return;
    m_list->setFocus();
    if (m_selectedRow <= 0)
        return;
    Move(m_selectedRow - 1);
}

void CJobList::Down()
{
    if (m_list->GetItemCount() == 0)
        return;
    m_list->setFocus();
    if (m_selectedRow < 0 || m_selectedRow >= m_list->GetItemCount() - 1)
        return;
    Move(m_selectedRow + 1);
}

void CJobList::Move(int to)
{
    // The row keeps its cells and its selection, so the editor goes on showing its profile.
    if (m_list->MoveItem(m_selectedRow, to))
        SelectRow(to);
}

void CJobList::OnProfileChanged(int index)
{
    m_currentName = m_profiles.SelectEntry(index);
    ConversionJob* selected = jobAt(m_selectedRow);
    if (!selected) {
        m_shown = nullptr;
        m_profiles.ReplaceProfile(IProfileView::ReadOnly, m_currentName, m_profiles.DisplayPlace());
        return;
    }
    m_profiles.ReplaceProfile(IProfileView::Editable, m_currentName, selected->profile);
    m_shown = selected->profile.get();
    if (selected->profile)
        m_list->SetItemText(m_selectedRow, kTargetColumn, targetOf(*selected->profile));
}

void CJobList::SetBatchRunning(bool running)
{
    ConversionJob* selected = jobAt(m_selectedRow);
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
        const int lost = deselected.indexes().first().row();
        ConversionJob* job = jobAt(lost);
        if (job && job->profile) {
            // During a batch the editor is locked, so there is nothing to write back.
            if (!m_batchRunning)
                m_profiles.WriteBack(*job->profile);
            m_profiles.LockAll();
        }
        m_selectedRow = -1;
    }
    if (!selected.isEmpty()) {
        m_selectedRow = m_list->GetFirstSelectedItem();
        ConversionJob* job = jobAt(m_selectedRow);
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

void CJobList::OnRowsChanged(int firstRow, int lastRow)
{
    firstRow = std::max(firstRow, 0);
    std::vector<RowView> read;
    for (int row = firstRow; row <= lastRow; ++row) {
        read.push_back(RowView{static_cast<ConversionJob*>(m_list->GetItemData(row)),
                               m_list->GetCheck(row, kCheckColumn) == 1});
    }
    QMutexLocker hold(&m_lock);
    for (size_t i = 0; i < read.size() && firstRow + i < m_view.size(); ++i)
        m_view[firstRow + i] = read[i];
}

void CJobList::OnRowsInserted(int firstRow, int lastRow)
{
    {
        QMutexLocker hold(&m_lock);
        m_view.insert(m_view.begin() + firstRow, size_t(lastRow - firstRow + 1), RowView{});
    }
    OnRowsChanged(firstRow, lastRow);
}

void CJobList::OnRowsRemoved(int firstRow, int lastRow)
{
    QMutexLocker hold(&m_lock);
    m_view.erase(m_view.begin() + firstRow, m_view.begin() + lastRow + 1);
}

ConversionJob* CJobList::jobAt(int row) const
{
    QMutexLocker hold(&m_lock);
    return row >= 0 && row < int(m_view.size()) ? m_view[size_t(row)].job : nullptr;
}

int CJobList::rowCount() const
{
    QMutexLocker hold(&m_lock);
    return int(m_view.size());
}

bool CJobList::isChecked(int row) const
{
    QMutexLocker hold(&m_lock);
    return row >= 0 && row < int(m_view.size()) && m_view[size_t(row)].checked;
}

void CJobList::setChecked(int row, bool checked)
{
    {
        QMutexLocker hold(&m_lock);
        if (row < 0 || row >= int(m_view.size()))
            return;
        m_view[size_t(row)].checked = checked;
    }
    m_list->SetCheck(row, kCheckColumn, checked ? 1 : 0);
}

ConversionJob* CJobList::job(int row)
{
    return jobAt(row);
}

void CJobList::setStatusText(int row, const QString& text)
{
    m_list->SetItemText(row, kStatusColumn, text);
}

void CJobList::setProgress(int row)
{
    m_list->SetProgress(row, kStatusColumn);
}

void CJobList::updateProgress(int row, int percent)
{
    m_list->UpdateProgress(row, kStatusColumn, percent);
}

void CJobList::removeProgress(int row)
{
    m_list->RemoveProgress(row, kStatusColumn);
}

void CJobList::updateTiming(int row, const RowTiming& timing)
{
    // Called on the worker: the tooltip is the list's, set on its own thread in call order.
    QMetaObject::invokeMethod(
        m_list,
        [list = m_list, row, text = timing.text()] {
            list->SetItemToolTip(row, kStatusColumn, text);
        },
        Qt::QueuedConnection);
}

void CJobList::setFailureReason(int row, const QString& reason)
{
    // After the row's last timing, on the same queue: the reason is what the tooltip keeps.
    QMetaObject::invokeMethod(
        m_list, [list = m_list, row, reason] { list->SetItemToolTip(row, kStatusColumn, reason); },
        Qt::QueuedConnection);
}
