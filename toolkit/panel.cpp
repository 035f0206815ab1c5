#include "toolkit/panel.h"

#include "common/app_error.h"
#include "toolkit/entry_guard.h"
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
        if (message == WM_PAINT) {
            const PaintScope paint(window);
            RECT r{};
            GetClientRect(window, &r);
            DrawEdge(paint.dc(), &r, BDR_RAISEDINNER, BF_RECT);
            return 0;
        }
        LRESULT answer = 0;
        if (answerAsContainer(window, message, wParam, lParam, answer)) return answer;
        return DefWindowProcA(window, message, wParam, lParam);
    });
}
