#pragma once

#include <QString>

namespace AppFolder {

// The executable's folder with a trailing separator; never the current directory.
// Needs a QCoreApplication; before one exists (or in a test) the override, when set, is used.
QString path();

// Makes path() answer `folder` (a trailing separator is added). Empty clears the override.
void setOverride(const QString& folder);

} // namespace AppFolder
