#pragma once

#include "BatchRows.h"

#include <QString>
#include <memory>
#include <mutex>
#include <vector>

class CConsoleWriter;

// The job list of the terminal program: each row is written as a line when it is added and
// whenever its status changes (a judged row's with the time it took); a converting row shows
// its progress and pace through the writer.
// Threads: rows are added on the main thread before a batch; during a batch the worker (and
// an engine thread for progress) calls in. The lock guards the row table, not the jobs.
class CTerminalRows : public BatchRows
{
public:
    explicit CTerminalRows(CConsoleWriter& writer);

    // Appends a checked row holding `job`, with the status "Ready", and writes it with its
    // duration and `target`. Returns its index.
    int addRow(std::unique_ptr<ConversionJob> job, const QString& target);
    // The status text of row `row`.
    QString statusText(int row) const;

    int rowCount() const override;
    bool isChecked(int row) const override;
    void setChecked(int row, bool checked) override;
    ConversionJob* job(int row) override;
    void setStatusText(int row, const QString& text) override;
    void setProgress(int row) override;
    void updateProgress(int row, int percent) override;
    void removeProgress(int row) override;
    void updateTiming(int row, const RowTiming& timing) override;
    // Kept for the row's next status line, which ends with " - " and the reason.
    void setFailureReason(int row, const QString& reason) override;

private:
    struct Row
    {
        std::unique_ptr<ConversionJob> job;
        QString name;
        QString status;
        bool checked = true;
        bool progress = false;
        RowTiming timing;
        QString reason;
    };

    bool valid(int row) const { return row >= 0 && size_t(row) < m_rows.size(); }

    CConsoleWriter& m_writer;
    mutable std::mutex m_lock;
    std::vector<Row> m_rows;
};
