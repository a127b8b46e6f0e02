#pragma once

class CImageButton;
struct MainMenus;

// The main window's keys beyond the menus' own: Ctrl+Q for File › Exit, F5 for Encode and
// Shift+F5 for Stop (named in the two buttons' tooltips). Threads: UI thread only.
namespace MainShortcuts {

// Gives the keys to the Exit entry of `menus` and to the `encode` and `stop` buttons.
void install(const MainMenus& menus, CImageButton* encode, CImageButton* stop);

} // namespace MainShortcuts
