#pragma once

class CImageButton;
struct MainMenus;

// The main window's keys beyond the menus' own: Ctrl+Q for File › Exit, F5 for Encode and
// Shift+F5 for Stop and F6 for Pause (named in the buttons' tooltips). Threads: UI thread only.
namespace MainShortcuts {

// Gives the keys to the Exit entry of `menus` and to the `encode`, `stop` and `pause` buttons.
void install(const MainMenus& menus, CImageButton* encode, CImageButton* stop, CImageButton* pause);

} // namespace MainShortcuts
