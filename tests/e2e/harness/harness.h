#pragma once

// The end-to-end test harness: sandboxes, programs, windows, clipboard,
// settings file, registry and the game FREECELL.EXE's log and commands.
#include "harness/paths.h"
#include "harness/process.h"
#include "harness/game_control.h"
#include "harness/game_player.h"
#include "harness/system_state.h"
#include "harness/window_probe.h"
