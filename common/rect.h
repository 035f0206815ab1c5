#pragma once

// A rectangle of whole pixels by its left, top, width and height: a window's
// place on the screen, or a control's in its parent's client area. The one
// geometry type of the program's windows, the game's among them.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const Rect& other) const {
        return left == other.left && top == other.top && width == other.width && height == other.height;
    }
    bool operator!=(const Rect& other) const { return !(*this == other); }
};
