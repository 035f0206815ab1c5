#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>

#include "controls/number_box.h"
#include "toolkit_test_support.h"

namespace {

using Selection = std::pair<DWORD, DWORD>;

// The number box as the results window declares it.
struct DeclaredNumberBox {
    NumberBox box;
    toolkit_test::TestForm form{[this] {
        box.create(form, {{{4, 6, 81, 21}, "1000000", FontSpec{-16, true, clBlue}, clWindow, true, 9, false},
                          Alignment::taRightJustify,
                          true});
    }};

    Selection selection() const {
        DWORD start = 0, end = 0;
        SendMessageA(box.handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    void type(DWORD caret, const std::string& keys) const {  // one WM_CHAR per key
        SendMessageA(box.handle(), EM_SETSEL, caret, caret);
        for (const char key : keys) SendMessageA(box.handle(), WM_CHAR, static_cast<unsigned char>(key), 1);
    }
    LONG style() const { return GetWindowLongA(box.handle(), GWL_STYLE); }
};

TEST(NumberBox, LoadsGroupedThenRegroupsTypingAndKeepsTheCaretFromTheEnd) {
    DeclaredNumberBox b;
    EXPECT_EQ(b.box.GetRawText(), "1,000,000");
    EXPECT_EQ(b.box.text(), "1000000");
    EXPECT_EQ(b.selection(), Selection(0, 9));
    EXPECT_EQ(b.style() & (ES_RIGHT | ES_UPPERCASE), ES_RIGHT | ES_UPPERCASE);
    const struct {
        const char* shown;
        DWORD caret;
        char key;
        const char* after;
        DWORD caretAfter;
    } cases[] = {
        {"1234", 5, '5', "12,345", 6},        // at the right end
        {"999999", 1, '9', "9,999,999", 3},   // after the first digit: after 9,9
        {"9999999", 9, '1', "9,999,999", 9},  // full: a tenth character is refused
        {"1234", 2, '\b', "1,234", 2},        // just after the separator
        {"12345", 6, '\b', "1,234", 5},       // at the right end
        {"1234", 5, '\r', "1,234", 5},        // Enter inserts nothing
        {"1234", 3, ',', "1,234", 3},         // a typed comma goes again
        {"123", 3, 'a', "123A", 4},           // upper case, and no separator among letters
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(std::string(t.shown) + " + key " + std::to_string(t.key));
        b.box.setText(t.shown);
        b.type(t.caret, std::string(1, t.key));
        EXPECT_EQ(b.box.GetRawText(), t.after);
        EXPECT_EQ(b.selection(), Selection(t.caretAfter, t.caretAfter));
    }
}

TEST(NumberBox, SwitchesThousandsAndAlignmentAndLeavesTabAndAllKeysToTheWindow) {
    DeclaredNumberBox b;
    b.box.setText("12345");
    b.box.setThousands(false);
    b.type(6, "6");
    EXPECT_EQ(b.box.text(), "12,3456");
    b.box.setThousands(true);
    EXPECT_EQ(b.box.GetRawText(), "123,456");

    const HWND before = b.box.handle();
    b.box.setAlignment(Alignment::taCenter);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(b.style() & (ES_CENTER | ES_RIGHT), ES_CENTER);
    b.type(7, "0");
    EXPECT_EQ(b.box.GetRawText(), "1,234,560") << "the new window is the number box too";

    // A plain EDIT of the same style (one that wants every key when it is
    // multi-line) still wants the arrow keys and characters.
    const HWND plain = CreateWindowExA(0, "EDIT", "", b.style(), 0, 0, 9, 9, b.form.handle(), nullptr, nullptr, 0);
    const LRESULT plainCode = SendMessageA(plain, WM_GETDLGCODE, 0, 0);
    DestroyWindow(plain);
    EXPECT_EQ(SendMessageA(b.box.handle(), WM_GETDLGCODE, 0, 0), plainCode & ~(DLGC_WANTTAB | DLGC_WANTALLKEYS));
    b.type(2, "");
    SetFocus(b.box.handle());
    EXPECT_EQ(b.selection(), Selection(2, 2)) << "focus selects nothing";
}

// With the IME on, a digit arrives as the two bytes of its full-width form:
// one WM_CHAR each (Windows), or one WM_CHAR holding both (Wine). The box shows
// and reads the ASCII digit, grouped or not.
TEST(NumberBox, ShowsAndReadsFullWidthDigitsAsAsciiDigits) {
    DeclaredNumberBox b;
    b.box.setText("");
    b.type(0, "１２３４");
    EXPECT_EQ(b.box.GetRawText(), "1,234");
    EXPECT_EQ(b.box.text(), "1234");
    EXPECT_EQ(b.selection(), Selection(5, 5));
    b.type(1, "５");
    EXPECT_EQ(b.box.GetRawText(), "15,234");
    EXPECT_EQ(b.selection(), Selection(2, 2)) << "after the digit typed";

    b.box.setThousands(false);
    b.box.setText("");
    b.type(0, "８");
    const std::string zero = "０";
    const auto packed =
        static_cast<WPARAM>(static_cast<unsigned char>(zero[0]) << 8 | static_cast<unsigned char>(zero[1]));
    SendMessageA(b.box.handle(), WM_CHAR, packed, 1);
    EXPECT_EQ(b.box.GetRawText(), "80");
    EXPECT_EQ(b.box.text(), "80");
}

// EM_POSFROMCHAR of a character: its left edge in the box's client area.
POINT positionOf(HWND box, int index) {
    const LRESULT packed = SendMessageA(box, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
    return {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
}

bool insideClientArea(HWND box, POINT point) {
    RECT client{};
    GetClientRect(box, &client);
    return PtInRect(&client, point) != FALSE;
}

// The widest number the box takes when typed (seven digits, nine characters)
// in the box's own font: one line, scrolled rather than wrapped, with its first
// character in sight when the caret is at the start and its last one when the
// caret is at the end; a short number stands against the right edge.
TEST(NumberBox, ShowsSevenDigitsOnOneLineThatTheCaretScrollsThrough) {
    DeclaredNumberBox b;
    const HWND box = b.box.handle();
    b.box.setText("1234567");
    ASSERT_EQ(b.box.GetRawText(), "1,234,567");
    EXPECT_EQ(SendMessageA(box, EM_GETLINECOUNT, 0, 0), 1) << "the number wrapped";
    EXPECT_EQ(SendMessageA(box, EM_LINEFROMCHAR, 8, 0), 0) << "its last digit is on a line below";

    SetFocus(box);
    b.type(9, "");
    const POINT last = positionOf(box, 8);
    EXPECT_TRUE(insideClientArea(box, last)) << "last digit at " << last.x << "," << last.y;
    b.type(0, "");
    const POINT first = positionOf(box, 0);
    EXPECT_TRUE(insideClientArea(box, first)) << "first digit at " << first.x << "," << first.y;

    b.box.setText("7");
    RECT client{};
    GetClientRect(box, &client);
    EXPECT_GT(positionOf(box, 0).x, client.right / 2) << "no longer right-aligned";
}

}  // namespace
