#pragma once

#include <QString>

// Creates the output folder of a batch, one missing level at a time, each by its absolute
// path; a relative folder is taken from the current directory, which is never changed.
// Returns 0 when it created the last level, -1 otherwise (also when the folder already
// existed, or a level could not be made). Runs on the batch worker.
int MakeOutputFolder(const QString& folder);
