// The shortcuts of the results window's two menus, pressed on a real keyboard
// (SendInput) as a player presses them: on the window, and with the caret in
// the number box. Each opens its menu, Escape closes it again, and Tallykeep
// goes on answering.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "harness/harness.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;

using TallykeepKeyboard = TallykeepTest;

// The class of the system's popup-menu windows.
constexpr char kPopupMenuClass[] = "#32768";

void sendKey(WORD virtualKey, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

// A key pressed while a modifier (VK_CONTROL, VK_MENU) is held, then both released.
void pressWith(WORD modifier, WORD key) {
    sendKey(modifier, true);
    sendKey(key, true);
    sendKey(key, false);
    sendKey(modifier, false);
}

void press(WORD key) {
    sendKey(key, true);
    sendKey(key, false);
}

bool answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 3000, &result) != 0;
}

HWND visiblePopupMenu() {
    HWND menu = findTopLevel(kPopupMenuClass, nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// The results window active, with the keyboard focus on `target` (the window
// itself or one of its controls), through a real click.
void focusByClick(HWND results, HWND target) {
    realClick(target);
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == results; })) << "Tallykeep did not become active";
}

struct Shortcut {
    const char* name;
    WORD modifier;
    WORD key;
};
const Shortcut kShortcuts[] = {{"Ctrl+P", VK_CONTROL, 'P'}, {"Alt+O", VK_MENU, 'O'}};

// The menu opens and closes: while it is open Tallykeep's queue is in the
// menu's hands, and afterwards the window answers at once. A shortcut that
// froze the program leaves it unanswering (and a core busy) for good.
void expectMenuOpensAndCloses(HWND results, const Shortcut& shortcut) {
    SCOPED_TRACE(shortcut.name);
    pressWith(shortcut.modifier, shortcut.key);
    EXPECT_TRUE(waitUntil([] { return visiblePopupMenu() != nullptr; }, 10s)) << "no menu opened";
    press(VK_ESCAPE);
    EXPECT_TRUE(waitUntil([] { return visiblePopupMenu() == nullptr; }, 10s)) << "the menu stayed open";
    // A second Escape leaves the menu bar, should the first one have left it selected.
    press(VK_ESCAPE);
    EXPECT_TRUE(waitUntil([&] { return answers(results); }, 10s)) << "Tallykeep no longer answers";
}

// Back from the game, the player types a number at once: the focus is in the
// number box, not on the window, where keys do nothing.
TEST_F(TallykeepKeyboard, TheResultsWindowActivatedTakesTypedDigitsInItsNumberBox) {
    start();
    SetForegroundWindow(session->game);
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == session->game; }));
    SetForegroundWindow(results().window());
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == results().window(); }));
    press('7');
    EXPECT_TRUE(waitUntil([&] { return results().numberBox().find('7') != std::string::npos; }))
        << results().numberBox();
}

TEST_F(TallykeepKeyboard, MenuShortcutsOnTheWindowOpenTheirMenuAndTallykeepGoesOn) {
    start();
    ASSERT_TRUE(results().waitForNumberBox("1"));
    // The middle of the window is a label: the click activates the window and
    // gives the focus to no control.
    focusByClick(results().window(), results().window());
    for (const Shortcut& shortcut : kShortcuts) expectMenuOpensAndCloses(results().window(), shortcut);
    // The program carries on: the number typed next reaches the game.
    EXPECT_TRUE(session->selectGame("7", "7")) << log().text();
}

TEST_F(TallykeepKeyboard, MenuShortcutsWithTheCaretInTheNumberBoxLeaveItsNumberAlone) {
    ASSERT_TRUE(WritePrivateProfileStringA("Game", "GameNo", "1234", sandbox.path("Tallykeep.Ini").c_str()));
    start();
    ASSERT_TRUE(results().waitForNumberBox("1,234"));
    const std::vector<ChildWindow> panel = children(children(results().window()).front().handle);
    ASSERT_EQ(panel.size(), 3u);
    const HWND numberBox = panel[2].handle;
    focusByClick(results().window(), numberBox);
    for (const Shortcut& shortcut : kShortcuts) expectMenuOpensAndCloses(results().window(), shortcut);
    // Neither shortcut typed a letter, and the box kept the focus: the next
    // key pressed goes into it.
    EXPECT_EQ(results().numberBox(), "1,234");
    results().selectInNumberBox(5, 5);
    press('5');
    EXPECT_TRUE(results().waitForNumberBox("12,345")) << results().numberBox();
}

// A number typed into the box while the game already asks for one is taken
// once the typing has paused, whole, not as soon as its first digits form a
// number: an error left "12A" in the box, the player mends it to 12345.
TEST_F(TallykeepKeyboard, NumberBeingTypedWhileTheGameAsksIsTakenWhole) {
    start();
    ASSERT_TRUE(results().waitForNumberBox("1"));
    const std::vector<ChildWindow> panel = children(children(results().window()).front().handle);
    ASSERT_EQ(panel.size(), 3u);
    const HWND numberBox = panel[2].handle;
    results().setNumberBox("12A");
    const std::size_t mark = log().size();
    const std::size_t dealsBefore = log().find("deal").size();
    postKey(session->game, VK_F3);
    // The box holds no number: Tallykeep says so and leaves the dialog waiting.
    HWND errorBox = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (errorBox = findTopLevel("#32770", "Tallykeep")) != nullptr; }, 10s));
    // Pressed again until it goes: a box still being set up may miss a press.
    ASSERT_TRUE(waitUntil(
        [] {
            const HWND box = findTopLevel("#32770", "Tallykeep");
            if (box) clickButton(findChild(box, "Button", nullptr));
            return box == nullptr;
        },
        20s));
    focusByClick(results().window(), numberBox);
    press(VK_END);
    press(VK_BACK);
    for (const WORD digit : {'3', '4', '5'}) {
        Sleep(300);  // a player's pace: well within the second the dialog waits for
        press(digit);
    }
    EXPECT_TRUE(log().waitFor("deal", std::string("12345"), mark).has_value()) << log().text();
    EXPECT_EQ(log().find("deal").size() - dealsBefore, 1u) << log().text();
}

}  // namespace
