#include "gamelink/arrangement.h"

#include <algorithm>

namespace {

// The buttons keep 5 pixels from the bar's edges and between each other.
constexpr int kButtonMargin = 5;
constexpr int kButtonCount = 4;
// The history box ends 5 pixels above the client area's bottom; its memo is
// 20 pixels lower than the box (15 above it for the caption, 5 below).
constexpr int kHistoryBoxBottomMargin = 5;
constexpr int kMemoShorterThanBox = 20;

// A margin of the form data at the screen's pixels per inch, rounded as the
// forms' own lengths are (halves away from zero).
int scaled(int designed, int pixelsPerInch) { return (designed * pixelsPerInch + 48) / 96; }

}  // namespace

GroupFollows GroupMinimizing::follow(bool gameMinimized, bool tallykeepMinimized, uint64_t nowMs) {
    if (catchUp_) {
        if (catchUp_->minimized != gameMinimized && nowMs - catchUp_->sinceMs < kCatchUpMs) return GroupFollows::nothing;
        catchUp_.reset();
    }
    if (gameMinimized == tallykeepMinimized) return GroupFollows::nothing;
    return gameMinimized ? GroupFollows::minimize : GroupFollows::restore;
}

int controlBarButtonWidth(int clientWidth, int pixelsPerInch) {
    const int margin = scaled(kButtonMargin, pixelsPerInch);
    const int room = std::max(clientWidth, 0) - margin * (kButtonCount + 1);
    // Floor division, then the remainder decides: below a half down, above a
    // half up, an exact half to the even neighbour.
    int quotient = room / kButtonCount;
    int remainder = room % kButtonCount;
    if (remainder < 0) {
        remainder += kButtonCount;
        --quotient;
    }
    const int twice = 2 * remainder;
    if (twice > kButtonCount || (twice == kButtonCount && quotient % 2 != 0)) ++quotient;
    return std::max(quotient, 0);
}

std::optional<ArrangementLayout> arrangeWindows(const ArrangementInput& input) {
    const int gameWidth = input.game.width;
    const int gameHeight = input.game.height;
    if (gameWidth <= 0 || gameHeight <= 0) return std::nullopt;

    // The space reaches from the screen's corner (0, 0) to the work area's
    // right and bottom edges, or to the screen's when the work area is unknown.
    const int spaceRight = input.workArea ? input.workArea->right() : input.screenWidth;
    const int spaceBottom = input.workArea ? input.workArea->bottom() : input.screenHeight;

    ArrangementLayout layout;
    const int resultsWidth = input.resultsWidth;
    const int barHeight = input.controlBarHeight;
    layout.results.width = resultsWidth;
    layout.results.height = gameHeight;
    layout.controlBar.width = gameWidth;
    layout.controlBar.height = barHeight;

    const int resultsClientHeight = gameHeight - input.resultsFrameHeight;
    const int ppi = input.pixelsPerInch;
    layout.historyBoxHeight =
        std::max(resultsClientHeight - input.historyBoxTop - scaled(kHistoryBoxBottomMargin, ppi), 0);
    layout.historyMemoHeight = std::max(layout.historyBoxHeight - scaled(kMemoShorterThanBox, ppi), 0);

    const int w = controlBarButtonWidth(gameWidth - input.controlBarFrameWidth, ppi);
    const int margin = scaled(kButtonMargin, ppi);
    layout.buttonWidth = w;
    for (size_t i = 0; i < layout.buttonLefts.size(); ++i)
        layout.buttonLefts[i] = margin + static_cast<int>(i) * (w + margin);

    // Vertically: the group (bar above game) centred, the half taken toward
    // zero as integer division does.
    const int spareHeight = spaceBottom - gameHeight - barHeight;
    const int top = spareHeight / 2 + barHeight;
    layout.results.top = top;
    layout.controlBar.top = top - barHeight;

    // Horizontally: centred while the group is narrower than the screen, else
    // from the screen's left edge.
    int left = 0;
    if (input.screenWidth - resultsWidth - gameWidth > 0) {
        left = (spaceRight - resultsWidth - gameWidth) / 2;
        layout.controlBar.left = left;
        layout.results.left = gameWidth + left;
    } else {
        layout.controlBar.left = 0;
        layout.results.left = layout.controlBar.width;
    }
    layout.game = Rect{left, top, gameWidth, gameHeight};
    return layout;
}

bool takeBackIsUnavailable(const OsVersion& version) { return version.platformId == 2 && version.major == 4; }

Rect placeBesideGroup(const Rect& group, const Rect& workArea, int width, int height) {
    constexpr int kGap = 8;
    const auto clamp = [](int value, int low, int high) { return std::max(low, std::min(value, high)); };
    const int besideTop = clamp(group.top, workArea.top, workArea.bottom() - height);
    const int besideLeft = clamp(group.left, workArea.left, workArea.right() - width);
    struct Side {
        int room;   // free pixels on that side
        int needs;  // what the window needs there
        Rect place;
    };
    const Side sides[] = {
        {workArea.right() - group.right() - kGap, width, {group.right() + kGap, besideTop, width, height}},
        {group.left - workArea.left - kGap, width, {group.left - kGap - width, besideTop, width, height}},
        {workArea.bottom() - group.bottom() - kGap, height, {besideLeft, group.bottom() + kGap, width, height}},
        {group.top - workArea.top - kGap, height, {besideLeft, group.top - kGap - height, width, height}},
    };
    const Side* chosen = nullptr;
    for (const Side& side : sides)
        if (side.room >= side.needs) {
            chosen = &side;
            break;
        }
    if (!chosen) {
        chosen = &sides[0];
        for (const Side& side : sides)
            if (side.room > chosen->room) chosen = &side;
    }
    Rect place = chosen->place;
    place.left = clamp(place.left, workArea.left, workArea.right() - width);
    place.top = clamp(place.top, workArea.top, workArea.bottom() - height);
    return place;
}
