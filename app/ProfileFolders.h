#pragma once

#include <QString>

class WriteLocations;

// Where profiles live: the shipped ones beside the program, the user's own apart from them.
namespace ProfileFolders {

// The shipped profiles: "profiles/" in the application folder.
QString Shipped(const WriteLocations& where);

// The folder the user's own profiles are saved in and read from (with a trailing '/'):
// "profiles/" beside the program when the run writes there (a portable copy), else
// "profiles/" in the user's data folder ($XDG_DATA_HOME/tovel). The one place that decides it.
QString User(const WriteLocations& where);

} // namespace ProfileFolders
