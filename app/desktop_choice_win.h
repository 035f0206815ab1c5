#pragma once

#include <functional>
#include <memory>

#include "gamelink/desktop.h"

// The desktop through which Tallykeep reaches the game: Win32Desktop
// (app/desktop_choice_win.cpp). The benchmark links a variant of its own in
// place of that file, with the first design's wait loops, to compare against.
std::unique_ptr<Desktop> makeDesktop(std::function<bool()> sessionEnding);
