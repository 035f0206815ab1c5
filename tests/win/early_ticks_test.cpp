#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "gamelink/desktop_win.h"
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
    bool done(int action) const { return actionsDone_ >= action; }

private:
    static constexpr UINT kOpenDialog = WM_APP + 20;
    static constexpr UINT kMoveAndRedraw = WM_APP + 21;

    void run() {
        threadId_ = GetCurrentThreadId();
        HWND window = CreateWindowExA(0, "STATIC", "game", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
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
    if (!events.listen(game.mainWindow(), [&] { ++changes; })) GTEST_SKIP() << "this Windows tells of no window events";

    game.moveAndRedraw();
    ASSERT_TRUE(waitUntil([&] { return game.done(1); }));
    runMessagesFor(200);
    EXPECT_EQ(changes, 0) << "a window that moves and is drawn anew is no dialog";

    game.openDialog();
    EXPECT_TRUE(waitUntil([&] { return changes > 0; })) << "the dialog's windows were created";

    // Stopped, nothing more is told.
    events.stop();
    runMessagesFor(100);
    const int before = changes;
    game.openDialog();
    ASSERT_TRUE(waitUntil([&] { return game.done(3); }));
    runMessagesFor(200);
    EXPECT_EQ(changes, before);
}

}  // namespace
