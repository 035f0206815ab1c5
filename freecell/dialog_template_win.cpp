#include "freecell/dialog_template_win.h"

namespace freecell {

namespace {

constexpr char kOriginalProcedure[] = "FreeCellOriginalProcedure";

}  // namespace

void subclass(HWND control, WNDPROC procedure) {
    const LONG_PTR original = GetWindowLongPtrA(control, GWLP_WNDPROC);
    if (!original || !SetPropA(control, kOriginalProcedure, reinterpret_cast<HANDLE>(original))) return;
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

LRESULT callOriginal(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(GetPropA(control, kOriginalProcedure));
    if (message == WM_NCDESTROY) {
        RemovePropA(control, kOriginalProcedure);
        if (original) SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    }
    return original ? CallWindowProcA(original, control, message, wParam, lParam)
                    : DefWindowProcA(control, message, wParam, lParam);
}

}  // namespace freecell
