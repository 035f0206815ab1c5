#pragma once

namespace standin {

// The keyboard route through the menu bar: Alt (which arrives as SC_KEYMENU
// without a key), then G for the Game menu, then R for Restart. Posted
// messages never open the real menu deterministically, so the window follows
// the route itself; the menu bar still works for the mouse and for Alt+G.
class MenuRoute {
public:
    enum class Action { PassOn, Consumed, Restart };

    // WM_SYSCOMMAND SC_KEYMENU with lParam 0.
    void menuBarEntered() { state_ = State::MenuBar; }

    // WM_KEYDOWN (system false) or WM_SYSKEYDOWN (system true).
    Action keyDown(unsigned virtualKey, bool system);

    // WM_SYSCHAR: true when it is the character of a G that the route took,
    // which must not reach the default handling (it would open the menu).
    bool takeSysChar();

private:
    enum class State { Idle, MenuBar, GameMenu };
    State state_ = State::Idle;
    int pendingSysChars_ = 0;
};

}  // namespace standin
