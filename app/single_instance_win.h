#pragma once

#include <windows.h>

#include "common/handles_win.h"

// One Tallykeep per Windows session: two would both answer the game and count
// every game twice. A named mutex, held for the life of the process, tells a
// later start that one runs already (also while the first is still starting and
// has no window yet). The system releases it when the process ends, however it
// ends.
class SingleInstance {
public:
    SingleInstance();

    // False when another Tallykeep holds the mutex. When the mutex cannot be
    // made at all, this Tallykeep runs as the first.
    bool first() const { return first_; }

private:
    KernelHandle mutex_;
    bool first_;
};

// Brings the running Tallykeep's results window to the front, restored when it
// is minimised (its activation then arranges its other windows). Waits up to
// `limitMs` for the window, which a Tallykeep that is still starting has not
// shown yet; false when none appeared.
bool bringRunningInstanceToFront(DWORD limitMs);
