#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "gamelink/early_tick_thread_win.h"
#include "gamelink/desktop_win.h"
#include "gamelink/game_contract.h"
#include "gamelink/game_session.h"
#include "results_window_doubles.h"
#include "gamelink/window_events_win.h"
#include "toolkit/event_gate.h"
#include "toolkit/timer.h"
#include "toolkit_test_support.h"

using toolkit_test::TestForm;
using toolkit_test::waitUntil;

namespace {

// Takes the thread's messages for a while, as the message loop does.
void runMessagesFor(DWORD milliseconds) {
    waitUntil([] { return false; }, milliseconds);
}

// A timer whose own ticks are too far apart to come during a test; what ran,
// in order.
struct RecordingTimer {
    TestForm form;
    Timer timer;
    std::vector<std::string> events;
    RecordingTimer() {
        timer.create(form, 600000, [this] { events.push_back("tick"); });
    }
};

TEST(TimerTickRequest, RequestsMadeBeforeTheThreadTakesItsMessagesComeToOneTick) {
    RecordingTimer t;
    for (int i = 0; i < 5; ++i) t.timer.requestTick();
    ASSERT_TRUE(waitUntil([&] { return !t.events.empty(); }));
    runMessagesFor(200);
    EXPECT_EQ(t.events.size(), 1u);
    // Once taken, the next request brings the next tick.
    t.timer.requestTick();
    ASSERT_TRUE(waitUntil([&] { return t.events.size() > 1; }));
    runMessagesFor(200);
    EXPECT_EQ(t.events.size(), 2u);
}

// A request is posted at any moment, by another thread too; its tick comes
// after what was posted before it ran (a menu command the user gave while the
// tick before waited), as the timer's own ticks do.
std::vector<std::string>* commandsSeen = nullptr;

LRESULT CALLBACK commandWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP + 30 && commandsSeen) commandsSeen->push_back("command");
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(TimerTickRequest, ATickComesAfterWhatWasPostedBeforeItRan) {
    RecordingTimer t;
    commandsSeen = &t.events;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = commandWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TkPostedCommandWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("TkPostedCommandWindow", "", 0, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    t.timer.requestTick();
    PostMessageA(window, WM_APP + 30, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return t.events.size() == 2; }));
    EXPECT_EQ(t.events, (std::vector<std::string>{"command", "tick"}));
    DestroyWindow(window);
    commandsSeen = nullptr;
}

// A request made while a handler waits for the game (a hook's callback runs
// inside the wait) never runs the tick inside that handler.
TEST(TimerTickRequest, ARequestMadeInsideAHandlerTicksAfterIt) {
    RecordingTimer t;
    Win32Desktop desktop;
    EventGate::run([&] {
        t.timer.requestTick();
        const uint64_t start = desktop.nowMs();
        while (desktop.nowMs() - start < 100) desktop.pause(10);
        t.events.push_back("handler ends");
    });
    ASSERT_TRUE(waitUntil([&] { return t.events.size() == 2; }));
    EXPECT_EQ(t.events, (std::vector<std::string>{"handler ends", "tick"}));
}

// Another thread stands for the game: its windows, created, shown and
// destroyed, are told of while this thread takes its messages.
class GameThread {
public:
    GameThread() {
        thread_ = std::thread([this] { run(); });
        waitUntil([this] { return mainWindow_ != nullptr; });
    }
    ~GameThread() {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND mainWindow() const { return mainWindow_; }
    // The game opens a dialog: a window and a control on it.
    void openDialog() { PostThreadMessageA(threadId_, kOpenDialog, 0, 0); }
    // The game moves its window and draws it anew, as it does while played.
    void moveAndRedraw() { PostThreadMessageA(threadId_, kMoveAndRedraw, 0, 0); }
    // A dialog whose windows are created first and given a title and shown
    // only later.
    void openUntitledDialog() { PostThreadMessageA(threadId_, kOpenUntitledDialog, 0, 0); }
    void titleDialog() { PostThreadMessageA(threadId_, kTitleDialog, 0, 0); }
    bool done(int action) const { return actionsDone_ >= action; }

private:
    static constexpr UINT kOpenDialog = WM_APP + 20;
    static constexpr UINT kMoveAndRedraw = WM_APP + 21;
    static constexpr UINT kOpenUntitledDialog = WM_APP + 22;
    static constexpr UINT kTitleDialog = WM_APP + 23;
    HWND untitledDialog_ = nullptr;

    void run() {
        threadId_ = GetCurrentThreadId();
        static const ATOM gameClass = [] {
            WNDCLASSA windowClass = {};
            windowClass.lpfnWndProc = DefWindowProcA;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.lpszClassName = game::kMainWindowClass;
            return RegisterClassA(&windowClass);
        }();
        HWND window = CreateWindowExA(0, MAKEINTATOM(gameClass), "game", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists from here
        mainWindow_ = window;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            if (message.message == kOpenDialog) {
                HWND dialog = CreateWindowExA(0, "STATIC", "dialog", WS_POPUP, 10, 10, 100, 50, window, nullptr,
                                              GetModuleHandleA(nullptr), nullptr);
                CreateWindowExA(0, "BUTTON", "yes", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20, dialog, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
                ShowWindow(dialog, SW_SHOWNA);
                ++actionsDone_;
            } else if (message.message == kOpenUntitledDialog) {
                // As Wine tells of a dialog: its windows created, nothing after.
                untitledDialog_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 10, 10, 100, 50, window, nullptr,
                                                  GetModuleHandleA(nullptr), nullptr);
                ++actionsDone_;
            } else if (message.message == kTitleDialog) {
                SetWindowTextA(untitledDialog_, "dialog");
                ShowWindow(untitledDialog_, SW_SHOWNA);
                ++actionsDone_;
            } else if (message.message == kMoveAndRedraw) {
                SetWindowPos(window, nullptr, 30, 30, 220, 120, SWP_NOZORDER | SWP_NOACTIVATE);
                RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
                ++actionsDone_;
            }
            DispatchMessageA(&message);
        }
        DestroyWindow(window);
    }

    std::thread thread_;
    std::atomic<DWORD> threadId_{0};
    std::atomic<HWND> mainWindow_{nullptr};
    std::atomic<int> actionsDone_{0};
};

TEST(GameWindowEvents, ADialogOfTheGameIsToldOfButItsMovesAndDrawingAreNot) {
    GameThread game;
    ASSERT_NE(game.mainWindow(), nullptr);
    GameWindowEvents events;
    int changes = 0;
    std::vector<HWND> newTopLevels;
    const auto changed = [&](HWND newTopLevel) {
        ++changes;
        if (newTopLevel) newTopLevels.push_back(newTopLevel);
    };
    if (!events.listen(game.mainWindow(), changed)) GTEST_SKIP() << "this Windows tells of no window events";

    game.moveAndRedraw();
    ASSERT_TRUE(waitUntil([&] { return game.done(1); }));
    runMessagesFor(200);
    EXPECT_EQ(changes, 0) << "a window that moves and is drawn anew is no dialog";

    game.openDialog();
    EXPECT_TRUE(waitUntil([&] { return !newTopLevels.empty(); })) << "the dialog's windows were created";
    runMessagesFor(100);
    // The dialog is told of as a new top-level window; its button is not one.
    ASSERT_EQ(newTopLevels.size(), 1u);
    EXPECT_EQ(GetParent(GetWindow(newTopLevels[0], GW_CHILD)), newTopLevels[0]);

    // Stopped, nothing more is told.
    events.stop();
    runMessagesFor(100);
    const int before = changes;
    game.openDialog();
    ASSERT_TRUE(waitUntil([&] { return game.done(3); }));
    runMessagesFor(200);
    EXPECT_EQ(changes, before);
}

// Wine tells only that a dialog's windows were created, and the game gives
// the dialog its title later: the title, once given, brings a tick, long
// before the timer's own.
TEST(EarlyTicks, ADialogTitledAfterItsWindowsWereCreatedBringsATick) {
    GameThread game;
    RecordingTimer t;
    Win32Desktop desktop;
    results_test::NoLaunch launcher;
    GameLink link(desktop, launcher, OsVersion{2, 5, 1});
    ASSERT_FALSE(link.findOrStart());
    ASSERT_TRUE(link.hasWindow());
    EarlyTickThread ticks(desktop);
    if (!ticks.start(link, [&] { t.timer.requestTick(); })) GTEST_SKIP() << "this Windows tells of no window events";

    game.openUntitledDialog();
    ASSERT_TRUE(waitUntil([&] { return game.done(1); }));
    // The ticks that the creation asked for, and their follow-ups, are over.
    runMessagesFor(EarlyTicks::kSettleMs + 60);
    ASSERT_FALSE(t.events.empty()) << "the creation was told of";
    const std::size_t before = t.events.size();
    runMessagesFor(60);
    ASSERT_EQ(t.events.size(), before);
    ASSERT_LT(EarlyTicks::kSettleMs + 120, EarlyTicks::kLookForMs);

    game.titleDialog();
    EXPECT_TRUE(waitUntil([&] { return t.events.size() > before; }));
    ticks.stop();
}

// The wait for a dialog to close looks again as soon as the game's windows
// change, not only after its pass.
TEST(Win32Desktop, PauseUntilTheGameChangesEndsWithTheChange) {
    GameThread game;
    Win32Desktop desktop;
    if (!desktop.watchWindows(reinterpret_cast<WindowId>(game.mainWindow()), [](WindowId) {}))
        GTEST_SKIP() << "this Windows tells of no window events";
    game.openDialog();
    const uint64_t start = desktop.nowMs();
    desktop.pauseUntilGameChanges(60000);
    EXPECT_LT(desktop.nowMs() - start, 30000u);
    desktop.stopWatchingWindows();
}

// The wait for the player's answer looks at the dialog every pass while the
// game's windows change, at longer passes once they are quiet, and any change
// of the game ends even a long pass.
TEST(Win32Desktop, AWaitForThePlayerPassesSlowlyWhileTheGameIsQuietAndEndsWithItsChange) {
    GameThread game;
    Win32Desktop desktop;
    if (!desktop.watchWindows(reinterpret_cast<WindowId>(game.mainWindow()), [](WindowId) {}))
        GTEST_SKIP() << "this Windows tells of no window events";
    const auto passMs = [&] {
        const uint64_t start = desktop.nowMs();
        desktop.pauseForPlayer(25);
        return desktop.nowMs() - start;
    };
    EXPECT_LT(passMs(), 200u) << "no event seen yet: the windows may not be told of";
    game.openDialog();
    ASSERT_TRUE(waitUntil([&] { return game.done(1); }));
    runMessagesFor(50);  // the dialog's events come
    EXPECT_LT(passMs(), 200u) << "just after a change";
    runMessagesFor(static_cast<DWORD>(Win32Desktop::kQuietAfterMs));
    EXPECT_GE(passMs(), Win32Desktop::kQuietPassMs - 20) << "the game quiet";

    std::thread later([&] {
        Sleep(100);
        game.openDialog();
    });
    const uint64_t pass = passMs();
    later.join();
    EXPECT_LT(pass, Win32Desktop::kQuietPassMs - 100) << "a change ends a long pass";
    desktop.stopWatchingWindows();
}

}  // namespace
