#include "toolkit/screen_scale.h"

#include <windows.h>

int screenPixelsPerInch() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        if (!screen) return kDesignPixelsPerInch;
        const int reported = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return reported > 0 ? reported : kDesignPixelsPerInch;
    }();
    return dpi;
}
