// The control bar in-process, wired to the results window and the game link
// as the program wires them.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "gamelink/game_contract.h"
#include "results_window_doubles.h"
#include "speed_button_rendering.h"
#include "tk_version.h"
#include "toolkit_test_support.h"

using results_test::Program;
using results_test::RunningGame;
using results_test::textOf;
using toolkit_test::Rendering;
using toolkit_test::waitUntil;

namespace {

std::string tempPath(const std::string& name) {
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    return std::string(directory) + name;
}

enum Button { kStart, kRestart, kTakeBack, kExit };

class ControlBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        iniPath_ = tempPath("tkbar_control_bar_test.Ini");
        DeleteFileA(iniPath_.c_str());
        open();
    }
    void TearDown() override {
        program_.reset();
        DeleteFileA(iniPath_.c_str());
    }
    void open(OsVersion version = {2, 5, 1}) {
        program_.reset();
        program_ = std::make_unique<Program>(iniPath_, game_, version);
        // The first windows of the process bring an activation of the
        // application, which arranges the windows: let it pass first.
        waitUntil([] { return false; }, 200);
    }

    bool controlBarChecked() const {
        HMENU option = GetSubMenu(GetMenu(program_->window()), 0);
        return (GetMenuState(option, 0, MF_BYPOSITION) & MF_CHECKED) != 0;
    }
    HWND bar() const { return program_->controlBar->handle(); }
    bool barVisible() const { return IsWindowVisible(bar()) != FALSE; }
    HWND button(Button which) const { return program_->button(which); }
    SpeedButton& speedButton(Button which) const {
        return static_cast<SpeedButton&>(*Control::fromHandle(button(which)));
    }
    std::string barId() const { return std::to_string(reinterpret_cast<WindowId>(bar())); }

    // Clicks the button as a user or a screen reader would, then lets the
    // posted messages arrive.
    void click(Button which) {
        SendMessageA(button(which), BM_CLICK, 0, 0);
        waitUntil([] { return false; }, 100);
    }

    RunningGame game_;
    std::string iniPath_;
    std::unique_ptr<Program> program_;
};

// The version in the caption is the build's, so that a new version cannot
// leave an old caption behind.
TEST_F(ControlBarTest, CaptionCarriesTheVersionAndTheLongVowelMarkInHalfWidthKatakana) {
    EXPECT_EQ(textOf(bar()), std::string("Tallykeep V") + TK_VERSION_TEXT + " \xBA\xDD\xC4\xDB\xB0\xD9\xCA\xDE\xB0");
}

// 最小化 in its system menu too, which a tool window's caption shows no button for.
TEST_F(ControlBarTest, IsAnAlwaysOnTopToolWindowWithOnlyACloseBoxAndAnIcon) {
    const LONG_PTR style = GetWindowLongPtrA(bar(), GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrA(bar(), GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_NE(SendMessageA(bar(), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_TRUE(barVisible());
}

TEST_F(ControlBarTest, ButtonCaptionsReadBackExactly) {
    EXPECT_EQ(textOf(button(kStart)), "開始");
    EXPECT_EQ(textOf(button(kRestart)), "やり直し");
    EXPECT_EQ(textOf(button(kTakeBack)), "１つ戻す");
    EXPECT_EQ(textOf(button(kExit)), "終了");
}

TEST_F(ControlBarTest, CommandButtonsShowTheHandAndTheExitButtonTheArrow) {
    const auto cursorOver = [](HWND button) {
        SetCursor(nullptr);
        SendMessageA(button, WM_SETCURSOR, reinterpret_cast<WPARAM>(button), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    EXPECT_EQ(cursorOver(button(kRestart)), LoadCursor(nullptr, IDC_HAND));
    EXPECT_EQ(cursorOver(button(kExit)), LoadCursor(nullptr, IDC_ARROW));
}

// The commands go to the game: the game to the front, the keys posted to it,
// the bar back on top.
std::string gameId() { return std::to_string(RunningGame::kGame); }
std::string posted(UINT message, WPARAM wParam) {
    return "post " + gameId() + ' ' + std::to_string(message) + ' ' + std::to_string(wParam);
}

TEST_F(ControlBarTest, EachCommandButtonPostsItsKeysToTheGame) {
    game_.calls.clear();
    click(kStart);
    EXPECT_EQ(game_.calls,
              (std::vector<std::string>{"foreground " + gameId(), posted(WM_KEYDOWN, VK_F3), posted(WM_KEYUP, VK_F3)}));
    Sleep(GameLink::kCommandSettleMs);
    game_.calls.clear();
    click(kRestart);
    EXPECT_EQ(game_.calls,
              (std::vector<std::string>{"foreground " + gameId(), "pause 50", posted(WM_SYSCOMMAND, SC_KEYMENU),
                                        posted(WM_SYSKEYDOWN, 'G'), posted(WM_KEYUP, VK_MENU), posted(WM_KEYDOWN, 'R'),
                                        posted(WM_KEYUP, 'R')}));
    game_.calls.clear();
    click(kTakeBack);
    EXPECT_EQ(game_.calls, (std::vector<std::string>{"foreground " + gameId(), posted(WM_KEYDOWN, VK_F10),
                                                     posted(WM_KEYUP, VK_F10)}));
}

// Each press of 開始 ends the game on the board: a second press while the
// first is still being carried out would cost a second attempt.
TEST_F(ControlBarTest, SecondStartPressInQuickSuccessionIsDropped) {
    game_.calls.clear();
    click(kStart);
    click(kStart);
    click(kRestart);
    size_t f3Presses = 0;
    for (const std::string& call : game_.calls) f3Presses += call == posted(WM_KEYDOWN, VK_F3);
    EXPECT_EQ(f3Presses, 1u);
    EXPECT_EQ(std::count(game_.calls.begin(), game_.calls.end(), posted(WM_SYSKEYDOWN, 'G')), 0);
}

TEST_F(ControlBarTest, DisabledTakeBackButtonDoesNothing) {
    speedButton(kTakeBack).setEnabled(false);
    game_.calls.clear();
    click(kTakeBack);
    EXPECT_TRUE(game_.calls.empty());
}

TEST_F(ControlBarTest, ExitButtonClosesTheResultsWindowAndTheGame) {
    click(kExit);
    // The close ran: the game was closed and the settings saved. (Before the
    // message loop runs, a close ends nothing more.)
    EXPECT_FALSE(game_.open);
    EXPECT_NE(GetFileAttributesA(iniPath_.c_str()), INVALID_FILE_ATTRIBUTES);
}

// The bar's close box does what the exit button does.
TEST_F(ControlBarTest, CloseBoxClosesTheResultsWindowAndTheGame) {
    SendMessageA(bar(), WM_SYSCOMMAND, SC_CLOSE, 0);
    waitUntil([] { return false; }, 100);
    EXPECT_FALSE(game_.open);
    EXPECT_NE(GetFileAttributesA(iniPath_.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(barVisible()) << "the bar went, not Tallykeep";
}

TEST_F(ControlBarTest, BarSwitchedOffInTheMenuStaysHiddenAtEveryActivation) {
    program_->choose(cmControlBar);
    EXPECT_FALSE(barVisible());
    program_->activate();
    EXPECT_FALSE(barVisible());
    EXPECT_FALSE(controlBarChecked());
    program_->choose(cmControlBar);
    EXPECT_TRUE(barVisible());
    EXPECT_TRUE(controlBarChecked());
}

TEST_F(ControlBarTest, ActivationGluesTheBarAboveTheGameAndTheResultsBesideIt) {
    program_->activate();
    RECT barRect{}, resultsRect{};
    GetWindowRect(bar(), &barRect);
    GetWindowRect(program_->window(), &resultsRect);
    const Rect& gameBox = game_.box;
    EXPECT_EQ(barRect.left, gameBox.left);
    EXPECT_EQ(barRect.right, gameBox.right());
    EXPECT_EQ(barRect.bottom, gameBox.top);
    EXPECT_EQ(resultsRect.left, gameBox.right());
    EXPECT_EQ(resultsRect.top, gameBox.top);
    EXPECT_EQ(resultsRect.bottom, gameBox.bottom());
    // The buttons share the bar's width.
    RECT first{}, last{};
    GetWindowRect(button(kStart), &first);
    GetWindowRect(button(kExit), &last);
    EXPECT_GT(last.right, (barRect.left + barRect.right) / 2 + (barRect.right - barRect.left) / 3);
    EXPECT_EQ(first.right - first.left, last.right - last.left);
}

TEST_F(ControlBarTest, ActivationWithoutAGameToArrangeAroundLeavesEveryWindowWhereItIs) {
    game_.open = false;
    RECT before{};
    GetWindowRect(program_->window(), &before);
    program_->activate();
    RECT after{};
    GetWindowRect(program_->window(), &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.bottom, before.bottom);
}

TEST_F(ControlBarTest, ActivationDisablesTakeBackOnNt4AndNeverEnablesIt) {
    open(OsVersion{2, 4, 0});
    program_->activate();
    EXPECT_FALSE(IsWindowEnabled(button(kTakeBack)));
    EXPECT_TRUE(IsWindowEnabled(button(kRestart)));
    program_->activate();
    EXPECT_FALSE(IsWindowEnabled(button(kTakeBack)));
}

// Pixels of one colour in a button's picture, drawn by the bar as the button asks.
int colourCount(SpeedButton& button, COLORREF colour, UINT state = 0) { return Rendering(button, state).count(colour); }

TEST_F(ControlBarTest, EachButtonShowsItsOwnGlyph) {
    const COLORREF yellow = RGB(255, 255, 0), red = RGB(255, 0, 0), maroon = RGB(128, 0, 0);
    const COLORREF lightBlue = RGB(166, 202, 240);
    EXPECT_GT(colourCount(speedButton(kStart), yellow), 40);  // the lit doorway
    EXPECT_GT(colourCount(speedButton(kRestart), red), 40);   // the arrow
    EXPECT_EQ(colourCount(speedButton(kRestart), yellow), 0);
    EXPECT_GT(colourCount(speedButton(kTakeBack), red), 8);  // cross and light
    EXPECT_GT(colourCount(speedButton(kExit), maroon), 40);  // the closed door
    EXPECT_GT(colourCount(speedButton(kExit), lightBlue), 10);
}

TEST_F(ControlBarTest, DisabledTakeBackButtonShowsTheGreyAmbulance) {
    const COLORREF grey = RGB(128, 128, 128);
    const int greyWhenEnabled = colourCount(speedButton(kTakeBack), grey);
    speedButton(kTakeBack).setEnabled(false);
    EXPECT_EQ(colourCount(speedButton(kTakeBack), RGB(255, 0, 0), ODS_DISABLED), 0);
    EXPECT_GT(colourCount(speedButton(kTakeBack), grey, ODS_DISABLED), greyWhenEnabled + 20);
}

}  // namespace
