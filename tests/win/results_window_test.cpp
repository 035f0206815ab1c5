// The results window in-process: what only in-process can show (its menu,
// which Wine does not let another program read; the close and its saves;
// the pointer over each place), and the start-up display.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gamelink/game_contract.h"
#include "results_window_doubles.h"
#include "toolkit_test_support.h"

using results_test::Program;
using results_test::RunningGame;
using results_test::textOf;
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

std::vector<std::string> memoLines(HWND memo) {
    std::vector<std::string> lines;
    const std::string text = textOf(memo);
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class ResultsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        iniPath_ = tempPath("tkui_results_test.Ini");
        DeleteFileA(iniPath_.c_str());
    }
    void TearDown() override {
        program_.reset();
        DeleteFileA(iniPath_.c_str());
    }

    void writeSetting(const char* section, const char* key, const char* value) {
        ASSERT_TRUE(WritePrivateProfileStringA(section, key, value, iniPath_.c_str()));
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, iniPath_.c_str());
    }
    std::string savedSetting(const char* section, const char* key) const {
        char value[512] = {};
        GetPrivateProfileStringA(section, key, "", value, sizeof value, iniPath_.c_str());
        return value;
    }

    Program& open(const std::string& iniPath = "") {
        program_ = std::make_unique<Program>(iniPath.empty() ? iniPath_ : iniPath, game_);
        return *program_;
    }

    HMENU bar() const { return GetMenu(program_->window()); }
    HMENU optionMenu() const { return GetSubMenu(bar(), 0); }
    HMENU passMenu() const { return GetSubMenu(bar(), 1); }
    HMENU retryMenu() const { return GetSubMenu(passMenu(), 1); }
    bool checked(HMENU menu, UINT position) const {
        return (GetMenuState(menu, position, MF_BYPOSITION) & MF_CHECKED) != 0;
    }
    bool greyed(HMENU menu, UINT position) const {
        return (GetMenuState(menu, position, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) != 0;
    }
    std::vector<std::string> retryCaptions() const {
        std::vector<std::string> all;
        for (int i = 0; i < GetMenuItemCount(retryMenu()); ++i) all.push_back(menuString(retryMenu(), i));
        return all;
    }

    RunningGame game_;
    std::string iniPath_;
    std::unique_ptr<Program> program_;
};

TEST_F(ResultsWindowTest, FreshStartShowsGameOneFirstAttemptAndZeroes) {
    Program& p = open();
    EXPECT_EQ(textOf(p.window()), "成績");
    EXPECT_EQ(textOf(p.numberBox()), "1");
    EXPECT_EQ(p.attempt(), "1");
    for (const char* role : {"runWon", "runLost", "totalWon", "totalLost", "longestWin", "longestLoss"})
        EXPECT_EQ(p.value(role), "0") << role;
    EXPECT_EQ(p.value("run%"), "00.00%");
    EXPECT_EQ(p.value("total%"), "00.00%");
    EXPECT_EQ(p.value("current"), "0連敗中");
    // Ten empty history lines before the memo's own.
    std::string elevenEmptyLines;
    for (int i = 0; i < 11; ++i) elevenEmptyLines += "\r\n";
    EXPECT_EQ(textOf(p.memo()), elevenEmptyLines);
}

TEST_F(ResultsWindowTest, StoredValuesAreShown) {
    writeSetting("Game", "GameNo", "1234567");
    writeSetting("Game", "TryCnt", "3");
    writeSetting("Score", "streak", "3");
    writeSetting("Score", "stype", "1");
    writeSetting("Hist", "hist0", "newest");
    Program& p = open();
    EXPECT_EQ(textOf(p.numberBox()), "1,000,000") << "brought into the range of Windows XP's game";
    EXPECT_EQ(p.attempt(), "1") << "the attempt is the log's, and the log has none";
    EXPECT_EQ(p.value("current"), "3連勝中");
    EXPECT_EQ(memoLines(p.memo()).at(0), "newest");
}

TEST_F(ResultsWindowTest, MenuCaptionsReadBackExactly) {
    open();
    EXPECT_EQ(menuString(bar(), 0), "ｵﾌﾟｼｮﾝ(&O)");
    EXPECT_EQ(menuString(bar(), 1), "ﾊﾟｽ(&P)");
    EXPECT_EQ(menuString(optionMenu(), 0), "ｺﾝﾄﾛﾙﾊﾞｰ表示");
    EXPECT_EQ(menuString(optionMenu(), 1), "Tallykeepの成績だけ更新");
    EXPECT_EQ(menuString(optionMenu(), 2), "Tallykeepの成績をｸﾘｱする");
    EXPECT_EQ(menuString(passMenu(), 0), "このｹﾞｰﾑをﾊﾟｽする(10個まで)");
    EXPECT_EQ(menuString(passMenu(), 1), "ﾊﾟｽしたｹﾞｰﾑに再挑戦");
}

TEST_F(ResultsWindowTest, OptionsSwitchWithTheirCheckMarksAndAreSaved) {
    Program& p = open();
    EXPECT_TRUE(checked(optionMenu(), 0));
    EXPECT_FALSE(checked(optionMenu(), 1));
    p.choose(cmRestoreGameStatistics);
    p.choose(cmControlBar);
    EXPECT_TRUE(checked(optionMenu(), 1));
    EXPECT_FALSE(checked(optionMenu(), 0));
    EXPECT_FALSE(IsWindowVisible(p.controlBar->handle()));
    ASSERT_TRUE(p.results->queryClose());
    EXPECT_EQ(savedSetting("Show", "SskUp"), "1");
    EXPECT_EQ(savedSetting("Show", "CtlBar"), "0");
}

// An empty pass list has nothing to offer: the submenu is greyed and holds
// no item; a passed game brings it to life.
TEST_F(ResultsWindowTest, RetrySubmenuIsGreyedWhileThePassListIsEmpty) {
    Program& p = open();
    EXPECT_EQ(GetMenuItemCount(retryMenu()), 0);
    EXPECT_TRUE(greyed(passMenu(), 1));
    p.choose(cmPass);
    EXPECT_FALSE(greyed(passMenu(), 1));
    p.choose(cmRetryFirst);
    EXPECT_TRUE(greyed(passMenu(), 1));
}

TEST_F(ResultsWindowTest, StoredPassSlotShowsOnlyItsItem) {
    writeSetting("Rtry", "Retry3", "4711");
    open();
    EXPECT_EQ(retryCaptions(), std::vector<std::string>{"4711"});
    EXPECT_EQ(GetMenuItemID(retryMenu(), 0), static_cast<UINT>(cmRetryFirst + 3));
}

TEST_F(ResultsWindowTest, PassingAndTakingBackKeepTheSubmenuInListOrder) {
    writeSetting("Rtry", "Retry0", "1.5");
    Program& p = open();
    for (const char* number : {"300", "500", "200"}) {
        SetWindowTextA(p.numberBox(), number);
        p.choose(cmPass);
    }
    EXPECT_EQ(retryCaptions(), (std::vector<std::string>{"500", "300", "200", "1.5"}));
    EXPECT_EQ(textOf(p.numberBox()), "201");
    p.choose(cmRetryFirst + 1);
    EXPECT_EQ(textOf(p.numberBox()), "300");
    EXPECT_EQ(retryCaptions(), (std::vector<std::string>{"500", "200", "1.5"}));
    ASSERT_TRUE(p.results->queryClose());
    EXPECT_EQ(savedSetting("Rtry", "Retry1"), "200");
    EXPECT_EQ(savedSetting("Rtry", "Retry3"), "");
}

TEST_F(ResultsWindowTest, FullPassListSaysSoAndChangesNothing) {
    for (int slot = 0; slot < 10; ++slot)
        writeSetting("Rtry", ("Retry" + std::to_string(slot)).c_str(), std::to_string(100 - slot).c_str());
    Program& p = open();
    bool boxShown = false;
    FromInsideModalLoop step([&] {
        std::vector<HWND> boxes = openBoxes("エラー");
        if (boxes.empty()) return false;
        boxShown = true;
        PostMessageA(boxes.front(), WM_COMMAND, IDOK, 0);
        return true;
    });
    p.choose(cmPass);
    EXPECT_TRUE(boxShown);
    EXPECT_EQ(retryCaptions().size(), 10u);
    EXPECT_EQ(textOf(p.numberBox()), "1");
}

// クリア asks first, いいえ the default: Enter keeps everything, はい clears.
TEST_F(ResultsWindowTest, ClearingAsksThenKeepsThisRunAndPushesTheHistoryOutOfTheSavedLines) {
    writeSetting("Score", "won", "5");
    writeSetting("Hist", "hist0", "game 7 won");
    Program& p = open();
    for (const WPARAM answer : {WPARAM{IDNO}, WPARAM{IDYES}}) {
        bool asked = false;
        FromInsideModalLoop step([&] {
            std::vector<HWND> boxes = openBoxes("Tallykeep");
            if (boxes.empty()) return false;
            asked = true;
            // いいえ is the default: it has the focus, and Enter presses it.
            EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDNO);
            PostMessageA(boxes.front(), WM_COMMAND, answer, 0);
            return true;
        });
        p.choose(cmClearTotals);
        EXPECT_TRUE(asked);
        if (answer == IDNO) {
            EXPECT_EQ(p.value("totalWon"), "5") << "いいえ keeps the totals";
        }
    }
    EXPECT_EQ(p.value("totalWon"), "0");
    EXPECT_EQ(p.value("total%"), "00.00%");
    const std::vector<std::string> lines = memoLines(p.memo());
    ASSERT_GE(lines.size(), 14u);
    EXPECT_EQ(lines[12], "");
    EXPECT_EQ(lines[13], "game 7 won");
    ASSERT_TRUE(p.results->queryClose());
    EXPECT_EQ(savedSetting("Hist", "hist0"), "");
    EXPECT_EQ(savedSetting("Score", "won"), "0");
}

TEST_F(ResultsWindowTest, ClosingClosesTheGameAndSavesTheHistoryWholeLines) {
    const std::string wide = "第123局 勝ち 1回目 メモの幅より長い履歴の行もひとつの行として保存される";
    writeSetting("Hist", "hist0", wide.c_str());
    Program& p = open();
    EXPECT_TRUE(p.results->queryClose());
    EXPECT_FALSE(game_.open);
    EXPECT_EQ(savedSetting("Hist", "hist0"), wide);
}

// OK in "Freecell Not Found" runs the shutdown at once: a game that the user
// started while the box was open is not closed, and start-up takes it.
TEST_F(ResultsWindowTest, OkInTheNotFoundBoxSavesAtOnceAndLeavesALateGameAlone) {
    game_.open = false;
    bool answered = false;
    FromInsideModalLoop step([&] {
        std::vector<HWND> boxes = openBoxes("エラー");
        if (boxes.empty()) return false;
        game_.open = true;
        PostMessageA(boxes.front(), WM_COMMAND, IDOK, 0);
        answered = true;
        return true;
    });
    Program& p = open();
    ASSERT_TRUE(answered);
    EXPECT_TRUE(game_.open);
    for (const std::string& call : game_.calls)
        EXPECT_NE(call, "post " + std::to_string(RunningGame::kGame) + " " + std::to_string(game::kWmClose));
    EXPECT_TRUE(p.link.hasWindow()) << "start-up takes the late game";
    EXPECT_NE(GetFileAttributesA(iniPath_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ResultsWindowTest, AFailedSaveKeepsTheWindowOpenWithOneErrorBox) {
    Program& p = open("C:\\tkui_no_such_folder\\Tallykeep.Ini");
    size_t mostOpen = 0;
    bool nestedAnswer = true;
    bool asked = false;
    FromInsideModalLoop step([&] {
        std::vector<HWND> boxes = openBoxes("Tallykeep");
        if (boxes.empty()) return false;
        if (!asked) {
            asked = true;
            // The watcher asks again on every tick while the box is open.
            nestedAnswer = p.results->queryClose();
            boxes = openBoxes("Tallykeep");
        }
        mostOpen = std::max(mostOpen, boxes.size());
        for (HWND box : boxes) PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    EXPECT_FALSE(p.results->queryClose());
    EXPECT_TRUE(asked);
    EXPECT_FALSE(nestedAnswer);
    EXPECT_EQ(mostOpen, 1u);
    EXPECT_TRUE(IsWindow(p.window()));
}

// The mouse pointer over each place of the window shows the cursor that the
// layout gives that place: the arrow over the caption, the labels and the
// group boxes (the form's own), the text cursor over the memo and the number
// box (the edit controls').
class ResultsWindowPointer : public ResultsWindowTest {
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

TEST_F(ResultsWindowPointer, ArrowOverTheCaptionTheLabelsAndTheGroupBoxes) {
    Program& p = open();
    SetForegroundWindow(p.window());
    // The activation arranges the windows: let it pass before pointing.
    waitUntil([] { return false; }, 300);
    RECT r{};
    GetWindowRect(p.window(), &r);
    EXPECT_EQ(cursorAt({(r.left + r.right) / 2, r.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2}), arrow) << "caption";
    EXPECT_EQ(cursorAt(centreOf(p.panelChild(1))), arrow) << "回目";
    for (HWND child : results_test::childrenOf(p.window())) {
        if (textOf(child) != "成績") continue;
        EXPECT_EQ(cursorAt(centreOf(results_test::childrenOf(child).at(10))), arrow) << "this run's percentage";
        GetWindowRect(child, &r);
        EXPECT_EQ(cursorAt({r.right - 4, r.bottom - 4}), arrow) << "the group's frame";
    }
}

TEST_F(ResultsWindowPointer, TextCursorOverTheMemoAndTheNumberBox) {
    Program& p = open();
    SetForegroundWindow(p.window());
    // The activation arranges the windows: let it pass before pointing.
    waitUntil([] { return false; }, 300);
    EXPECT_EQ(cursorAt(centreOf(p.memo())), textCursor) << "history";
    EXPECT_EQ(cursorAt(centreOf(p.numberBox())), textCursor) << "number box";
}

}  // namespace
