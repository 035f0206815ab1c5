#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "gamelink/desktop.h"
#include "gamelink/os_profile.h"

// The arithmetic of the arrangement that glues the control bar above the game's
// window and the results window to its right, centred as one group. Plain
// values in, plain values out: AppActivate reads the windows, asks for the
// layout and applies it.

// What the arrangement reads at the moment it runs.
struct ArrangementInput {
    // The work area (SPI_GETWORKAREA); none when it could not be read. Only its
    // right and bottom edges count: the group is centred between the screen's
    // top-left corner and them.
    std::optional<Rect> workArea;
    int screenWidth = 0;   // SM_CXSCREEN
    int screenHeight = 0;  // SM_CYSCREEN
    Rect game;             // the game's window as it stands
    // The results window: its outer width, and how much higher it is than its
    // client area (frame, caption and menu bar; its width never changes, so
    // neither does the menu bar's wrapping).
    int resultsWidth = 0;
    int resultsFrameHeight = 0;
    // The history box's top in the results window's client area.
    int historyBoxTop = 0;
    // The control bar: its outer height, and how much wider it is than its
    // client area.
    int controlBarHeight = 0;
    int controlBarFrameWidth = 0;
    // The screen's pixels per inch: the margins between the controls grow
    // with the forms under large fonts.
    int pixelsPerInch = 96;
};

// Where everything goes. Sizes that a very small game window would make
// negative are 0.
struct ArrangementLayout {
    Rect controlBar;
    Rect game;
    Rect results;
    int historyBoxHeight = 0;   // GroupBox2
    int historyMemoHeight = 0;  // Memo1
    int buttonWidth = 0;
    std::array<int, 4> buttonLefts{};
};

// None when the game's window has no area (the windows then stay where they are).
std::optional<ArrangementLayout> arrangeWindows(const ArrangementInput& input);

// The width of each of the control bar's four buttons for its client width:
// a quarter of what is left after the five 5-pixel margins, rounded to the
// nearest integer with an exact half going to the even one; never negative.
int controlBarButtonWidth(int clientWidth, int pixelsPerInch = 96);

// The game and Tallykeep's windows go and come back as one group. Minimising
// the results window (or the bar) minimises the game; what the game does by
// itself (its own minimise box, its taskbar button) Tallykeep's windows
// follow: each look at the game says what they are to do. The looks come a
// second apart at most, so they go by the state, not by the changes seen.
enum class GroupFollows { nothing, minimize, restore };
class GroupMinimizing {
public:
    // Tallykeep minimised or restored itself and told the game to follow:
    // for this long, or until the game is seen to have followed, the game
    // is catching up, and Tallykeep does not follow the game back.
    static constexpr uint64_t kCatchUpMs = 2000;
    void tallykeepWent(bool minimized, uint64_t nowMs) { catchUp_ = CatchUp{minimized, nowMs}; }

    // The game minimised or not at this look, and Tallykeep's main window.
    GroupFollows follow(bool gameMinimized, bool tallykeepMinimized, uint64_t nowMs);

private:
    struct CatchUp {
        bool minimized;
        uint64_t sinceMs;
    };
    std::optional<CatchUp> catchUp_;
};

// True on Windows NT 4.0 (platform 2, major version 4), where the control
// bar's take-back button is disabled.
bool takeBackIsUnavailable(const OsVersion& version);

// Where a window of that size opens beside the group (game, control bar and
// results window) without covering it: to its right, else its left, below,
// above, where the work area has room in that order; else on the side with the
// most room, kept inside the work area.
Rect placeBesideGroup(const Rect& group, const Rect& workArea, int width, int height);
