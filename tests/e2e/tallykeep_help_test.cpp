// Help at hand at the end of the results window's menu ｵﾌﾟｼｮﾝ: the manual
// Tallykeep.txt beside the program opened in the player's program for text
// (Notepad here), with the control bar still in front of it, and the version.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "gamelink/game_contract.h"
#include "harness/harness.h"
#include "tallykeep_session.h"
#include "tk_version.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;

using TallykeepHelp = TallykeepTest;

// A message box of Tallykeep's with this title; its text in `text`.
HWND waitForBox(const char* title, std::string& text) {
    const HWND box = waitForTopLevel(game::kDialogClass, title);
    if (!box) return nullptr;
    for (const ChildWindow& child : children(box))
        if (child.className == "Static" && !child.text.empty()) text = child.text;
    return box;
}

void answerOk(HWND box) {
    const HWND ok = findChild(box, nullptr, "OK");
    if (ok) clickButton(ok);
    EXPECT_TRUE(waitUntilGone(box));
}

TEST_F(TallykeepHelp, TheManualOpensBehindTheBarAndAMissingOneIsTold) {
    start();
    const HWND bar = waitForTopLevel(nullptr, kControlBarCaption);
    ASSERT_NE(bar, nullptr);

    results().menuCommand(kCmdManual);
    std::string told;
    const HWND box = waitForBox("エラー", told);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(told.find("Tallykeep.txt が見つかりません"), std::string::npos) << told;
    answerOk(box);

    std::ofstream(sandbox.path("Tallykeep.txt")) << "Tallykeep\r\n";
    results().menuCommand(kCmdManual);
    const HWND notepad = waitForTopLevel("Notepad", nullptr);
    ASSERT_NE(notepad, nullptr) << "no program showed the manual";
    EXPECT_NE(windowText(notepad).find("Tallykeep"), std::string::npos) << windowText(notepad);
    // The player reads the manual in front of the game; the bar stays in front.
    SetForegroundWindow(notepad);
    EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == notepad && above(bar, notepad); }))
        << "the bar fell behind the manual";

    DWORD notepadProcess = 0;
    GetWindowThreadProcessId(notepad, &notepadProcess);
    post(notepad, WM_CLOSE);
    if (!waitUntilGone(notepad, 10s)) {
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, notepadProcess)) {
            TerminateProcess(process, 0);
            CloseHandle(process);
        }
    }
}

TEST_F(TallykeepHelp, TheVersionIsTheProgramsOwn) {
    start();
    results().menuCommand(kCmdVersion);
    std::string told;
    const HWND box = waitForBox("Tallykeep", told);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(told.find(std::string("バージョン ") + TK_VERSION_TEXT), std::string::npos) << told;
    answerOk(box);
}

}  // namespace
