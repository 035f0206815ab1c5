// AppActivate: every time Tallykeep becomes the active program, the control bar
// goes directly above the game's window with its width, the results window
// directly to its right with its height, and the group is centred on the
// screen; the history box and the bar's buttons follow the new sizes.
#include <optional>

#include "forms/CtrlF.h"
#include "forms/SeisekiF.h"
#include "gamelink/arrangement.h"
#include "gamelink/arrangement_win.h"

namespace {

Rect toRect(const ScreenBox& box) { return Rect{box.left, box.top, box.width, box.height}; }

void setHeight(Control& control, int height) {
    Rect bounds = control.bounds();
    bounds.height = height;
    control.setBounds(bounds);
}

}  // namespace

void TFCSeisekiF::AppActivate() {
    if (controlBar_) {
        arrangeAroundGame();
        // Nothing enables the button again: on NT 4.0 it stays disabled.
        if (takeBackIsUnavailable(OsVersion)) controlBar_->SpeedButton3.setEnabled(false);
        if (CtlBar) {
            controlBar_->show();
            controlBar_->bringToFront();
        } else {
            controlBar_->hide();
        }
    }
    applyCheckMarks();
}

// Without a game window to arrange around (none found, gone, or minimised
// while Tallykeep comes back), every window stays where it is.
void TFCSeisekiF::arrangeAroundGame() {
    const std::optional<ScreenBox> game = readGameWindow(FreeCellWnd);
    if (!game || minimized()) return;

    const ScreenSpace space = readScreenSpace();
    ArrangementInput input;
    input.workArea = space.workArea;
    input.screenWidth = space.width;
    input.screenHeight = space.height;
    input.game = *game;
    const Rect results = bounds();
    input.resultsWidth = results.width;
    input.resultsFrameHeight = results.height - clientHeight();
    input.historyBoxTop = GroupBox2.top();
    const Rect bar = controlBar_->bounds();
    input.controlBarHeight = bar.height;
    input.controlBarFrameWidth = bar.width - controlBar_->clientWidth();

    const std::optional<ArrangementLayout> layout = arrangeWindows(input);
    if (!layout) return;

    setBounds(toRect(layout->results));
    setHeight(GroupBox2, layout->historyBoxHeight);
    setHeight(Memo1, layout->historyMemoHeight);
    controlBar_->setBounds(toRect(layout->controlBar));
    TSpeedButton* const buttons[] = {&controlBar_->SpeedButton1, &controlBar_->SpeedButton2,
                                     &controlBar_->SpeedButton3, &controlBar_->SpeedButton4};
    for (size_t i = 0; i < layout->buttonLefts.size(); ++i) {
        Rect button = buttons[i]->bounds();
        button.left = layout->buttonLefts[i];
        button.width = layout->buttonWidth;
        buttons[i]->setBounds(button);
    }
    moveGameWindow(FreeCellWnd, layout->game);
}
