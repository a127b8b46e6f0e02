#pragma once

#include <QString>

// Gives the file `target` the modification time of the file `source`; true when it was set.
// Neither file's contents change.
bool KeepSourceDate(const QString& source, const QString& target);
