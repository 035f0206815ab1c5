#pragma once

#include <array>
#include <functional>

#include "forms/control_bar_view.h"
#include "toolkit/bevel.h"
#include "toolkit/form.h"
#include "toolkit/speed_button.h"

// What the control bar's buttons and close box set off. The bar knows nothing
// of the game or of the results window: whoever creates it says what each does.
struct ControlBarCommands {
    std::function<void()> start;     // "開始"
    std::function<void()> restart;   // "やり直し"
    std::function<void()> takeBack;  // "１つ戻す"
    std::function<void()> exit;      // "終了", and the bar's close box
    // The bar became hidden.
    std::function<void()> hidden;
};

// The control bar: an always-on-top tool window of four buttons that drive the
// game and end the program. Constructing it creates the window, visible. Its
// close box ends the program as "終了" does: the bar stands for Tallykeep, and
// a close box that only hid it came back with the next activation, so that
// the click seemed to do nothing (the menu's ｺﾝﾄﾛﾙﾊﾞｰ表示 hides it).
class ControlBar final : public Form, public ControlBarView {
public:
    explicit ControlBar(ControlBarCommands commands);

    // ControlBarView
    void showBar() override;
    void hideBar() override;
    Rect barBox() const override;
    int barFrameWidth() const override;
    void placeBar(const Rect& box, const std::array<int, 4>& buttonLefts, int buttonWidth) override;
    void disableTakeBack() override;

private:
    // Runs a command that brings the game to the front, then puts the bar back
    // on top of it.
    void passToGame(const std::function<void()>& command);

    ControlBarCommands commands_;
    Bevel frame_;
    SpeedButton startButton_;
    SpeedButton restartButton_;
    SpeedButton takeBackButton_;
    SpeedButton exitButton_;
};
