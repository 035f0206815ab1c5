// The game's test build: its settings from the environment, a log of what
// reaches it, the test commands of test_protocol.h and hidden children with
// its state and board. Only the test build compiles this file; the game that
// ships links shipped_build_win.cpp in its place.
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "freecell/dialogs_win.h"
#include "freecell/game_build_win.h"
#include "freecell/memory_watch_win.h"
#include "freecell/test_configuration.h"
#include "freecell/test_protocol.h"

namespace freecell {

namespace {

// The main window's messages of interest: the test commands, and those a
// dialog logs too.
std::string mainMessageName(UINT message) {
    switch (message) {
        case kCommandWin:
            return "STANDIN_WIN";
        case kCommandLose:
            return "STANDIN_LOSE";
        case kCommandMove:
            return "STANDIN_MOVE";
        case kCommandHang:
            return "STANDIN_HANG";
        case kCommandPing:
            return "STANDIN_PING";
        default:
            return loggedMessageName(message);
    }
}

// Not GetEnvironmentVariableA: under Wine it counts a double-byte character
// as one byte, in its result and where it puts the NUL, and so cuts a path
// holding Japanese characters short. The runtime's copy of the environment,
// converted whole at start-up, holds the full text.
std::optional<std::string> environmentVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
}

// The memory watch's news; above the main window's own WM_APP + 0x100 and
// + 0x101, and never logged.
constexpr UINT kMemoryChanged = WM_APP + 0x102;

class TestBuildCommands final : public TestCommands {
public:
    explicit TestBuildCommands(EventLog& log) : log_(log), memory_(kMemoryChanged) {}

    void windowCreated(HWND window, const FreeCellGame& game) override {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        // Never shown: they carry the state and the board, read with WM_GETTEXT.
        state_ = CreateWindowExA(0, "Static", game.stateText().c_str(), WS_CHILD, 0, 0, 10, 10, window,
                                 reinterpret_cast<HMENU>(kStateControlId), instance, nullptr);
        board_ = CreateWindowExA(0, "Static", boardText(game.board()).c_str(), WS_CHILD, 0, 0, 10, 10, window,
                                 reinterpret_cast<HMENU>(kBoardControlId), instance, nullptr);
        if (!state_ || !board_) log_.write("error", "state children not created " + std::to_string(GetLastError()));
        memoryText_ = CreateWindowExA(0, "Static", memory_.text().c_str(), WS_CHILD, 0, 0, 10, 10, window,
                                      reinterpret_cast<HMENU>(kMemoryControlId), instance, nullptr);
        if (!memoryText_ || !memory_.start(window)) log_.write("error", "memory watch not started");
    }

    bool handle(UINT message, WPARAM wParam, LPARAM lParam, FreeCellGame& game) override {
        if (message == kMemoryChanged) {
            if (memoryText_) SetWindowTextA(memoryText_, memory_.text().c_str());
            return true;
        }
        if (const std::string name = mainMessageName(message); !name.empty()) {
            log_.write("msg", "main " + name + ' ' + std::to_string(wParam));
        }
        switch (message) {
            case kCommandWin:
                game.win();
                return true;
            case kCommandLose:
                game.lose();
                return true;
            case kCommandMove:
                game.makeMove();
                return true;
            case kCommandPing:
                return true;
            case kCommandHang:
                if (lParam == kHangGameNumber) {
                    hangNextGameNumberMs_ = static_cast<DWORD>(wParam);
                } else if (lParam == kHangConfirm) {
                    hangNextConfirmMs_ = static_cast<DWORD>(wParam);
                } else {
                    log_.write("ignored", "STANDIN_HANG target=" + std::to_string(lParam));
                }
                return true;
        }
        return false;
    }

    void boardChanged(const FreeCellGame& game) override {
        if (state_) SetWindowTextA(state_, game.stateText().c_str());
        if (board_) SetWindowTextA(board_, boardText(game.board()).c_str());
    }

    DWORD takeConfirmHang() override { return std::exchange(hangNextConfirmMs_, 0); }
    DWORD takeGameNumberHang() override { return std::exchange(hangNextGameNumberMs_, 0); }

private:
    EventLog& log_;
    HWND state_ = nullptr;
    HWND board_ = nullptr;
    HWND memoryText_ = nullptr;
    MemoryWatch memory_;
    DWORD hangNextConfirmMs_ = 0;
    DWORD hangNextGameNumberMs_ = 0;
};

}  // namespace

GameConfig configurationFor(const WindowsVersion& version) { return configure(version, environmentVariable); }

std::unique_ptr<TestCommands> makeTestCommands(EventLog& log) { return std::make_unique<TestBuildCommands>(log); }

}  // namespace freecell
