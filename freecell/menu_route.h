#pragma once

namespace freecell {

// The keyboard route through the menu bar: Alt (which arrives as SC_KEYMENU
// without a key), then G for the Game menu, then R for Restart. Posted
// messages never drive the real menu deterministically, so the window follows
// the route itself. A person pressing Alt, G, R one after the other takes the
// same route (without the menu showing); Alt+G held together and the mouse
// open the real menu.
class MenuRoute {
public:
    enum class Action { PassOn, Consumed, Restart };

    // WM_SYSCOMMAND SC_KEYMENU with lParam 0.
    void menuBarEntered() { state_ = State::MenuBar; }

    // WM_KEYDOWN or WM_SYSKEYDOWN.
    Action keyDown(unsigned virtualKey);

private:
    enum class State { Idle, MenuBar, GameMenu };
    State state_ = State::Idle;
};

}  // namespace freecell
