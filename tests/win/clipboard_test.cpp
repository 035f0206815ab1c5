#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "common/app_error.h"
#include "gamelink/clipboard_win.h"

namespace {

const char kCannotOpen[] = "クリップボードを開くことができません";

class OwnerWindow {
public:
    OwnerWindow()
        : window_(CreateWindowA("STATIC", "clipboard owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr)) {}
    ~OwnerWindow() {
        if (window_ != nullptr) DestroyWindow(window_);
    }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

// Another "program": a thread with its own window that opens the clipboard and
// keeps it open for the time given, or until told to let go.
class ClipboardHolder {
public:
    explicit ClipboardHolder(std::chrono::milliseconds holdFor = std::chrono::seconds(30))
        : thread_([this, holdFor] {
              OwnerWindow window;
              const bool opened = OpenClipboard(window.get()) != FALSE;
              std::unique_lock<std::mutex> lock(mutex_);
              state_ = opened ? State::Holding : State::Failed;
              changed_.notify_all();
              changed_.wait_for(lock, holdFor, [this] { return state_ == State::Release; });
              if (opened) CloseClipboard();
          }) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(30), [this] { return state_ != State::Starting; });
    }
    ~ClipboardHolder() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            state_ = State::Release;
        }
        changed_.notify_all();
        thread_.join();
    }
    bool holding() {
        std::lock_guard<std::mutex> lock(mutex_);
        return state_ == State::Holding;
    }

private:
    enum class State { Starting, Holding, Failed, Release };
    std::mutex mutex_;
    std::condition_variable changed_;
    State state_ = State::Starting;
    std::thread thread_;
};

std::string errorOf(void (*action)(Win32Clipboard&), Win32Clipboard& clipboard) {
    try {
        action(clipboard);
    } catch (const AppError& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(Win32Clipboard, TextRoundTripKeepsCodePage932Bytes) {
    OwnerWindow owner;
    Win32Clipboard clipboard(owner.get());
    const std::string text = "ゲーム番号 32,000 表ﾊﾞｰ";
    clipboard.setText(text);
    EXPECT_EQ(clipboard.text(), text);
}

TEST(Win32Clipboard, NewTextReplacesTheOldOne) {
    OwnerWindow owner;
    Win32Clipboard clipboard(owner.get());
    clipboard.setText("1000000");
    clipboard.setText("7");
    EXPECT_EQ(clipboard.text(), "7");
}

TEST(Win32Clipboard, ClipboardWithoutTextReadsEmpty) {
    OwnerWindow owner;
    ASSERT_TRUE(OpenClipboard(owner.get()));
    EmptyClipboard();
    CloseClipboard();
    Win32Clipboard clipboard(owner.get());
    EXPECT_EQ(clipboard.text(), "");
}

// A clipboard manager reads each new text at once, holding the clipboard for
// a moment: writing and reading wait for it to let go.
TEST(Win32Clipboard, ClipboardHeldForAMomentIsOpenedOnceLetGo) {
    OwnerWindow owner;
    Win32Clipboard clipboard(owner.get());
    clipboard.setText("before");
    {
        ClipboardHolder holder(std::chrono::milliseconds(100));
        ASSERT_TRUE(holder.holding());
        EXPECT_EQ(errorOf([](Win32Clipboard& c) { c.setText("5"); }, clipboard), "(no error)");
    }
    EXPECT_EQ(clipboard.text(), "5");
    {
        ClipboardHolder holder(std::chrono::milliseconds(100));
        ASSERT_TRUE(holder.holding());
        EXPECT_EQ(errorOf([](Win32Clipboard& c) { EXPECT_EQ(c.text(), "5"); }, clipboard), "(no error)");
    }
}

TEST(Win32Clipboard, ClipboardHeldLongerByAnotherProgramCannotBeOpened) {
    OwnerWindow owner;
    Win32Clipboard clipboard(owner.get());
    clipboard.setText("before");
    {
        ClipboardHolder holder(std::chrono::seconds(2));
        ASSERT_TRUE(holder.holding());
        EXPECT_EQ(errorOf([](Win32Clipboard& c) { c.setText("5"); }, clipboard), kCannotOpen);
        EXPECT_EQ(errorOf([](Win32Clipboard& c) { c.text(); }, clipboard), kCannotOpen);
    }
    EXPECT_EQ(clipboard.text(), "before") << "the failed write changed nothing";
}

}  // namespace
