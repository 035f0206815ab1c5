#include "toolkit/group_box.h"

#include "toolkit/entry_guard.h"
#include "toolkit/form.h"

void GroupBox::create(Container& parent, const CreateArgs& args) {
    WindowSpec spec;
    spec.className = "BUTTON";
    spec.style = BS_GROUPBOX | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    spec.bounds = args.bounds;
    spec.text = args.caption;
    spec.font = args.font.value_or(parent.containerFont());
    spec.background = parent.containerColor();
    createWindow(parent, spec);
    subclass(&GroupBox::windowProc);
}

LRESULT CALLBACK GroupBox::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return guardWindowProcedure(window, message, wParam, lParam, [&]() -> LRESULT {
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
        return callClassProcedure(window, message, wParam, lParam);
    });
}
