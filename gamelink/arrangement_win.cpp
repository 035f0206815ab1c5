#include "gamelink/arrangement_win.h"

#include <windows.h>

ScreenSpace readScreenSpace() {
    ScreenSpace space;
    RECT work{};
    if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        space.workArea = Rect{work.left, work.top, work.right - work.left, work.bottom - work.top};
    space.width = GetSystemMetrics(SM_CXSCREEN);
    space.height = GetSystemMetrics(SM_CYSCREEN);
    return space;
}
