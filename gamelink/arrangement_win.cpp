#include "gamelink/arrangement_win.h"

#include <windows.h>

namespace {

HWND toHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }

}  // namespace

ScreenSpace readScreenSpace() {
    ScreenSpace space;
    RECT work{};
    if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        space.workArea = ScreenBox{work.left, work.top, work.right - work.left, work.bottom - work.top};
    space.width = GetSystemMetrics(SM_CXSCREEN);
    space.height = GetSystemMetrics(SM_CYSCREEN);
    return space;
}

std::optional<ScreenBox> readGameWindow(WindowId window) {
    HWND game = toHwnd(window);
    if (!window || !IsWindow(game) || IsIconic(game)) return std::nullopt;
    RECT r{};
    if (!GetWindowRect(game, &r)) return std::nullopt;
    return ScreenBox{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void moveGameWindow(WindowId window, const ScreenBox& box) {
    // MoveWindow with repaint, but queued for the game's thread: a plain move
    // of another program's window waits until that program handles it, and a
    // hung game would hold Tallykeep up for as long as it hangs.
    SetWindowPos(toHwnd(window), nullptr, box.left, box.top, box.width, box.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
}
