#pragma once

#include <QString>

// Creates the output folder of a batch, one missing level at a time, and enters it.
// Returns 0 when it created the last level and entered it, -1 otherwise (also when the folder
// already existed). Leaves the process's current directory in the deepest level it reached,
// which is where the encoder tool then starts. Runs on the batch worker.
int MakeOutputFolder(const QString& folder);
