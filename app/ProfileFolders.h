#pragma once

#include <QString>

// Where profiles live: the shipped ones beside the program, the user's own apart from them.
namespace ProfileFolders {

// The shipped profiles: "profiles/" in the application folder.
QString Shipped();

// The folder the user's own profiles are saved in and read from (with a trailing '/'):
// "profiles/" beside the program when its folder is writable (a portable copy), else
// "tovel/profiles/" in the user's data folder ($XDG_DATA_HOME, ~/.local/share). The one place
// that decides it.
QString User();

} // namespace ProfileFolders
