#include "toolkit/group_box.h"

#include "common/app_error.h"
#include "toolkit/form.h"

namespace {
// The BUTTON class's own procedure, shared by every button window.
WNDPROC buttonProcedure() {
    static WNDPROC procedure = [] {
        WNDCLASSA windowClass{};
        if (!GetClassInfoA(nullptr, "BUTTON", &windowClass)) throw AppError("GetClassInfoA failed: BUTTON");
        return windowClass.lpfnWndProc;
    }();
    return procedure;
}
}  // namespace

void GroupBox::create(Container& parent, const CreateArgs& args) {
    WindowSpec spec;
    spec.className = "BUTTON";
    spec.style = BS_GROUPBOX | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    spec.bounds = args.bounds;
    spec.text = args.caption;
    spec.font = args.font.value_or(parent.containerFont());
    spec.background = parent.containerColor();
    const WNDPROC original = buttonProcedure();
    createWindow(parent, spec);
    if (reinterpret_cast<WNDPROC>(SetWindowLongPtrA(handle(), GWLP_WNDPROC,
                                                    reinterpret_cast<LONG_PTR>(&GroupBox::windowProc))) != original)
        throw AppError("subclassing the group box failed");
}

LRESULT CALLBACK GroupBox::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* box = dynamic_cast<GroupBox*>(Control::fromHandle(window));
    if (box) {
        switch (message) {
        case WM_ERASEBKGND: {
            // With WS_CLIPCHILDREN the parent no longer paints beneath the box.
            RECT r{};
            GetClientRect(window, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, box->form().paintCache().brush(box->color()));
            return 1;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_COMMAND:
        case WM_DRAWITEM:
            return SendMessageA(box->form().handle(), message, wParam, lParam);
        default:
            break;
        }
    }
    return CallWindowProcA(buttonProcedure(), window, message, wParam, lParam);
}
