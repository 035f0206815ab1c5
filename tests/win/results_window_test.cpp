#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/SeisekiF.h"
#include "gamelink/game_contract.h"
#include "toolkit/application.h"
#include "seiseki_test_doubles.h"
#include "toolkit_test_support.h"

using seiseki_test::MemoryClipboard;
using seiseki_test::NoLaunch;
using seiseki_test::NoStatistics;
using seiseki_test::RunningGame;
using toolkit_test::FromInsideModalLoop;
using toolkit_test::openBoxes;
using toolkit_test::waitUntil;

namespace {

std::string tempPath(const std::string& name) {
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    return std::string(directory) + name;
}

std::string menuString(HMENU menu, UINT position) {
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

class ResultsWindow : public ::testing::Test {
protected:
    void SetUp() override {
        Application::instance().setTitle("Tallykeep");
        executable_ = tempPath("tkui_results_test.exe");
        iniPath_ = tempPath("tkui_results_test.Ini");
        DeleteFileA(iniPath_.c_str());
    }
    void TearDown() override {
        window_.reset();
        DeleteFileA(iniPath_.c_str());
    }

    void writeSetting(const char* section, const char* key, const char* value) {
        ASSERT_TRUE(WritePrivateProfileStringA(section, key, value, iniPath_.c_str()));
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, iniPath_.c_str());
    }

    TFCSeisekiF& open(const std::string& executable = "") {
        SeisekiEnvironment environment;
        environment.desktop = &game_;
        environment.launcher = &launcher_;
        environment.statistics = &statistics_;
        environment.makeClipboard = [](HWND) { return std::make_unique<MemoryClipboard>(); };
        environment.executablePath = executable.empty() ? executable_ : executable;
        window_ = std::make_unique<TFCSeisekiF>(environment);
        window_->create();
        return *window_;
    }

    HMENU bar() const { return GetMenu(window_->handle()); }
    HMENU optionMenu() const { return GetSubMenu(bar(), 0); }
    HMENU passMenu() const { return GetSubMenu(bar(), 1); }
    HMENU retryMenu() const { return GetSubMenu(passMenu(), 1); }
    bool checked(HMENU menu, UINT position) const {
        return (GetMenuState(menu, position, MF_BYPOSITION) & MF_CHECKED) != 0;
    }

    RunningGame game_;
    NoLaunch launcher_;
    NoStatistics statistics_;
    std::string executable_;
    std::string iniPath_;
    std::unique_ptr<TFCSeisekiF> window_;
};

TEST_F(ResultsWindow, IsTheSingleInstanceWithItsCaptionAndClientSize) {
    TFCSeisekiF& w = open();
    char caption[16] = {};
    GetWindowTextA(w.handle(), caption, sizeof caption);
    EXPECT_EQ(FCSeisekiF, &w);
    EXPECT_STREQ(caption, "成績");
    EXPECT_EQ(w.clientWidth(), 151);
    EXPECT_EQ(w.clientHeight(), 436);
}

TEST_F(ResultsWindow, FreshStartShowsZeroesInEveryValueLabel) {
    TFCSeisekiF& w = open();
    EXPECT_EQ(w.Label13.caption(), "00.00%");
    EXPECT_EQ(w.Label9.caption(), "00.00%");
    EXPECT_EQ(w.Label16.caption(), "0");
    EXPECT_EQ(w.Label17.caption(), "0");
    EXPECT_EQ(w.Label18.caption(), "0");
    EXPECT_EQ(w.Label19.caption(), "0");
    EXPECT_EQ(w.Label20.caption(), "0");
    EXPECT_EQ(w.Label21.caption(), "0");
    EXPECT_EQ(w.Label11.caption(), "0連敗中");
}

TEST_F(ResultsWindow, FreshStartShowsGameOneFirstAttempt) {
    TFCSeisekiF& w = open();
    EXPECT_EQ(w.EditEx1.text(), "1");
    EXPECT_EQ(w.Label1.caption(), "1");
    EXPECT_EQ(w.Label1.bounds().right(), 106);
    EXPECT_EQ(w.Label2.bounds().right(), 135);
}

TEST_F(ResultsWindow, FreshStartHistoryIsTenEmptyLinesBeforeTheMemosOwn) {
    TFCSeisekiF& w = open();
    EXPECT_EQ(w.Memo1.lineCount(), 11);
    std::string elevenEmptyLines;
    for (int i = 0; i < 11; ++i) elevenEmptyLines += "\r\n";
    EXPECT_EQ(w.Memo1.text(), elevenEmptyLines);
}

TEST_F(ResultsWindow, StoredValuesAreShown) {
    writeSetting("Game", "GameNo", "1234567");
    writeSetting("Game", "TryCnt", "3");
    writeSetting("Score", "streak", "3");
    writeSetting("Score", "stype", "1");
    writeSetting("Hist", "hist0", "newest");
    TFCSeisekiF& w = open();
    EXPECT_EQ(w.EditEx1.text(), "1234567");
    EXPECT_EQ(w.Label1.caption(), "3");
    EXPECT_EQ(w.Label1.bounds().right(), 106);
    EXPECT_EQ(w.Label11.caption(), "3連勝中");
    EXPECT_EQ(w.Memo1.line(0), "newest");
}

TEST_F(ResultsWindow, MenuCaptionsReadBackExactly) {
    open();
    EXPECT_EQ(menuString(bar(), 0), "ｵﾌﾟｼｮﾝ(&O)");
    EXPECT_EQ(menuString(bar(), 1), "ﾊﾟｽ(&P)");
    EXPECT_EQ(menuString(optionMenu(), 0), "ｺﾝﾄﾛﾙﾊﾞｰ表示");
    EXPECT_EQ(menuString(optionMenu(), 1), "Tallykeepの成績だけ更新");
    EXPECT_EQ(menuString(optionMenu(), 2), "Tallykeepの成績をｸﾘｱする");
    EXPECT_EQ(menuString(passMenu(), 0), "このｹﾞｰﾑをﾊﾟｽする(10個まで)");
    EXPECT_EQ(menuString(passMenu(), 1), "ﾊﾟｽしたｹﾞｰﾑに再挑戦");
}

TEST_F(ResultsWindow, FreshStartChecksTheControlBarButNotOwnStatisticsOnly) {
    TFCSeisekiF& w = open();
    EXPECT_TRUE(checked(optionMenu(), 0));
    EXPECT_FALSE(checked(optionMenu(), 1));
    EXPECT_TRUE(w.CtlBar);
    EXPECT_FALSE(w.SskUp);
}

TEST_F(ResultsWindow, OwnStatisticsOnlyTogglesItsCheckMarkAndFlag) {
    TFCSeisekiF& w = open();
    w.SeisekiUpClick(w.SeisekiUp());
    EXPECT_TRUE(checked(optionMenu(), 1));
    EXPECT_TRUE(w.SskUp);
    w.SeisekiUpClick(w.SeisekiUp());
    EXPECT_FALSE(checked(optionMenu(), 1));
    EXPECT_FALSE(w.SskUp);
}

TEST_F(ResultsWindow, ChoosingTheMenuItemRunsItsHandler) {
    TFCSeisekiF& w = open();
    PostMessageA(w.handle(), WM_COMMAND, MAKEWPARAM(cmSeisekiUp, 0), 0);
    EXPECT_TRUE(waitUntil([&] { return w.SskUp; }));
}

TEST_F(ResultsWindow, ControlBarItemSwitchesTheSettingWithItsCheckMark) {
    TFCSeisekiF& w = open();
    w.ControlBarClick(w.ControlBar());
    EXPECT_FALSE(checked(optionMenu(), 0));
    EXPECT_FALSE(w.CtlBar);
    w.ControlBarClick(w.ControlBar());
    EXPECT_TRUE(checked(optionMenu(), 0));
    EXPECT_TRUE(w.CtlBar);
}

TEST_F(ResultsWindow, EmptyPassListLeavesNoRetryItem) {
    open();
    EXPECT_EQ(GetMenuItemCount(retryMenu()), 0);
}

TEST_F(ResultsWindow, StoredPassSlotShowsOnlyItsItem) {
    writeSetting("Rtry", "Retry3", "4711");
    TFCSeisekiF& w = open();
    EXPECT_EQ(GetMenuItemCount(retryMenu()), 1);
    EXPECT_EQ(menuString(retryMenu(), 0), "4711");
    EXPECT_EQ(GetMenuItemID(retryMenu(), 0), w.retryItem(3).commandId());
}

TEST_F(ResultsWindow, ShownRetryItemsReturnToTheirPlace) {
    TFCSeisekiF& w = open();
    w.retryItem(7).setCaption("700");
    w.retryItem(7).setVisible(true);
    w.retryItem(3).setCaption("300");
    w.retryItem(3).setVisible(true);
    w.retryItem(5).setCaption("500");
    w.retryItem(5).setVisible(true);
    ASSERT_EQ(GetMenuItemCount(retryMenu()), 3);
    EXPECT_EQ(menuString(retryMenu(), 0), "300");
    EXPECT_EQ(menuString(retryMenu(), 1), "500");
    EXPECT_EQ(menuString(retryMenu(), 2), "700");
    w.retryItem(3).setVisible(false);
    ASSERT_EQ(GetMenuItemCount(retryMenu()), 2);
    EXPECT_EQ(menuString(retryMenu(), 0), "500");
}

TEST_F(ResultsWindow, RetryItemsCarryTheirSlotAsTag) {
    TFCSeisekiF& w = open();
    for (int slot = 0; slot < 10; ++slot) EXPECT_EQ(w.retryItem(slot).tag(), slot);
}

// The menu cannot be read from outside under Wine: the refresh is checked here.
TEST_F(ResultsWindow, PassingAndTakingBackKeepTheSubmenuInListOrder) {
    writeSetting("Rtry", "Retry0", "1.5");
    TFCSeisekiF& w = open();
    const auto captions = [&] {
        std::vector<std::string> all;
        for (int i = 0; i < GetMenuItemCount(retryMenu()); ++i) all.push_back(menuString(retryMenu(), i));
        return all;
    };
    for (const char* number : {"300", "500", "200"}) {
        w.EditEx1.setText(number);
        w.PassClick(w.MainMenu1.item(cmPass));
    }
    EXPECT_EQ(captions(), (std::vector<std::string>{"500", "300", "200", "1.5"}));
    EXPECT_EQ(w.EditEx1.GetRawText(), "201");
    w.Retry0Click(w.retryItem(1));
    EXPECT_EQ(w.EditEx1.text(), "300");
    EXPECT_EQ(captions(), (std::vector<std::string>{"500", "200", "1.5"}));
    EXPECT_EQ(GetMenuItemID(retryMenu(), 2), w.retryItem(2).commandId());
}

TEST_F(ResultsWindow, ClearingKeepsThisRunAndPushesTheHistoryOutOfTheSavedLines) {
    TFCSeisekiF& w = open();
    w.insertHistoryLine("game 7 won");
    w.RecordWin();
    w.HyoujiUpdate();
    w.SeisekiClearClick(w.MainMenu1.item(cmSeisekiClear));
    EXPECT_EQ(w.Label16.caption(), "1");
    EXPECT_EQ(w.Label13.caption(), "100.00%");
    EXPECT_EQ(w.Label18.caption(), "0");
    EXPECT_EQ(w.Label9.caption(), "00.00%");
    EXPECT_EQ(w.Memo1.lineCount(), 25);
    EXPECT_EQ(w.Memo1.line(12), "");
    EXPECT_EQ(w.Memo1.line(13), "game 7 won");
}

TEST_F(ResultsWindow, ClosingClosesTheGameAndSavesTheHistoryWholeLines) {
    TFCSeisekiF& w = open();
    const std::string wide = "第123局 勝ち 1回目 メモの幅より長い履歴の行もひとつの行として保存される";
    w.insertHistoryLine(wide);
    EXPECT_TRUE(w.queryClose());
    EXPECT_FALSE(game_.open);
    char saved[256] = {};
    GetPrivateProfileStringA("Hist", "hist0", "", saved, sizeof saved, iniPath_.c_str());
    EXPECT_EQ(std::string(saved), wide);
}

// OK in "Freecell Not Found" runs the shutdown at once: a game that the user
// started while the box was open is not closed, and start-up takes it.
TEST_F(ResultsWindow, OkInTheNotFoundBoxSavesAtOnceAndLeavesALateGameAlone) {
    game_.open = false;
    bool answered = false;
    FromInsideModalLoop step([&] {
        std::vector<HWND> boxes = openBoxes("エラー");
        if (boxes.empty()) return false;
        game_.open = true;
        HWND ok = GetDlgItem(boxes.front(), IDOK);
        if (ok) SendMessageA(ok, BM_CLICK, 0, 0);
        else PostMessageA(boxes.front(), WM_COMMAND, IDOK, 0);
        answered = true;
        return true;
    });
    TFCSeisekiF& w = open();
    ASSERT_TRUE(answered);
    EXPECT_TRUE(game_.open);
    for (const std::string& call : game_.calls)
        EXPECT_NE(call, "post " + std::to_string(RunningGame::kGame) + " " + std::to_string(game::kWmClose));
    EXPECT_EQ(w.FreeCellWnd, RunningGame::kGame);
    EXPECT_NE(GetFileAttributesA(iniPath_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ResultsWindow, AFailedSaveKeepsTheWindowOpenWithOneErrorBox) {
    TFCSeisekiF& w = open("C:\\tkui_no_such_folder\\Tallykeep.exe");
    size_t mostOpen = 0;
    bool nestedAnswer = true;
    bool asked = false;
    FromInsideModalLoop step([&] {
        std::vector<HWND> boxes = openBoxes("Tallykeep");
        if (boxes.empty()) return false;
        if (!asked) {
            asked = true;
            // The watcher asks again on every tick while the box is open.
            nestedAnswer = w.queryClose();
            boxes = openBoxes("Tallykeep");
        }
        mostOpen = std::max(mostOpen, boxes.size());
        for (HWND box : boxes) PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    EXPECT_FALSE(w.queryClose());
    EXPECT_TRUE(asked);
    EXPECT_FALSE(nestedAnswer);
    EXPECT_EQ(mostOpen, 1u);
    EXPECT_TRUE(IsWindow(w.handle()));
}

// The mouse pointer over each place of the window shows the cursor that the
// layout gives that place: the arrow over the caption, the labels and the
// group boxes (the form's own), the text cursor over the memo and the number
// box (the edit controls').
class ResultsWindowPointer : public ResultsWindow {
protected:
    // The cursor that shows once the real pointer rests on the point.
    HCURSOR cursorAt(POINT onScreen) {
        SetCursorPos(onScreen.x - 3, onScreen.y - 3);
        waitUntil([] { return false; }, 50);
        SetCursorPos(onScreen.x, onScreen.y);
        HCURSOR shown = nullptr;
        waitUntil(
            [&] {
                CURSORINFO info{};
                info.cbSize = sizeof info;
                shown = GetCursorInfo(&info) ? info.hCursor : nullptr;
                return false;
            },
            200);
        return shown;
    }
    static POINT centreOf(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    const HCURSOR textCursor = LoadCursor(nullptr, IDC_IBEAM);
};

TEST_F(ResultsWindowPointer, ArrowOverTheCaptionTheLabelsTheGroupBoxesAndThePanel) {
    TFCSeisekiF& w = open();
    SetForegroundWindow(w.handle());
    RECT r{};
    GetWindowRect(w.handle(), &r);
    EXPECT_EQ(cursorAt({(r.left + r.right) / 2, r.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2}), arrow)
        << "caption";
    EXPECT_EQ(cursorAt(centreOf(w.Label13.handle())), arrow) << "Label13";
    EXPECT_EQ(cursorAt(centreOf(w.Label8.handle())), arrow) << "Label8";
    EXPECT_EQ(cursorAt(centreOf(w.Label2.handle())), arrow) << "Label2";
    GetWindowRect(w.GroupBox1.handle(), &r);
    EXPECT_EQ(cursorAt({r.right - 4, r.bottom - 4}), arrow) << "GroupBox1";
    GetWindowRect(w.GroupBox2.handle(), &r);
    EXPECT_EQ(cursorAt({r.left + 2, r.bottom - 3}), arrow) << "GroupBox2";
    GetWindowRect(w.Panel1.handle(), &r);
    EXPECT_EQ(cursorAt({r.left + 2, r.top + 2}), arrow) << "Panel1";
}

TEST_F(ResultsWindowPointer, TextCursorOverTheMemoAndTheNumberBox) {
    TFCSeisekiF& w = open();
    SetForegroundWindow(w.handle());
    EXPECT_EQ(cursorAt(centreOf(w.Memo1.handle())), textCursor) << "Memo1";
    EXPECT_EQ(cursorAt(centreOf(w.EditEx1.handle())), textCursor) << "EditEx1";
}

}  // namespace
