#pragma once

// Tallykeep's windows measured from outside: places relative to a parent's
// client area, styles, pixels on the screen and the sizes of texts in the
// program's font, for comparing the running windows with their layout.
#include <windows.h>

#include <string>

namespace e2e {

// Left, top, width, height.
struct Place {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
};
std::string describe(const Place& place);

Place outerPlace(HWND window);           // on the screen
Place clientPlace(HWND window);          // the client area on the screen
Place placeIn(HWND child, HWND parent);  // relative to the parent's client area

LONG windowStyle(HWND window);
LONG windowExStyle(HWND window);

// The work area's rectangle (SPI_GETWORKAREA) and the screen's size, as this
// process reads them.
Place workArea();
int screenWidth();
int screenHeight();

// Pixels of the screen as shown now.
COLORREF screenPixel(int x, int y);
// The number of pixels of exactly this colour inside the place on the screen.
int countScreenPixels(const Place& place, COLORREF colour);

// The size of a single-line text in "ＭＳ Ｐゴシック" of that height (negative:
// character height) and weight, with the line's full height.
SIZE textSize(const std::string& text, int height, bool bold);

// Brings a window of another program to the foreground and waits until it is.
bool activate(HWND window);

}  // namespace e2e
