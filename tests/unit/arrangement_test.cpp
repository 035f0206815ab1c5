#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>

#include "gamelink/arrangement.h"

namespace {

// The example: a work area reaching to (1024, 738) on a screen 1024 wide, a
// game of 632 x 480, a results window 159 wide whose client area is 44 lower,
// a control bar 60 high whose client width becomes 626.
ArrangementLayout arranged(const std::function<void(ArrangementInput&)>& change = {}) {
    ArrangementInput input;
    input.workArea = Rect{0, 0, 1024, 738};
    input.screenWidth = 1024;
    input.screenHeight = 768;
    input.game = Rect{300, 40, 632, 480};
    input.resultsWidth = 159;
    input.resultsFrameHeight = 44;
    input.historyBoxTop = 260;
    input.controlBarHeight = 60;
    input.controlBarFrameWidth = 6;
    if (change) change(input);
    const std::optional<ArrangementLayout> layout = arrangeWindows(input);
    EXPECT_TRUE(layout.has_value());
    return layout.value_or(ArrangementLayout{});
}

TEST(Arrangement, ExampleGroup) {
    const ArrangementLayout layout = arranged();
    EXPECT_EQ(layout.game, (Rect{116, 159, 632, 480}));
    EXPECT_EQ(layout.controlBar, (Rect{116, 99, 632, 60}));
    EXPECT_EQ(layout.results, (Rect{748, 159, 159, 480}));
    EXPECT_EQ(layout.buttonWidth, 150);  // 601 / 4 = 150.25
    EXPECT_EQ(layout.buttonLefts, (std::array<int, 4>{5, 160, 315, 470}));
    EXPECT_EQ(layout.historyBoxHeight, 480 - 44 - 260 - 5);
    EXPECT_EQ(layout.historyMemoHeight, 480 - 44 - 260 - 5 - 20);
}

TEST(Arrangement, SpaceReachesFromTheScreensCornerToTheWorkAreasRightAndBottom) {
    // Taskbars at the top and on the left change nothing.
    EXPECT_EQ(arranged([](ArrangementInput& in) {
                  in.workArea = Rect{100, 30, 924, 708};
              }).controlBar,
              (Rect{116, 99, 632, 60}));
    // Without a work area, the screen.
    EXPECT_EQ(arranged([](ArrangementInput& in) { in.workArea.reset(); }).controlBar.top, (768 - 480 - 60) / 2);
}

TEST(Arrangement, HalvesAreTakenTowardZero) {
    const auto barTopFor = [](int spareHeight) {
        return arranged([=](ArrangementInput& in) { in.workArea->height = 480 + 60 + spareHeight; }).controlBar.top;
    };
    EXPECT_EQ(barTopFor(-61), -30);
    EXPECT_EQ(barTopFor(-1), 0);
    EXPECT_EQ(barTopFor(3), 1);
    // A taskbar on the right: S - RW - GW = 24 > 0 while W - RW - GW = -40.
    const ArrangementLayout layout = arranged([](ArrangementInput& in) {
        in.workArea->width = 960;
        in.game.width = 1000 - 159;
    });
    EXPECT_EQ(layout.game.left, -20);
    EXPECT_EQ(layout.results.left, 821);
}

TEST(Arrangement, GroupAsWideAsTheScreenStartsAtItsLeftEdge) {
    const ArrangementLayout layout = arranged([](ArrangementInput& in) { in.game.width = 1024 - 159; });
    EXPECT_EQ(layout.controlBar.left, 0);
    EXPECT_EQ(layout.game.left, 0);
    EXPECT_EQ(layout.results.left, 1024 - 159);
}

TEST(Arrangement, ButtonWidthRoundsHalvesToEvenAndNeverGoesBelowZero) {
    const int quarters[][2] = {{609, 152}, {610, 152}, {611, 153}, {614, 154}, {2, 0}, {6, 2}, {0, 0}, {-30, 0}};
    for (const auto& [room, width] : quarters) EXPECT_EQ(controlBarButtonWidth(room + 25), width) << room;
    EXPECT_EQ(arranged([](ArrangementInput& in) { in.game.width = 20; }).buttonLefts,
              (std::array<int, 4>{5, 10, 15, 20}));
}

TEST(Arrangement, LowGameLeavesHistoryHeightsAtZeroAndAGameWithoutAreaArrangesNothing) {
    ArrangementLayout layout = arranged([](ArrangementInput& in) { in.game.height = 300; });
    EXPECT_EQ(layout.historyBoxHeight, 0);
    EXPECT_EQ(layout.historyMemoHeight, 0);
    layout = arranged([](ArrangementInput& in) { in.game.height = 44 + 260 + 5 + 12; });
    EXPECT_EQ(layout.historyBoxHeight, 12);
    EXPECT_EQ(layout.historyMemoHeight, 0);
    ArrangementInput empty;
    empty.screenWidth = 1024;
    empty.game = Rect{10, 10, 0, 300};
    EXPECT_FALSE(arrangeWindows(empty).has_value());
}

TEST(Arrangement, TakeBackIsUnavailableOnWindowsNt4Only) {
    EXPECT_TRUE(takeBackIsUnavailable(OsVersion{2, 4, 0}));
    EXPECT_FALSE(takeBackIsUnavailable(OsVersion{1, 4, 0}));
    EXPECT_FALSE(takeBackIsUnavailable(OsVersion{2, 5, 1}));
    EXPECT_FALSE(takeBackIsUnavailable(OsVersion{0, 0, 0}));
}

// Under large fonts the margins between the controls grow with the forms, so
// that the history box keeps its frame and the buttons their gaps.
TEST(Arrangement, MarginsGrowWithThePixelsPerInch) {
    const ArrangementLayout large = arranged([](ArrangementInput& input) {
        input.pixelsPerInch = 144;
        input.historyBoxTop = 390;
    });
    EXPECT_EQ(large.historyBoxHeight, 480 - 44 - 390 - 8);  // 5 x 1.5, half away from zero
    EXPECT_EQ(large.historyMemoHeight, large.historyBoxHeight - 30);
    EXPECT_EQ(large.buttonLefts[0], 8);
    EXPECT_EQ(large.buttonLefts[1] - large.buttonLefts[0] - large.buttonWidth, 8);
}

}  // namespace

// 進捗 opens beside the group, never on the game: right, left, below, above
// where there is room, else on the roomiest side, inside the work area.
TEST(Arrangement, ProgressWindowOpensBesideTheGroupWhereTheScreenAllows) {
    const Rect work{0, 0, 1920, 1040};
    struct Case {
        const char* name;
        Rect group;
        Rect expected;
    };
    const Case cases[] = {
        {"room on the right", {100, 100, 800, 600}, {908, 100, 640, 520}},
        {"room on the left only", {1000, 100, 800, 600}, {352, 100, 640, 520}},
        {"room below only", {0, 0, 1800, 500}, {0, 508, 640, 520}},
        {"room above only", {0, 520, 1800, 520}, {0, 0, 640, 520}},
        {"room nowhere: the roomiest side (left), inside the screen", {300, 100, 1400, 900}, {0, 100, 640, 520}},
    };
    for (const Case& c : cases) EXPECT_EQ(placeBesideGroup(c.group, work, 640, 520), c.expected) << c.name;
}

// The group follows the game's own minimise and restore; while the game
// catches up with Tallykeep's own (for two seconds at most), it is not
// followed back.
TEST(Arrangement, GroupFollowsTheGameUnlessTheGameCatchesUpWithTallykeep) {
    GroupMinimizing group;
    EXPECT_EQ(group.follow(false, false, 0), GroupFollows::nothing);
    EXPECT_EQ(group.follow(true, false, 100), GroupFollows::minimize);
    EXPECT_EQ(group.follow(true, true, 200), GroupFollows::nothing);
    EXPECT_EQ(group.follow(false, true, 300), GroupFollows::restore);

    // The player minimises the results window; the game comes after it, and
    // the player restores the game before another look sees it minimised.
    group.tallykeepWent(true, 1000);
    EXPECT_EQ(group.follow(false, true, 1100), GroupFollows::nothing) << "the game is catching up";
    EXPECT_EQ(group.follow(false, true, 2999), GroupFollows::nothing);
    EXPECT_EQ(group.follow(false, true, 3000), GroupFollows::restore) << "the wait is over";

    // The player restores the results window; the game follows at once.
    group.tallykeepWent(false, 5000);
    EXPECT_EQ(group.follow(true, false, 5050), GroupFollows::nothing);
    EXPECT_EQ(group.follow(false, false, 5100), GroupFollows::nothing);
    EXPECT_EQ(group.follow(true, false, 5200), GroupFollows::minimize) << "caught up: the game is followed again";
}
