// What the results window shows on the screen while Tallykeep waits for the
// player to answer the game's won dialog: the counted game is drawn at once,
// not when the player has answered. Read from the screen's pixels, as the
// player sees them.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "gamelink/game_contract.h"
#include "gamelink/os_profile.h"
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

// The pixels of the window's client area on the screen, as 0x00RRGGBB, row by
// row; empty when the screen cannot be read.
std::vector<uint32_t> pixelsOnScreen(HWND window) {
    RECT client{};
    if (!GetClientRect(window, &client)) return {};
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) return {};

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
    std::vector<uint32_t> pixels;
    if (screen && memory && bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY)) {
            GdiFlush();
            const auto* first = static_cast<const uint32_t*>(bits);
            pixels.assign(first, first + width * height);
            for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
        }
        SelectObject(memory, previous);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    if (screen) ReleaseDC(nullptr, screen);
    return pixels;
}

// Pixels of the window's client area on the screen that are nearly black, as
// the memo's text is; -1 when the screen cannot be read.
int darkPixelsOnScreen(HWND window) {
    const std::vector<uint32_t> pixels = pixelsOnScreen(window);
    if (pixels.empty()) return -1;
    return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [](uint32_t pixel) {
        return (pixel & 0xFF) < 64 && ((pixel >> 8) & 0xFF) < 64 && ((pixel >> 16) & 0xFF) < 64;
    }));
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

// The game's own F2 deals a number nobody knows ("番号不明" beside the box);
// the same number dealt again afterwards shows its attempt with "回目" after
// it, drawn as at the start, not only once the group is laid out again.
TEST_F(TallykeepPainting, AttemptIsFollowedByItsSuffixAgainAfterADealOfNoKnownNumber) {
    SessionOptions options;
    options.environment = {{"FREECELL_HIDE_NUMBER", "1"}};  // the classic game
    start(options);
    ASSERT_TRUE(session->selectGame("4", "4")) << log().text();
    ASSERT_TRUE(results().waitForLabel("Label2", "回目"));
    const HWND suffix = results().labelWindow("Label2");
    std::vector<uint32_t> drawn;
    ASSERT_TRUE(waitUntil([&] {
        drawn = pixelsOnScreen(suffix);
        return darkPixelsOnScreen(suffix) > 20;
    })) << "回目 is not drawn at the start";

    std::size_t mark = log().size();
    postKey(session->game, VK_F2);
    ASSERT_TRUE(log().waitFor("confirm-yes", std::string(), mark)) << log().text();
    ASSERT_TRUE(results().waitForLabel("Label2", "番号不明"));
    mark = log().size();
    standinWin(session->game);
    ASSERT_TRUE(log().waitFor("msg", std::string("selectbox BM_SETCHECK 1"), mark)) << log().text();
    const HWND dialog = waitForTopLevel(game::kDialogClass, kDefaultTexts.TitleGameOver);
    ASSERT_NE(dialog, nullptr);
    clickButton(findChild(dialog, nullptr, kDefaultTexts.CaptionYes));
    ASSERT_TRUE(log().waitFor("deal", std::string("4"), mark)) << log().text();
    ASSERT_TRUE(results().waitForLabel("Label2", "回目"));
    EXPECT_TRUE(waitUntil([&] { return pixelsOnScreen(suffix) == drawn; }, 5s))
        << "回目 is not drawn as it was; dark pixels: " << darkPixelsOnScreen(suffix);
}

}  // namespace
