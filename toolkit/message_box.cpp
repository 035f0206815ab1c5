#include "toolkit/message_box.h"

#include <windows.h>

#include "common/handles_win.h"
#include "toolkit/application.h"
#include "toolkit/entry_guard.h"
#include "toolkit/event_gate.h"
#include "toolkit/form.h"

namespace {

// A message box with only "OK" returns IDOK for its close box as well. To tell
// the two apart, a CBT hook catches the box as it is activated and subclasses
// it for one fact: whether a close command (close box, Alt+F4) reached it.
struct CloseWatch {
    HookHandle hook;
    HWND box = nullptr;
    WNDPROC boxProcedure = nullptr;
    bool closedByCloseBox = false;
};

CloseWatch* currentWatch = nullptr;  // the box being created; boxes nest through ticks

constexpr char kWatchProperty[] = "TallykeepCloseWatch";

LRESULT CALLBACK watchedBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return guardWindowProcedure(window, message, wParam, lParam, [&] {
        auto* watch = static_cast<CloseWatch*>(GetPropA(window, kWatchProperty));
        if (!watch) return DefWindowProcA(window, message, wParam, lParam);
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) watch->closedByCloseBox = true;
        const WNDPROC original = watch->boxProcedure;
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
            RemovePropA(window, kWatchProperty);
        }
        return CallWindowProcA(original, window, message, wParam, lParam);
    });
}

LRESULT watchActivation(int code, WPARAM wParam, LPARAM lParam) {
    CloseWatch* watch = currentWatch;
    if (watch && code == HCBT_ACTIVATE && !watch->box) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        if (lstrcmpA(className, "#32770") == 0 && SetPropA(window, kWatchProperty, watch)) {
            watch->box = window;
            watch->boxProcedure = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&watchedBoxProcedure)));
            // The box is found; later activations (nested boxes) are none of ours.
            watch->hook.reset();
            currentWatch = nullptr;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK catchBox(int code, WPARAM wParam, LPARAM lParam) {
    return guardCallback(LRESULT{0}, [&] { return watchActivation(code, wParam, lParam); });
}

HWND ownerWindow() {
    Form* main = Application::instance().mainForm();
    return main ? main->handle() : nullptr;
}

}  // namespace

void informationMessageBox(const std::string& text) {
    const EventGate::OpenForModalBox open;
    MessageBoxA(ownerWindow(), text.c_str(), Application::instance().title().c_str(),
                MB_ICONINFORMATION | MB_OK | MB_SETFOREGROUND);
}

BoxResult errorMessageBox(const std::string& text) {
    CloseWatch watch;
    CloseWatch* outer = currentWatch;
    watch.hook.reset(SetWindowsHookExA(WH_CBT, &catchBox, nullptr, GetCurrentThreadId()));
    // Without the hook the box still works; it then reports every close as OK.
    if (watch.hook) currentWatch = &watch;
    {
        const EventGate::OpenForModalBox open;
        MessageBoxA(ownerWindow(), text.c_str(), kErrorCaption, MB_ICONERROR | MB_OK | MB_SETFOREGROUND);
    }
    watch.hook.reset();
    currentWatch = outer;
    return watch.closedByCloseBox ? BoxResult::closedByCloseBox : BoxResult::ok;
}

bool askYesNo(const std::string& text, const std::string& caption) {
    const EventGate::OpenForModalBox open;
    return MessageBoxA(ownerWindow(), text.c_str(), caption.c_str(),
                       MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2 | MB_SETFOREGROUND) == IDYES;
}
