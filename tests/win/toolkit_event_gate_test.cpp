#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "gamelink/desktop_win.h"
#include "toolkit/event_gate.h"
#include "toolkit/message_box.h"
#include "toolkit_test_support.h"

using toolkit_test::FromInsideModalLoop;
using toolkit_test::openBoxes;
using toolkit_test::TestForm;

namespace {

// A form whose close query writes into the list of events, which keeps it open.
struct RecordingForm {
    std::vector<std::string> events;
    TestForm form;
    RecordingForm() {
        form.OnCloseQuery = [this](bool& canClose) {
            events.push_back("close query");
            canClose = false;
        };
    }
};

// Another program sends WM_CLOSE while a handler waits in a loop that answers
// sent messages: the close query runs once the handler has ended.
TEST(EventGate, MessageSentByAnotherProgramWhileAHandlerWaitsRunsRightAfterIt) {
    RecordingForm f;
    Win32Desktop desktop;
    EventGate::run([&] {
        std::atomic<bool> answered{false};
        std::thread otherProgram([&] {
            SendMessageA(f.form.handle(), WM_CLOSE, 0, 0);
            answered = true;
        });
        const uint64_t start = desktop.nowMs();
        while (!answered && desktop.nowMs() - start < 10000) desktop.pause(10);
        otherProgram.join();
        f.events.push_back("handler ends");
    });
    EXPECT_EQ(f.events, (std::vector<std::string>{"handler ends", "close query"}));
}

// The program's own modal box lets the program run, as the timer's ticks do
// inside the error box.
TEST(EventGate, ModalBoxOpenedByAHandlerLetsEventsRun) {
    RecordingForm f;
    FromInsideModalLoop step([&] {
        const std::vector<HWND> boxes = openBoxes("エラー");
        if (boxes.empty()) return false;
        SendMessageA(f.form.handle(), WM_CLOSE, 0, 0);
        PostMessageA(boxes.front(), WM_COMMAND, IDOK, 0);
        return true;
    });
    EventGate::run([&] {
        errorMessageBox("box");
        EXPECT_TRUE(EventGate::isClosed()) << "closed again once the box is gone";
        f.events.push_back("handler ends");
    });
    EXPECT_EQ(f.events, (std::vector<std::string>{"close query", "handler ends"}));
}

}  // namespace
