// Tallykeep's two windows seen from outside: glued to the game's window and
// centred as one group (checked against the screen and work area read here at
// run time), and every component where its layout table puts it, with its
// caption, style, font (as an auto-size label's size shows it) and colours.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "harness/harness.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;

struct Place {
    int left, top, width, height;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
};

Place outer(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Place client(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return {origin.x, origin.y, r.right, r.bottom};
}

Place placeIn(HWND child, HWND parent) {
    const Place o = outer(child), c = client(parent);
    return {o.left - c.left, o.top - c.top, o.width, o.height};
}

LONG style(HWND window) { return GetWindowLongA(window, GWL_STYLE); }

COLORREF pixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// The place shows the colour somewhere; the windows repaint in their own time.
bool shows(const Place& p, COLORREF colour) {
    return waitUntil([&] {
        for (int y = p.top; y < p.bottom(); ++y)
            for (int x = p.left; x < p.right(); ++x)
                if (pixel(x, y) == colour) return true;
        return false;
    }, 5s);
}

// The text's width and line height in "ＭＳ Ｐゴシック" of that height and weight.
SIZE textSize(const std::string& text, int height, bool bold) {
    HFONT font = CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0,
                             0, 0, "ＭＳ Ｐゴシック");
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

const COLORREF kLightYellow = RGB(255, 255, 128), kRed = RGB(255, 0, 0), kBlack = 0, kText = 0xFFFFFFFF;
const COLORREF kShadow = GetSysColor(COLOR_BTNSHADOW), kHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);
constexpr int kFollows = -1;  // a height that the arrangement sets

// One component of the results window. Its window is found as the next child
// of its parent (the row it names, or the window for -1) in creation order.
struct Row {
    char kind;  // 'P'anel, 'S'tatic label, 'E'dit, 'G'roup box, 'M'emo
    int parent;
    int left, top, width, height;
    const char* caption;  // null: not fixed
    char align;           // labels: 'L', 'R', 'C'; 'F' fixed size (right-justified)
    int fontHeight;
    bool bold;
    COLORREF colour;  // labels' text
};

// clang-format off
const Row kResultsWindow[] = {
    /* 0 Panel1 */    {'P', -1,   5,   5, 140,  31, "",         0,    0,  false, 0},
    /* 1 Label1 */    {'S',  0,  90,  13,  16,  13, nullptr,   'R', -13, true,  kBlack},
    /* 2 Label2 */    {'S',  0, 107,  13,  28,  13, "回目",    'R', -13, true,  kBlack},
    /* 3 EditEx1 */   {'E',  0,   4,   6,  81,  21, nullptr,    0,    0,  false, 0},
    /* 4 GroupBox1 */ {'G', -1,   5,  38, 140, 217, "成績",     0,    0,  false, 0},
    /* Label7 */      {'S',  4,   8,  72,  43,  13, "トータル", 'L', -13, false, kText},
    /* Label9 */      {'S',  4,  56,  72,  73,  15, nullptr,   'F', -15, true,  kRed},
    /* Label3 */      {'S',  4,  24,  88,  24,  13, "勝ち",    'L', -13, false, kText},
    /* Label4 */      {'S',  4,  24, 112,  25,  13, "負け",    'L', -13, false, kText},
    /* Label8 */      {'S',  4,   8, 136,  98,  13, "連勝/連敗の記録", 'C', -13, false, kText},
    /* Label5 */      {'S',  4,  24, 152,  24,  13, "勝ち",    'L', -13, false, kText},
    /* Label6 */      {'S',  4,  24, 176,  25,  13, "負け",    'L', -13, false, kText},
    /* Label10 */     {'S',  4,  24, 197,  26,  13, "現在",    'L', -13, false, kText},
    /* Label11 */     {'S',  4,  56, 197,  28,  13, nullptr,   'L', -13, true,  kRed},
    /* Label12 */     {'S',  4,   8,  16,  35,  13, "今　回",  'L', -13, false, kText},
    /* Label13 */     {'S',  4,  56,  16,  73,  15, nullptr,   'F', -15, true,  kRed},
    /* Label14 */     {'S',  4,  24,  32,  24,  13, "勝ち",    'L', -13, false, kText},
    /* Label15 */     {'S',  4,  24,  56,  25,  13, "負け",    'L', -13, false, kText},
    /* Label16 */     {'S',  4,  56,  32,   8,  13, nullptr,   'L', -13, true,  kText},
    /* Label17 */     {'S',  4,  56,  56,   8,  13, nullptr,   'L', -13, true,  kText},
    /* Label18 */     {'S',  4,  56,  88,  50,  13, nullptr,   'L', -13, true,  kText},
    /* Label19 */     {'S',  4,  56, 112,  50,  13, nullptr,   'L', -13, true,  kText},
    /* Label20 */     {'S',  4,  56, 152,  50,  13, nullptr,   'L', -13, true,  kText},
    /* Label21 */     {'S',  4,  56, 176,  50,  13, nullptr,   'L', -13, true,  kText},
    /* 24 GroupBox2 */{'G', -1,   5, 260, 140, kFollows, "対戦履歴", 0, 0, false, 0},
    /* Memo1 */       {'M', 24,   5,  15, 128, kFollows, nullptr, 0,    0,  false, 0},
};
// clang-format on

class TallykeepLook : public TallykeepTest {
protected:
    void startGlued(SessionOptions options = {}) {
        start(options);
        results = session->results.window();
        bar = waitForTopLevel(kResultsClass, kControlBarCaption);
        ASSERT_NE(bar, nullptr);
        const Place game = outer(session->game);
        ASSERT_TRUE(waitForGroup(game.width, game.height));
    }

    // Until the bar lies directly above a game of that size and as wide, and
    // the results window directly to its right and as high.
    bool waitForGroup(int gameWidth, int gameHeight) const {
        return waitUntil([&] {
            const Place b = outer(bar), g = outer(session->game), r = outer(results);
            return g.width == gameWidth && g.height == gameHeight && b.left == g.left && b.width == g.width &&
                   b.bottom() == g.top && r.left == g.right() && r.top == g.top && r.height == g.height;
        });
    }

    // The user moves and resizes the game, then comes back to Tallykeep.
    void resizeGameAndComeBack(int width, int height, HWND tallykeepWindow) const {
        SetForegroundWindow(session->game);
        SetWindowPos(session->game, nullptr, 20, 30, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == session->game; }));
        SetForegroundWindow(tallykeepWindow);
    }

    // The group centred, the buttons spread, the history box and the bevels
    // following the new sizes.
    void expectArrangedGroup() const {
        const Place b = outer(bar), g = outer(session->game), r = outer(results);
        const Place barClient = client(bar), resultsClient = client(results);
        RECT work{};
        ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
        std::printf("screen %d x %d, work area (%ld, %ld)-(%ld, %ld): bar (%d, %d) %d x %d, game (%d, %d) %d x %d, "
                    "results (%d, %d) %d x %d\n",
                    GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), work.left, work.top, work.right,
                    work.bottom, b.left, b.top, b.width, b.height, g.left, g.top, g.width, g.height, r.left, r.top,
                    r.width, r.height);
        EXPECT_EQ(b.top, (work.bottom - g.height - b.height) / 2);
        if (GetSystemMetrics(SM_CXSCREEN) - r.width - g.width > 0) {
            EXPECT_EQ(g.left, (work.right - r.width - g.width) / 2);
        } else {
            EXPECT_EQ(g.left, 0);
        }
        EXPECT_EQ(barClient.height, 39);
        EXPECT_EQ(resultsClient.width, 151);

        const std::vector<ChildWindow> buttons = children(bar);
        ASSERT_EQ(buttons.size(), 4u);
        const int w = static_cast<int>(std::nearbyint((barClient.width - 25) / 4.0));  // half to even
        for (int i = 0; i < 4; ++i) {
            const Place p = placeIn(buttons[static_cast<size_t>(i)].handle, bar);
            EXPECT_EQ(p.left, 5 + i * (w + 5)) << i;
            EXPECT_EQ(p.width, w) << i;
            EXPECT_EQ(p.top, 8) << i;
            EXPECT_EQ(p.height, 25) << i;
        }
        const HWND history = children(results).at(2).handle;
        const Place box = placeIn(history, results);
        EXPECT_EQ(box.bottom(), resultsClient.height - 5);
        EXPECT_EQ(placeIn(children(history).at(0).handle, history).height, box.height - 20);
        for (const Place& c : {barClient, resultsClient}) {
            if (c.right() > GetSystemMetrics(SM_CXSCREEN)) continue;  // the corner is off the screen
            // The window repaints after the arrangement has moved it: both
            // corners are waited for.
            EXPECT_TRUE(waitUntil([&] { return pixel(c.left, c.top) == kShadow; }, 5s))
                << "top left " << std::hex << pixel(c.left, c.top);
            EXPECT_TRUE(waitUntil([&] { return pixel(c.right() - 1, c.bottom() - 1) == kHighlight; }, 5s));
        }
    }

    HWND results = nullptr;
    HWND bar = nullptr;
};

TEST_F(TallykeepLook, GroupIsGluedToTheGameCentredAndRegluedAfterTheGameChanged) {
    startGlued();
    expectArrangedGroup();
    EXPECT_NE(IsWindowEnabled(findChild(bar, nullptr, "１つ戻す")), FALSE);

    resizeGameAndComeBack(560, 400, results);
    ASSERT_TRUE(waitForGroup(560, 400));
    expectArrangedGroup();
    resizeGameAndComeBack(GetSystemMetrics(SM_CXSCREEN) - 100, 520, bar);  // the group wider than the screen
    ASSERT_TRUE(waitForGroup(GetSystemMetrics(SM_CXSCREEN) - 100, 520));
    expectArrangedGroup();
}

TEST_F(TallykeepLook, OnWindowsNt4TakeBackIsDisabledAtTheFirstActivationAndStaysSo) {
    SessionOptions options;
    options.windowsVersion = "nt40";
    startGlued(options);
    const HWND takeBack = findChild(bar, nullptr, "１つ戻す");
    EXPECT_EQ(IsWindowEnabled(takeBack), FALSE);
    resizeGameAndComeBack(600, 440, bar);
    ASSERT_TRUE(waitForGroup(600, 440));
    EXPECT_EQ(IsWindowEnabled(takeBack), FALSE);
    EXPECT_NE(IsWindowEnabled(findChild(bar, nullptr, "開始")), FALSE);
}

// Moving a window of another program waits for that program unless the move
// is only queued for it: a hung game must not hold Tallykeep up.
TEST_F(TallykeepLook, HungGameDoesNotHoldUpTallykeepsArrangement) {
    startGlued();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    resizeGameAndComeBack(500, 400, session->game);  // stays with the game
    standinHangNextConfirm(session->game, 20s);
    ASSERT_TRUE(standinSync(session->game, log()));
    post(session->game, WM_CLOSE);
    ASSERT_TRUE(log().waitFor("hang")) << log().text();
    SetForegroundWindow(bar);
    ASSERT_TRUE(waitUntil([&] { return outer(bar).width == 500; }));
    session->results.menuCommand(kCmdControlBar);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(bar) == FALSE; }, 5s)) << "Tallykeep waits for the game";
}

TEST_F(TallykeepLook, ResultsWindowIsAsItsLayoutTableSays) {
    startGlued();
    EXPECT_EQ(windowText(results), "成績");
    EXPECT_EQ(style(results) & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_FALSE(GetWindowLongA(results, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
    EXPECT_NE(GetMenu(results), nullptr);
    const Place c = client(results);
    EXPECT_TRUE(shows({c.left + 1, c.top + 40, 3, 200}, kLightYellow));

    std::vector<HWND> windows;
    std::vector<std::size_t> used(std::size(kResultsWindow) + 1, 0);  // children taken, per parent + 1
    for (const Row& row : kResultsWindow) {
        const std::size_t rowIndex = windows.size();
        SCOPED_TRACE("row " + std::to_string(rowIndex));
        const HWND parent = row.parent < 0 ? results : windows.at(static_cast<size_t>(row.parent));
        const std::vector<ChildWindow> siblings = children(parent);
        std::size_t& next = used[static_cast<size_t>(row.parent + 1)];
        ASSERT_LT(next, siblings.size());
        const HWND window = siblings[next++].handle;
        windows.push_back(window);

        const Place p = placeIn(window, parent);
        const std::string text = windowText(window);
        if (row.caption) {
            EXPECT_EQ(text, row.caption);
        }
        EXPECT_FALSE(style(window) & WS_TABSTOP);
        EXPECT_EQ(p.top, row.top);
        if (row.height != kFollows && row.align != 'L' && row.align != 'R' && row.align != 'C') {
            EXPECT_EQ(p.left, row.left);
            EXPECT_EQ(p.width, row.width);
            EXPECT_EQ(p.height, row.height);
        }
        if (row.kind == 'G') {
            EXPECT_EQ(style(window) & BS_TYPEMASK, BS_GROUPBOX);
        } else if (row.kind == 'M') {
            EXPECT_EQ(style(window) & (ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOHSCROLL),
                      ES_MULTILINE | ES_READONLY | WS_VSCROLL);
        }
        if (row.kind != 'S') continue;
        EXPECT_EQ(style(window) & SS_TYPEMASK, row.align == 'C' ? SS_CENTER : row.align == 'L' ? SS_LEFT : SS_RIGHT);
        if (row.align != 'F') {
            // Auto-size: as large as the text in the label's font.
            const SIZE size = textSize(text, row.fontHeight, row.bold);
            EXPECT_EQ(p.width, size.cx) << text;
            EXPECT_EQ(p.height, size.cy) << text;
            EXPECT_EQ(row.align == 'R' ? p.right() : p.left, row.align == 'R' ? row.left + row.width : row.left);
        }
        EXPECT_TRUE(shows(outer(window), row.colour == kText ? GetSysColor(COLOR_WINDOWTEXT) : row.colour)) << text;
        EXPECT_TRUE(shows(outer(window), kLightYellow)) << text;
    }
    // Panel1 is raised, the memo takes the window's light yellow.
    const Place panel = outer(windows[0]);
    EXPECT_EQ(pixel(panel.left, panel.top), kHighlight);
    EXPECT_EQ(pixel(panel.right() - 1, panel.bottom() - 1), kShadow);
    const Place memo = client(windows.back());
    EXPECT_TRUE(shows({memo.left + 2, memo.bottom() - 8, 40, 4}, kLightYellow));
}

TEST_F(TallykeepLook, ControlBarIsAsItsLayoutTableSays) {
    startGlued();
    EXPECT_EQ(windowText(bar), kControlBarCaption);
    EXPECT_EQ(style(bar) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), WS_SYSMENU);
    EXPECT_EQ(GetWindowLongA(bar, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetMenu(bar), nullptr);
    const Place c = client(bar);
    EXPECT_TRUE(shows({c.left + 1, c.top + 1, c.width - 2, 5}, RGB(0, 255, 0)));
    const char* const captions[] = {"開始", "やり直し", "１つ戻す", "終了"};
    const std::vector<ChildWindow> buttons = children(bar);
    ASSERT_EQ(buttons.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(buttons[i].text, captions[i]);
        EXPECT_EQ(style(buttons[i].handle) & BS_TYPEMASK, BS_OWNERDRAW) << captions[i];
        EXPECT_TRUE(shows(outer(buttons[i].handle), GetSysColor(COLOR_BTNFACE))) << captions[i];
        EXPECT_TRUE(shows(outer(buttons[i].handle), i < 3 ? kBlack : GetSysColor(COLOR_WINDOWTEXT))) << captions[i];
    }
}

}  // namespace
