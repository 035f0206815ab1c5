#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>

#include "controls/CtrlsEx.h"
#include "toolkit_test_support.h"

using toolkit_test::TestForm;

namespace {

// The number box as the results window declares it.
struct NumberBox {
    TEditEx box;
    TestForm form;
    NumberBox()
        : form([this] {
              box.create(form, {{{4, 6, 81, 21}, "1000000", FontSpec{-16, true, clBlue}, clWindow, true, 9, false},
                                Alignment::taRightJustify,
                                true});
          }) {}

    HWND window() const { return box.handle(); }
    std::pair<DWORD, DWORD> selection() const {
        DWORD start = 0, end = 0;
        SendMessageA(window(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    void type(const std::string& keys) const {
        for (const char key : keys) SendMessageA(window(), WM_CHAR, static_cast<unsigned char>(key), 1);
    }
    LONG style() const { return GetWindowLongA(window(), GWL_STYLE); }
};

TEST(NumberBox, LoadsGroupedRightAlignedMultiLineWithEverythingSelected) {
    NumberBox b;
    EXPECT_EQ(b.box.GetRawText(), "1,000,000");
    EXPECT_EQ(b.box.text(), "1000000");
    EXPECT_EQ(b.selection(), std::make_pair(DWORD{0}, DWORD{9}));
    EXPECT_EQ(b.style() & (ES_RIGHT | ES_MULTILINE | ES_UPPERCASE), ES_RIGHT | ES_MULTILINE | ES_UPPERCASE);
    b.box.setText("1234567");
    EXPECT_EQ(b.box.GetRawText(), "1,234,567");
    EXPECT_EQ(b.box.text(), "1234567");
    b.box.setText("");
    EXPECT_EQ(b.box.GetRawText(), "");
}

struct Typing {
    const char* shown;  // written through text()
    DWORD caret;
    const char* keys;
    const char* after;
    DWORD caretAfter;
};

TEST(NumberBox, TypingRegroupsAndKeepsTheCaretFromTheEnd) {
    const Typing cases[] = {
        {"1234", 5, "5", "12,345", 6},            // at the right end
        {"999999", 1, "9", "9,999,999", 3},       // after the first digit: after 9,9
        {"9999999", 9, "1", "9,999,999", 9},      // full: a tenth character is refused
        {"1234", 2, "\b", "1,234", 2},            // just after the separator
        {"12345", 6, "\b", "1,234", 5},           // at the right end
        {"1234", 5, "\r", "1,234", 5},            // Enter inserts nothing
        {"1234", 3, ",", "1,234", 3},             // a typed comma goes again
        {"123", 3, "a", "1,23A", 5},              // upper case, grouped like a digit
    };
    NumberBox b;
    for (const Typing& t : cases) {
        SCOPED_TRACE(std::string(t.shown) + " + key " + std::to_string(t.keys[0]));
        b.box.setText(t.shown);
        SendMessageA(b.window(), EM_SETSEL, t.caret, t.caret);
        b.type(t.keys);
        EXPECT_EQ(b.box.GetRawText(), t.after);
        EXPECT_EQ(b.selection(), std::make_pair(t.caretAfter, t.caretAfter));
    }
}

TEST(NumberBox, KeyPressSeesEveryCharacterAndCanDropIt) {
    NumberBox b;
    std::string seen;
    b.box.OnKeyPress = [&](char& key) {
        seen += key;
        if (key == '7') key = 0;
    };
    b.box.setText("1");
    SendMessageA(b.window(), EM_SETSEL, 1, 1);
    b.type("2\r73");
    EXPECT_EQ(seen, "2\r73");
    EXPECT_EQ(b.box.GetRawText(), "123");
}

TEST(NumberBox, ThousandsOffKeepsTheSeparatorsAndOnRegroupsAtOnce) {
    NumberBox b;
    b.box.setText("12345");
    b.box.setThousands(false);
    EXPECT_EQ(b.box.text(), "12,345");
    SendMessageA(b.window(), EM_SETSEL, 6, 6);
    b.type("6");
    EXPECT_EQ(b.box.GetRawText(), "12,3456");
    b.box.setThousands(true);
    EXPECT_EQ(b.box.GetRawText(), "123,456");
}

TEST(NumberBox, NewAlignmentRecreatesTheWindowInItsPlaceWithTheText) {
    NumberBox b;
    const HWND before = b.window();
    b.box.setText("4321");
    b.box.setAlignment(Alignment::taCenter);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(b.style() & (ES_CENTER | ES_RIGHT | ES_MULTILINE), ES_CENTER | ES_MULTILINE);
    EXPECT_EQ(b.box.GetRawText(), "4,321");
    EXPECT_EQ(GetWindow(b.form.handle(), GW_CHILD), b.window());
    SendMessageA(b.window(), EM_SETSEL, 5, 5);
    b.type("0");
    EXPECT_EQ(b.box.GetRawText(), "43,210") << "the new window is the number box too";
}

TEST(NumberBox, LeavesTabAndAllKeysToTheWindowAndKeepsItsSelectionOnFocus) {
    NumberBox b;
    // A plain multi-line EDIT of the same style answers with everything.
    const HWND plain = CreateWindowExA(0, "EDIT", "", b.style(), 0, 0, 10, 10, b.form.handle(), nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    const LRESULT plainCode = SendMessageA(plain, WM_GETDLGCODE, 0, 0);
    DestroyWindow(plain);
    ASSERT_NE(plainCode & DLGC_WANTALLKEYS, 0);
    EXPECT_EQ(SendMessageA(b.window(), WM_GETDLGCODE, 0, 0), plainCode & ~(DLGC_WANTTAB | DLGC_WANTALLKEYS));

    SendMessageA(b.window(), EM_SETSEL, 2, 2);
    SetFocus(b.window());
    EXPECT_EQ(GetFocus(), b.window());
    EXPECT_EQ(b.selection(), std::make_pair(DWORD{2}, DWORD{2}));
}

}  // namespace
