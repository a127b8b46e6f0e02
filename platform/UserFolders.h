#pragma once

#include <QString>

// The user's own folders for what a program writes, as the platform names them. Each answer
// ends in a separator and names the program's sub-folder; none is made here.
namespace UserFolders {

// Settings: $XDG_CONFIG_HOME/tovel/, else ~/.config/tovel/ (%LOCALAPPDATA%\tovel\ on Windows).
QString config();

// Logs and other state kept between runs: $XDG_STATE_HOME/tovel/, else ~/.local/state/tovel/.
QString state();

// Data the user makes: $XDG_DATA_HOME/tovel/, else ~/.local/share/tovel/.
QString data();

} // namespace UserFolders
