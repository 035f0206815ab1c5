#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/CtrlF.h"
#include "forms/SeisekiF.h"
#include "gamelink/game_contract.h"
#include "toolkit/application.h"
#include "seiseki_test_doubles.h"
#include "speed_button_rendering.h"
#include "tk_version.h"
#include "toolkit_test_support.h"

using seiseki_test::MemoryClipboard;
using seiseki_test::NoLaunch;
using seiseki_test::NoStatistics;
using seiseki_test::RunningGame;
using toolkit_test::Rendering;
using toolkit_test::waitUntil;

namespace {

std::string tempPath(const std::string& name) {
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    return std::string(directory) + name;
}

// The two windows as the program creates them: the results window first, then
// the control bar, handed to it.
class ControlBar : public ::testing::Test {
protected:
    void SetUp() override {
        Application::instance().setTitle("Tallykeep");
        iniPath_ = tempPath("tkbar_control_bar_test.Ini");
        DeleteFileA(iniPath_.c_str());
        SeisekiEnvironment environment;
        environment.desktop = &game_;
        environment.launcher = &launcher_;
        environment.statistics = &statistics_;
        environment.makeClipboard = [](HWND) { return std::make_unique<MemoryClipboard>(); };
        environment.executablePath = tempPath("tkbar_control_bar_test.exe");
        results_ = std::make_unique<TFCSeisekiF>(environment);
        results_->create();
        bar_ = std::make_unique<TFCCtrF>();
        results_->attachControlBar(bar_.get());
        // The first windows of the process bring an activation of the
        // application, which arranges the windows: let it pass first.
        waitUntil([] { return false; }, 200);
    }
    void TearDown() override {
        bar_.reset();
        results_.reset();
        DeleteFileA(iniPath_.c_str());
    }

    // The check mark of ControlBar as the results window's menu shows it.
    bool controlBarChecked() const {
        HMENU option = GetSubMenu(GetMenu(results_->handle()), 0);
        return (GetMenuState(option, 0, MF_BYPOSITION) & MF_CHECKED) != 0;
    }
    std::string barId() const { return std::to_string(reinterpret_cast<WindowId>(bar_->handle())); }

    // Clicks the button as a user or a screen reader would, then lets the
    // posted messages arrive.
    void click(TSpeedButton& button) {
        SendMessageA(button.handle(), BM_CLICK, 0, 0);
        waitUntil([] { return false; }, 100);
    }

    RunningGame game_;
    NoLaunch launcher_;
    NoStatistics statistics_;
    std::string iniPath_;
    std::unique_ptr<TFCSeisekiF> results_;
    std::unique_ptr<TFCCtrF> bar_;
};

TEST_F(ControlBar, IsTheSingleInstance) {
    EXPECT_EQ(FCCtrF, bar_.get());
}

// The version in the caption is the build's (TK_VERSION_TEXT, "1.21" for
// 1.21), so that a new version cannot leave an old caption behind.
TEST_F(ControlBar, CaptionCarriesTheVersionAndTheLongVowelMarkInHalfWidthKatakana) {
    char caption[64] = {};
    GetWindowTextA(bar_->handle(), caption, sizeof caption);
    EXPECT_EQ(std::string(caption),
              std::string("Tallykeep V") + TK_VERSION_TEXT + " \xBA\xDD\xC4\xDB\xB0\xD9\xCA\xDE\xB0");
}

TEST_F(ControlBar, ClientAreaAndPositionAreTheFormData) {
    EXPECT_EQ(bar_->clientWidth(), 634);
    EXPECT_EQ(bar_->clientHeight(), 39);
    EXPECT_EQ(bar_->bounds().left, 270);
    EXPECT_EQ(bar_->bounds().top, 252);
}

TEST_F(ControlBar, IsAnAlwaysOnTopToolWindowWithOnlyACloseBox) {
    const LONG_PTR style = GetWindowLongPtrA(bar_->handle(), GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrA(bar_->handle(), GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
}

TEST_F(ControlBar, IsLimeAndVisibleFromCreation) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 20);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(bar_->handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const COLORREF background = GetPixel(dc, 10, 10);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(background, RGB(0, 255, 0));
    EXPECT_TRUE(bar_->visible());
}

TEST_F(ControlBar, HasAnIconOfItsOwn) {
    const auto icon = SendMessageA(bar_->handle(), WM_GETICON, ICON_BIG, 0);
    EXPECT_NE(icon, 0);
}

TEST_F(ControlBar, ButtonCaptionsReadBackExactly) {
    EXPECT_EQ(bar_->SpeedButton1.caption(), "開始");
    EXPECT_EQ(bar_->SpeedButton2.caption(), "やり直し");
    EXPECT_EQ(bar_->SpeedButton3.caption(), "\x82\x50\x82\xc2\x96\xdf\x82\xb7");  // "１つ戻す", full-width one
    EXPECT_EQ(bar_->SpeedButton4.caption(), "終了");
}

TEST_F(ControlBar, ButtonsStand152PixelsApartAtTheirLaidOutPlaces) {
    const TSpeedButton* buttons[] = {&bar_->SpeedButton1, &bar_->SpeedButton2, &bar_->SpeedButton3,
                                     &bar_->SpeedButton4};
    const int lefts[] = {16, 168, 320, 472};
    for (int i = 0; i < 4; ++i) {
        const Rect b = buttons[i]->bounds();
        EXPECT_EQ(b.left, lefts[i]) << "SpeedButton" << i + 1;
        EXPECT_EQ(b.top, 8) << "SpeedButton" << i + 1;
        EXPECT_EQ(b.width, 145) << "SpeedButton" << i + 1;
        EXPECT_EQ(b.height, 25) << "SpeedButton" << i + 1;
    }
}

// The height of the font that the button's window carries.
LONG fontHeightOf(const TSpeedButton& button) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(button.handle(), WM_GETFONT, 0, 0));
    LOGFONTA logFont{};
    return font && GetObjectA(font, sizeof logFont, &logFont) ? logFont.lfHeight : 0;
}

TEST_F(ControlBar, CommandButtonsUseTheirOwnFontAndTheExitButtonTheWindows) {
    EXPECT_EQ(fontHeightOf(bar_->SpeedButton1), -13);
    EXPECT_EQ(fontHeightOf(bar_->SpeedButton3), -13);
    EXPECT_EQ(fontHeightOf(bar_->SpeedButton4), -12);
}

TEST_F(ControlBar, CommandButtonsShowTheHandAndTheExitButtonTheArrow) {
    const auto cursorOver = [](const TSpeedButton& button) {
        SetCursor(nullptr);
        SendMessageA(button.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(button.handle()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    EXPECT_EQ(cursorOver(bar_->SpeedButton2), LoadCursor(nullptr, IDC_HAND));
    EXPECT_EQ(cursorOver(bar_->SpeedButton4), LoadCursor(nullptr, IDC_ARROW));
}

// The commands go to the game through the results window's desktop: the game
// to the front, the keys posted to it, the bar back on top.
std::string gameId() { return std::to_string(RunningGame::kGame); }
std::string posted(UINT message, WPARAM wParam) {
    return "post " + gameId() + ' ' + std::to_string(message) + ' ' + std::to_string(wParam);
}

TEST_F(ControlBar, StartButtonPostsF3ToTheGame) {
    results_->FreeCellWnd = RunningGame::kGame;
    game_.calls.clear();
    click(bar_->SpeedButton1);
    const std::vector<std::string> expected{"foreground " + gameId(), posted(WM_KEYDOWN, VK_F3),
                                            posted(WM_KEYUP, VK_F3), "top " + barId()};
    EXPECT_EQ(game_.calls, expected);
}

TEST_F(ControlBar, RedoButtonPostsAltGRThroughTheMenuBarAfterItsPause) {
    results_->FreeCellWnd = RunningGame::kGame;
    game_.calls.clear();
    click(bar_->SpeedButton2);
    const std::vector<std::string> expected{"foreground " + gameId(),     "pause 50",
                                            posted(WM_SYSCOMMAND, SC_KEYMENU), posted(WM_SYSKEYDOWN, 'G'),
                                            posted(WM_KEYUP, VK_MENU),        posted(WM_KEYDOWN, 'R'),
                                            posted(WM_KEYUP, 'R'),            "top " + barId()};
    EXPECT_EQ(game_.calls, expected);
}

TEST_F(ControlBar, TakeBackButtonPostsF10ToTheGame) {
    results_->FreeCellWnd = RunningGame::kGame;
    game_.calls.clear();
    click(bar_->SpeedButton3);
    const std::vector<std::string> expected{"foreground " + gameId(), posted(WM_KEYDOWN, VK_F10),
                                            posted(WM_KEYUP, VK_F10), "top " + barId()};
    EXPECT_EQ(game_.calls, expected);
}

TEST_F(ControlBar, DisabledTakeBackButtonDoesNothing) {
    results_->FreeCellWnd = RunningGame::kGame;
    bar_->SpeedButton3.setEnabled(false);
    game_.calls.clear();
    click(bar_->SpeedButton3);
    EXPECT_TRUE(game_.calls.empty());
}

TEST_F(ControlBar, WithoutAGameWindowTheCommandButtonsOnlyPutTheBarOnTop) {
    results_->FreeCellWnd = 0;
    game_.calls.clear();
    click(bar_->SpeedButton1);
    click(bar_->SpeedButton2);
    click(bar_->SpeedButton3);
    const std::vector<std::string> expected(3, "top " + barId());
    EXPECT_EQ(game_.calls, expected);
    EXPECT_TRUE(results_->visible());
}

TEST_F(ControlBar, ExitButtonClosesTheResultsWindowAndTheGame) {
    click(bar_->SpeedButton4);
    // The shutdown sequence ran: the game was closed and the settings saved.
    // (Before the message loop runs, a close ends nothing more.)
    EXPECT_FALSE(game_.open);
    EXPECT_NE(GetFileAttributesA(iniPath_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ControlBar, CloseBoxHidesTheBarAndClearsTheCheckMarkButKeepsTheSetting) {
    ASSERT_TRUE(controlBarChecked());
    SendMessageA(bar_->handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(bar_->visible());
    EXPECT_FALSE(controlBarChecked());
    EXPECT_TRUE(results_->CtlBar);
}

TEST_F(ControlBar, ClosedBarReturnsWithItsCheckMarkAtTheNextActivation) {
    SendMessageA(bar_->handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    results_->AppActivate();
    EXPECT_TRUE(bar_->visible());
    EXPECT_TRUE(controlBarChecked());
}

TEST_F(ControlBar, OwnStatisticsOptionLeavesTheMarkOfABarClosedWithItsCloseBox) {
    SendMessageA(bar_->handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    const bool ownStatisticsOnly = results_->SskUp;
    results_->SeisekiUp().click();
    EXPECT_NE(results_->SskUp, ownStatisticsOnly);
    EXPECT_EQ(results_->SeisekiUp().checked(), results_->SskUp);
    EXPECT_FALSE(bar_->visible());
    EXPECT_FALSE(controlBarChecked()) << "the mark would show a hidden bar";
    // One choice of the item brings the bar back.
    results_->ControlBar().click();
    EXPECT_TRUE(bar_->visible());
    EXPECT_TRUE(controlBarChecked());
    EXPECT_TRUE(results_->CtlBar);
}

TEST_F(ControlBar, MenuHidesAndShowsTheBarWithItsCheckMark) {
    results_->ControlBar().click();
    EXPECT_FALSE(bar_->visible());
    EXPECT_FALSE(controlBarChecked());
    EXPECT_FALSE(results_->CtlBar);
    results_->ControlBar().click();
    EXPECT_TRUE(bar_->visible());
    EXPECT_TRUE(controlBarChecked());
    EXPECT_TRUE(results_->CtlBar);
}

TEST_F(ControlBar, ActivationWithoutAGameToArrangeAroundLeavesEveryWindowWhereItIs) {
    const auto expectFormDataPlaces = [this] {
        EXPECT_EQ(results_->bounds().left, 789);
        EXPECT_EQ(results_->bounds().top, 231);
        EXPECT_EQ(results_->clientHeight(), 436);
        EXPECT_EQ(bar_->bounds().left, 270);
        EXPECT_EQ(bar_->clientWidth(), 634);
        EXPECT_EQ(bar_->SpeedButton2.left(), 168);
    };
    results_->FreeCellWnd = 0;
    results_->AppActivate();
    expectFormDataPlaces();
    // Minimised, the game's rectangle is not the size the user gave it.
    HWND minimised = CreateWindowExA(0, "STATIC", "game", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200, 150,
                                     nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(minimised, nullptr);
    ShowWindow(minimised, SW_MINIMIZE);
    results_->FreeCellWnd = reinterpret_cast<WindowId>(minimised);
    results_->AppActivate();
    expectFormDataPlaces();
    DestroyWindow(minimised);
}

TEST_F(ControlBar, BarSwitchedOffStaysHiddenAtEveryActivation) {
    results_->ControlBar().click();
    results_->AppActivate();
    EXPECT_FALSE(bar_->visible());
    EXPECT_FALSE(results_->ControlBar().checked());
    EXPECT_FALSE(results_->CtlBar);
}

TEST_F(ControlBar, ActivationDisablesTakeBackOnNt4AndNeverEnablesIt) {
    results_->OsVersion = OsVersion{2, 4, 0};
    results_->AppActivate();
    EXPECT_FALSE(bar_->SpeedButton3.enabled());
    EXPECT_TRUE(bar_->SpeedButton2.enabled());
    results_->OsVersion = OsVersion{2, 5, 1};
    results_->AppActivate();
    EXPECT_FALSE(bar_->SpeedButton3.enabled());
}

// Pixels of one colour in a button's picture, drawn by the bar as the button asks.
int colourCount(TSpeedButton& button, COLORREF colour, UINT state = 0) {
    return Rendering(button, state).count(colour);
}

TEST_F(ControlBar, EachButtonShowsItsOwnGlyph) {
    const COLORREF yellow = RGB(255, 255, 0), red = RGB(255, 0, 0), maroon = RGB(128, 0, 0);
    const COLORREF lightBlue = RGB(166, 202, 240);
    EXPECT_GT(colourCount(bar_->SpeedButton1, yellow), 40);  // the lit doorway
    EXPECT_GT(colourCount(bar_->SpeedButton2, red), 40);     // the arrow
    EXPECT_EQ(colourCount(bar_->SpeedButton2, yellow), 0);
    EXPECT_GT(colourCount(bar_->SpeedButton3, red), 8);      // cross and light
    EXPECT_GT(colourCount(bar_->SpeedButton4, maroon), 40);  // the closed door
    EXPECT_GT(colourCount(bar_->SpeedButton4, lightBlue), 10);
}

TEST_F(ControlBar, DisabledTakeBackButtonShowsTheGreyAmbulance) {
    const COLORREF grey = RGB(128, 128, 128);
    const int greyWhenEnabled = colourCount(bar_->SpeedButton3, grey);
    bar_->SpeedButton3.setEnabled(false);
    EXPECT_EQ(colourCount(bar_->SpeedButton3, RGB(255, 0, 0), ODS_DISABLED), 0);
    EXPECT_GT(colourCount(bar_->SpeedButton3, grey, ODS_DISABLED), greyWhenEnabled + 20);
}

}  // namespace
