#pragma once

#include <optional>

#include "gamelink/arrangement.h"
#include "gamelink/desktop.h"

// The screen as the arrangement reads it.

struct ScreenSpace {
    std::optional<Rect> workArea;  // none when SPI_GETWORKAREA fails
    int width = 0;                 // SM_CXSCREEN
    int height = 0;                // SM_CYSCREEN
};
ScreenSpace readScreenSpace();
