#include "harness/window_probe.h"

namespace e2e {

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        Sleep(10);
    }
}

HWND findTopLevel(const char* className, const char* title) { return FindWindowA(className, title); }

HWND waitForTopLevel(const char* className, const char* title, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    waitUntil([&] { return (found = FindWindowA(className, title)) != nullptr; }, timeout);
    return found;
}

HWND waitForTopLevelOtherThan(HWND previous, const char* className, const char* title,
                              std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            found = FindWindowA(className, title);
            return found != nullptr && found != previous;
        },
        timeout);
    return found != previous ? found : nullptr;
}

HWND findChild(HWND parent, const char* className, const char* caption) {
    return parent ? FindWindowExA(parent, nullptr, className, caption) : nullptr;
}

HWND waitForChild(HWND parent, const char* className, const char* caption, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    waitUntil([&] { return (found = findChild(parent, className, caption)) != nullptr; }, timeout);
    return found;
}

bool waitUntilGone(HWND window, std::chrono::milliseconds timeout) {
    return waitUntil([&] { return !IsWindow(window); }, timeout);
}

std::string windowText(HWND window) {
    // Sized from WM_GETTEXTLENGTH: the history memo outgrows any fixed buffer.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             5000, &copied)) {
        return {};
    }
    text.resize(copied < text.size() ? copied : text.size() - 1);
    return text;
}

std::string className(HWND window) {
    char name[256] = {};
    const int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? length : 0);
}

std::vector<ChildWindow> children(HWND parent) {
    std::vector<ChildWindow> result;
    for (HWND child = FindWindowExA(parent, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(parent, child, nullptr, nullptr)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        result.push_back({child, className(child), windowText(child), rect, GetDlgCtrlID(child),
                          IsWindowVisible(child) != FALSE, IsWindowEnabled(child) != FALSE});
    }
    return result;
}

bool above(HWND window, HWND other) {
    for (HWND at = GetTopWindow(nullptr); at; at = GetWindow(at, GW_HWNDNEXT)) {
        if (at == window) return true;
        if (at == other) return false;
    }
    return false;
}

RECT windowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool isIconic(HWND window) { return IsIconic(window) != FALSE; }

bool isChecked(HWND checkBox) {
    DWORD_PTR state = 0;
    SendMessageTimeoutA(checkBox, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
    return state == BST_CHECKED;
}

void post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) { PostMessageA(window, message, wParam, lParam); }

void postKey(HWND window, WPARAM virtualKey) {
    post(window, WM_KEYDOWN, virtualKey);
    post(window, WM_KEYUP, virtualKey);
}

void clickButton(HWND button) { post(button, BM_CLICK); }

namespace {

void sendMouseButton(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

}  // namespace

void pressMouseOn(HWND window) {
    const RECT rect = windowRect(window);
    // The pointer comes from far off, as a person's does. Left resting on the
    // spot by an earlier test, it would not move, and under Wine the press
    // then often did not reach the window that appeared there since.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    sendMouseButton(MOUSEEVENTF_LEFTDOWN);
}

void releaseMouse() { sendMouseButton(MOUSEEVENTF_LEFTUP); }

void realClick(HWND window) {
    pressMouseOn(window);
    releaseMouse();
}

}  // namespace e2e
