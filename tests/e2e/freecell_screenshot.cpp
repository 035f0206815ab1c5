#include "freecell_screenshot.h"

#include <fstream>
#include <string>
#include <vector>

#include "harness/window_probe.h"

namespace e2e {

namespace {

RECT around(HWND first, HWND second) {
    RECT united = windowRect(first);
    if (second) {
        const RECT other = windowRect(second);
        UnionRect(&united, &united, &other);
    }
    return united;
}

// The screen's pixels of `area` as a 24-bit bottom-up BMP file's bytes.
std::string bitmapFile(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return {};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<size_t>(stride) * height);

    HDC screen = GetDC(nullptr);
    if (!screen) return {};
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = memory ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    bool copied = false;
    if (bitmap) {
        const HGDIOBJ previous = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) != FALSE;
        SelectObject(memory, previous);
        BITMAPINFO info{};
        info.bmiHeader = header;
        copied = copied && GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info,
                                     DIB_RGB_COLORS) == height;
        DeleteObject(bitmap);
    }
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied) return {};

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(pixels.begin(), pixels.end());
    return bytes;
}

}  // namespace

bool saveScreenshot(HWND gameWindow, HWND dialog, const char* name) {
    char folder[MAX_PATH] = "";
    const DWORD length = GetEnvironmentVariableA("TK_SCREENSHOT_DIR", folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return true;
    if (!waitUntil([&] { return IsWindowVisible(gameWindow) && (!dialog || IsWindowVisible(dialog)); })) return false;
    // Painted again now, and waited for: the update is sent to the game's
    // thread, which answers once it has painted.
    for (HWND window : {gameWindow, dialog}) {
        if (window && !RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN))
            return false;
    }
    const std::string bytes = bitmapFile(around(gameWindow, dialog));
    if (bytes.empty()) return false;
    std::ofstream out(std::string(folder) + "\\" + name + ".bmp", std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace e2e
