#include "toolkit/edit.h"

#include <exception>

#include "common/app_error.h"
#include "toolkit/application.h"

namespace {
// The EDIT class's own procedure, shared by every edit window.
WNDPROC editProcedure() {
    static WNDPROC procedure = [] {
        WNDCLASSA windowClass{};
        if (!GetClassInfoA(nullptr, "EDIT", &windowClass)) throw AppError("GetClassInfoA failed: EDIT");
        return windowClass.lpfnWndProc;
    }();
    return procedure;
}
}  // namespace

void Edit::create(Container& parent, const CreateArgs& args) {
    parent_ = &parent;
    args_ = args;
    createEditWindow();
    loaded();
}

void Edit::createEditWindow() {
    WindowSpec spec;
    spec.className = "EDIT";
    spec.style = createParams();
    spec.exStyle = WS_EX_CLIENTEDGE;
    spec.bounds = args_.bounds;
    spec.text = args_.text;
    spec.font = args_.font.value_or(parent_->containerFont());
    spec.background = args_.background;
    const WNDPROC original = editProcedure();
    createWindow(*parent_, spec);
    if (reinterpret_cast<WNDPROC>(SetWindowLongPtrA(handle(), GWLP_WNDPROC,
                                                    reinterpret_cast<LONG_PTR>(&Edit::windowProc))) != original)
        throw AppError("subclassing the edit failed");
    if (args_.maxLength > 0) SendMessageA(handle(), EM_LIMITTEXT, static_cast<WPARAM>(args_.maxLength), 0);
}

DWORD Edit::createParams() const {
    DWORD style = ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (args_.upperCase) style |= ES_UPPERCASE;
    if (args_.tabStop) style |= WS_TABSTOP;
    return style;
}

void Edit::recreateWindow() {
    const HWND old = handle();
    args_.text = windowText();
    args_.bounds = bounds();
    const bool focused = GetFocus() == old;
    createEditWindow();
    // The new window takes the old one's place among its siblings.
    SetWindowPos(handle(), old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The old window is no longer ours: it goes to its grave with the edit
    // class's own procedure.
    SetWindowLongPtrA(old, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProcedure()));
    DestroyWindow(old);
    if (focused) SetFocus(handle());
}

void Edit::keyPress(char& key) {
    if (OnKeyPress) OnKeyPress(key);
}

LRESULT Edit::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A character of more than one byte (from an input method) is no key press.
    if (message != WM_CHAR || wParam > 0xFF) return defaultHandling(message, wParam, lParam);
    char key = static_cast<char>(wParam);
    keyPress(key);
    if (key == 0) return 0;
    return defaultHandling(message, static_cast<unsigned char>(key), lParam);
}

LRESULT Edit::defaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(editProcedure(), handle(), message, wParam, lParam);
}

LRESULT CALLBACK Edit::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* edit = dynamic_cast<Edit*>(Control::fromHandle(window));
    if (!edit || edit->handle() != window) return CallWindowProcA(editProcedure(), window, message, wParam, lParam);
    // No exception may cross the system's message dispatch.
    try {
        return edit->handleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        Application::instance().showError(error.what());
        return 0;
    }
}
