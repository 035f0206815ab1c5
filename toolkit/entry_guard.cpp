#include "toolkit/entry_guard.h"

#include "toolkit/application.h"

void reportEntryFailure(const char* what) noexcept {
    try {
        Application::instance().showError(what ? what : "Unexpected error");
    } catch (...) {
        // Not even the text could be copied: nothing is left to show.
    }
}

LRESULT safeAnswer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_NCCREATE:
            return FALSE;
        case WM_CREATE:
            return -1;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_PAINT:
            // A window left invalid would be painted, and fail, again at once.
            ValidateRect(window, nullptr);
            return 0;
        case WM_ERASEBKGND:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_SETCURSOR:
            return DefWindowProcA(window, message, wParam, lParam);
        default:
            return 0;
    }
}
