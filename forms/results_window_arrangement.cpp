// Every time Tallykeep becomes the active program, the control bar goes
// directly above the game's window with its width, the results window directly
// to its right with its height, and the group is centred on the screen; the
// history box and the bar's buttons follow the new sizes.
#include <optional>

#include "forms/results_window.h"
#include "gamelink/arrangement.h"
#include "gamelink/arrangement_win.h"
#include "toolkit/screen_scale.h"

namespace {

void setHeight(Control& control, int height) {
    Rect bounds = control.bounds();
    bounds.height = height;
    control.setBounds(bounds);
}

}  // namespace

void ResultsWindow::followTheGamesMinimize() {
    switch (groupMinimizing_.follow(ports_.game->gameMinimized(), minimized(), ports_.game->nowMs())) {
        case GroupFollows::minimize:
            minimize();
            break;
        case GroupFollows::restore:
            restore();
            break;
        case GroupFollows::nothing:
            break;
    }
}

// Without a game window to arrange around (none found, gone, or minimised
// while Tallykeep comes back), every window stays where it is.
void ResultsWindow::arrangeAroundGame() {
    GameLink& game = *ports_.game;
    const std::optional<Rect> gameBox = game.gameBox();
    if (!gameBox || minimized()) return;

    const ScreenSpace space = readScreenSpace();
    ArrangementInput input;
    input.workArea = space.workArea;
    input.screenWidth = space.width;
    input.screenHeight = space.height;
    input.game = *gameBox;
    const Rect results = bounds();
    input.resultsWidth = results.width;
    input.resultsFrameHeight = results.height - clientHeight();
    input.historyBoxTop = historyGroup_.top();
    input.controlBarHeight = controlBar_->barBox().height;
    input.controlBarFrameWidth = controlBar_->barFrameWidth();
    input.pixelsPerInch = screenPixelsPerInch();

    const std::optional<ArrangementLayout> layout = arrangeWindows(input);
    if (!layout) return;

    setBounds(layout->results);
    setHeight(historyGroup_, layout->historyBoxHeight);
    setHeight(historyMemo_, layout->historyMemoHeight);
    controlBar_->placeBar(layout->controlBar, layout->buttonLefts, layout->buttonWidth);
    game.moveGame(layout->game);
}
