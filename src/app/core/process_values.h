#pragma once
// Values fixed at start-up and read by the whole program.

#include <string>

namespace vexmo {

// Folder of the installed read-only data (skins/, config/), ending in '/'.
extern std::u16string ModuleFolder;
// Per-user data folder, ending in '/'; all writable files live under DataFolder + "config/".
extern std::u16string DataFolder;
// 1, 1.5 or 2: every design pixel of the main window is multiplied by it.
extern float UiScale;
// Horizontal logical DPI of the screen / 96.
extern float DpiRatio;

// Scale from the full-screen area: wider than 2400 and taller than 1600 gives 2, wider than 1800
// and taller than 1200 gives 1.5, anything else 1.
float ChooseUiScale(int screenWidth, int screenHeight);

} // namespace vexmo
