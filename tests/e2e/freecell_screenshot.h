#pragma once

#include <windows.h>

namespace e2e {

// When TK_SCREENSHOT_DIR names a folder, the screen under the game's window
// and its dialog (which reaches out of it) is written there as <name>.bmp, a
// picture for docs/ of what a test ended with. True when no folder is named,
// or the picture was written.
bool saveScreenshot(HWND gameWindow, HWND dialog, const char* name);

}  // namespace e2e
