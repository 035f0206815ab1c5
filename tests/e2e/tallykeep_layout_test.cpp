// Both windows of a running Tallykeep compared from outside with their layout
// tables: frames, captions, styles, every component's place and size, the
// fonts as the auto-size labels' sizes show them, and the colours on screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "harness/harness.h"
#include "layout_probe.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;

const COLORREF kLightYellow = RGB(255, 255, 128);
const COLORREF kLime = RGB(0, 255, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlack = RGB(0, 0, 0);

enum class Align { left, right, centre };
enum class Size { autoSize, fixed };

struct LabelRow {
    const char* name;
    int left, top, width, height;  // width and height count for fixed sizes only
    const char* caption;           // null: a value that the program writes
    int fontHeight;
    bool bold;
    COLORREF colour;
    Align align;
    Size size;
};

const COLORREF kWindowText = 0xFFFFFFFF;  // stands for GetSysColor(COLOR_WINDOWTEXT)

// GroupBox1's labels in their creation order.
const LabelRow kGroupBox1Labels[] = {
    {"Label7", 8, 72, 43, 13, "トータル", -13, false, kWindowText, Align::left, Size::autoSize},
    {"Label9", 56, 72, 73, 15, nullptr, -15, true, kRed, Align::right, Size::fixed},
    {"Label3", 24, 88, 24, 13, "勝ち", -13, false, kWindowText, Align::left, Size::autoSize},
    {"Label4", 24, 112, 25, 13, "負け", -13, false, kWindowText, Align::left, Size::autoSize},
    {"Label8", 8, 136, 98, 13, "連勝/連敗の記録", -13, false, kWindowText, Align::centre, Size::autoSize},
    {"Label5", 24, 152, 24, 13, "勝ち", -13, false, kWindowText, Align::left, Size::autoSize},
    {"Label6", 24, 176, 25, 13, "負け", -13, false, kWindowText, Align::left, Size::autoSize},
    {"Label10", 24, 197, 26, 13, "現在", -13, false, kWindowText, Align::left, Size::autoSize},
    {"Label11", 56, 197, 28, 13, nullptr, -13, true, kRed, Align::left, Size::autoSize},
    {"Label12", 8, 16, 35, 13, "今　回", -13, false, kWindowText, Align::left, Size::autoSize},
    {"Label13", 56, 16, 73, 15, nullptr, -15, true, kRed, Align::right, Size::fixed},
    {"Label14", 24, 32, 24, 13, "勝ち", -13, false, kWindowText, Align::left, Size::autoSize},
    {"Label15", 24, 56, 25, 13, "負け", -13, false, kWindowText, Align::left, Size::autoSize},
    {"Label16", 56, 32, 8, 13, nullptr, -13, true, kWindowText, Align::left, Size::autoSize},
    {"Label17", 56, 56, 8, 13, nullptr, -13, true, kWindowText, Align::left, Size::autoSize},
    {"Label18", 56, 88, 50, 13, nullptr, -13, true, kWindowText, Align::left, Size::autoSize},
    {"Label19", 56, 112, 50, 13, nullptr, -13, true, kWindowText, Align::left, Size::autoSize},
    {"Label20", 56, 152, 50, 13, nullptr, -13, true, kWindowText, Align::left, Size::autoSize},
    {"Label21", 56, 176, 50, 13, nullptr, -13, true, kWindowText, Align::left, Size::autoSize},
};

// Panel1's labels; right-justified, so their right edges are fixed (106, 135).
const LabelRow kPanel1Labels[] = {
    {"Label1", 90, 13, 16, 13, nullptr, -13, true, kBlack, Align::right, Size::autoSize},
    {"Label2", 107, 13, 28, 13, "回目", -13, true, kBlack, Align::right, Size::autoSize},
};

class TallykeepLayout : public TallykeepTest {
protected:
    // Tallykeep started and its group arranged, so that no window covers another.
    void SetUp() override {
        TallykeepTest::SetUp();
        start();
        results = session->results.window();
        bar = waitForTopLevel(kResultsClass, kControlBarCaption);
        ASSERT_NE(bar, nullptr);
        ASSERT_TRUE(waitUntil([&] {
            const Place b = outerPlace(bar), g = outerPlace(session->game), r = outerPlace(results);
            return b.bottom() == g.top && r.left == g.right() && IsWindowVisible(bar) != FALSE;
        }));
        // Let both windows finish painting after the move.
        RedrawWindow(results, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        const std::vector<ChildWindow> top = children(results);
        ASSERT_EQ(top.size(), 3u) << "Panel1, GroupBox1, GroupBox2";
        panel1 = top[0].handle;
        groupBox1 = top[1].handle;
        groupBox2 = top[2].handle;
    }

    // Waits until the place on screen shows the colour (the windows repaint
    // in their own time after the arrangement).
    static bool showsColour(const Place& place, COLORREF colour) {
        return waitUntil([&] { return countScreenPixels(place, colour) > 0; }, 5s);
    }

    void expectLabel(const LabelRow& row, HWND label, HWND parent) const {
        SCOPED_TRACE(row.name);
        const Place p = placeIn(label, parent);
        const std::string text = windowText(label);
        EXPECT_EQ(className(label), "Static");
        if (row.caption) {
            EXPECT_EQ(text, row.caption);
        }
        EXPECT_FALSE(text.empty());
        const LONG alignment = windowStyle(label) & SS_TYPEMASK;
        EXPECT_EQ(alignment, row.align == Align::right ? SS_RIGHT : row.align == Align::centre ? SS_CENTER : SS_LEFT);
        EXPECT_EQ(p.top, row.top);
        if (row.size == Size::fixed) {
            EXPECT_EQ(p.left, row.left);
            EXPECT_EQ(p.width, row.width);
            EXPECT_EQ(p.height, row.height);
        } else {
            // An auto-size label is as large as its text in its own font.
            const SIZE inFont = textSize(text, row.fontHeight, row.bold);
            EXPECT_EQ(p.width, inFont.cx) << text;
            EXPECT_EQ(p.height, inFont.cy) << text;
            if (row.align == Align::right) {
                EXPECT_EQ(p.right(), row.left + row.width);
            } else {
                EXPECT_EQ(p.left, row.left);
            }
        }
        const COLORREF colour = row.colour == kWindowText ? GetSysColor(COLOR_WINDOWTEXT) : row.colour;
        const Place onScreen = outerPlace(label);
        EXPECT_TRUE(showsColour(onScreen, colour)) << "text colour " << std::hex << colour;
        EXPECT_TRUE(showsColour(onScreen, kLightYellow)) << "the window's light yellow behind the text";
    }

    HWND results = nullptr;
    HWND bar = nullptr;
    HWND panel1 = nullptr;
    HWND groupBox1 = nullptr;
    HWND groupBox2 = nullptr;
};

TEST_F(TallykeepLayout, ResultsWindowFrame) {
    EXPECT_EQ(windowText(results), "成績");
    EXPECT_EQ(clientPlace(results).width, 151);
    const LONG style = windowStyle(results);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_FALSE(windowExStyle(results) & WS_EX_TOPMOST);
    EXPECT_FALSE(windowExStyle(results) & WS_EX_TOOLWINDOW);
    EXPECT_NE(GetMenu(results), nullptr);
}

TEST_F(TallykeepLayout, ResultsWindowBackgroundAndBevel) {
    const Place client = clientPlace(results);
    // Between the bevel and the components, and between the two group boxes.
    EXPECT_TRUE(showsColour({client.left + 1, client.top + 40, 3, 200}, kLightYellow));
    EXPECT_TRUE(showsColour({client.left + 10, client.top + 256, 120, 3}, kLightYellow));
    EXPECT_EQ(screenPixel(client.left, client.top), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(screenPixel(client.right() - 1, client.bottom() - 1), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(TallykeepLayout, Panel1AndItsComponents) {
    const Place p = placeIn(panel1, results);
    EXPECT_EQ(p.left, 5);
    EXPECT_EQ(p.top, 5);
    EXPECT_EQ(p.width, 140);
    EXPECT_EQ(p.height, 31);
    EXPECT_EQ(windowText(panel1), "");
    // BevelInner bvRaised: light top-left, shadow bottom-right.
    const Place onScreen = outerPlace(panel1);
    EXPECT_EQ(screenPixel(onScreen.left, onScreen.top), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(screenPixel(onScreen.right() - 1, onScreen.bottom() - 1), GetSysColor(COLOR_BTNSHADOW));

    const std::vector<ChildWindow> inside = children(panel1);
    ASSERT_EQ(inside.size(), 3u) << "Label1, Label2, EditEx1";
    expectLabel(kPanel1Labels[0], inside[0].handle, panel1);
    expectLabel(kPanel1Labels[1], inside[1].handle, panel1);
    const Place number = placeIn(inside[2].handle, panel1);
    EXPECT_EQ(number.left, 4);
    EXPECT_EQ(number.top, 6);
    EXPECT_EQ(number.width, 81);
    EXPECT_EQ(number.height, 21);
}

TEST_F(TallykeepLayout, GroupBox1AndItsLabels) {
    const Place p = placeIn(groupBox1, results);
    EXPECT_EQ(p.left, 5);
    EXPECT_EQ(p.top, 38);
    EXPECT_EQ(p.width, 140);
    EXPECT_EQ(p.height, 217);
    EXPECT_EQ(windowText(groupBox1), "成績");
    EXPECT_EQ(windowStyle(groupBox1) & BS_TYPEMASK, BS_GROUPBOX);
    const std::vector<ChildWindow> labels = children(groupBox1);
    ASSERT_EQ(labels.size(), std::size(kGroupBox1Labels));
    for (std::size_t i = 0; i < labels.size(); ++i) expectLabel(kGroupBox1Labels[i], labels[i].handle, groupBox1);
}

TEST_F(TallykeepLayout, GroupBox2AndTheHistoryMemo) {
    const Place p = placeIn(groupBox2, results);
    EXPECT_EQ(p.left, 5);
    EXPECT_EQ(p.top, 260);
    EXPECT_EQ(p.width, 140);
    EXPECT_EQ(p.bottom(), clientPlace(results).height - 5);
    EXPECT_EQ(windowText(groupBox2), "対戦履歴");
    EXPECT_EQ(windowStyle(groupBox2) & BS_TYPEMASK, BS_GROUPBOX);
    const std::vector<ChildWindow> inside = children(groupBox2);
    ASSERT_EQ(inside.size(), 1u);
    const HWND memo = inside[0].handle;
    const Place m = placeIn(memo, groupBox2);
    EXPECT_EQ(m.left, 5);
    EXPECT_EQ(m.top, 15);
    EXPECT_EQ(m.width, 128);
    EXPECT_EQ(m.height, p.height - 20);
    EXPECT_EQ(className(memo), "Edit");
    const LONG style = windowStyle(memo);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & WS_HSCROLL);
    EXPECT_FALSE(style & ES_AUTOHSCROLL);  // word wrap
    // ParentColor: the light yellow below the lines.
    const Place onScreen = clientPlace(memo);
    EXPECT_TRUE(showsColour({onScreen.left + 2, onScreen.bottom() - 10, 60, 6}, kLightYellow));
}

TEST_F(TallykeepLayout, NoControlOfTheResultsWindowIsATabStop) {
    std::vector<HWND> pending{results};
    int seen = 0;
    while (!pending.empty()) {
        const HWND parent = pending.back();
        pending.pop_back();
        for (const ChildWindow& child : children(parent)) {
            ++seen;
            EXPECT_FALSE(windowStyle(child.handle) & WS_TABSTOP) << child.className << " " << child.text;
            pending.push_back(child.handle);
        }
    }
    EXPECT_EQ(seen, 3 + 3 + 19 + 1);
}

TEST_F(TallykeepLayout, ControlBarFrame) {
    EXPECT_EQ(windowText(bar), kControlBarCaption);
    EXPECT_EQ(clientPlace(bar).height, 39);
    const LONG style = windowStyle(bar);
    const LONG exStyle = windowExStyle(bar);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ(GetMenu(bar), nullptr);
}

TEST_F(TallykeepLayout, ControlBarColourAndBevel) {
    const Place client = clientPlace(bar);
    EXPECT_TRUE(showsColour({client.left + 1, client.top + 1, client.width - 2, 6}, kLime));
    EXPECT_EQ(screenPixel(client.left, client.top), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(screenPixel(client.right() - 1, client.bottom() - 1), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(TallykeepLayout, ControlBarButtons) {
    const char* const captions[] = {"開始", "やり直し", "１つ戻す", "終了"};
    const std::vector<ChildWindow> buttons = children(bar);
    ASSERT_EQ(buttons.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(captions[i]);
        const HWND button = buttons[i].handle;
        EXPECT_EQ(windowText(button), captions[i]);
        EXPECT_EQ(className(button), "Button");
        EXPECT_EQ(windowStyle(button) & BS_TYPEMASK, BS_OWNERDRAW);
        EXPECT_NE(IsWindowEnabled(button), FALSE);
        const Place p = placeIn(button, bar);
        EXPECT_EQ(p.top, 8);
        EXPECT_EQ(p.height, 25);
        // The button face, and the caption in black (the exit button's in the
        // window-text colour).
        const Place onScreen = outerPlace(button);
        EXPECT_TRUE(showsColour(onScreen, GetSysColor(COLOR_BTNFACE)));
        EXPECT_TRUE(showsColour(onScreen, i < 3 ? kBlack : GetSysColor(COLOR_WINDOWTEXT)));
    }
}

}  // namespace
