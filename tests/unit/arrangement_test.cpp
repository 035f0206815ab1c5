#include <gtest/gtest.h>

#include <array>
#include <optional>

#include "gamelink/arrangement.h"

namespace {

// The example group: a 1024-wide screen whose work area ends at 738, a game
// of 632 x 480, a results window 159 wide and a control bar 60 high whose
// client area is 6 narrower than the bar (626 for a bar 632 wide).
ArrangementInput example() {
    ArrangementInput input;
    input.workArea = ScreenBox{0, 0, 1024, 738};
    input.screenWidth = 1024;
    input.screenHeight = 768;
    input.game = ScreenBox{300, 40, 632, 480};
    input.resultsWidth = 159;
    input.resultsFrameHeight = 44;
    input.historyBoxTop = 260;
    input.controlBarHeight = 60;
    input.controlBarFrameWidth = 6;
    return input;
}

ArrangementLayout arranged(const ArrangementInput& input) {
    const std::optional<ArrangementLayout> layout = arrangeWindows(input);
    EXPECT_TRUE(layout.has_value());
    return layout.value_or(ArrangementLayout{});
}

TEST(Arrangement, ExampleGroupIsCentredWithTheBarAboveAndTheResultsBeside) {
    const ArrangementLayout layout = arranged(example());
    EXPECT_EQ(layout.game, (ScreenBox{116, 159, 632, 480}));
    EXPECT_EQ(layout.controlBar, (ScreenBox{116, 99, 632, 60}));
    EXPECT_EQ(layout.results, (ScreenBox{748, 159, 159, 480}));
}

TEST(Arrangement, ExampleButtonsAreSpreadOverTheBar) {
    const ArrangementLayout layout = arranged(example());
    EXPECT_EQ(layout.buttonWidth, 150);  // 601 / 4 is 150.25
    EXPECT_EQ(layout.buttonLefts, (std::array<int, 4>{5, 160, 315, 470}));
}

TEST(Arrangement, HistoryBoxEndsFivePixelsAboveTheClientBottomAndTheMemoTwentyInside) {
    const ArrangementLayout layout = arranged(example());
    // Client height 480 - 44 = 436, as the form data has it.
    EXPECT_EQ(layout.historyBoxHeight, 436 - 260 - 5);
    EXPECT_EQ(layout.historyMemoHeight, 436 - 260 - 5 - 20);
}

TEST(Arrangement, WithoutAWorkAreaTheScreenIsTheSpace) {
    ArrangementInput input = example();
    input.workArea.reset();
    const ArrangementLayout layout = arranged(input);
    EXPECT_EQ(layout.controlBar.top, (768 - 480 - 60) / 2);
    EXPECT_EQ(layout.controlBar.left, 116);
}

TEST(Arrangement, WorkAreaTopAndLeftEdgesAreIgnored) {
    ArrangementInput input = example();
    input.workArea = ScreenBox{100, 30, 924, 708};  // taskbars on the left and at the top
    const ArrangementLayout layout = arranged(input);
    EXPECT_EQ(layout.controlBar.top, 99);
    EXPECT_EQ(layout.controlBar.left, 116);
}

TEST(Arrangement, GroupHigherThanTheSpaceHalvesTowardZero) {
    ArrangementInput input = example();
    input.workArea = ScreenBox{0, 0, 1024, 480 + 60 - 61};  // d = -61
    ArrangementLayout layout = arranged(input);
    EXPECT_EQ(layout.controlBar.top, -30);
    EXPECT_EQ(layout.game.top, -30 + 60);
    EXPECT_EQ(layout.results.top, -30 + 60);
    input.workArea = ScreenBox{0, 0, 1024, 480 + 60 - 1};  // d = -1
    layout = arranged(input);
    EXPECT_EQ(layout.controlBar.top, 0);
}

TEST(Arrangement, GroupExactlyAsWideAsTheScreenStartsAtTheLeftEdge) {
    ArrangementInput input = example();
    input.game.width = 1024 - 159;
    const ArrangementLayout layout = arranged(input);
    EXPECT_EQ(layout.controlBar.left, 0);
    EXPECT_EQ(layout.game.left, 0);
    EXPECT_EQ(layout.results.left, 1024 - 159);
}

TEST(Arrangement, GroupWiderThanTheScreenStartsAtTheLeftEdge) {
    ArrangementInput input = example();
    input.game.width = 1200;
    const ArrangementLayout layout = arranged(input);
    EXPECT_EQ(layout.game.left, 0);
    EXPECT_EQ(layout.results.left, 1200);
}

TEST(Arrangement, TaskbarOnTheRightCanPushTheGroupPastTheScreensLeftEdge) {
    ArrangementInput input = example();
    input.workArea = ScreenBox{0, 0, 960, 738};
    input.game.width = 1000 - 159;  // S - RW - GW = 24 > 0, W - RW - GW = -40
    const ArrangementLayout layout = arranged(input);
    EXPECT_EQ(layout.game.left, -20);
    EXPECT_EQ(layout.controlBar.left, -20);
    EXPECT_EQ(layout.results.left, -20 + 841);
}

TEST(Arrangement, OddSpareWidthHalvesTowardZero) {
    ArrangementInput input = example();
    input.game.width = 633;  // 1024 - 160 - 633 = 231
    input.resultsWidth = 160;
    EXPECT_EQ(arranged(input).game.left, 115);  // 231 / 2
}

TEST(ButtonWidth, QuarterIsRoundedToNearestWithExactHalvesToEven) {
    EXPECT_EQ(controlBarButtonWidth(609 + 25), 152);  // 152.25
    EXPECT_EQ(controlBarButtonWidth(610 + 25), 152);  // 152.5
    EXPECT_EQ(controlBarButtonWidth(611 + 25), 153);  // 152.75
    EXPECT_EQ(controlBarButtonWidth(612 + 25), 153);  // 153
    EXPECT_EQ(controlBarButtonWidth(614 + 25), 154);  // 153.5
    EXPECT_EQ(controlBarButtonWidth(2 + 25), 0);      // 0.5
    EXPECT_EQ(controlBarButtonWidth(6 + 25), 2);      // 1.5
}

TEST(ButtonWidth, NarrowBarGivesNoNegativeWidth) {
    EXPECT_EQ(controlBarButtonWidth(25), 0);
    EXPECT_EQ(controlBarButtonWidth(10), 0);
    EXPECT_EQ(controlBarButtonWidth(0), 0);
    EXPECT_EQ(controlBarButtonWidth(-40), 0);
}

TEST(Arrangement, NarrowBarStacksTheButtonsAtTheirMargins) {
    ArrangementInput input = example();
    input.game.width = 20;
    const ArrangementLayout layout = arranged(input);
    EXPECT_EQ(layout.buttonWidth, 0);
    EXPECT_EQ(layout.buttonLefts, (std::array<int, 4>{5, 10, 15, 20}));
}

TEST(Arrangement, LowGameGivesHistoryHeightsOfZeroAtLeast) {
    ArrangementInput input = example();
    input.game.height = 300;  // client 256: above the history box's top
    ArrangementLayout layout = arranged(input);
    EXPECT_EQ(layout.historyBoxHeight, 0);
    EXPECT_EQ(layout.historyMemoHeight, 0);
    input.game.height = 44 + 260 + 5 + 12;  // a box of 12: no room for the memo
    layout = arranged(input);
    EXPECT_EQ(layout.historyBoxHeight, 12);
    EXPECT_EQ(layout.historyMemoHeight, 0);
    EXPECT_EQ(layout.results.height, 44 + 260 + 5 + 12);
}

TEST(Arrangement, GameWithoutAreaLeavesEverythingWhereItIs) {
    ArrangementInput input = example();
    input.game.width = 0;
    EXPECT_FALSE(arrangeWindows(input).has_value());
    input = example();
    input.game.height = -5;
    EXPECT_FALSE(arrangeWindows(input).has_value());
}

TEST(TakeBack, IsUnavailableOnWindowsNt4Only) {
    EXPECT_TRUE(takeBackIsUnavailable(OsVersion{2, 4, 0}));
    EXPECT_FALSE(takeBackIsUnavailable(OsVersion{1, 4, 0}));   // Windows 95
    EXPECT_FALSE(takeBackIsUnavailable(OsVersion{2, 5, 1}));   // Windows XP
    EXPECT_FALSE(takeBackIsUnavailable(OsVersion{2, 3, 51}));  // NT 3.51
    EXPECT_FALSE(takeBackIsUnavailable(OsVersion{0, 0, 0}));   // version unknown
}

}  // namespace
