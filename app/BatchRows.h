#pragma once

#include "QualityVerdict.h"
#include "RowState.h"
#include "RowTiming.h"

#include <QString>

struct ConversionJob;

// The job list as the batch sees it: rows with a check box, a job and a state. The job model
// (JobModel) implements it under both front ends; tests put a recording double here.
// Threads: called on the batch worker (and updateProgress also on an engine thread while a
// conversion runs); an implementation delivers the changes to whoever draws them.
class BatchRows
{
public:
    virtual ~BatchRows() = default;

    // The current number of rows (read again after every row).
    virtual int rowCount() const = 0;
    // True when row `row`'s check box is set.
    virtual bool isChecked(int row) const = 0;
    // Sets or clears row `row`'s check box; a later isChecked sees it at once.
    virtual void setChecked(int row, bool checked) = 0;
    // The row's job; owned by the row and valid for the whole batch.
    virtual ConversionJob* job(int row) = 0;
    // Moves the row to `state`. Converting starts its progress at 0 and forgets the pace and
    // reason of an earlier run; a judged state ends its progress.
    virtual void setState(int row, RowState state) = 0;
    // Moves the row's progress to `percent` (0..100) while it converts.
    virtual void updateProgress(int row, int percent) = 0;
    // The row's pace (timing.text() is its tooltip): called while it converts, just before
    // each updateProgress that the tool's time reports drive, and once with timing.finished
    // set just before its judged state.
    virtual void updateTiming(int row, const RowTiming& timing) = 0;
    // Why the row failed, in one line: called just before its Fail.
    virtual void setFailureReason(int row, const QString& reason) = 0;
    // The share (1..99) of the row's conversion that kept work holds, which its next conversion
    // starts from; 0: none. Said of a stopped row, and of a restored one.
    virtual void setResumePercent(int row, int percent) = 0;
    // How the row's output compares with its source: said of a completed (or, below the least
    // quality asked for, failed) row just before its judged state.
    virtual void setVerdict(int row, const QualityVerdict& verdict)
    {
        Q_UNUSED(row);
        Q_UNUSED(verdict);
    }
    // What the last conversion found in the row's source ("on 12 samples: 140:140:0:0 ...").
    virtual void setCropFound(int /*row*/, const QString& /*found*/) {}
};
