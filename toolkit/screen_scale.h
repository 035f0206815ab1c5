#pragma once

#include "toolkit/basics.h"

// The form data is laid out for 96 pixels per inch. With large fonts (120 or
// 144 pixels per inch on Windows XP and earlier) the forms are scaled as the
// toolkit that the layout comes from scaled its forms: every length times
// dpi / 96, rounded to the nearest pixel (halves away from zero, as MulDiv
// rounds), a rectangle by its edges so that controls that touch still touch.
// At 96 nothing changes.

inline constexpr int kDesignPixelsPerInch = 96;

constexpr int scaledToDpi(int designed, int dpi) {
    const long long product = static_cast<long long>(designed) * dpi;
    const long long half = kDesignPixelsPerInch / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kDesignPixelsPerInch
                                         : -((-product + half) / kDesignPixelsPerInch));
}

inline Rect scaledToDpi(const Rect& designed, int dpi) {
    const int left = scaledToDpi(designed.left, dpi);
    const int top = scaledToDpi(designed.top, dpi);
    return Rect{left, top, scaledToDpi(designed.right(), dpi) - left, scaledToDpi(designed.bottom(), dpi) - top};
}

// The pixels per inch that Windows reports for the screen (LOGPIXELSY), read
// once; 96 when it cannot be read. Windows Vista and later report 96 to a
// program that declares no awareness of it and enlarge the windows themselves.
int screenPixelsPerInch();

// A length or rectangle of the form data, in the screen's pixels.
inline int scaledToScreen(int designed) { return scaledToDpi(designed, screenPixelsPerInch()); }
inline Rect scaledToScreen(const Rect& designed) { return scaledToDpi(designed, screenPixelsPerInch()); }
