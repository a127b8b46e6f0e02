#pragma once

#include <QString>

namespace DefaultFolders {

// The "Output" setting's default: the user's videos folder (C:\temp on Windows).
QString output();

// The folder a batch writes to when the output box is empty: the home folder (c:\ on Windows).
QString emptyOutputBox();

} // namespace DefaultFolders
