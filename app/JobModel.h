#pragma once

#include "BatchRows.h"

#include <QMutex>
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

// The job list's rows in order, each with its job (owned), check box, state, progress, pace
// and failure reason: the one record of the rows under both front ends, which only draw it.
//
// Threads: rows are added, removed and moved on the thread that made the model (the UI
// thread, or the terminal's main thread), never while a batch runs. Every row value is
// guarded by the model's lock, so the batch's lanes read the count, check boxes and jobs from
// any thread. The batch's changes (BatchRows) are applied as the model was made to deliver
// them: Queued, on the owner thread in the order they were made (the window, whose list
// control must be drawn there), or Direct, at once on the calling thread (the terminal, whose
// writer serves any thread). Signals are emitted where a change is applied, with no lock held.
class JobModel : public QObject, public BatchRows
{
    Q_OBJECT
public:
    enum Delivery
    {
        Queued,
        Direct
    };
    // What changed in a row (rowChanged's flags).
    enum Change
    {
        Check = 1,
        State = 2,
        Progress = 4,
        Timing = 8,
        Reason = 16,
        Profile = 32, // the job's profile was replaced or edited (its target)
        Resume = 64,
        Verdict = 128,
        Found = 256 // what the last conversion found in the source
    };

    // A copy of a row's values, without its job.
    struct RowValues
    {
        bool checked = true;
        RowState state = RowState::Ready;
        int percent = 0;
        RowTiming timing;
        QString reason;
        int resumePercent = 0;  // kept work its next conversion starts from
        QualityVerdict verdict; // of its last conversion
        QString cropFound;      // the black borders its last conversion found; empty: none
    };

    explicit JobModel(Delivery delivery = Queued, QObject* parent = nullptr);
    ~JobModel() override;

    // Appends a checked Ready row owning `job`; returns its index. Owner thread.
    int append(std::unique_ptr<ConversionJob> job);
    // Removes row `row`; its job is freed after rowRemoved's listeners have run. Owner thread.
    void remove(int row);
    // Removes every row, last first. Owner thread.
    void clear();
    // Moves row `from` to index `to`; false when either is out of range. Owner thread.
    bool move(int from, int to);
    // Tells the views that row `row`'s profile changed. Owner thread.
    void profileChanged(int row);

    // Row `row`'s values; defaults when out of range.
    RowValues values(int row) const;
    // The row holding `job`; -1 when none does.
    int indexOf(const ConversionJob* job) const;
    // The row's job; null when out of range.
    const ConversionJob* job(int row) const;

    int rowCount() const override;
    bool isChecked(int row) const override;
    void setChecked(int row, bool checked) override;
    ConversionJob* job(int row) override;
    void setState(int row, RowState state) override;
    void updateProgress(int row, int percent) override;
    void updateTiming(int row, const RowTiming& timing) override;
    void setFailureReason(int row, const QString& reason) override;
    void setResumePercent(int row, int percent) override;
    void setVerdict(int row, const QualityVerdict& verdict) override;
    void setCropFound(int row, const QString& found) override;

signals:
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowMoved(int from, int to);
    // `changes` is a set of Change flags.
    void rowChanged(int row, int changes);

private:
    struct Row
    {
        quint64 id; // never reused, unlike a freed job's address
        std::unique_ptr<ConversionJob> job;
        RowValues values;
    };

    // The id of row `row`; 0 when out of range.
    quint64 idOf(int row) const;
    // Applies `change` to the row `id` where the model delivers, then tells the views.
    void deliver(quint64 id, int changes, std::function<void(RowValues&)> change);
    bool valid(int row) const { return row >= 0 && size_t(row) < m_rows.size(); }

    const Delivery m_delivery;
    mutable QMutex m_lock;
    std::vector<Row> m_rows;
    quint64 m_lastId = 0;
};
