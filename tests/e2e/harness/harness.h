#pragma once

// The end-to-end test harness: sandboxes, programs, windows, clipboard,
// settings file, registry and the stand-in game's log and commands.
#include "harness/paths.h"
#include "harness/process.h"
#include "harness/standin_control.h"
#include "harness/standin_player.h"
#include "harness/system_state.h"
#include "harness/window_probe.h"
