#include "toolkit/edit.h"

#include "common/app_error.h"
#include "toolkit/entry_guard.h"
#include "toolkit/form.h"
#include "toolkit/gdi_object.h"

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
    spec.boundsOnScreen = recreated_;
    spec.text = args_.text;
    spec.font = args_.font.value_or(parent_->containerFont());
    spec.background = args_.background;
    createWindow(*parent_, spec);
    subclass(&Edit::windowProc);
    if (args_.maxLength > 0) SendMessageA(handle(), EM_LIMITTEXT, static_cast<WPARAM>(args_.maxLength), 0);
    applyMargins();
}

// A new font brings the system's margins for it back.
void Edit::applyMargins() {
    if (args_.margins >= 0)
        SendMessageA(handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(args_.margins, args_.margins));
}

void Edit::setFont(const FontSpec& font) {
    args_.font = font;
    Control::setFont(font);
    applyMargins();
}

void Edit::setMaxLength(int maxLength) {
    args_.maxLength = maxLength;
    SendMessageA(handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength), 0);
}

void Edit::setMargins(int pixels) {
    args_.margins = pixels;
    applyMargins();
}

int Edit::textAreaWidth() const {
    RECT area{};
    SendMessageA(handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    return area.right - area.left;
}

int Edit::textWidth(const std::string& text) const {
    const WindowDc dc = windowDc(handle());
    SelectedObject selected(dc.get(), form().paintCache().font(font()));
    SIZE extent{};
    if (!GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent))
        throw AppError("GetTextExtentPoint32A failed");
    return extent.cx;
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
    recreated_ = true;
    const bool focused = GetFocus() == old;
    const HWND before = GetWindow(old, GW_HWNDPREV);
    releaseWindow();
    DestroyWindow(old);
    createEditWindow();
    // The new window takes the old one's place among its siblings.
    SetWindowPos(handle(), before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (focused) SetFocus(handle());
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
    return callClassProcedure(handle(), message, wParam, lParam);
}

LRESULT CALLBACK Edit::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return guardWindowProcedure(window, message, wParam, lParam, [&]() -> LRESULT {
        if (auto* edit = dynamic_cast<Edit*>(Control::fromHandle(window))) {
            const bool userEdit = message == WM_CHAR || message == WM_PASTE || message == WM_CUT ||
                                  message == WM_CLEAR || message == WM_UNDO ||
                                  (message == WM_KEYDOWN && wParam == VK_DELETE);
            if (!userEdit) return edit->handleMessage(message, wParam, lParam);
            edit->lastUserEditMs_ = GetTickCount();
            const LRESULT result = edit->handleMessage(message, wParam, lParam);
            if (edit->OnUserEdit) edit->OnUserEdit();
            return result;
        }
        return callClassProcedure(window, message, wParam, lParam);
    });
}
