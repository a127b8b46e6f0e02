#include "JobModel.h"

#include "ConversionJob.h"
#include "ThreadHandOff.h"

#include <algorithm>

JobModel::JobModel(Delivery delivery, QObject* parent) : QObject(parent), m_delivery(delivery) {}

JobModel::~JobModel() = default;

int JobModel::append(std::unique_ptr<ConversionJob> job)
{
    int row;
    {
        QMutexLocker hold(&m_lock);
        m_rows.push_back(Row{++m_lastId, std::move(job), RowValues{}});
        row = int(m_rows.size()) - 1;
    }
    emit rowInserted(row);
    return row;
}

void JobModel::remove(int row)
{
    std::unique_ptr<ConversionJob> doomed;
    {
        QMutexLocker hold(&m_lock);
        if (!valid(row))
            return;
        doomed = std::move(m_rows[size_t(row)].job);
        m_rows.erase(m_rows.begin() + row);
    }
    // Listeners may still look at the job (the editor lets go of its profile).
    emit rowRemoved(row);
}

void JobModel::clear()
{
    for (int row = rowCount() - 1; row >= 0; --row)
        remove(row);
}

bool JobModel::move(int from, int to)
{
    {
        QMutexLocker hold(&m_lock);
        if (!valid(from) || !valid(to))
            return false;
        if (from == to)
            return true;
        Row moving = std::move(m_rows[size_t(from)]);
        m_rows.erase(m_rows.begin() + from);
        m_rows.insert(m_rows.begin() + to, std::move(moving));
    }
    emit rowMoved(from, to);
    return true;
}

void JobModel::profileChanged(int row)
{
    if (row >= 0 && row < rowCount())
        emit rowChanged(row, Profile);
}

JobModel::RowValues JobModel::values(int row) const
{
    QMutexLocker hold(&m_lock);
    return valid(row) ? m_rows[size_t(row)].values : RowValues{};
}

int JobModel::indexOf(const ConversionJob* job) const
{
    QMutexLocker hold(&m_lock);
    const auto found = std::find_if(m_rows.begin(), m_rows.end(),
                                    [job](const Row& row) { return row.job.get() == job; });
    return found == m_rows.end() || !job ? -1 : int(found - m_rows.begin());
}

const ConversionJob* JobModel::job(int row) const
{
    QMutexLocker hold(&m_lock);
    return valid(row) ? m_rows[size_t(row)].job.get() : nullptr;
}

ConversionJob* JobModel::job(int row)
{
    QMutexLocker hold(&m_lock);
    return valid(row) ? m_rows[size_t(row)].job.get() : nullptr;
}

int JobModel::rowCount() const
{
    QMutexLocker hold(&m_lock);
    return int(m_rows.size());
}

bool JobModel::isChecked(int row) const
{
    QMutexLocker hold(&m_lock);
    return valid(row) && m_rows[size_t(row)].values.checked;
}

void JobModel::setChecked(int row, bool checked)
{
    quint64 id;
    {
        // At once, so that the batch's next read sees it; only the views are told later.
        QMutexLocker hold(&m_lock);
        if (!valid(row) || m_rows[size_t(row)].values.checked == checked)
            return;
        m_rows[size_t(row)].values.checked = checked;
        id = m_rows[size_t(row)].id;
    }
    deliver(id, Check, [](RowValues&) {});
}

void JobModel::setState(int row, RowState state)
{
    deliver(idOf(row), State | Progress | Timing | Reason | Resume | Verdict,
            [state](RowValues& values) {
                if (state == RowState::Converting) {
                    values.percent = 0;
                    values.timing = RowTiming{};
                    values.reason.clear();
                    values.resumePercent = 0;
                    values.verdict = QualityVerdict{};
                }
                values.state = state;
            });
}

void JobModel::updateProgress(int row, int percent)
{
    deliver(idOf(row), Progress, [percent](RowValues& values) {
        if (values.state == RowState::Converting)
            values.percent = std::clamp(percent, 0, 100);
    });
}

void JobModel::updateTiming(int row, const RowTiming& timing)
{
    deliver(idOf(row), Timing, [timing](RowValues& values) { values.timing = timing; });
}

void JobModel::setFailureReason(int row, const QString& reason)
{
    deliver(idOf(row), Reason, [reason](RowValues& values) { values.reason = reason; });
}

void JobModel::setResumePercent(int row, int percent)
{
    deliver(idOf(row), Resume,
            [percent](RowValues& values) { values.resumePercent = std::clamp(percent, 0, 99); });
}

void JobModel::setVerdict(int row, const QualityVerdict& verdict)
{
    deliver(idOf(row), Verdict, [verdict](RowValues& values) { values.verdict = verdict; });
}

void JobModel::setCropFound(int row, const QString& found)
{
    deliver(idOf(row), Found, [found](RowValues& values) { values.cropFound = found; });
}

quint64 JobModel::idOf(int row) const
{
    QMutexLocker hold(&m_lock);
    return valid(row) ? m_rows[size_t(row)].id : 0;
}

void JobModel::deliver(quint64 id, int changes, std::function<void(RowValues&)> change)
{
    if (id == 0)
        return;
    auto apply = [this, id, changes, change = std::move(change)] {
        // Found again: the row may have moved, or gone, since the change was made.
        int row = -1;
        {
            QMutexLocker hold(&m_lock);
            for (size_t i = 0; i < m_rows.size() && row < 0; ++i)
                if (m_rows[i].id == id)
                    row = int(i);
            if (row < 0)
                return;
            change(m_rows[size_t(row)].values);
        }
        emit rowChanged(row, changes);
    };
    if (m_delivery == Direct)
        apply();
    else
        ThreadHandOff::post(this, std::move(apply));
}
