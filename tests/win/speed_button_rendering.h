#pragma once

// A speed button as its parent draws it on WM_DRAWITEM, captured as pixels.
#include <windows.h>

#include <vector>

#include "toolkit/speed_button.h"

namespace toolkit_test {

class Rendering {
public:
    Rendering(const SpeedButton& button, UINT state) : width_(button.width()), height_(button.height()) {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width_, height_);
        HGDIOBJ old = SelectObject(dc, bitmap);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = button.handle();
        item.hDC = dc;
        item.rcItem = RECT{0, 0, width_, height_};
        SendMessageA(GetParent(button.handle()), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) pixels_.push_back(GetPixel(dc, x, y));
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }
    int count(COLORREF colour) const {
        int n = 0;
        for (COLORREF pixel : pixels_) n += pixel == colour ? 1 : 0;
        return n;
    }
    int countIn(COLORREF colour, RECT area) const {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) n += pixels_[y * width_ + x] == colour ? 1 : 0;
        return n;
    }
    // The first pixel of the colour in reading order, as (x, y); (-1, -1) if none.
    POINT first(COLORREF colour) const {
        for (size_t i = 0; i < pixels_.size(); ++i)
            if (pixels_[i] == colour) return POINT{static_cast<LONG>(i % width_), static_cast<LONG>(i / width_)};
        return POINT{-1, -1};
    }

private:
    int width_;
    int height_;
    std::vector<COLORREF> pixels_;
};

}  // namespace toolkit_test
