// Tallykeep's two windows seen from outside: glued to the game's window and
// centred as one group (checked against the screen and work area read here at
// run time), and every text a player reads whole, in its place and colour.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "gamelink/watcher.h"
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
    return waitUntil(
        [&] {
            for (int y = p.top; y < p.bottom(); ++y)
                for (int x = p.left; x < p.right(); ++x)
                    if (pixel(x, y) == colour) return true;
            return false;
        },
        5s);
}

const COLORREF kLightYellow = RGB(255, 255, 128), kRed = RGB(255, 0, 0), kBlack = 0;
const COLORREF kShadow = GetSysColor(COLOR_BTNSHADOW), kHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);

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
        std::printf(
            "screen %d x %d, work area (%ld, %ld)-(%ld, %ld): bar (%d, %d) %d x %d, game (%d, %d) %d x %d, "
            "results (%d, %d) %d x %d\n",
            GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), work.left, work.top, work.right, work.bottom,
            b.left, b.top, b.width, b.height, g.left, g.top, g.width, g.height, r.left, r.top, r.width, r.height);
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
    // The command may come while the watcher waits, within its bound, for the
    // hung game to take the end-this-game box's yes; a Tallykeep that waited
    // for the game's move would wait out the 20 s hang.
    const auto bound = std::chrono::milliseconds(GameWatcher::kGameWaitLimitMs) + 5s;
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(bar) == FALSE; }, bound)) << "Tallykeep waits for the game";
}

// What a player reads in the results window: every control wholly inside its
// parent, none covering another, the captions of "成績" in their reading order
// with each value on its caption's row, the values in their colours on the
// window's light yellow, and no control a tab stop.
TEST_F(TallykeepLook, ResultsWindowShowsEveryTextWholeAndInItsPlace) {
    startGlued();
    EXPECT_EQ(windowText(results), "成績");
    EXPECT_EQ(style(results) & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_FALSE(GetWindowLongA(results, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
    EXPECT_NE(GetMenu(results), nullptr);
    const Place c = client(results);
    EXPECT_TRUE(shows({c.left + 1, c.top + 40, 3, 200}, kLightYellow));

    const auto inside = [](const Place& inner, const Place& outerPlace) {
        return inner.left >= outerPlace.left && inner.top >= outerPlace.top && inner.right() <= outerPlace.right() &&
               inner.bottom() <= outerPlace.bottom();
    };
    const auto overlap = [](const Place& a, const Place& b) {
        return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
    };
    const std::vector<ChildWindow> top = children(results);
    for (const ChildWindow& parent : top) {
        EXPECT_TRUE(inside(outer(parent.handle), client(results))) << parent.text;
        EXPECT_FALSE(style(parent.handle) & WS_TABSTOP) << parent.text;
        const std::vector<ChildWindow> inner = children(parent.handle);
        for (std::size_t i = 0; i < inner.size(); ++i) {
            EXPECT_TRUE(inside(outer(inner[i].handle), outer(parent.handle))) << inner[i].text;
            EXPECT_FALSE(style(inner[i].handle) & WS_TABSTOP) << inner[i].text;
            for (std::size_t j = i + 1; j < inner.size(); ++j)
                EXPECT_FALSE(overlap(outer(inner[i].handle), outer(inner[j].handle)))
                    << inner[i].text << " / " << inner[j].text;
        }
    }

    // The group "成績": captions on the left in reading order, each value on
    // its caption's row to its right.
    const ChildWindow* group = nullptr;
    for (const ChildWindow& child : top)
        if (child.text == "成績") group = &child;
    ASSERT_NE(group, nullptr);
    std::vector<ChildWindow> labels = children(group->handle);
    std::sort(labels.begin(), labels.end(), [](const ChildWindow& a, const ChildWindow& b) {
        return outer(a.handle).top != outer(b.handle).top ? outer(a.handle).top < outer(b.handle).top
                                                          : outer(a.handle).left < outer(b.handle).left;
    });
    std::vector<std::string> captions;
    for (const ChildWindow& label : labels)
        if (outer(label.handle).left - outer(group->handle).left < 50) captions.push_back(label.text);
    EXPECT_EQ(captions, (std::vector<std::string>{"今　回", "勝ち", "負け", "トータル", "勝ち", "負け",
                                                  "連勝/連敗の記録", "勝ち", "負け", "現在"}));
    for (const ChildWindow& value : labels) {
        const Place v = outer(value.handle);
        if (v.left - outer(group->handle).left < 50) continue;
        bool onACaptionsRow = false;
        for (const ChildWindow& caption : labels) {
            const Place k = outer(caption.handle);
            if (k.left < v.left && k.right() <= v.left && k.top < v.bottom() && v.top < k.bottom())
                onACaptionsRow = true;
        }
        EXPECT_TRUE(onACaptionsRow) << value.text;
        const bool red = value.text.find('%') != std::string::npos || value.text.find("連") != std::string::npos;
        EXPECT_TRUE(shows(v, red ? kRed : GetSysColor(COLOR_WINDOWTEXT))) << value.text;
        EXPECT_TRUE(shows(v, kLightYellow)) << value.text;
    }

    // The number box with the attempt "1 回目" beside it, on a raised panel;
    // the history memo on the window's light yellow.
    const std::vector<ChildWindow> panel = children(top.at(0).handle);
    ASSERT_EQ(panel.size(), 3u);
    EXPECT_EQ(panel[1].text, "回目");
    EXPECT_EQ(outer(panel[0].handle).right(), outer(panel[1].handle).left - 1);
    EXPECT_EQ(style(panel[2].handle) & ES_RIGHT, ES_RIGHT);
    const Place raised = outer(top.at(0).handle);
    EXPECT_EQ(pixel(raised.left, raised.top), kHighlight);
    EXPECT_EQ(pixel(raised.right() - 1, raised.bottom() - 1), kShadow);
    const HWND memo = children(top.at(2).handle).at(0).handle;
    EXPECT_EQ(style(memo) & (ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOHSCROLL),
              ES_MULTILINE | ES_READONLY | WS_VSCROLL);
    const Place memoClient = client(memo);
    EXPECT_TRUE(shows({memoClient.left + 2, memoClient.bottom() - 8, 40, 4}, kLightYellow));
}

TEST_F(TallykeepLook, ControlBarIsAsItsLayoutTableSays) {
    startGlued();
    EXPECT_EQ(windowText(bar), kControlBarCaption);
    // 最小化 in its system menu only: a tool window's caption shows no button for it.
    EXPECT_EQ(style(bar) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), WS_SYSMENU | WS_MINIMIZEBOX);
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
