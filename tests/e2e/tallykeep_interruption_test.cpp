// Tallykeep.exe interrupted while it works: the end of the Windows session
// while the won dialog waits, a close request that arrives in the middle of a
// tick, and real clicks on the control bar while the watcher is busy.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "gamelink/game_contract.h"
#include "harness/harness.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;

using TallykeepInterrupted = TallykeepTest;

// Index of the first log line from `from` on with this event and details; -1 if none.
long lineIndex(const StandinLog& log, const std::string& event, const std::string& details, std::size_t from) {
    const std::vector<LogLine> lines = log.lines();
    for (std::size_t i = from; i < lines.size(); ++i)
        if (lines[i].event == event && lines[i].details == details) return static_cast<long>(i);
    return -1;
}

// Game 5 dealt and won; Tallykeep has counted it, ticked the select-game box
// and now waits for the user's answer, which does not come.
void waitingForTheWonDialog(TallykeepSession& session) {
    ASSERT_TRUE(session.selectGame("5", "5")) << session.log.text();
    const std::size_t mark = session.log.size();
    standinWin(session.game);
    ASSERT_TRUE(session.log.waitFor("msg", std::string("selectbox BM_SETCHECK 1"), mark)) << session.log.text();
    ASSERT_TRUE(session.results.waitForNumberBox("6"));
}

// The shutdown asks the game to close and saves. (The stand-in keeps its
// window while its won dialog is open; Windows ends it with the session.)
TEST_F(TallykeepInterrupted, EndOfTheSessionWhileTheWonDialogWaitsRunsTheShutdown) {
    start();
    waitingForTheWonDialog(*session);
    const std::size_t mark = log().size();
    DWORD_PTR answer = FALSE;
    ASSERT_NE(SendMessageTimeoutA(results().window(), WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 10000, &answer), 0)
        << "no answer within 10 s";
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "the end of the session was refused";
    EXPECT_TRUE(log().waitFor("msg", std::string("main WM_CLOSE 0"), mark)) << log().text();
    // The file is written key by key: wait for the last of the two.
    EXPECT_TRUE(waitUntil([&] {
        return iniValue(session->iniPath(), "Game", "GameNo") == "6" &&
               iniValue(session->iniPath(), "Score", "won") == "1";
    })) << log().text();
    SendMessageTimeoutA(results().window(), WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 5000, &answer);
    EXPECT_TRUE(session->tallykeep->waitForExit(20s).has_value());
}

// Windows sends the end of the session right after the query: the settings
// are saved before Tallykeep ends, wherever the end finds it.
TEST_F(TallykeepInterrupted, EndOfTheSessionRightAfterTheQuerySavesBeforeTheProgramEnds) {
    start();
    waitingForTheWonDialog(*session);
    DWORD_PTR answer = FALSE;
    ASSERT_NE(SendMessageTimeoutA(results().window(), WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 10000, &answer), 0);
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    SendMessageTimeoutA(results().window(), WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 20000, &answer);
    ASSERT_TRUE(session->tallykeep->waitForExit(20s).has_value());
    EXPECT_EQ(iniValue(session->iniPath(), "Game", "GameNo"), "6");
    EXPECT_EQ(iniValue(session->iniPath(), "Score", "won"), "1");
}

// Another program that owns the clipboard. Emptying the clipboard makes
// Tallykeep send WM_DESTROYCLIPBOARD here and wait for the answer, answering
// the messages sent to it meanwhile; this owner sends WM_CLOSE to the results
// window at that moment, in the middle of Tallykeep's tick.
class ClipboardOwnerThatCloses {
public:
    explicit ClipboardOwnerThatCloses(HWND target) : target_(target), thread_([this] { run(); }) {
        waitUntil([this] { return ready_.load(); }, 10s);
    }
    ~ClipboardOwnerThatCloses() {
        PostThreadMessageA(threadId_.load(), WM_QUIT, 0, 0);
        thread_.join();
    }
    bool ready() const { return owns_.load(); }
    bool closeSent() const { return closeSent_.load(); }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<ClipboardOwnerThatCloses*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && message == WM_DESTROYCLIPBOARD && !self->closeSent_) {
            self->closeSent_ = true;
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(self->target_, WM_CLOSE, 0, 0, SMTO_NORMAL, 15000, &ignored);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    void run() {
        threadId_ = GetCurrentThreadId();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &ClipboardOwnerThatCloses::windowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TallykeepTestClipboardOwner";
        RegisterClassA(&windowClass);  // registered by an earlier test: fine
        HWND window = CreateWindowExA(0, windowClass.lpszClassName, "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      windowClass.hInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        if (window && OpenClipboard(window)) {
            EmptyClipboard();
            HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 7);
            if (text) {
                lstrcpyA(static_cast<char*>(GlobalLock(text)), "before");
                GlobalUnlock(text);
                owns_ = SetClipboardData(CF_TEXT, text) != nullptr;
            }
            CloseClipboard();
        }
        ready_ = true;
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
        if (window) DestroyWindow(window);
    }

    HWND target_;
    std::atomic<DWORD> threadId_{0};
    std::atomic<bool> ready_{false};
    std::atomic<bool> owns_{false};
    std::atomic<bool> closeSent_{false};
    std::thread thread_;
};

TEST_F(TallykeepInterrupted, CloseSentWhileATickWritesTheClipboardWaitsForTheTick) {
    start();
    ClipboardOwnerThatCloses owner(results().window());
    ASSERT_TRUE(owner.ready());
    const std::size_t mark = log().size();
    results().setNumberBox("5");
    postKey(session->game, game::kVkF3);
    ASSERT_TRUE(waitUntil([&] { return owner.closeSent(); })) << "Tallykeep did not empty the clipboard";
    ASSERT_TRUE(session->tallykeep->waitForExit(30s).has_value()) << log().text();
    const long dealt = lineIndex(log(), "deal", "5", mark);
    const long closed = lineIndex(log(), "msg", "main WM_CLOSE 0", mark);
    EXPECT_NE(dealt, -1) << "the tick was cut short\n" << log().text();
    EXPECT_LT(dealt, closed) << "the close ran in the middle of the tick\n" << log().text();
    EXPECT_EQ(iniValue(session->iniPath(), "Game", "GameNo"), "5");
}

// Real clicks on the control bar: the mouse button goes down and up as two
// queued messages, and the watcher may run in between.
class TallykeepRealClicks : public TallykeepInterrupted {
protected:
    HWND button(const char* caption) {
        HWND bar = waitForTopLevel(nullptr, kControlBarCaption);
        if (!bar || !waitUntil([&] { return IsWindowVisible(bar) != FALSE; })) return nullptr;
        return waitForChild(bar, nullptr, caption);
    }
    static bool pressed(HWND button) {
        DWORD_PTR state = 0;
        SendMessageTimeoutA(button, BM_GETSTATE, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
        return (state & BST_PUSHED) != 0;
    }
};

TEST_F(TallykeepRealClicks, ClickRightAfterStartUpReachesTheGame) {
    start();
    HWND startButton = button("開始");
    ASSERT_NE(startButton, nullptr);
    const std::size_t mark = log().size();
    realClick(startButton);
    EXPECT_TRUE(log().waitFor("msg", std::string("main WM_KEYDOWN 114"), mark)) << log().text();
}

// The user holds the mouse button on a bar button while the watcher has a
// dialog to answer: bringing the dialog to the front would take the press
// away from the button. The watcher waits for the release, and the click counts.
TEST_F(TallykeepRealClicks, DialogToAnswerWhileAButtonIsHeldWaitsForTheClick) {
    // A game of 32,000 deals beside Tallykeep's 1,000,000 of Windows XP
    // refuses 50000: after a few tries the watcher leaves its dialog open
    // until the number box holds another number.
    SessionOptions options;
    options.windowsVersion = "winxp";
    options.environment = {{"FREECELL_MAXGAME", "32000"}};
    start(options);
    HWND undo = button("１つ戻す");
    ASSERT_NE(undo, nullptr);
    results().setNumberBox("50000");
    postKey(session->game, game::kVkF3);
    ASSERT_TRUE(waitUntil([&] { return log().count("refused") >= 3; })) << log().text();
    std::size_t settled = 0;
    ASSERT_TRUE(waitUntil([&] {
        const std::size_t now = log().size();
        const bool same = now == settled;
        settled = now;
        return same && !log().waitFor("refused", std::nullopt, now, 500ms);
    })) << log().text();

    pressMouseOn(undo);
    ASSERT_TRUE(waitUntil([&] { return pressed(undo); })) << "the press did not arrive";
    const std::size_t held = log().size();
    results().setNumberBox("7");
    EXPECT_FALSE(log().waitFor("deal", std::string("7"), held, 500ms)) << "answered while the button was held";
    releaseMouse();
    ASSERT_TRUE(log().waitFor("deal", std::string("7"), held)) << log().text();
    const long undone = lineIndex(log(), "msg", "main WM_KEYDOWN 121", held);
    EXPECT_NE(undone, -1) << "the click was lost\n" << log().text();
    EXPECT_LT(undone, lineIndex(log(), "deal", "7", held)) << log().text();
}

// The click that brings Tallykeep back to the front activates it, and the
// activation glues the group to the game again; the button must not move away
// from under the mouse between its press and its release.
TEST_F(TallykeepRealClicks, ClickThatActivatesTallykeepCountsBeforeTheGroupMoves) {
    start();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    HWND undo = button("１つ戻す");
    ASSERT_NE(undo, nullptr);
    HWND bar = GetAncestor(undo, GA_ROOT);
    // The user moves the game and goes on in it: Tallykeep is in the background.
    SetForegroundWindow(session->game);
    SetWindowPos(session->game, nullptr, 20, 30, 560, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == session->game; }));
    const RECT placeBefore = windowRect(bar);
    const std::size_t mark = log().size();
    pressMouseOn(undo);
    ASSERT_TRUE(waitUntil([&] { return pressed(undo); })) << "the press did not arrive";
    releaseMouse();
    EXPECT_TRUE(log().waitFor("msg", std::string("main WM_KEYDOWN 121"), mark)) << "the click was lost\n"
                                                                                << log().text();
    EXPECT_TRUE(waitUntil([&] {
        const RECT place = windowRect(bar);
        return !EqualRect(&placeBefore, &place);
    })) << "the group was not glued to the moved game";
}

TEST_F(TallykeepRealClicks, ClickWhileATickWaitsForTheGameCountsOnceTheTickEnds) {
    start();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    HWND undo = button("１つ戻す");
    ASSERT_NE(undo, nullptr);
    standinHangNextConfirm(session->game, 2s);
    ASSERT_TRUE(standinSync(session->game, log()));
    const std::size_t mark = log().size();
    postKey(session->game, VK_F2);  // a new game: the game asks first, and its box hangs
    ASSERT_TRUE(log().waitFor("confirm-open", std::nullopt, mark)) << log().text();
    realClick(undo);
    ASSERT_TRUE(log().waitFor("confirm-yes", std::nullopt, mark)) << log().text();
    EXPECT_TRUE(log().waitFor("msg", std::string("main WM_KEYDOWN 121"), mark)) << log().text();
}

}  // namespace
