#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "freecell/statistics.h"

namespace freecell {

// The dialogs a player opens from the menu; each returns when it is closed,
// false when it could not be shown.

// The statistics (F4) with OK and a reset button; the reset calls `reset`,
// which clears the stored values and returns them, and shows them at once.
bool showStatisticsDialog(HWND owner, const Statistics& current, const std::function<Statistics()>& reset);

// A text to read (the rules, the version and licence) in a scrolling field,
// with OK.
bool showTextDialog(HWND owner, const char* title, const std::string& text);

}  // namespace freecell
