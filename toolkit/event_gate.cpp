#include "toolkit/event_gate.h"

#include <windows.h>

#include <cstdint>
#include <deque>
#include <exception>
#include <optional>
#include <string>

#include "toolkit/application.h"

namespace {

int depth = 0;  // handlers running (more than one only through a modal box)
struct Waiting {
    std::function<void()> handler;
    DWORD cameAt;  // GetTickCount when the event came
};
std::deque<Waiting> waiting;
// How long the running handler's event waited for the gate.
DWORD runningWaitedMs = 0;

// The error box of a handler that failed.
std::optional<std::string> runClosed(const std::function<void()>& handler) {
    ++depth;
    std::optional<std::string> failure;
    try {
        handler();
    } catch (const std::exception& error) {
        failure = error.what();
    } catch (...) {
        failure = "Unexpected error";
    }
    --depth;
    return failure;
}

void runNow(const std::function<void()>& handler) {
    if (const std::optional<std::string> failure = runClosed(handler)) Application::instance().showError(*failure);
}

}  // namespace

bool EventGate::isClosed() { return depth > 0; }

void EventGate::run(std::function<void()> handler) {
    if (isClosed()) {
        waiting.push_back(Waiting{std::move(handler), GetTickCount()});
        return;
    }
    runningWaitedMs = 0;
    runNow(handler);
    while (!isClosed() && !waiting.empty()) {
        const Waiting next = std::move(waiting.front());
        waiting.pop_front();
        runningWaitedMs = GetTickCount() - next.cameAt;
        runNow(next.handler);
        runningWaitedMs = 0;
    }
}

uint32_t EventGate::runningEventWaitedMs() { return runningWaitedMs; }

EventGate::OpenForModalBox::OpenForModalBox() : closedDepth_(depth) { depth = 0; }

EventGate::OpenForModalBox::~OpenForModalBox() { depth = closedDepth_; }
