// The number box of the running Tallykeep.exe, typed into from outside as the
// user types: the separators follow every key, and the watcher enters the plain
// number into the game.
#include <gtest/gtest.h>

#include <string>
#include <windows.h>
#include <utility>

#include "gamelink/game_contract.h"
#include "harness/harness.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;

using TallykeepNumberBox = TallykeepTest;

TEST_F(TallykeepNumberBox, ShowsTheStoredNumberGroupedRegroupsWhatIsTypedAndDealsThePlainNumber) {
    ASSERT_TRUE(WritePrivateProfileStringA("Game", "GameNo", "1234", sandbox.path("Tallykeep.Ini").c_str()));
    SessionOptions options;
    options.windowsVersion = "winxp";  // its game deals up to 1,000,000
    start(options);
    EXPECT_EQ(results().numberBox(), "1,234");
    EXPECT_EQ(results().numberBoxStyle() & ES_RIGHT, ES_RIGHT);
    const struct {
        int selectFrom, selectTo;
        const char* keys;
        const char* shown;
        int caret;
        const char* dealtAt;  // F3 in the game deals this, or nullptr
    } steps[] = {
        {5, 5, "5", "12,345", 6, nullptr},
        {6, 6, "\r\b", "1,234", 5, nullptr},  // Enter inserted nothing: the backspace took the 5
        {5, 5, "5", "12,345", 6, "12345"},
        {0, -1, "999999", "999,999", 7, "999999"},
        {1, 1, "9", "9,999,999", 3, nullptr},
        {9, 9, "1\b", "999,999", 7, nullptr},  // full: the 1 was refused, the backspace took a 9
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.shown);
        results().selectInNumberBox(step.selectFrom, step.selectTo);
        results().typeIntoNumberBox(step.keys);
        ASSERT_TRUE(results().waitForNumberBox(step.shown)) << results().numberBox();
        EXPECT_EQ(results().numberBoxSelection(), std::make_pair(step.caret, step.caret));
        if (!step.dealtAt) continue;
        const std::size_t mark = log().size();
        postKey(session->game, game::kVkF3);
        EXPECT_TRUE(log().waitFor("deal", std::string(step.dealtAt), mark)) << log().text();
    }
}

// Tab, Enter and Escape go to the window's keyboard navigation first: the
// window has no tab stop to move to, Enter and Escape no button to press, so
// none of the three puts anything into the box. The keys come as a keyboard
// gives them, through Tallykeep's message loop. Enter deals the box's number,
// as 開始 does.
TEST_F(TallykeepNumberBox, TabEnterAndEscapePutNothingIntoTheBoxAndEnterDealsItsNumber) {
    ASSERT_TRUE(WritePrivateProfileStringA("Game", "GameNo", "1234", sandbox.path("Tallykeep.Ini").c_str()));
    start();
    ASSERT_TRUE(results().waitForNumberBox("1,234"));
    results().selectInNumberBox(5, 5);
    const std::size_t mark = log().size();
    for (const WPARAM key : {VK_TAB, VK_RETURN, VK_ESCAPE}) results().pressInNumberBox(key);
    ASSERT_TRUE(log().waitFor("deal", std::string("1234"), mark)) << log().text();
    EXPECT_EQ(log().count("msg", std::string("main WM_KEYDOWN 114")), 1) << log().text();
    // Whatever the keys made is queued before the 5; it is handled before the
    // 6 is posted.
    results().typeIntoNumberBox("5");
    ASSERT_TRUE(waitUntil([&] { return results().numberBox().find('5') != std::string::npos; }))
        << results().numberBox();
    results().typeIntoNumberBox("6");
    ASSERT_TRUE(waitUntil([&] { return results().numberBox().find('6') != std::string::npos; }))
        << results().numberBox();
    EXPECT_EQ(results().numberBox(), "123,456");
}

// Whether the box shows its whole text: its first and its last character
// inside its client area, with the caret at the end (the line scrolled as far
// as it goes).
bool showsWholeText(HWND box, int length) {
    DWORD_PTR first = 0, last = 0;
    SendMessageTimeoutA(box, EM_SETSEL, static_cast<WPARAM>(length), length, SMTO_BLOCK, 5000, &first);
    if (!SendMessageTimeoutA(box, EM_POSFROMCHAR, 0, 0, SMTO_BLOCK, 5000, &first) ||
        !SendMessageTimeoutA(box, EM_POSFROMCHAR, static_cast<WPARAM>(length - 1), 0, SMTO_BLOCK, 5000, &last))
        return false;
    RECT client{};
    GetClientRect(box, &client);
    const int firstLeft = static_cast<short>(LOWORD(first));
    const int lastLeft = static_cast<short>(LOWORD(last));
    return firstLeft >= 0 && lastLeft > firstLeft && lastLeft < client.right;
}

// The box takes the highest number of the XP game's range (typing stops at
// its nine characters) and shows every number of the range whole.
TEST_F(TallykeepNumberBox, TakesAndShowsTheWholeRangeOfTheGame) {
    ASSERT_TRUE(WritePrivateProfileStringA("Game", "GameNo", "1000000", sandbox.path("Tallykeep.Ini").c_str()));
    SessionOptions options;
    options.windowsVersion = "winxp";
    start(options);
    const HWND box = results().numberBoxWindow();
    ASSERT_TRUE(results().waitForNumberBox("1,000,000"));
    EXPECT_TRUE(showsWholeText(box, 9)) << "1,000,000 does not fit";
    results().selectInNumberBox(0, -1);
    results().typeIntoNumberBox("99999999");
    EXPECT_TRUE(results().waitForNumberBox("9,999,999")) << results().numberBox();
    EXPECT_TRUE(showsWholeText(box, 9)) << "9,999,999 does not fit";
}

// What players do in the box besides typing digits: Ctrl+A selects the whole
// text, a pasted number loses the spaces and the line end around it, and
// letters are shown without separators among them.
TEST_F(TallykeepNumberBox, CtrlATakesTheWholeTextPastesAreTrimmedAndLettersGoUngrouped) {
    ASSERT_TRUE(WritePrivateProfileStringA("Game", "GameNo", "1234", sandbox.path("Tallykeep.Ini").c_str()));
    start();
    ASSERT_TRUE(results().waitForNumberBox("1,234"));
    results().selectInNumberBox(2, 2);
    results().typeIntoNumberBox("\x01");
    EXPECT_TRUE(waitUntil([&] { return results().numberBoxSelection() == std::make_pair(0, 5); }));

    ASSERT_TRUE(setClipboardText("　 12345 \r\n678"));
    post(results().numberBoxWindow(), WM_PASTE);
    EXPECT_TRUE(results().waitForNumberBox("12,345")) << results().numberBox();
    EXPECT_EQ(results().numberBoxSelection(), std::make_pair(6, 6));

    results().selectInNumberBox(0, -1);
    results().typeIntoNumberBox("12a45");
    EXPECT_TRUE(results().waitForNumberBox("12A45")) << results().numberBox();
    results().typeIntoNumberBox("\b\b\b");
    EXPECT_TRUE(results().waitForNumberBox("12")) << results().numberBox();
    results().typeIntoNumberBox("345");
    EXPECT_TRUE(results().waitForNumberBox("12,345")) << results().numberBox();
}

}  // namespace
