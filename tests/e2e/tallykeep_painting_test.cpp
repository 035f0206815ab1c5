// What the results window shows on the screen while Tallykeep waits for the
// player to answer the game's won dialog: the counted game is drawn at once,
// not when the player has answered. Read from the screen's pixels, as the
// player sees them.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "harness/harness.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;

using TallykeepPainting = TallykeepTest;

// The history memo: the first child of the group box "対戦履歴".
HWND historyMemo(HWND results) {
    for (const ChildWindow& child : children(results))
        if (child.text == "対戦履歴") {
            const std::vector<ChildWindow> inner = children(child.handle);
            return inner.empty() ? nullptr : inner.front().handle;
        }
    return nullptr;
}

// Pixels of the window's client area on the screen that are nearly black, as
// the memo's text is; -1 when the screen cannot be read.
int darkPixelsOnScreen(HWND window) {
    RECT client{};
    if (!GetClientRect(window, &client)) return -1;
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) return -1;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    int dark = -1;
    if (screen && memory && bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY)) {
            GdiFlush();
            dark = 0;
            const auto* pixels = static_cast<const unsigned char*>(bits);
            for (int i = 0; i < width * height; ++i) {
                const unsigned char* pixel = pixels + 4 * i;  // blue, green, red, unused
                if (pixel[0] < 64 && pixel[1] < 64 && pixel[2] < 64) ++dark;
            }
        }
        SelectObject(memory, previous);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    if (screen) ReleaseDC(nullptr, screen);
    return dark;
}

TEST_F(TallykeepPainting, CountedGameIsDrawnInTheHistoryWhileTheWonDialogWaits) {
    start();
    const HWND memo = historyMemo(results().window());
    ASSERT_NE(memo, nullptr);
    // A new sandbox starts with no history.
    ASSERT_TRUE(waitUntil([&] { return darkPixelsOnScreen(memo) == 0; })) << "the empty history shows text";

    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    const std::size_t mark = log().size();
    standinWin(session->game);
    // Tallykeep has counted the game and ticked the select-game box; it now
    // waits for the player's answer, which does not come yet.
    ASSERT_TRUE(log().waitFor("msg", std::string("selectbox BM_SETCHECK 1"), mark)) << log().text();
    ASSERT_FALSE(results().history().empty() || results().history().front().empty());
    EXPECT_TRUE(waitUntil([&] { return darkPixelsOnScreen(memo) > 20; }, 10s))
        << "the new history line is not drawn; dark pixels: " << darkPixelsOnScreen(memo);
}

}  // namespace
