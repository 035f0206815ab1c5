#include "toolkit/speed_button.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/app_error.h"
#include "res/resource_ids.h"
#include "toolkit/event_gate.h"
#include "speed_button_rendering.h"
#include "toolkit_test_support.h"

using toolkit_test::Rendering;
using toolkit_test::TestForm;
using toolkit_test::waitUntil;

namespace {

const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kOlive = RGB(128, 128, 0);

// SpeedButton1 of the control bar, on a plain form.
SpeedButton::CreateArgs startButton(int& clicks) {
    SpeedButton::CreateArgs args;
    args.bounds = {16, 8, 145, 25};
    args.caption = "開始";
    args.font = FontSpec{-13, false, clBlack};
    args.cursor = IDC_HAND;
    args.glyphResource = IDB_SPEEDBUTTON1;
    args.onClick = [&clicks] { ++clicks; };
    return args;
}

struct ButtonOnForm {
    int clicks = 0;
    SpeedButton button;
    TestForm form;
    explicit ButtonOnForm(const std::function<void(SpeedButton::CreateArgs&)>& change = {})
        : form([this, change] {
              SpeedButton::CreateArgs args = startButton(clicks);
              if (change) change(args);
              button.create(form, args);
          }) {}
};

class SpeedButtonTest : public ::testing::Test {
protected:
    ButtonOnForm f;
    SpeedButton& button = f.button;
    int& clicks = f.clicks;
};

TEST_F(SpeedButtonTest, IsAnOwnerDrawnButtonWhoseWindowTextIsTheCaption) {
    char className[32] = {};
    GetClassNameA(button.handle(), className, sizeof className);
    EXPECT_STREQ("Button", className);
    EXPECT_EQ(static_cast<LONG_PTR>(BS_OWNERDRAW), GetWindowLongPtrA(button.handle(), GWL_STYLE) & BS_TYPEMASK);
    char text[32] = {};
    GetWindowTextA(button.handle(), text, sizeof text);
    EXPECT_EQ(std::string("\x8a\x4a\x8e\x6e"), text);  // "開始" in code page 932
    EXPECT_EQ(std::string("開始"), button.caption());
}

TEST_F(SpeedButtonTest, SitsAtItsLaidOutPlaceAndMovesWhenRelaidOut) {
    EXPECT_EQ(16, button.left());
    EXPECT_EQ(8, button.top());
    EXPECT_EQ(145, button.width());
    EXPECT_EQ(25, button.height());
    button.setWidth(150);
    button.setLeft(160);
    EXPECT_EQ(160, button.left());
    EXPECT_EQ(150, button.width());
    EXPECT_EQ(8, button.top());
    EXPECT_EQ(25, button.height());
}

TEST_F(SpeedButtonTest, CarriesItsOwnJapaneseFont) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(button.handle(), WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, font);
    LOGFONTA logFont{};
    ASSERT_NE(0, GetObjectA(font, sizeof logFont, &logFont));
    EXPECT_EQ(-13, logFont.lfHeight);
    EXPECT_EQ(FW_NORMAL, logFont.lfWeight);
    EXPECT_EQ(SHIFTJIS_CHARSET, logFont.lfCharSet);
    EXPECT_STREQ("ＭＳ Ｐゴシック", logFont.lfFaceName);
}

TEST_F(SpeedButtonTest, BmClickRunsTheHandlerOnce) {
    SendMessageA(button.handle(), BM_CLICK, 0, 0);
    waitUntil([&] { return clicks > 0; }, 500);
    EXPECT_EQ(1, clicks);
}

TEST_F(SpeedButtonTest, DoubleClickCountsAsTwoClicks) {
    const LPARAM inside = MAKELPARAM(10, 10);
    SendMessageA(button.handle(), WM_LBUTTONDOWN, MK_LBUTTON, inside);
    SendMessageA(button.handle(), WM_LBUTTONUP, 0, inside);
    SendMessageA(button.handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, inside);
    SendMessageA(button.handle(), WM_LBUTTONUP, 0, inside);
    waitUntil([&] { return clicks >= 2; }, 500);
    EXPECT_EQ(2, clicks);
}

// Another window takes the activation between press and release (the game
// bringing itself to the front, for one), and with it the button's capture.
TEST_F(SpeedButtonTest, ReleaseOnTheButtonClicksAfterAnotherWindowTookTheCapture) {
    const LPARAM inside = MAKELPARAM(10, 10);
    SendMessageA(button.handle(), WM_LBUTTONDOWN, MK_LBUTTON, inside);
    ASSERT_EQ(button.handle(), GetCapture());
    TestForm other;
    SetActiveWindow(other.handle());
    SetFocus(other.handle());
    ASSERT_NE(button.handle(), GetCapture());
    SendMessageA(button.handle(), WM_LBUTTONUP, 0, inside);
    waitUntil([&] { return clicks > 0; }, 500);
    EXPECT_EQ(1, clicks);
}

TEST_F(SpeedButtonTest, ReleaseElsewhereAfterTheCaptureWasTakenIsNoClick) {
    SendMessageA(button.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ReleaseCapture();
    SendMessageA(button.handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 10));
    SendMessageA(button.handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    waitUntil([&] { return clicks > 0; }, 300);
    EXPECT_EQ(0, clicks) << "a release needs its press";
}

TEST_F(SpeedButtonTest, DisabledButtonIgnoresBmClick) {
    button.setEnabled(false);
    EXPECT_FALSE(button.enabled());
    SendMessageA(button.handle(), BM_CLICK, 0, 0);
    button.Click();
    waitUntil([&] { return clicks > 0; }, 300);
    EXPECT_EQ(0, clicks);
    button.setEnabled(true);
    SendMessageA(button.handle(), BM_CLICK, 0, 0);
    waitUntil([&] { return clicks > 0; }, 500);
    EXPECT_EQ(1, clicks);
}

TEST_F(SpeedButtonTest, ClickWhileAHandlerRunsRunsRightAfterIt) {
    int clicksInside = -1;
    EventGate::run([&] {
        SendMessageA(button.handle(), BM_CLICK, 0, 0);
        clicksInside = clicks;
    });
    EXPECT_EQ(0, clicksInside);
    EXPECT_EQ(1, clicks);
}

TEST_F(SpeedButtonTest, ShowsTheHandCursorOverItself) {
    SendMessageA(button.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(button.handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(LoadCursor(nullptr, IDC_HAND), GetCursor());
}

TEST(SpeedButtonCursor, DefaultIsTheArrow) {
    ButtonOnForm f([](SpeedButton::CreateArgs& args) { args.cursor = nullptr; });
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    SendMessageA(f.button.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(f.button.handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), GetCursor());
}

// Windows 95 and NT 4.0 have no IDC_HAND; an id that no system has stands in
// for it here.
TEST(SpeedButtonCursor, ACursorTheSystemLacksShowsTheArrow) {
    const LPCSTR missingCursor = MAKEINTRESOURCEA(32700);
    ASSERT_EQ(nullptr, LoadCursorA(nullptr, missingCursor));
    ButtonOnForm f([&](SpeedButton::CreateArgs& args) { args.cursor = missingCursor; });
    SetCursor(nullptr);
    SendMessageA(f.button.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(f.button.handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), GetCursor());
}

TEST_F(SpeedButtonTest, NormalStateDrawsTheFirstImageWithoutItsTransparentColour) {
    const Rendering normal(button, 0);
    EXPECT_GT(normal.count(kYellow), 40);  // the lit doorway
    EXPECT_EQ(0, normal.count(kOlive));
}

TEST_F(SpeedButtonTest, DisabledStateDrawsTheGreyAndWhiteImage) {
    const Rendering disabled(button, ODS_DISABLED);
    EXPECT_EQ(0, disabled.count(kYellow));
    EXPECT_GT(disabled.count(kGrey), 20);
    EXPECT_EQ(0, disabled.count(kOlive));
}

TEST_F(SpeedButtonTest, PressedStateMovesThePictureDownAndRight) {
    const POINT up = Rendering(button, 0).first(kYellow);
    const POINT down = Rendering(button, ODS_SELECTED).first(kYellow);
    ASSERT_GE(up.x, 0);
    EXPECT_EQ(up.x + 1, down.x);
    EXPECT_EQ(up.y + 1, down.y);
}

TEST_F(SpeedButtonTest, GlyphStandsLeftOfTheCaptionBothCentredTogether) {
    const Rendering normal(button, 0);
    // The door's light starts at column 6 of the 16-pixel glyph. Centred alone
    // the glyph would start at 64; with the caption beside it, well before.
    const int glyphLeft = normal.first(kYellow).x - 6;
    EXPECT_GT(glyphLeft, 30);
    EXPECT_LT(glyphLeft, 58);
    const RECT captionArea{glyphLeft + 16 + 2, 3, 145 - 3, 22};
    EXPECT_GT(normal.countIn(RGB(0, 0, 0), captionArea), 20);  // the black caption
    const RECT leftOfGlyph{3, 3, glyphLeft, 22};
    EXPECT_EQ(0, normal.countIn(RGB(0, 0, 0), leftOfGlyph));
}

TEST(SpeedButtonGlyph, MissingBitmapIsReported) {
    EXPECT_THROW(ButtonOnForm f([](SpeedButton::CreateArgs& args) { args.glyphResource = 999; }), AppError);
}

TEST(SpeedButtonGlyph, WithoutGlyphTheCaptionStandsInTheMiddle) {
    ButtonOnForm f([](SpeedButton::CreateArgs& args) { args.glyphResource = 0; });
    const Rendering normal(f.button, 0);
    EXPECT_EQ(0, normal.count(kYellow));
    const RECT leftQuarter{3, 3, 145 / 4, 22};
    EXPECT_EQ(0, normal.countIn(RGB(0, 0, 0), leftQuarter));
    const RECT middle{145 / 4, 3, 145 * 3 / 4, 22};
    EXPECT_GT(normal.countIn(RGB(0, 0, 0), middle), 20);
}

}  // namespace
