#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;

// Wine is slow to start programs; waits are generous and end early.
inline constexpr std::chrono::milliseconds kDefaultTimeout = 20s;

// Polls `condition` every 10 ms until it holds or the timeout passes,
// answering messages sent to this thread meanwhile (a program that pastes
// what this test put on the clipboard may need that). True when it held.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = kDefaultTimeout);

// Texts are code page 932 bytes; null means any class or any title.
HWND findTopLevel(const char* className, const char* title);
HWND waitForTopLevel(const char* className, const char* title, std::chrono::milliseconds timeout = kDefaultTimeout);
// A top-level window other than `previous` (e.g. the next dialog of a title).
HWND waitForTopLevelOtherThan(HWND previous, const char* className, const char* title,
                              std::chrono::milliseconds timeout = kDefaultTimeout);

// The first direct child of that class and caption, as FindWindowExA finds it.
HWND findChild(HWND parent, const char* className, const char* caption);
HWND waitForChild(HWND parent, const char* className, const char* caption,
                  std::chrono::milliseconds timeout = kDefaultTimeout);

bool waitUntilGone(HWND window, std::chrono::milliseconds timeout = kDefaultTimeout);

// WM_GETTEXT through SendMessageTimeout (GetWindowTextA reads nothing from
// another process's edit control under Wine).
std::string windowText(HWND window);
std::string className(HWND window);

struct ChildWindow {
    HWND handle;
    std::string className;
    std::string text;
    RECT rect;  // screen coordinates
    int id;
    bool visible;
    bool enabled;
};
// Direct children in their order (the order FindWindowExA searches).
std::vector<ChildWindow> children(HWND parent);

RECT windowRect(HWND window);
// True when `window` is above `other` on the screen (earlier in the z-order).
bool above(HWND window, HWND other);
bool isIconic(HWND window);
bool isChecked(HWND checkBox);  // BM_GETCHECK

void post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// WM_KEYDOWN then WM_KEYUP with the key, lParam 0, as Tallykeep posts them.
void postKey(HWND window, WPARAM virtualKey);
// BM_CLICK, posted: the button is pressed as by the user.
void clickButton(HWND button);

// Real input, as the mouse gives it (SendInput): the pointer moved to the
// middle of the window, the left button pressed there and released.
void pressMouseOn(HWND window);
void releaseMouse();
void realClick(HWND window);

}  // namespace e2e
