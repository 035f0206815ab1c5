#include "toolkit/control.h"

#include <vector>

#include "common/app_error.h"
#include "toolkit/form.h"
#include "toolkit/screen_scale.h"

namespace {
constexpr char kControlProperty[] = "Tallykeep.Control";
}

Control::~Control() {
    if (!ownsLiveWindow()) window_.release();
    // Unbound first, so that no message of the window's end reaches this
    // object, which is half gone by now.
    unbind();
    window_.reset();
}

bool Control::ownsLiveWindow() const { return window_ && IsWindow(window_.get()) && fromHandle(window_.get()) == this; }

void Control::unbind() {
    if (ownsLiveWindow()) {
        if (classProcedure_)
            SetWindowLongPtrA(window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProcedure_));
        RemovePropA(window_.get(), kControlProperty);
    }
    classProcedure_ = nullptr;
}

void Control::releaseWindow() {
    unbind();
    window_.release();
}

Control* Control::fromHandle(HWND window) {
    if (!window) return nullptr;
    return static_cast<Control*>(GetPropA(window, kControlProperty));
}

void Control::subclass(WNDPROC procedure) {
    classProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    if (!classProcedure_) throw AppError("subclassing a control failed");
}

LRESULT Control::callClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Control* control = fromHandle(window);
    if (!control || !control->classProcedure_) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(control->classProcedure_, window, message, wParam, lParam);
}

void Control::createWindow(Container& parent, const WindowSpec& spec) {
    form_ = &parent.containerForm();
    font_ = spec.font;
    background_ = spec.background;
    const Rect bounds = spec.boundsOnScreen ? spec.bounds : scaledToScreen(spec.bounds);
    window_.reset(CreateWindowExA(spec.exStyle, spec.className, spec.text.c_str(), spec.style | WS_CHILD | WS_VISIBLE,
                                  bounds.left, bounds.top, bounds.width, bounds.height, parent.containerHandle(),
                                  nullptr, GetModuleHandleA(nullptr), nullptr));
    if (!window_) throw AppError(std::string("CreateWindowExA failed: ") + spec.className);
    if (!SetPropA(window_.get(), kControlProperty, this)) throw AppError("SetPropA failed");
    SendMessageA(window_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(form_->paintCache().font(font_)), FALSE);
}

Rect Control::bounds() const {
    RECT r{};
    GetWindowRect(window_.get(), &r);
    MapWindowPoints(nullptr, GetParent(window_.get()), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Control::setFont(const FontSpec& font) {
    font_ = font;
    SendMessageA(window_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(form_->paintCache().font(font_)), TRUE);
}

void Control::setBounds(const Rect& b) { MoveWindow(window_.get(), b.left, b.top, b.width, b.height, TRUE); }

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

bool Control::visible() const { return IsWindowVisible(window_.get()) != FALSE; }

void Control::setVisible(bool visible) { ShowWindow(window_.get(), visible ? SW_SHOWNA : SW_HIDE); }

bool Control::enabled() const { return IsWindowEnabled(window_.get()) != FALSE; }

void Control::setEnabled(bool enabled) { EnableWindow(window_.get(), enabled ? TRUE : FALSE); }

std::string Control::windowText() const {
    const int length = GetWindowTextLengthA(window_.get());
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    const int copied = GetWindowTextA(window_.get(), buffer.data(), length + 1);
    return std::string(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

void Control::setWindowText(const std::string& text) {
    if (!SetWindowTextA(window_.get(), text.c_str())) throw AppError("SetWindowTextA failed");
}

void Control::setTextColor(Color color) {
    if (font_.color == color) return;
    font_.color = color;
    if (!InvalidateRect(window_.get(), nullptr, TRUE)) throw AppError("InvalidateRect failed");
}

HBRUSH Control::onControlColor(HDC dc) {
    SetTextColor(dc, resolveColor(font_.color));
    SetBkColor(dc, resolveColor(background_));
    return form_->paintCache().brush(background_);
}

bool Control::onSetCursor() {
    if (!cursor_) return false;
    // Windows 95 and NT 4.0 have no hand cursor (IDC_HAND came with 98 and
    // 2000): a system without the cursor gets the arrow, since a null cursor
    // would hide the pointer over the control.
    HCURSOR cursor = LoadCursorA(nullptr, cursor_);
    if (!cursor) cursor = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(cursor);
    return true;
}
