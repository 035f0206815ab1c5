#pragma once

// The game's resources (freecell.rc).
#define IDI_FREECELL 1
#define IDR_LICENCE 2
