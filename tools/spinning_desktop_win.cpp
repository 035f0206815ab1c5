// Tallykeep's desktop as first designed, for the benchmark's comparison only
// (the tk_bench_spinning build): its pause returns at once, so that the wait
// loops spin without sleeping and leave the messages sent to Tallykeep
// unanswered until they end.
#include "app/desktop_choice_win.h"
#include "gamelink/desktop_win.h"

namespace {

class SpinningDesktop final : public Win32Desktop {
public:
    using Win32Desktop::Win32Desktop;
    void pause(uint32_t) override {}
    void pauseUntilGameChanges(uint32_t) override {}
};

}  // namespace

std::unique_ptr<Desktop> makeDesktop(std::function<bool()> sessionEnding) {
    return std::make_unique<SpinningDesktop>(std::move(sessionEnding));
}
