#include "toolkit/panel.h"

#include "common/app_error.h"
#include "toolkit/entry_guard.h"
#include "toolkit/form.h"
#include "toolkit/gdi_object.h"

namespace {
constexpr char kPanelClass[] = "TallykeepPanel";
}

void Panel::create(Container& parent, const CreateArgs& args) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &Panel::windowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kPanelClass;
        if (!RegisterClassExA(&windowClass)) throw AppError("RegisterClassExA failed: panel");
        registered = true;
    }
    WindowSpec spec;
    spec.className = kPanelClass;
    spec.style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    spec.bounds = args.bounds;
    spec.font = parent.containerFont();
    spec.background = parent.containerColor();
    createWindow(parent, spec);
}

LRESULT CALLBACK Panel::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return guardWindowProcedure(window, message, wParam, lParam, [&]() -> LRESULT {
        auto* panel = dynamic_cast<Panel*>(Control::fromHandle(window));
        if (!panel) return DefWindowProcA(window, message, wParam, lParam);
        switch (message) {
            case WM_ERASEBKGND: {
                RECT r{};
                GetClientRect(window, &r);
                FillRect(reinterpret_cast<HDC>(wParam), &r, panel->form().paintCache().brush(panel->color()));
                return 1;
            }
            case WM_PAINT: {
                const PaintScope paint(window);
                RECT r{};
                GetClientRect(window, &r);
                DrawEdge(paint.dc(), &r, BDR_RAISEDINNER, BF_RECT);
                return 0;
            }
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORBTN:
            case WM_COMMAND:
            case WM_DRAWITEM:
                // The children's notifications are the form's to handle.
                return SendMessageA(panel->form().handle(), message, wParam, lParam);
            default:
                return DefWindowProcA(window, message, wParam, lParam);
        }
    });
}
