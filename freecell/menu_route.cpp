#include "freecell/menu_route.h"

namespace freecell {

namespace {

constexpr unsigned kShift = 16, kControl = 17, kAlt = 18;

}  // namespace

MenuRoute::Action MenuRoute::keyDown(unsigned virtualKey) {
    if (virtualKey == kShift || virtualKey == kControl || virtualKey == kAlt) return Action::PassOn;
    if (state_ == State::MenuBar && virtualKey == 'G') {
        state_ = State::GameMenu;
        return Action::Consumed;
    }
    const bool restart = state_ == State::GameMenu && virtualKey == 'R';
    state_ = State::Idle;
    return restart ? Action::Restart : Action::PassOn;
}

}  // namespace freecell
