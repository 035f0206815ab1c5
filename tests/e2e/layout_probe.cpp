#include "layout_probe.h"

#include "harness/window_probe.h"

namespace e2e {

std::string describe(const Place& p) {
    return "(" + std::to_string(p.left) + ", " + std::to_string(p.top) + ") " + std::to_string(p.width) + " x " +
           std::to_string(p.height);
}

Place outerPlace(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Place clientPlace(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return {origin.x, origin.y, r.right, r.bottom};
}

Place placeIn(HWND child, HWND parent) {
    const Place outer = outerPlace(child);
    const Place client = clientPlace(parent);
    return {outer.left - client.left, outer.top - client.top, outer.width, outer.height};
}

LONG windowStyle(HWND window) { return GetWindowLongA(window, GWL_STYLE); }

LONG windowExStyle(HWND window) { return GetWindowLongA(window, GWL_EXSTYLE); }

Place workArea() {
    RECT r{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) return {0, 0, screenWidth(), screenHeight()};
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

int screenWidth() { return GetSystemMetrics(SM_CXSCREEN); }

int screenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

COLORREF screenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return pixel;
}

int countScreenPixels(const Place& place, COLORREF colour) {
    if (place.width <= 0 || place.height <= 0) return 0;
    // One copy of the area instead of a round trip to the X server per pixel.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = place.width;
    info.bmiHeader.biHeight = -place.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    int count = 0;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, place.width, place.height, screen, place.left, place.top, SRCCOPY);
        GdiFlush();
        const auto* pixels = static_cast<const DWORD*>(bits);
        const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
        for (int i = 0; i < place.width * place.height; ++i) count += (pixels[i] & 0xFFFFFF) == wanted ? 1 : 0;
        SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return count;
}

SIZE textSize(const std::string& text, int height, bool bold) {
    HFONT font = CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             "ＭＳ Ｐゴシック");
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    SIZE size{};
    GetTextExtentPoint32A(screen, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen, &metrics);
    size.cy = metrics.tmHeight;
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    return size;
}

bool activate(HWND window) {
    SetForegroundWindow(window);
    return waitUntil([&] { return GetForegroundWindow() == window; }, 10s);
}

}  // namespace e2e
