#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "gamelink/desktop_win.h"

namespace {

constexpr UINT kSentMessage = WM_APP + 1;
constexpr UINT kPostedMessage = WM_APP + 2;
constexpr LRESULT kSentAnswer = 77;
const char kClassName[] = "TkDesktopTestWindow";

struct Received {
    int sent = 0;
    int posted = 0;
};

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* received = reinterpret_cast<Received*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (received != nullptr && message == kSentMessage) {
        ++received->sent;
        return kSentAnswer;
    }
    if (received != nullptr && message == kPostedMessage) {
        ++received->posted;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class TestWindow {
public:
    explicit TestWindow(const char* title) {
        static const ATOM registered = [] {
            WNDCLASSA windowClass = {};
            windowClass.lpfnWndProc = recordingProc;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.lpszClassName = kClassName;
            return RegisterClassA(&windowClass);
        }();
        EXPECT_NE(registered, 0);
        window_ = CreateWindowA(kClassName, title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&received));
    }
    ~TestWindow() {
        if (IsWindow(window_)) DestroyWindow(window_);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND get() const { return window_; }
    WindowId id() const { return reinterpret_cast<WindowId>(window_); }
    WindowId addChild(const char* className, const char* caption) {
        return reinterpret_cast<WindowId>(CreateWindowA(className, caption, WS_CHILD | WS_VISIBLE, 0, 0, 50, 20,
                                                        window_, nullptr, GetModuleHandleA(nullptr), nullptr));
    }

    Received received;

private:
    HWND window_ = nullptr;
};

TEST(Win32Desktop, FindsTopLevelWindowByCodePage932Title) {
    TestWindow dialog("ゲーム番号の選択");
    Win32Desktop desktop;
    EXPECT_EQ(desktop.findTopLevel(nullptr, "ゲーム番号の選択"), dialog.id());
    EXPECT_EQ(desktop.findTopLevel(kClassName, nullptr), dialog.id());
    EXPECT_EQ(desktop.findTopLevel("#32770", "ゲーム番号の選択"), 0u) << "class must match too";
    EXPECT_EQ(desktop.findTopLevel(nullptr, "ｹﾞｰﾑ番号の選択"), 0u) << "half-width kana differ";
}

TEST(Win32Desktop, FindsDirectChildByCaptionOrClass) {
    TestWindow dialog("ゲーム終了");
    const WindowId yes = dialog.addChild("Button", "はい(&Y)");
    const WindowId edit = dialog.addChild("Edit", "0");
    Win32Desktop desktop;
    EXPECT_EQ(desktop.findChild(dialog.id(), nullptr, "はい(&Y)"), yes);
    EXPECT_EQ(desktop.findChild(dialog.id(), "Edit", nullptr), edit);
    EXPECT_EQ(desktop.findChild(dialog.id(), nullptr, "はい(Y)"), 0u);
    EXPECT_EQ(desktop.findChild(0, nullptr, "はい(&Y)"), 0u) << "no parent finds nothing";
}

TEST(Win32Desktop, ExistsUntilTheWindowIsDestroyed) {
    Win32Desktop desktop;
    WindowId id = 0;
    {
        TestWindow window("short-lived");
        id = window.id();
        EXPECT_TRUE(desktop.exists(id));
    }
    EXPECT_FALSE(desktop.exists(id));
    EXPECT_FALSE(desktop.exists(0));
}

TEST(Win32Desktop, PostedMessageArrivesWithLParamZero) {
    TestWindow window("post target");
    Win32Desktop desktop;
    desktop.post(window.id(), kPostedMessage, 1234);
    MSG message = {};
    const DWORD deadline = GetTickCount() + 10000;
    bool arrived = false;
    while (!arrived && GetTickCount() < deadline) {
        arrived = PeekMessageA(&message, window.get(), kPostedMessage, kPostedMessage, PM_REMOVE) != FALSE;
        if (!arrived) Sleep(5);
    }
    ASSERT_TRUE(arrived);
    EXPECT_EQ(message.wParam, 1234u);
    EXPECT_EQ(message.lParam, 0);
}

TEST(Win32Desktop, PauseAnswersSentMessagesButDispatchesNoPostedOne) {
    TestWindow window("clipboard owner stand-in");
    Win32Desktop desktop;
    ASSERT_TRUE(PostMessageA(window.get(), kPostedMessage, 0, 0));

    std::atomic<LRESULT> answer{0};
    std::atomic<bool> answered{false};
    std::thread otherProgram([&] {
        answer = SendMessageA(window.get(), kSentMessage, 0, 0);
        answered = true;
    });
    const uint64_t start = desktop.nowMs();
    while (!answered && desktop.nowMs() - start < 10000) desktop.pause(10);
    otherProgram.join();

    EXPECT_EQ(answer.load(), kSentAnswer);
    EXPECT_EQ(window.received.sent, 1);
    EXPECT_EQ(window.received.posted, 0);
    MSG message = {};
    EXPECT_TRUE(PeekMessageA(&message, window.get(), kPostedMessage, kPostedMessage, PM_REMOVE))
        << "the posted message is still queued";
}

// A tick may run after the close asked the message loop to end; its waits
// draw the windows, and the request to end must outlast them.
TEST(Win32Desktop, PauseLeavesTheRequestToEndForTheMessageLoop) {
    TestWindow window("window to draw");
    ShowWindow(window.get(), SW_SHOWNA);
    Win32Desktop desktop;
    PostQuitMessage(7);
    InvalidateRect(window.get(), nullptr, TRUE);
    desktop.pause(20);
    desktop.pause(20);
    MSG message = {};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
}

TEST(Win32Desktop, ClockAdvancesAcrossAPause) {
    Win32Desktop desktop;
    const uint64_t before = desktop.nowMs();
    desktop.pause(200);
    // The tick count that the clock reads may lag by one update (about 16 ms).
    EXPECT_GE(desktop.nowMs() - before, 150u);
}

}  // namespace
