#pragma once

#include "RowTiming.h"

#include <QString>

struct ConversionJob;

// The job list as the batch sees it: rows with a check box, a job and a status cell that can
// show a progress bar. The main window implements it with its list control, the terminal
// program with its own rows.
// Threads: called on the batch worker (and updateProgress also on an engine thread while a
// conversion runs); an implementation marshals to the thread that owns its display.
class BatchRows
{
public:
    virtual ~BatchRows() = default;

    // The current number of rows (read again after every row).
    virtual int rowCount() const = 0;
    // True when row `row`'s check box is set.
    virtual bool isChecked(int row) const = 0;
    // Sets or clears row `row`'s check box.
    virtual void setChecked(int row, bool checked) = 0;
    // The row's job; owned by the row and valid for the whole batch.
    virtual ConversionJob* job(int row) = 0;
    // Puts `text` into the row's status cell.
    virtual void setStatusText(int row, const QString& text) = 0;
    // Turns the row's status cell into a progress bar with its percentage text.
    virtual void setProgress(int row) = 0;
    // Moves the row's progress bar to `percent` (0..100).
    virtual void updateProgress(int row, int percent) = 0;
    // Takes the progress bar away from the row's status cell.
    virtual void removeProgress(int row) = 0;
    // The row's pace for its status cell's tooltip (timing.text()): called while it converts,
    // on the worker just before each updateProgress that the tool's time reports drive, and
    // once with timing.finished set just before its "Completed", "Fail" or "Abort". Shows nothing
    // unless a front-end overrides it.
    virtual void updateTiming(int /*row*/, const RowTiming& /*timing*/) {}
    // Why the row failed, in one line (its status cell's tooltip, the terminal's row line):
    // called on the worker just before its "Fail". Shows nothing unless a front-end overrides it.
    virtual void setFailureReason(int /*row*/, const QString& /*reason*/) {}
};
