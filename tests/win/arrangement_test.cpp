// AppActivate in-process: the results window, the control bar and a real
// top-level window standing for the game.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "forms/CtrlF.h"
#include "forms/SeisekiF.h"
#include "toolkit/application.h"
#include "seiseki_test_doubles.h"
#include "toolkit_test_support.h"

using seiseki_test::MemoryClipboard;
using seiseki_test::NoLaunch;
using seiseki_test::RunningGame;
using toolkit_test::waitUntil;

namespace {

class StandInGameWindow {
public:
    StandInGameWindow(int width, int height) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TallykeepArrangementTestGame";
        RegisterClassA(&windowClass);  // already registered by an earlier test: fine
        window_ = CreateWindowExA(0, windowClass.lpszClassName, "game", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 60,
                                  width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~StandInGameWindow() { DestroyWindow(window_); }
    HWND handle() const { return window_; }
    WindowId id() const { return reinterpret_cast<WindowId>(window_); }
    RECT rect() const {
        RECT r{};
        GetWindowRect(window_, &r);
        return r;
    }

private:
    HWND window_ = nullptr;
};

std::string tempPath(const std::string& name) {
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    return std::string(directory) + name;
}

class Arrangement : public ::testing::Test {
protected:
    void SetUp() override {
        Application::instance().setTitle("Tallykeep");
        iniPath_ = tempPath("tkarr_arrangement_test.Ini");
        DeleteFileA(iniPath_.c_str());
        SeisekiEnvironment environment;
        environment.desktop = &desktop_;
        environment.launcher = &launcher_;
        environment.makeClipboard = [](HWND) { return std::make_unique<MemoryClipboard>(); };
        environment.executablePath = tempPath("tkarr_arrangement_test.exe");
        results_ = std::make_unique<TFCSeisekiF>(environment);
        results_->create();
        bar_ = std::make_unique<TFCCtrF>();
        results_->attachControlBar(bar_.get());
        // The activation that the first windows bring finds no game window.
        waitUntil([] { return false; }, 200);
    }
    void TearDown() override {
        bar_.reset();
        results_.reset();
        DeleteFileA(iniPath_.c_str());
    }

    RunningGame desktop_;
    NoLaunch launcher_;
    std::string iniPath_;
    std::unique_ptr<TFCSeisekiF> results_;
    std::unique_ptr<TFCCtrF> bar_;
};

TEST_F(Arrangement, GluesTheBarAboveTheGameAndTheResultsWindowBesideIt) {
    StandInGameWindow game(600, 450);
    results_->FreeCellWnd = game.id();
    results_->AppActivate();
    const RECT g = game.rect();
    const Rect bar = bar_->bounds();
    const Rect results = results_->bounds();
    EXPECT_EQ(g.right - g.left, 600);
    EXPECT_EQ(g.bottom - g.top, 450);
    EXPECT_EQ(bar.left, g.left);
    EXPECT_EQ(bar.width, 600);
    EXPECT_EQ(bar.bottom(), g.top);
    EXPECT_EQ(results.left, g.right);
    EXPECT_EQ(results.top, g.top);
    EXPECT_EQ(results.height, 450);
}

TEST_F(Arrangement, HistoryBoxAndMemoFollowTheNewHeight) {
    StandInGameWindow game(600, 380);
    results_->FreeCellWnd = game.id();
    results_->AppActivate();
    const int client = results_->clientHeight();
    EXPECT_EQ(results_->GroupBox2.bounds().bottom(), client - 5);
    EXPECT_EQ(results_->Memo1.height(), results_->GroupBox2.height() - 20);
    EXPECT_EQ(results_->GroupBox2.top(), 260);
    EXPECT_EQ(results_->Memo1.top(), 15);
}

TEST_F(Arrangement, ButtonsAreSpreadEvenlyOverTheBar) {
    StandInGameWindow game(600, 450);
    results_->FreeCellWnd = game.id();
    results_->AppActivate();
    const TSpeedButton* buttons[] = {&bar_->SpeedButton1, &bar_->SpeedButton2, &bar_->SpeedButton3,
                                     &bar_->SpeedButton4};
    const int w = buttons[0]->width();
    EXPECT_NEAR(w, (bar_->clientWidth() - 25) / 4.0, 0.5);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(buttons[i]->left(), 5 + i * (w + 5)) << "SpeedButton" << i + 1;
        EXPECT_EQ(buttons[i]->width(), w) << "SpeedButton" << i + 1;
        EXPECT_EQ(buttons[i]->top(), 8) << "SpeedButton" << i + 1;
        EXPECT_EQ(buttons[i]->height(), 25) << "SpeedButton" << i + 1;
    }
}

TEST_F(Arrangement, WithoutAGameWindowEverythingStaysWhereItIs) {
    results_->FreeCellWnd = 0;
    results_->AppActivate();
    EXPECT_EQ(results_->bounds().left, 789);
    EXPECT_EQ(results_->bounds().top, 231);
    EXPECT_EQ(results_->clientHeight(), 436);
    EXPECT_EQ(bar_->bounds().left, 270);
    EXPECT_EQ(bar_->clientWidth(), 634);
    EXPECT_EQ(bar_->SpeedButton2.left(), 168);
    EXPECT_EQ(results_->GroupBox2.height(), 173);
}

TEST_F(Arrangement, MinimisedGameLeavesEverythingWhereItIs) {
    StandInGameWindow game(600, 450);
    ShowWindow(game.handle(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(game.handle()));
    results_->FreeCellWnd = game.id();
    results_->AppActivate();
    EXPECT_EQ(results_->bounds().left, 789);
    EXPECT_EQ(results_->clientHeight(), 436);
    EXPECT_EQ(bar_->clientWidth(), 634);
}

TEST_F(Arrangement, VeryLowGameLeavesTheHistoryBoxNoNegativeHeight) {
    StandInGameWindow game(200, 120);
    results_->FreeCellWnd = game.id();
    results_->AppActivate();
    EXPECT_EQ(results_->GroupBox2.height(), 0);
    EXPECT_EQ(results_->Memo1.height(), 0);
    EXPECT_EQ(results_->bounds().left, game.rect().right);
}

TEST_F(Arrangement, OnWindowsNt4TheTakeBackButtonIsDisabledAndStaysSo) {
    results_->OsVersion = OsVersion{2, 4, 0};
    results_->AppActivate();
    EXPECT_FALSE(bar_->SpeedButton3.enabled());
    results_->AppActivate();
    EXPECT_FALSE(bar_->SpeedButton3.enabled());
    EXPECT_TRUE(bar_->SpeedButton1.enabled());
    EXPECT_TRUE(bar_->SpeedButton2.enabled());
    EXPECT_TRUE(bar_->SpeedButton4.enabled());
}

TEST_F(Arrangement, ElsewhereTheTakeBackButtonsStateIsLeftAlone) {
    results_->OsVersion = OsVersion{2, 5, 1};
    results_->AppActivate();
    EXPECT_TRUE(bar_->SpeedButton3.enabled());
    bar_->SpeedButton3.setEnabled(false);
    results_->AppActivate();
    EXPECT_FALSE(bar_->SpeedButton3.enabled());
}

TEST_F(Arrangement, BarSwitchedOffStaysHiddenWithoutItsCheckMark) {
    results_->ControlBarClick(results_->ControlBar);
    ASSERT_FALSE(results_->CtlBar);
    results_->AppActivate();
    EXPECT_FALSE(bar_->visible());
    EXPECT_FALSE(results_->ControlBar.checked());
    EXPECT_FALSE(results_->CtlBar);
}

TEST_F(Arrangement, HiddenBarIsStillArrangedForWhenItReturns) {
    StandInGameWindow game(600, 450);
    results_->FreeCellWnd = game.id();
    results_->ControlBarClick(results_->ControlBar);
    results_->AppActivate();
    results_->ControlBarClick(results_->ControlBar);
    EXPECT_TRUE(bar_->visible());
    EXPECT_EQ(bar_->bounds().bottom(), game.rect().top);
    EXPECT_EQ(bar_->bounds().width, 600);
}

}  // namespace
