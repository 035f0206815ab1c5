#include "gamelink/desktop_win.h"

#include <windows.h>

#include <utility>

#include "gamelink/game_contract.h"

namespace {

HWND toHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }

WindowId toId(HWND window) { return reinterpret_cast<WindowId>(window); }

}  // namespace

WindowId Win32Desktop::findTopLevel(const char* className, const char* title) {
    return toId(FindWindowA(className, title));
}

WindowId Win32Desktop::findChild(WindowId parent, const char* className, const char* caption) {
    // FindWindowExA with a null parent would search the top-level windows.
    if (parent == 0) return 0;
    return toId(FindWindowExA(toHwnd(parent), nullptr, className, caption));
}

bool Win32Desktop::exists(WindowId window) { return window != 0 && IsWindow(toHwnd(window)) != FALSE; }

// GetWindowTextA reads another process's title from the window manager
// without a message to it.
std::string Win32Desktop::titleOf(WindowId window) {
    char title[128] = {};
    const int length = GetWindowTextA(toHwnd(window), title, sizeof title);
    return std::string(title, length > 0 ? static_cast<std::size_t>(length) : 0);
}

bool Win32Desktop::shown(WindowId window) { return IsWindowVisible(toHwnd(window)) != FALSE; }

// The results of SetForegroundWindow, BringWindowToTop and PostMessageA are not
// acted on: a window of the game that has gone meanwhile is simply missed, and
// the next lookup notices.
void Win32Desktop::bringToForeground(WindowId window) { SetForegroundWindow(toHwnd(window)); }

void Win32Desktop::bringToTop(WindowId window) { BringWindowToTop(toHwnd(window)); }

void Win32Desktop::post(WindowId window, uint32_t message, uintptr_t wParam) {
    PostMessageA(toHwnd(window), message, wParam, 0);
}

std::optional<bool> Win32Desktop::ticked(WindowId checkBox) {
    DWORD_PTR state = 0;
    if (!SendMessageTimeoutA(toHwnd(checkBox), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 200, &state)) return std::nullopt;
    return state == BST_CHECKED;
}

std::optional<int32_t> Win32Desktop::toldGameNumber(WindowId gameWindow) {
    const HANDLE told = GetPropA(toHwnd(gameWindow), game::kGameNumberProperty);
    if (!told) return std::nullopt;
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(told));
}

bool Win32Desktop::minimized(WindowId window) { return window != 0 && IsIconic(toHwnd(window)) != FALSE; }

std::optional<Rect> Win32Desktop::windowBox(WindowId window) {
    HWND handle = toHwnd(window);
    if (window == 0 || !IsWindow(handle) || IsIconic(handle)) return std::nullopt;
    RECT r{};
    if (!GetWindowRect(handle, &r)) return std::nullopt;
    return Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Win32Desktop::moveWindow(WindowId window, const Rect& box) {
    // MoveWindow with repaint, but queued for the window's thread: a plain
    // move of another program's window waits until that program handles it.
    SetWindowPos(toHwnd(window), nullptr, box.left, box.top, box.width, box.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
}

void Win32Desktop::pauseFor(uint32_t milliseconds, bool untilGameChanges, bool endsWithSession) {
    // The clipboard owner must answer the game's paste (a sent message), or
    // the paste stalls; PM_QS_SENDMESSAGE delivers sent messages only. The
    // events that they bring wait until the running handler has ended. The
    // pause wakes for each sent message as it arrives rather than answering
    // it only after sleeping: the game waits for the answer.
    //
    // Painting runs none of the program's handlers, so the windows are drawn
    // during the wait (a history line just written, a part uncovered): each
    // WM_PAINT is dispatched, and the WM_NCPAINT and WM_ERASEBKGND it sends
    // come with it. Clicks, keys and ticks stay in the queue.
    const DWORD start = GetTickCount();
    gameChanged_ = false;
    for (;;) {
        MSG message;
        // The game's window events come as sent messages.
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        // Bounded: a window that never validates itself cannot hold the pause.
        // PeekMessage takes a pending WM_QUIT whatever its filter (a tick may
        // run after the close asked the loop to end): the quit goes back for
        // the message loop, as a modal loop gives it back, and the pauses
        // from then on draw nothing, so as not to take it again.
        for (int painted = 0;
             !endRequested_ && painted < 64 && PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE);
             ++painted) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                endRequested_ = true;
                break;
            }
            DispatchMessageA(&message);
        }
        // Looked at after the painting too: every PeekMessage answers the
        // sent messages that came meanwhile, a window event among them, and
        // the wait below would not wake for one already answered.
        if (untilGameChanges && gameChanged_) return;
        // The session's end is asked for with a sent message: seen at once by
        // the wait for the player, whose passes may be long.
        if (endsWithSession && sessionEnding_()) return;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed,
                                  endRequested_ ? QS_SENDMESSAGE : QS_SENDMESSAGE | QS_PAINT);
    }
}

void Win32Desktop::pauseForPlayer(uint32_t milliseconds) {
    const bool quiet = eventSeen_ && clock_.nowMs() - lastEventMs_ >= kQuietAfterMs;
    pauseFor(quiet && milliseconds < kQuietPassMs ? kQuietPassMs : milliseconds, true, true);
}

bool Win32Desktop::watchWindows(WindowId gameWindow, WindowsChanged changed) {
    eventSeen_ = false;
    return windowEvents_.listen(toHwnd(gameWindow), [this, changed = std::move(changed)](HWND newTopLevel) {
        gameChanged_ = true;
        eventSeen_ = true;
        lastEventMs_ = clock_.nowMs();
        changed(reinterpret_cast<WindowId>(newTopLevel));
    });
}
