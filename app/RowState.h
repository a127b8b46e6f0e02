#pragma once

#include <QString>
#include <optional>

// Where a row of the job list stands. The kept job list stores it by name.
enum class RowState
{
    Ready,      // waiting for a batch (a new row, or one a crash cut short)
    Converting, // its conversion runs; drawn as a progress bar
    Completed,
    Fail,
    Abort,
    Skipped // needed no work (already in the profile's codec), or its output came out larger
};

// The Status cell's text of `state`; empty for Converting, which shows its bar instead.
QString rowStateText(RowState state);
// The name a kept list stores: "Ready", "Converting", "Completed", "Fail", "Abort", "Skipped".
QString rowStateName(RowState state);
// The state a kept name stands for; none for any other text.
std::optional<RowState> rowStateFromName(const QString& name);
// True for the states a batch ends a row with.
bool isJudged(RowState state);
