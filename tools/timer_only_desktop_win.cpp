// Tallykeep without its early ticks, for the benchmark's comparison only (the
// tk_bench_timer_only build): its desktop tells of no change of the game's
// windows, so the watcher sees the game on its 100 ms timer alone, as on
// Windows 95 and NT 4.0.
#include "app/desktop_choice_win.h"
#include "gamelink/desktop_win.h"

namespace {

class TimerOnlyDesktop final : public Win32Desktop {
public:
    using Win32Desktop::Win32Desktop;
    bool watchWindows(WindowId, WindowsChanged) override { return false; }
};

}  // namespace

std::unique_ptr<Desktop> makeDesktop(std::function<bool()> sessionEnding) {
    return std::make_unique<TimerOnlyDesktop>(std::move(sessionEnding));
}
