// Tallykeep with Windows' large fonts (120 and 144 pixels per inch, as Windows
// XP sets them): the windows look as they do at 96, only larger. The setting
// is the prefix's, read by each program as it starts; the test sets it for
// the one Tallykeep it starts and puts the old value back whatever happens,
// so that no other test sees it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <optional>
#include <string>

#include "harness/harness.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kPixelsPerInch[] = "LogPixels";
constexpr UINT kCmdProgress = 119;  // オプション → 進捗

// The user's pixels per inch, as the display settings write them, for the
// lifetime of the object; the previous value (or none) comes back after.
class PixelsPerInchSetting {
public:
    explicit PixelsPerInchSetting(DWORD dpi) {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                            &key_, nullptr) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        DWORD previous = 0;
        DWORD size = sizeof previous;
        DWORD type = 0;
        if (RegQueryValueExA(key_, kPixelsPerInch, nullptr, &type, reinterpret_cast<BYTE*>(&previous), &size) ==
                ERROR_SUCCESS &&
            type == REG_DWORD)
            previous_ = previous;
        set_ = RegSetValueExA(key_, kPixelsPerInch, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi) ==
               ERROR_SUCCESS;
    }
    ~PixelsPerInchSetting() {
        if (!key_) return;
        if (previous_)
            RegSetValueExA(key_, kPixelsPerInch, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*previous_),
                           sizeof *previous_);
        else
            RegDeleteValueA(key_, kPixelsPerInch);
        RegCloseKey(key_);
    }
    PixelsPerInchSetting(const PixelsPerInchSetting&) = delete;
    PixelsPerInchSetting& operator=(const PixelsPerInchSetting&) = delete;

    bool set() const { return set_; }

private:
    HKEY key_ = nullptr;
    std::optional<DWORD> previous_;
    bool set_ = false;
};

class TallykeepLargeFonts : public TallykeepTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        TallykeepTest::SetUp();
        setting_.emplace(static_cast<DWORD>(GetParam()));
        ASSERT_TRUE(setting_->set()) << "the pixels per inch cannot be set";
    }
    void TearDown() override {
        // Tallykeep and the game go first: nothing started later sees the setting.
        TallykeepTest::TearDown();
        setting_.reset();
    }

private:
    std::optional<PixelsPerInchSetting> setting_;
};

// What the window's frame is at a screen point (WM_NCHITTEST, as the mouse asks).
LRESULT hitTest(HWND window, int x, int y) {
    DWORD_PTR hit = HTNOWHERE;
    SendMessageTimeoutA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_BLOCK, 5000, &hit);
    return static_cast<LRESULT>(hit);
}

// Screen rows between the window's top and its client area that are caption,
// and that are menu bar, somewhere across the window (the caption's icon and
// buttons take parts of its rows).
struct FrameRows {
    int caption = 0;
    int menuBar = 0;
};
FrameRows frameRows(HWND window) {
    const RECT outer = windowRect(window);
    POINT clientTop{0, 0};
    ClientToScreen(window, &clientTop);
    FrameRows rows;
    for (int y = outer.top; y < clientTop.y; ++y) {
        bool caption = false;
        bool menuBar = false;
        for (int x = outer.left; x < outer.right; x += 6) {
            const LRESULT hit = hitTest(window, x, y);
            caption = caption || hit == HTCAPTION;
            menuBar = menuBar || hit == HTMENU;
        }
        rows.caption += caption ? 1 : 0;
        rows.menuBar += menuBar ? 1 : 0;
    }
    return rows;
}

TEST_P(TallykeepLargeFonts, WindowsLookAsAtNinetySixOnlyLarger) {
    const int dpi = GetParam();
    // The history as ten games lost at the third attempt leave it.
    const std::string ini = sandbox.path("Tallykeep.Ini");
    for (int slot = 0; slot < 10; ++slot) {
        const std::string line = std::to_string(12349 - slot) + " 負け（3回）";
        ASSERT_TRUE(
            WritePrivateProfileStringA("Hist", ("hist" + std::to_string(slot)).c_str(), line.c_str(), ini.c_str()));
    }
    start();
    ASSERT_EQ(results().history().front(), "12349 負け（3回）");

    const FrameRows rows = frameRows(results().window());
    ASSERT_GT(rows.caption, 0);
    EXPECT_LT(rows.menuBar, rows.caption * 3 / 2)
        << "the menu bar is more than one row: " << rows.menuBar << " pixels under a caption of " << rows.caption;

    // Every game on one screen line: as many screen lines as lines of text
    // (the memo's empty last line included), and the empty rest after the
    // last line break.
    const int lines = static_cast<int>(results().history().size());
    ASSERT_EQ(lines, 11);
    EXPECT_EQ(results().historyDisplayedLineCount(), lines + 1) << "history lines wrap";

    // The window's client area is the laid-out 151 pixels enlarged, with no
    // width added by the system beyond it.
    RECT client{};
    GetClientRect(results().window(), &client);
    EXPECT_NEAR(client.right, 151.0 * dpi / 96, 1.0);

    // 進捗 grows with the text as well: its summary of four lines.
    results().menuCommand(kCmdProgress);
    const HWND progress = waitForTopLevel("TallykeepProgress", "進捗");
    ASSERT_NE(progress, nullptr) << "no window 進捗";
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(progress) != FALSE; })) << "進捗 is not shown";
    const RECT summary = windowRect(FindWindowExA(progress, nullptr, "Static", nullptr));
    EXPECT_NEAR(summary.bottom - summary.top, 64.0 * dpi / 96, 1.0);
}

INSTANTIATE_TEST_SUITE_P(PixelsPerInch, TallykeepLargeFonts, ::testing::Values(96, 120, 144),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param); });

}  // namespace
