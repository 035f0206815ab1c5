#include "toolkit/control.h"

#include <vector>

#include "common/app_error.h"
#include "toolkit/form.h"

Control::~Control() {
    // The window may outlive this object by a moment (the form destroys its
    // children after its members are gone): unbind so no message reaches us.
    if (window_ && IsWindow(window_)) SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
}

Control* Control::fromHandle(HWND window) {
    if (!window) return nullptr;
    return reinterpret_cast<Control*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void Control::createWindow(Container& parent, const WindowSpec& spec) {
    form_ = &parent.containerForm();
    font_ = spec.font;
    background_ = spec.background;
    window_ = CreateWindowExA(spec.exStyle, spec.className, spec.text.c_str(),
                              spec.style | WS_CHILD | WS_VISIBLE, spec.bounds.left, spec.bounds.top,
                              spec.bounds.width, spec.bounds.height, parent.containerHandle(), nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (!window_) throw AppError(std::string("CreateWindowExA failed: ") + spec.className);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(form_->paintCache().font(font_)), FALSE);
}

Rect Control::bounds() const {
    RECT r{};
    GetWindowRect(window_, &r);
    MapWindowPoints(nullptr, GetParent(window_), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Control::setBounds(const Rect& b) {
    MoveWindow(window_, b.left, b.top, b.width, b.height, TRUE);
}

void Control::setLeft(int left) {
    Rect b = bounds();
    b.left = left;
    setBounds(b);
}

void Control::setWidth(int width) {
    Rect b = bounds();
    b.width = width;
    setBounds(b);
}


bool Control::visible() const { return IsWindowVisible(window_) != FALSE; }

void Control::setVisible(bool visible) { ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE); }

bool Control::enabled() const { return IsWindowEnabled(window_) != FALSE; }

void Control::setEnabled(bool enabled) { EnableWindow(window_, enabled ? TRUE : FALSE); }

std::string Control::windowText() const {
    const int length = GetWindowTextLengthA(window_);
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    const int copied = GetWindowTextA(window_, buffer.data(), length + 1);
    return std::string(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

void Control::setWindowText(const std::string& text) {
    if (!SetWindowTextA(window_, text.c_str())) throw AppError("SetWindowTextA failed");
}

HBRUSH Control::onControlColor(HDC dc) {
    SetTextColor(dc, resolveColor(font_.color));
    SetBkColor(dc, resolveColor(background_));
    return form_->paintCache().brush(background_);
}

bool Control::onSetCursor() {
    if (!cursor_) return false;
    SetCursor(LoadCursorA(nullptr, cursor_));
    return true;
}
